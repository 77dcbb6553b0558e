#include "core/results/AbnormalStatistics.h"

#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeReader.h"

#include <QHash>

#include <algorithm>

namespace queldo {

namespace {

bool partRight(const AbnormalAttempt &attempt, const QString &label)
{
    if (attempt.written.isEmpty())
        return false;
    return std::any_of(attempt.parts.begin(), attempt.parts.end(), [&](const KaryotypePart &part) {
        return part.label == label && part.credit == 1.0;
    });
}

bool usualSexChromosomes(const QString &sex)
{
    return sex == QLatin1String("XX") || sex == QLatin1String("XY");
}

} // namespace

AbnormalStatistics AbnormalStatistics::compute(const std::vector<AbnormalAttempt> &attempts)
{
    AbnormalStatistics statistics;
    QHash<QString, MissedAbnormality> byName;
    for (const AbnormalAttempt &attempt : attempts) {
        ++statistics.attempts;
        if (attempt.right())
            ++statistics.namedRight;
        const KaryotypeReading reading = readKaryotype(attempt.expected, BandNames::embedded());
        if (!reading.ok())
            continue;
        const Karyotype &cell = reading.karyotype;
        const auto tally = [&](const QString &name, bool right) {
            MissedAbnormality &entry = byName[name];
            entry.name = name;
            ++entry.asked;
            if (!right)
                ++entry.missed;
        };
        // A gained or lost sex chromosome is written in the sex field, not as an abnormality.
        if (!usualSexChromosomes(cell.sexChromosomes))
            tally(QStringLiteral("%1,%2").arg(cell.count).arg(cell.sexChromosomes),
                  partRight(attempt, QStringLiteral("性染色体")));
        for (const Abnormality &abnormality : cell.abnormalities)
            tally(abnormality.iscn(), partRight(attempt, abnormality.iscn()));
    }
    for (const MissedAbnormality &entry : std::as_const(byName))
        if (entry.missed > 0)
            statistics.mostMissed << entry;
    std::sort(statistics.mostMissed.begin(), statistics.mostMissed.end(),
              [](const MissedAbnormality &a, const MissedAbnormality &b) {
                  if (a.missed != b.missed)
                      return a.missed > b.missed;
                  if (a.asked != b.asked)
                      return a.asked > b.asked;
                  return a.name < b.name;
              });
    return statistics;
}

QStringList AbnormalStatistics::report(int shown) const
{
    if (attempts == 0)
        return {};
    QStringList lines{QStringLiteral("異常核型 %1 回, 核型の正解 %2 回 (%3%)")
                          .arg(attempts)
                          .arg(namedRight)
                          .arg(namedRight * 100 / attempts)};
    if (mostMissed.isEmpty())
        return lines;
    QStringList names;
    for (const MissedAbnormality &entry : mostMissed.mid(0, shown))
        names << QStringLiteral("%1 (%2/%3 回)").arg(entry.name).arg(entry.missed).arg(entry.asked);
    lines << QStringLiteral("間違えやすい異常: ") + names.join(QStringLiteral(", "));
    return lines;
}

} // namespace queldo
