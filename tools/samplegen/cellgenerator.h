#pragma once

#include "bandtable.h"
#include "cellconditions.h"
#include "chromosomeappearance.h"
#include "chromosomepicture.h"
#include "chromosomevariation.h"

#include <QList>

class SeededRandom;
struct CellChromosome;

// Makes the 46 chromosomes of one cell. Each chromosome draws from its own
// seed derived from the cell's, so a cell (and each picture in it) can be
// regenerated on its own.
class CellGenerator
{
public:
    static constexpr int ChromosomesPerCell = 46;

    CellGenerator(const BandTable &table, double size);

    // In bitmap order: 1-1, 1-2, 2-1, ... 22-2, then the sex chromosomes.
    QList<ChromosomePicture> generateCell(quint64 cellSeed, bool female) const;

    // The chromosomes of an abnormal cell, drawn in the order given, each from its own bands.
    QList<ChromosomePicture> generateCell(quint64 cellSeed,
                                          const QList<CellChromosome> &chromosomes) const;

    // Default condensation, upright and straight: for size previews and for
    // comparing bands against the ideogram.
    ChromosomePicture generateReference(int chromosome, quint64 seed) const;

    static int chromosomeInSlot(int slot, bool female);

private:
    CellConditions drawConditions(SeededRandom &random) const;
    ChromosomeVariation drawVariation(int chromosome, SeededRandom &random,
                                      const CellConditions &conditions) const;
    ChromosomeAppearance drawAppearance(double length, SeededRandom &random,
                                        const CellConditions &conditions) const;
    ChromosomeAppearance baseAppearance(const CellConditions &conditions) const;
    ChromosomePicture draw(int chromosome, const ChromosomeVariation &variation,
                           const ChromosomeAppearance &appearance) const;
    ChromosomePicture draw(int chromosome, const QList<ShadedBand> &bands,
                           const ChromosomeVariation &variation,
                           const ChromosomeAppearance &appearance) const;

    const BandTable &m_table;
    double m_size;
};
