#include "core/karyotype/KaryotypeQuestion.h"

#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeReader.h"

#include <cmath>

namespace queldo {

namespace {

// Points as a trainee reads them: whole numbers plain, halves and the like with one decimal.
QString points(double value)
{
    const double tenths = std::round(value * 10.0) / 10.0;
    return QString::number(tenths, 'f', tenths == std::round(tenths) ? 0 : 1);
}

} // namespace

QStringList KaryotypeAnswer::summary() const
{
    double earned = 0.0;
    for (const KaryotypePart &part : score.parts)
        earned += part.credit;
    const QString tally = QStringLiteral("%1 / %2 点").arg(points(earned)).arg(score.parts.size());
    // An empty answer would be told its count is 0 and its sex chromosomes blank: the cell's
    // karyotype says more.
    if (written.isEmpty())
        return {QStringLiteral("核型の回答はありませんでした。(%1)").arg(tally),
                QStringLiteral("この細胞の核型は %1 です").arg(expected)};
    if (score.right())
        return {QStringLiteral("正解です。(%1)").arg(tally)};
    return QStringList{QStringLiteral("不正解です。(%1)").arg(tally)} << score.feedback();
}

KaryotypeQuestion::KaryotypeQuestion(const Karyotype &expected)
    : KaryotypeQuestion(expected, BandNames::embedded())
{
}

KaryotypeQuestion::KaryotypeQuestion(const Karyotype &expected, const BandNames &bands)
    : m_expected(expected), m_bands(bands)
{
    normalise(m_expected);
}

QString KaryotypeQuestion::problemWith(const QString &written) const
{
    if (written.trimmed().isEmpty())
        return QStringLiteral("核型を入力してください (例: 47,XY,+21)。");
    return readKaryotype(written, m_bands).error;
}

KaryotypeAnswer KaryotypeQuestion::answer(const QString &written) const
{
    const KaryotypeReading reading = readKaryotype(written, m_bands);
    return {written, m_expected.iscn(), scoreKaryotype(m_expected, reading.karyotype)};
}

KaryotypeAnswer KaryotypeQuestion::unanswered() const
{
    return {QString(), m_expected.iscn(), scoreKaryotype(m_expected, Karyotype{})};
}

} // namespace queldo
