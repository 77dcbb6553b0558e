#pragma once

#include <QList>
#include <QString>

namespace queldo {

/// The changes a karyotype of this program can name. A terminal deletion has one breakpoint, an
/// interstitial one two.
enum class AbnormalityKind {
    Gain,
    Loss,
    Deletion,
    Duplication,
    Inversion,
    Translocation,
    Robertsonian,
    Isochromosome,
};

/// How ISCN writes the kind: "+", "-", "del", "dup", "inv", "t", "rob", "i".
QString iscnSymbol(AbnormalityKind kind);

/// A break in a named band: chromosome (ChromosomeId), arm and band as ISCN writes it after the
/// arm ("15.2", "34.1", "10" for the centromere).
struct Breakpoint
{
    int chromosome = -1;
    bool shortArm = true;
    QString band;

    /// "5p15.2"
    QString text() const;
    /// The band without its sub-band: "15" for "15.2".
    QString mainBand() const;
    bool operator==(const Breakpoint &) const = default;
};

struct Abnormality
{
    AbnormalityKind kind = AbnormalityKind::Gain;
    QList<int> chromosomes;
    QList<Breakpoint> breakpoints;

    /// The abnormality in ISCN's short form: "+21", "del(5)(p15.2)", "t(9;22)(q34.1;q11.2)".
    QString iscn() const;
    bool operator==(const Abnormality &) const = default;
};

/// A constitutional karyotype of one cell line.
struct Karyotype
{
    int count = 0;
    /// X's before Y's: "XY", "X", "XXY".
    QString sexChromosomes;
    /// In ISCN order: sex chromosomes first, then autosomes by number, numerical changes of a
    /// chromosome before its structural ones.
    QList<Abnormality> abnormalities;

    QString iscn() const;
    bool operator==(const Karyotype &) const = default;
};

/// Puts the breakpoints of each abnormality and the abnormalities themselves in ISCN order, so
/// that two spellings of the same karyotype compare equal.
void normalise(Karyotype &karyotype);

/// The key ISCN sorts chromosomes by: the sex chromosomes first, then the autosomes by number.
int iscnChromosomeRank(int chromosome);

} // namespace queldo
