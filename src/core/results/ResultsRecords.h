#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <iterator>
#include <vector>

namespace queldo {

/// One scored attempt as read back: the fields of its line, copied out.
struct TrialRecord
{
    QStringList fields; ///< 50 for a well-formed line
};

/// The records of a results file, held compactly: the text of every field in one buffer and the
/// fields' bounds as offsets into it. A long history costs a few allocations, not one string per
/// field, and the fields are read as views.
class ResultsRecords
{
public:
    qsizetype size() const { return qsizetype(m_firstField.size()) - 1; }
    bool isEmpty() const { return size() == 0; }

    qsizetype fieldCount(qsizetype record) const
    {
        return qsizetype(m_firstField[std::size_t(record) + 1] - m_firstField[std::size_t(record)]);
    }
    /// Field j of a record; valid while this object (or a copy of it) lives.
    QStringView field(qsizetype record, qsizetype j) const
    {
        const std::size_t f = std::size_t(m_firstField[std::size_t(record)]) + std::size_t(j);
        return QStringView(m_text).sliced(m_fieldStart[f], m_fieldStart[f + 1] - m_fieldStart[f]);
    }
    /// The fields of one record as raw bounds, for readers that walk many fields in a hot loop:
    /// field j is text[start[j]] up to text[start[j + 1]].
    struct Fields
    {
        const char16_t *text;
        const std::uint32_t *start;
        qsizetype count;
        QStringView operator[](qsizetype j) const
        {
            return QStringView(text + start[j], qsizetype(start[j + 1] - start[j]));
        }
    };
    Fields fields(qsizetype record) const
    {
        const std::size_t first = m_firstField[std::size_t(record)];
        return {reinterpret_cast<const char16_t *>(m_text.constData()), m_fieldStart.data() + first,
                qsizetype(m_firstField[std::size_t(record) + 1] - first)};
    }
    /// The line of the file the record came from, counting the header as line 1.
    qsizetype lineNumber(qsizetype record) const { return m_lineNumber[std::size_t(record)]; }

    /// The record with its fields copied into a list, for callers that want one.
    TrialRecord operator[](qsizetype record) const;
    TrialRecord at(qsizetype record) const { return (*this)[record]; }

    class const_iterator
    {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = TrialRecord;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = TrialRecord;

        const_iterator(const ResultsRecords *records, qsizetype index)
            : m_records(records), m_index(index)
        {
        }
        TrialRecord operator*() const { return (*m_records)[m_index]; }
        const_iterator &operator++()
        {
            ++m_index;
            return *this;
        }
        bool operator==(const const_iterator &other) const { return m_index == other.m_index; }

    private:
        const ResultsRecords *m_records;
        qsizetype m_index;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    /// Bytes in use, for checking that memory grows with the file and no faster. Room reserved
    /// but never written is left out: for a long history the system never gives it pages.
    qsizetype heldBytes() const;

    // Building, for the reader. The text is reserved once; each line is decoded at textEnd() and
    // its fields compacted there one after another, so a field ends where the next one begins.
    char16_t *reserveText(qsizetype units);
    qsizetype textEnd() const { return qsizetype(m_fieldStart.back()); }
    void addField(qsizetype end) { m_fieldStart.push_back(std::uint32_t(end)); }
    void endRecord(qsizetype lineNumber);
    void finish();

private:
    QString m_text;
    // Field f spans [m_fieldStart[f], m_fieldStart[f + 1]) of the text.
    std::vector<std::uint32_t> m_fieldStart{0};
    // Record r owns fields [m_firstField[r], m_firstField[r + 1]).
    std::vector<std::uint32_t> m_firstField{0};
    std::vector<std::uint32_t> m_lineNumber;
};

} // namespace queldo
