#include "core/karyotype/Karyotype.h"

#include "core/board/ChromosomeId.h"

#include <algorithm>

namespace queldo {

namespace {

QString armAndBand(const Breakpoint &point)
{
    return QLatin1Char(point.shortArm ? 'p' : 'q') + point.band;
}

// The digits of a band name read outwards from the centromere: "15.2" lies beyond "15" and
// "14.3", so comparing the digit strings orders bands along an arm.
QString outwardKey(const QString &band)
{
    QString digits = band;
    digits.remove(QLatin1Char('.'));
    return digits;
}

// From the tip of the short arm to the tip of the long arm.
bool beforeOnChromosome(const Breakpoint &a, const Breakpoint &b)
{
    if (a.shortArm != b.shortArm)
        return a.shortArm;
    return a.shortArm ? outwardKey(a.band) > outwardKey(b.band)
                      : outwardKey(a.band) < outwardKey(b.band);
}

bool numerical(AbnormalityKind kind)
{
    return kind == AbnormalityKind::Gain || kind == AbnormalityKind::Loss;
}

} // namespace

QString iscnSymbol(AbnormalityKind kind)
{
    switch (kind) {
    case AbnormalityKind::Gain:
        return QStringLiteral("+");
    case AbnormalityKind::Loss:
        return QStringLiteral("-");
    case AbnormalityKind::Deletion:
        return QStringLiteral("del");
    case AbnormalityKind::Duplication:
        return QStringLiteral("dup");
    case AbnormalityKind::Inversion:
        return QStringLiteral("inv");
    case AbnormalityKind::Translocation:
        return QStringLiteral("t");
    case AbnormalityKind::Robertsonian:
        return QStringLiteral("rob");
    case AbnormalityKind::Isochromosome:
        return QStringLiteral("i");
    }
    return {};
}

QString Breakpoint::text() const
{
    return ChromosomeId::name(chromosome) + armAndBand(*this);
}

QString Breakpoint::mainBand() const
{
    return band.section(QLatin1Char('.'), 0, 0);
}

QString Abnormality::iscn() const
{
    if (numerical(kind))
        return iscnSymbol(kind) + ChromosomeId::name(chromosomes.value(0));
    QStringList names;
    for (int chromosome : chromosomes)
        names << ChromosomeId::name(chromosome);
    QStringList bands;
    for (const Breakpoint &point : breakpoints)
        bands << armAndBand(point);
    // Bands of one chromosome run together, those of several are separated like the chromosomes.
    const QString separator = chromosomes.size() > 1 ? QStringLiteral(";") : QString();
    return iscnSymbol(kind) + QLatin1Char('(') + names.join(QLatin1Char(';')) +
           QStringLiteral(")(") + bands.join(separator) + QLatin1Char(')');
}

QString Karyotype::iscn() const
{
    QStringList fields{QString::number(count), sexChromosomes};
    for (const Abnormality &abnormality : abnormalities)
        fields << abnormality.iscn();
    return fields.join(QLatin1Char(','));
}

int iscnChromosomeRank(int chromosome)
{
    if (chromosome == ChromosomeId::X)
        return -2;
    if (chromosome == ChromosomeId::Y)
        return -1;
    return chromosome;
}

void normalise(Karyotype &karyotype)
{
    std::sort(karyotype.sexChromosomes.begin(), karyotype.sexChromosomes.end());
    for (Abnormality &abnormality : karyotype.abnormalities) {
        if (abnormality.chromosomes.size() == 2 && abnormality.breakpoints.size() == 2 &&
            iscnChromosomeRank(abnormality.chromosomes[1]) <
                iscnChromosomeRank(abnormality.chromosomes[0])) {
            abnormality.chromosomes.swapItemsAt(0, 1);
            abnormality.breakpoints.swapItemsAt(0, 1);
        } else if (abnormality.chromosomes.size() == 1) {
            std::sort(abnormality.breakpoints.begin(), abnormality.breakpoints.end(),
                      beforeOnChromosome);
        }
    }
    std::stable_sort(karyotype.abnormalities.begin(), karyotype.abnormalities.end(),
                     [](const Abnormality &a, const Abnormality &b) {
                         const int rankA = iscnChromosomeRank(a.chromosomes.value(0));
                         const int rankB = iscnChromosomeRank(b.chromosomes.value(0));
                         if (rankA != rankB)
                             return rankA < rankB;
                         return numerical(a.kind) && !numerical(b.kind);
                     });
}

} // namespace queldo
