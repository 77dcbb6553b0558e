#pragma once

#include "core/karyotype/Karyotype.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace queldo {

/// One part of a written karyotype as scored: the count, the sex chromosomes, or one
/// abnormality (expected, or written where the cell has none).
struct KaryotypePart
{
    /// "染色体数", "性染色体" or the abnormality in ISCN.
    QString label;
    /// 1 right, 0 wrong; a breakpoint named to the band but not to the sub-band earns half its
    /// share.
    double credit = 0.0;
    /// What the trainee is told; empty when the part is right.
    QStringList feedback;
};

struct KaryotypeScore
{
    QList<KaryotypePart> parts;

    bool right() const;
    /// The mean credit of the parts, 0..1.
    double fraction() const;
    QStringList feedback() const;
};

/// Scores a written karyotype against the cell's. Abnormalities are matched by kind and
/// chromosomes whatever order they were written in.
KaryotypeScore scoreKaryotype(const Karyotype &expected, const Karyotype &written);

} // namespace queldo
