#include "core/karyotype/KaryotypeChoices.h"

#include "core/board/BandTable.h"
#include "core/board/ChromosomeId.h"

#include <array>

namespace queldo {

namespace {

// The band names of the 550-band table per chromosome; read once, the table never changes.
const std::array<QStringList, ChromosomeId::Count> &layoutBandNames()
{
    static const std::array<QStringList, ChromosomeId::Count> names = [] {
        std::array<QStringList, ChromosomeId::Count> lists;
        const BandTable table = BandTable::embedded();
        for (int chromosome = 0; chromosome < ChromosomeId::Count; ++chromosome) {
            for (const ShadedBand &shaded : table.bands(chromosome)) {
                // The table names a band with its chromosome ("5p15.2"); the list offers the
                // arm and band.
                const QString band = shaded.band.name.mid(ChromosomeId::name(chromosome).size());
                // A divided band is offered whole too, just before its parts: a karyotype may
                // name "11q14" where the table has 11q14.1 to 11q14.3.
                const QString whole = band.section(u'.', 0, 0);
                QStringList &list = lists[std::size_t(chromosome)];
                if (whole != band && !list.contains(whole))
                    list << whole;
                list << band;
            }
        }
        return lists;
    }();
    return names;
}

} // namespace

QString KaryotypeChoices::text() const
{
    QString text = QString::number(count) + QLatin1Char(',') + sexChromosomes;
    if (!kind)
        return text;
    const QString first = ChromosomeId::name(firstChromosome);
    const QString second = ChromosomeId::name(secondChromosome);
    text += QLatin1Char(',') + iscnSymbol(*kind);
    switch (*kind) {
    case AbnormalityKind::Gain:
    case AbnormalityKind::Loss:
        return text + first;
    case AbnormalityKind::Translocation:
        return text + QStringLiteral("(%1;%2)(%3;%4)").arg(first, second, firstBand, secondBand);
    case AbnormalityKind::Robertsonian:
        return text + QStringLiteral("(%1;%2)(q10;q10)").arg(first, second);
    case AbnormalityKind::Deletion:
    case AbnormalityKind::Duplication:
    case AbnormalityKind::Inversion:
    case AbnormalityKind::Isochromosome:
        break;
    }
    return text + QStringLiteral("(%1)(%2%3)").arg(first, firstBand, secondBand);
}

namespace KaryotypeChoiceLists {

QList<int> counts()
{
    return {45, 46, 47};
}

QStringList sexChromosomes()
{
    return {QStringLiteral("XX"),  QStringLiteral("XY"),  QStringLiteral("X"),
            QStringLiteral("XXY"), QStringLiteral("XYY"), QStringLiteral("XXX")};
}

QList<AbnormalityKind> kinds()
{
    return {AbnormalityKind::Gain,         AbnormalityKind::Loss,
            AbnormalityKind::Deletion,     AbnormalityKind::Duplication,
            AbnormalityKind::Inversion,    AbnormalityKind::Translocation,
            AbnormalityKind::Robertsonian, AbnormalityKind::Isochromosome};
}

QString kindLabel(AbnormalityKind kind)
{
    switch (kind) {
    case AbnormalityKind::Gain:
        return QStringLiteral("トリソミー (+)");
    case AbnormalityKind::Loss:
        return QStringLiteral("モノソミー (-)");
    case AbnormalityKind::Deletion:
        return QStringLiteral("欠失 del");
    case AbnormalityKind::Duplication:
        return QStringLiteral("重複 dup");
    case AbnormalityKind::Inversion:
        return QStringLiteral("逆位 inv");
    case AbnormalityKind::Translocation:
        return QStringLiteral("相互転座 t");
    case AbnormalityKind::Robertsonian:
        return QStringLiteral("ロバートソン転座 rob");
    case AbnormalityKind::Isochromosome:
        return QStringLiteral("同腕染色体 i");
    }
    return {};
}

int chromosomesAsked(AbnormalityKind kind)
{
    return kind == AbnormalityKind::Translocation || kind == AbnormalityKind::Robertsonian ? 2 : 1;
}

int bandsAsked(AbnormalityKind kind)
{
    switch (kind) {
    case AbnormalityKind::Gain:
    case AbnormalityKind::Loss:
    case AbnormalityKind::Robertsonian:
        return 0;
    case AbnormalityKind::Isochromosome:
        return 1;
    case AbnormalityKind::Deletion:
    case AbnormalityKind::Duplication:
    case AbnormalityKind::Inversion:
    case AbnormalityKind::Translocation:
        break;
    }
    return 2;
}

QStringList bands(int chromosome, AbnormalityKind kind)
{
    if (kind == AbnormalityKind::Isochromosome)
        return {QStringLiteral("p10"), QStringLiteral("q10")};
    if (chromosome < 0 || chromosome >= ChromosomeId::Count)
        return {};
    return layoutBandNames()[std::size_t(chromosome)];
}

} // namespace KaryotypeChoiceLists

} // namespace queldo
