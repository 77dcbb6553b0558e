#pragma once

#include "core/results/AbnormalAttemptsFile.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace queldo {

/// How often one abnormality was asked and missed: named wrong in any part (a breakpoint to
/// the band but not the sub-band included) or not named at all.
struct MissedAbnormality
{
    /// "+21", "t(9;22)(q34.1;q11.2)", or the count and sex chromosomes of a sex-chromosome
    /// aneuploidy ("45,X").
    QString name;
    int asked = 0;
    int missed = 0;
};

/// The figures of the grade window's section on abnormal cells.
struct AbnormalStatistics
{
    int attempts = 0;
    int namedRight = 0;
    /// Most missed first (then most asked, then by name); abnormalities never missed are left
    /// out.
    QList<MissedAbnormality> mostMissed;

    static AbnormalStatistics compute(const std::vector<AbnormalAttempt> &attempts);

    /// The section's lines: the attempts and the share named right, then up to `shown` of the
    /// most missed abnormalities. Empty when there are no attempts: the section is then not
    /// shown.
    QStringList report(int shown = 3) const;
};

} // namespace queldo
