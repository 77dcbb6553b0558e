#include "karyotypecell.h"

#include <algorithm>
#include <cmath>

using queldo::Abnormality;
using queldo::AbnormalityKind;
using queldo::Breakpoint;
using queldo::Karyotype;

namespace {

bool refinable(BandStain stain)
{
    return stain != BandStain::Acen && stain != BandStain::Stalk && stain != BandStain::Gvar;
}

// "9q34.1" names 9q34.11 to 9q34.13; "5p15" names 5p15.1 to 5p15.33.
bool names(const QString &name, const QString &band)
{
    if (name == band)
        return true;
    if (!name.startsWith(band) || name.size() == band.size())
        return false;
    const QChar next = name.at(band.size());
    return next == QLatin1Char('.') || (band.contains(QLatin1Char('.')) && next.isDigit());
}

} // namespace

KaryotypeCell::KaryotypeCell(const BandTable &table, const QList<CytoBand> &fineBands)
    : m_table(table), m_fine(fineBands)
{
}

int KaryotypeCell::cutPosition(const Breakpoint &point) const
{
    if (point.band == QLatin1String("10"))
        return m_table.centromereIscn(point.chromosome);
    QList<CytoBand> named;
    for (const CytoBand &band : m_fine) {
        if (band.chromosome == point.chromosome && band.shortArm == point.shortArm &&
            names(band.name, point.text()))
            named.append(band);
    }
    if (named.isEmpty())
        return -1;
    qint64 bp = point.shortArm ? named.last().endBp : named.first().startBp;
    if (named.size() > 1) {
        const qint64 middle = (named.first().startBp + named.last().endBp) / 2;
        bp = named.first().endBp;
        for (qsizetype i = 0; i + 1 < named.size(); ++i) {
            if (std::abs(named.at(i).endBp - middle) < std::abs(bp - middle))
                bp = named.at(i).endBp;
        }
    }
    // The layout table's bands span the same bases in their own drawing units.
    for (const ShadedBand &shaded : m_table.bands(point.chromosome)) {
        const CytoBand &band = shaded.band;
        if (bp >= band.startBp && bp <= band.endBp)
            return band.iscnStart + int(std::lround(double(bp - band.startBp) /
                                                    double(band.lengthBp()) * band.iscnLength()));
    }
    return -1;
}

double KaryotypeCell::fineDarkness(int chromosome, qint64 fromBp, qint64 toBp) const
{
    double weighted = 0.0;
    double weights = 0.0;
    for (const CytoBand &sub : m_fine) {
        if (sub.chromosome != chromosome)
            continue;
        const qint64 overlap = std::min(sub.endBp, toBp) - std::max(sub.startBp, fromBp);
        if (overlap <= 0)
            continue;
        const double weight = double(sub.iscnLength()) * double(overlap) / double(sub.lengthBp());
        weighted += weight * BandTable::stainDarkness(sub.stain);
        weights += weight;
    }
    return weights > 0.0 ? weighted / weights : -1.0;
}

QList<ShadedBand> KaryotypeCell::segment(int chromosome, int from, int to) const
{
    QList<ShadedBand> bands;
    for (const ShadedBand &shaded : m_table.bands(chromosome)) {
        const CytoBand &band = shaded.band;
        const int start = std::max(band.iscnStart, from);
        const int end = std::min(band.iscnEnd, to);
        if (end <= start)
            continue;
        ShadedBand piece = shaded;
        if (start != band.iscnStart || end != band.iscnEnd) {
            const auto bpAt = [&](int position) {
                return band.startBp + qint64(std::llround(double(position - band.iscnStart) /
                                                          band.iscnLength() * band.lengthBp()));
            };
            piece.band.startBp = bpAt(start);
            piece.band.endBp = bpAt(end);
            piece.band.iscnStart = start;
            piece.band.iscnEnd = end;
            const double darkness = fineDarkness(chromosome, piece.band.startBp, piece.band.endBp);
            if (refinable(band.stain) && darkness >= 0.0)
                piece.darkness = darkness;
        }
        bands.append(piece);
    }
    return bands;
}

CellChromosome KaryotypeCell::join(const QList<Piece> &pieces, int centricChromosome) const
{
    CellChromosome derivative{centricChromosome, {}, true};
    int position = 0;
    int centromere = -1;
    for (const Piece &piece : pieces) {
        QList<ShadedBand> bands = segment(piece.chromosome, piece.from, piece.to);
        if (piece.reversed)
            std::reverse(bands.begin(), bands.end());
        const int sourceCentromere = m_table.centromereIscn(piece.chromosome);
        if (centromere < 0 && piece.chromosome == centricChromosome &&
            sourceCentromere >= piece.from && sourceCentromere <= piece.to)
            centromere = position + (piece.reversed ? piece.to - sourceCentromere
                                                    : sourceCentromere - piece.from);
        for (ShadedBand &shaded : bands) {
            const int length = shaded.band.iscnLength();
            shaded.band.iscnStart = position;
            shaded.band.iscnEnd = position + length;
            position += length;
            derivative.bands.append(shaded);
        }
    }
    for (ShadedBand &shaded : derivative.bands)
        shaded.band.shortArm = shaded.band.iscnEnd <= centromere;
    return derivative;
}

QList<CellChromosome> KaryotypeCell::derivatives(const Abnormality &abnormality,
                                                 QString *error) const
{
    QList<int> cuts;
    for (const Breakpoint &point : abnormality.breakpoints) {
        const int cut = cutPosition(point);
        if (cut < 0) {
            *error = QStringLiteral("no band %1 in the tables").arg(point.text());
            return {};
        }
        cuts.append(cut);
    }
    const int first = abnormality.chromosomes.value(0);
    const int length = m_table.iscnLength(first);
    const int centromere = m_table.centromereIscn(first);
    switch (abnormality.kind) {
    case AbnormalityKind::Deletion: {
        if (cuts.size() == 1) {
            const bool shortArm = abnormality.breakpoints.first().shortArm;
            return {join({{first, shortArm ? cuts[0] : 0, shortArm ? length : cuts[0]}}, first)};
        }
        if (cuts[0] < centromere && cuts[1] > centromere) {
            *error = QStringLiteral("a deletion across the centromere leaves no chromosome");
            return {};
        }
        return {join({{first, 0, cuts[0]}, {first, cuts[1], length}}, first)};
    }
    case AbnormalityKind::Duplication:
        return {join({{first, 0, cuts[1]}, {first, cuts[0], length}}, first)};
    case AbnormalityKind::Inversion:
        return {
            join({{first, 0, cuts[0]}, {first, cuts[0], cuts[1], true}, {first, cuts[1], length}},
                 first)};
    case AbnormalityKind::Isochromosome: {
        const bool shortArm = abnormality.breakpoints.first().shortArm;
        if (shortArm)
            return {join({{first, 0, centromere}, {first, 0, centromere, true}}, first)};
        return {join({{first, centromere, length, true}, {first, centromere, length}}, first)};
    }
    case AbnormalityKind::Robertsonian: {
        // The smaller long arm becomes the short arm of the fused chromosome.
        const int second = abnormality.chromosomes.value(1);
        return {join({{second, m_table.centromereIscn(second), m_table.iscnLength(second), true},
                      {first, centromere, length}},
                     first)};
    }
    case AbnormalityKind::Translocation: {
        QList<CellChromosome> result;
        for (int side = 0; side < 2; ++side) {
            const int own = abnormality.chromosomes[side];
            const int other = abnormality.chromosomes[1 - side];
            const bool ownShort = abnormality.breakpoints[side].shortArm;
            const bool otherShort = abnormality.breakpoints[1 - side].shortArm;
            const int ownCut = cuts[side];
            const int otherCut = cuts[1 - side];
            const int otherLength = m_table.iscnLength(other);
            // The other chromosome's distal part, its broken end towards the join.
            const Piece distal = otherShort ? Piece{other, 0, otherCut, !ownShort}
                                            : Piece{other, otherCut, otherLength, ownShort};
            if (ownShort)
                result.append(join({distal, {own, ownCut, m_table.iscnLength(own)}}, own));
            else
                result.append(join({{own, 0, ownCut}, distal}, own));
        }
        return result;
    }
    case AbnormalityKind::Gain:
    case AbnormalityKind::Loss:
        break;
    }
    return {};
}

QList<CellChromosome> KaryotypeCell::build(const Karyotype &karyotype, QString *error) const
{
    QList<CellChromosome> cell;
    const auto normal = [&](int chromosome) {
        return CellChromosome{chromosome, m_table.bands(chromosome), false};
    };
    for (int chromosome = 0; chromosome < 22; ++chromosome)
        cell << normal(chromosome) << normal(chromosome);
    // Beyond one X and a Y, or two X's, a sex chromosome is the change itself.
    const bool male = karyotype.sexChromosomes.contains(QLatin1Char('Y'));
    int xs = 0;
    int ys = 0;
    for (QChar sex : karyotype.sexChromosomes) {
        const bool x = sex == QLatin1Char('X');
        CellChromosome chromosome = normal(x ? ChromosomeId::X : ChromosomeId::Y);
        chromosome.changed = x ? ++xs > (male ? 1 : 2) : ++ys > 1;
        cell << chromosome;
    }
    // An autosome's change takes the place of one of its two normal copies; the sex field
    // already leaves out the sex chromosomes changed.
    const auto removeNormal = [&](int chromosome) {
        if (chromosome == ChromosomeId::X || chromosome == ChromosomeId::Y)
            return true;
        for (qsizetype i = cell.size() - 1; i >= 0; --i) {
            if (cell.at(i).chromosome == chromosome && !cell.at(i).changed) {
                cell.removeAt(i);
                return true;
            }
        }
        return false;
    };
    for (const Abnormality &abnormality : karyotype.abnormalities) {
        const int first = abnormality.chromosomes.value(0);
        if (abnormality.kind == AbnormalityKind::Gain) {
            CellChromosome extra = normal(first);
            extra.changed = true;
            cell << extra;
            continue;
        }
        for (int chromosome : abnormality.chromosomes) {
            if (!removeNormal(chromosome)) {
                *error = QStringLiteral("%1 has no normal chromosome %2 left to change")
                             .arg(abnormality.iscn(), ChromosomeId::name(chromosome));
                return {};
            }
        }
        if (abnormality.kind == AbnormalityKind::Loss)
            continue;
        const QList<CellChromosome> made = derivatives(abnormality, error);
        if (made.isEmpty())
            return {};
        cell << made;
    }
    if (cell.size() != karyotype.count) {
        *error = QStringLiteral("%1 describes %2 chromosomes, not %3")
                     .arg(karyotype.iscn())
                     .arg(cell.size())
                     .arg(karyotype.count);
        return {};
    }
    std::stable_sort(cell.begin(), cell.end(),
                     [](const CellChromosome &a, const CellChromosome &b) {
                         if (a.chromosome != b.chromosome)
                             return a.chromosome < b.chromosome;
                         return !a.changed && b.changed;
                     });
    return cell;
}
