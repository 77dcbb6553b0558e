#include "cellgenerator.h"

#include "bandtable.h"
#include "chromosomelayout.h"
#include "chromosomerenderer.h"
#include "karyotypecell.h"
#include "seededrandom.h"

#include <algorithm>
#include <cmath>

namespace {

// Chromosome 1 is about 200 px long at size 1.
constexpr double PixelsPerIscnUnit = 200.0 / 15100.0;

} // namespace

CellGenerator::CellGenerator(const BandTable &table, double size) : m_table(table), m_size(size) {}

int CellGenerator::chromosomeInSlot(int slot, bool female)
{
    const int pair = slot / 2;
    if (pair < 22)
        return pair;
    return (slot % 2 == 0 || female) ? ChromosomeId::X : ChromosomeId::Y;
}

QList<ChromosomePicture> CellGenerator::generateCell(quint64 cellSeed, bool female) const
{
    SeededRandom cellRandom(SeededRandom::derive(cellSeed, 0));
    const CellConditions conditions = drawConditions(cellRandom);
    QList<ChromosomePicture> pictures;
    pictures.reserve(ChromosomesPerCell);
    for (int slot = 0; slot < ChromosomesPerCell; ++slot) {
        const int chromosome = chromosomeInSlot(slot, female);
        SeededRandom random(SeededRandom::derive(cellSeed, quint64(slot) + 1));
        const ChromosomeVariation variation = drawVariation(chromosome, random, conditions);
        const double length = m_table.iscnLength(chromosome) * variation.pixelsPerIscnUnit;
        pictures.append(draw(chromosome, variation, drawAppearance(length, random, conditions)));
    }
    return pictures;
}

QList<ChromosomePicture> CellGenerator::generateCell(quint64 cellSeed,
                                                     const QList<CellChromosome> &chromosomes) const
{
    SeededRandom cellRandom(SeededRandom::derive(cellSeed, 0));
    const CellConditions conditions = drawConditions(cellRandom);
    QList<ChromosomePicture> pictures;
    pictures.reserve(chromosomes.size());
    for (qsizetype i = 0; i < chromosomes.size(); ++i) {
        const CellChromosome &chromosome = chromosomes.at(i);
        SeededRandom random(SeededRandom::derive(cellSeed, quint64(i) + 1));
        const ChromosomeVariation variation =
            drawVariation(chromosome.chromosome, random, conditions);
        const double length = chromosome.bands.isEmpty() ? 0.0
                                                         : chromosome.bands.last().band.iscnEnd *
                                                               variation.pixelsPerIscnUnit;
        pictures.append(draw(chromosome.chromosome, chromosome.bands, variation,
                             drawAppearance(length, random, conditions)));
    }
    return pictures;
}

ChromosomePicture CellGenerator::generateReference(int chromosome, quint64 seed) const
{
    const CellConditions conditions;
    ChromosomeVariation variation;
    variation.pixelsPerIscnUnit = PixelsPerIscnUnit * m_size;
    variation.seed = SeededRandom::derive(seed, 0);
    ChromosomeAppearance appearance = baseAppearance(conditions);
    appearance.seed = SeededRandom::derive(seed, 1);
    return draw(chromosome, variation, appearance);
}

CellConditions CellGenerator::drawConditions(SeededRandom &random) const
{
    CellConditions conditions;
    conditions.condensation = random.uniform(0.87, 1.13);
    // Longer, less condensed chromosomes are also slimmer.
    conditions.widthScale = random.uniform(0.92, 1.08) * std::pow(conditions.condensation, -0.3);
    conditions.inkPale = random.uniform(0.16, 0.24);
    conditions.inkDark = random.uniform(0.80, 0.90);
    conditions.grain = random.uniform(2.5, 4.0);
    return conditions;
}

ChromosomeVariation CellGenerator::drawVariation(int chromosome, SeededRandom &random,
                                                 const CellConditions &conditions) const
{
    ChromosomeVariation variation;
    variation.pixelsPerIscnUnit =
        PixelsPerIscnUnit * m_size * conditions.condensation * random.uniform(0.97, 1.03);
    variation.heterochromatinScale =
        chromosome == ChromosomeId::Y ? random.uniform(0.75, 1.3) : random.uniform(0.7, 1.35);
    variation.heterochromatinDarkness = random.uniform(0.55, 0.95);
    // Short arms of acrocentrics vary too, but they are a large share of 21
    // and 22; more than this would move the centromere visibly off its place.
    variation.shortArmScale = random.uniform(0.9, 1.12);
    variation.satelliteScale = random.uniform(0.8, 1.25);
    variation.stalkScale = random.uniform(0.85, 1.2);
    variation.bandJitter = 0.03;
    variation.seed = random.nextBits();
    return variation;
}

ChromosomeAppearance CellGenerator::baseAppearance(const CellConditions &conditions) const
{
    ChromosomeAppearance appearance;
    appearance.chromatidHalfWidth = 5.8 * m_size * conditions.widthScale;
    appearance.edgeSoftness = 0.35 + 0.25 * m_size;
    appearance.bandSoftness = 0.45 + 0.25 * m_size;
    appearance.inkPale = conditions.inkPale;
    appearance.inkDark = conditions.inkDark;
    appearance.grain = conditions.grain;
    appearance.mottleScale = std::max(1.0, 2.2 * m_size);
    appearance.margin = 3 + int(std::lround(3.0 * m_size));
    return appearance;
}

ChromosomeAppearance CellGenerator::drawAppearance(double length, SeededRandom &random,
                                                   const CellConditions &conditions) const
{
    ChromosomeAppearance appearance = baseAppearance(conditions);
    appearance.chromatidHalfWidth *= random.uniform(0.96, 1.04);
    appearance.chromatidSpacing = random.uniform(0.85, 0.95);
    appearance.constrictionDepth = random.uniform(0.32, 0.42);
    appearance.tiltDegrees = random.symmetric(3.0);
    const double bendLimit = 4.0 * m_size;
    appearance.bow = std::clamp(random.symmetric(0.025) * length, -bendLimit, bendLimit);
    appearance.sway = std::clamp(random.symmetric(0.01) * length, -bendLimit, bendLimit) / 2.0;
    appearance.mottle = random.uniform(0.06, 0.1);
    appearance.bandBow = random.symmetric(0.6) * m_size;
    appearance.bandSkew = random.symmetric(0.5) * m_size;
    appearance.seed = random.nextBits();
    return appearance;
}

ChromosomePicture CellGenerator::draw(int chromosome, const ChromosomeVariation &variation,
                                      const ChromosomeAppearance &appearance) const
{
    return draw(chromosome, m_table.bands(chromosome), variation, appearance);
}

ChromosomePicture CellGenerator::draw(int chromosome, const QList<ShadedBand> &bands,
                                      const ChromosomeVariation &variation,
                                      const ChromosomeAppearance &appearance) const
{
    const ChromosomeLayout layout = ChromosomeLayout::build(bands, variation);
    return ChromosomeRenderer(layout, appearance).render(chromosome);
}
