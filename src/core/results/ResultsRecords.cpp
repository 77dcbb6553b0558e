#include "core/results/ResultsRecords.h"

namespace queldo {

TrialRecord ResultsRecords::operator[](qsizetype record) const
{
    TrialRecord copy;
    const qsizetype n = fieldCount(record);
    copy.fields.reserve(n);
    for (qsizetype j = 0; j < n; ++j)
        copy.fields << field(record, j).toString();
    return copy;
}

qsizetype ResultsRecords::heldBytes() const
{
    return qsizetype(sizeof(*this)) + m_text.size() * qsizetype(sizeof(QChar)) +
           qsizetype((m_fieldStart.size() + m_firstField.size() + m_lineNumber.size()) *
                     sizeof(std::uint32_t));
}

char16_t *ResultsRecords::reserveText(qsizetype units)
{
    m_text.resize(units);
    // A record line of this program spends about 2.4 bytes per field. Reserving for that up front
    // spares the copies of growing; a stranger file simply grows.
    m_fieldStart.reserve(std::size_t(units / 2) + 64);
    m_firstField.reserve(std::size_t(units / 100) + 64);
    m_lineNumber.reserve(std::size_t(units / 100) + 64);
    return reinterpret_cast<char16_t *>(m_text.data());
}

void ResultsRecords::endRecord(qsizetype lineNumber)
{
    m_firstField.push_back(std::uint32_t(m_fieldStart.size() - 1));
    m_lineNumber.push_back(std::uint32_t(lineNumber));
}

void ResultsRecords::finish()
{
    // The unused ends are left as they are rather than copied into smaller blocks: memory that
    // was reserved but never written costs no pages.
    m_text.truncate(textEnd());
}

} // namespace queldo
