#include "core/board/BandTable.h"

#include "core/board/ChromosomeId.h"

#include <QFile>
#include <QHash>

#include <algorithm>

namespace queldo {

namespace {

const QHash<QByteArray, BandStain> &stainNames()
{
    static const QHash<QByteArray, BandStain> names = {
        {"gneg", BandStain::Gneg},       {"gpos25", BandStain::Gpos25},
        {"gpos50", BandStain::Gpos50},   {"gpos75", BandStain::Gpos75},
        {"gpos100", BandStain::Gpos100}, {"acen", BandStain::Acen},
        {"gvar", BandStain::Gvar},       {"stalk", BandStain::Stalk},
    };
    return names;
}

QByteArray readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

BandTable BandTable::embedded()
{
    return fromTsv(readResource(QStringLiteral(":/cytobands/cytobands-550.tsv")),
                   readResource(QStringLiteral(":/cytobands/cytobands-850.tsv")));
}

QList<CytoBand> BandTable::embeddedFineBands()
{
    QString error;
    return parse(readResource(QStringLiteral(":/cytobands/cytobands-850.tsv")), &error);
}

BandTable BandTable::fromTsv(const QByteArray &layoutLevel, const QByteArray &fineLevel)
{
    BandTable table;
    const QList<CytoBand> layoutBands = parse(layoutLevel, &table.m_errorString);
    if (!table.isValid())
        return table;
    const QList<CytoBand> fineBands = parse(fineLevel, &table.m_errorString);
    if (!table.isValid())
        return table;
    table.shade(layoutBands, fineBands);
    table.validate();
    return table;
}

QList<CytoBand> BandTable::parse(const QByteArray &tsv, QString *error)
{
    QList<CytoBand> bands;
    if (tsv.isEmpty()) {
        *error = QStringLiteral("band table is missing or empty");
        return bands;
    }
    const QList<QByteArray> lines = tsv.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split('\t');
        CytoBand band;
        bool ok = fields.size() == 8;
        if (ok) {
            band.chromosome = ChromosomeId::fromName(QString::fromLatin1(fields.at(0)));
            band.shortArm = fields.at(1) == "p";
            band.name = QString::fromLatin1(fields.at(2));
            bool startOk = false, endOk = false, iscnStartOk = false, iscnEndOk = false;
            band.startBp = fields.at(3).toLongLong(&startOk);
            band.endBp = fields.at(4).toLongLong(&endOk);
            band.iscnStart = fields.at(6).toInt(&iscnStartOk);
            band.iscnEnd = fields.at(7).toInt(&iscnEndOk);
            ok = band.chromosome >= 0 && stainNames().contains(fields.at(5)) && startOk && endOk &&
                 iscnStartOk && iscnEndOk && band.iscnEnd > band.iscnStart &&
                 band.endBp > band.startBp;
            if (ok)
                band.stain = stainNames().value(fields.at(5));
        }
        if (!ok) {
            *error = QStringLiteral("band table line %1 is malformed").arg(i + 1);
            return {};
        }
        bands.append(band);
    }
    return bands;
}

double BandTable::stainDarkness(BandStain stain)
{
    switch (stain) {
    case BandStain::Gneg:
        return 0.0;
    case BandStain::Gpos25:
        return 0.25;
    case BandStain::Gpos50:
        return 0.5;
    case BandStain::Gpos75:
        return 0.75;
    case BandStain::Gpos100:
        return 1.0;
    case BandStain::Acen:
        return 0.45;
    case BandStain::Gvar:
        return 0.9;
    case BandStain::Stalk:
        return 0.05;
    }
    return 0.0;
}

// At 550 bands a band named gpos100 often covers pale sub-bands (1p36.2 is
// mostly gneg/gpos25 at 850), and drawing it solid black makes the distal 1p
// look wrong to anyone who has seen a real one. Averaging the sub-bands by
// their drawn length gives the grey a microscope shows at this resolution.
// Centromere, stalk and heterochromatin keep their own look.
void BandTable::shade(const QList<CytoBand> &layoutBands, const QList<CytoBand> &fineBands)
{
    for (const CytoBand &band : layoutBands) {
        ShadedBand shaded{band, stainDarkness(band.stain)};
        const bool refinable = band.stain != BandStain::Acen && band.stain != BandStain::Stalk &&
                               band.stain != BandStain::Gvar;
        if (refinable) {
            double weighted = 0.0;
            double weights = 0.0;
            for (const CytoBand &sub : fineBands) {
                if (sub.chromosome != band.chromosome)
                    continue;
                const qint64 overlap =
                    std::min(sub.endBp, band.endBp) - std::max(sub.startBp, band.startBp);
                if (overlap <= 0)
                    continue;
                const double weight =
                    double(sub.iscnLength()) * double(overlap) / double(sub.lengthBp());
                weighted += weight * stainDarkness(sub.stain);
                weights += weight;
            }
            if (weights > 0.0)
                shaded.darkness = weighted / weights;
        }
        m_bands[band.chromosome].append(shaded);
    }
}

void BandTable::validate()
{
    for (int id = 0; id < ChromosomeId::Count; ++id) {
        const QList<ShadedBand> &bands = m_bands.at(id);
        if (bands.isEmpty()) {
            m_errorString = QStringLiteral("band table has no bands for chromosome %1")
                                .arg(ChromosomeId::name(id));
            return;
        }
        int previousEnd = 0;
        int armChanges = 0;
        for (qsizetype i = 0; i < bands.size(); ++i) {
            const CytoBand &band = bands.at(i).band;
            if (band.iscnStart != previousEnd) {
                m_errorString =
                    QStringLiteral("band %1 does not follow its neighbour").arg(band.name);
                return;
            }
            previousEnd = band.iscnEnd;
            if (i > 0 && bands.at(i - 1).band.shortArm != band.shortArm)
                ++armChanges;
        }
        if (armChanges != 1 || !bands.first().band.shortArm) {
            m_errorString = QStringLiteral("chromosome %1 has no single p/q boundary")
                                .arg(ChromosomeId::name(id));
            return;
        }
    }
}

const QList<ShadedBand> &BandTable::bands(int chromosome) const
{
    static const QList<ShadedBand> none;
    if (chromosome < 0 || chromosome >= ChromosomeId::Count)
        return none;
    return m_bands[std::size_t(chromosome)];
}

int BandTable::iscnLength(int chromosome) const
{
    const QList<ShadedBand> &list = bands(chromosome);
    return list.isEmpty() ? 0 : list.last().band.iscnEnd;
}

int BandTable::centromereIscn(int chromosome) const
{
    for (const ShadedBand &shaded : bands(chromosome)) {
        if (!shaded.band.shortArm)
            return shaded.band.iscnStart;
    }
    return 0;
}

double BandTable::centromereIndex(int chromosome) const
{
    const int length = iscnLength(chromosome);
    return length > 0 ? double(centromereIscn(chromosome)) / double(length) : 0.5;
}

} // namespace queldo
