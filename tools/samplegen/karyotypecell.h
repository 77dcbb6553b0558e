#pragma once

#include "bandtable.h"

#include "core/karyotype/Karyotype.h"

#include <QList>
#include <QString>

// One chromosome of a cell to draw: its bands from the top tip, and the class its centromere
// puts it in.
struct CellChromosome
{
    int chromosome = -1;
    QList<ShadedBand> bands;
    bool changed = false;
};

// Turns a karyotype into the chromosomes of one cell. Normal chromosomes are the table's own;
// a structural change cuts chromosomes where a band of the 850-band table ends and joins the
// pieces, so every band of a derivative is a band (or the part of a band) of the tables.
class KaryotypeCell
{
public:
    KaryotypeCell(const BandTable &table, const QList<CytoBand> &fineBands);

    // In karyogram order: by class, the sex chromosomes last, changed ones after the normal
    // ones of their class. Empty, with the reason in error, when the karyotype cannot be drawn.
    QList<CellChromosome> build(const queldo::Karyotype &karyotype, QString *error) const;

    // Where a break in the named band is drawn, in the table's drawing units from the top tip:
    // a band that the 850-band table divides is cut at its inner boundary nearest its middle,
    // one it does not at its edge towards the centromere, so the band goes with the distal part.
    // -1 when the table has no such band.
    int cutPosition(const queldo::Breakpoint &point) const;

    // The bands of a chromosome between two positions, a band cut at either end shaded from
    // the 850-band rows it keeps.
    QList<ShadedBand> segment(int chromosome, int from, int to) const;

    struct Piece
    {
        int chromosome = -1;
        int from = 0;
        int to = 0;
        bool reversed = false;
    };
    // The derivative made of the pieces in order, its centromere that of the first piece of
    // centricChromosome that holds it.
    CellChromosome join(const QList<Piece> &pieces, int centricChromosome) const;

private:
    QList<CellChromosome> derivatives(const queldo::Abnormality &abnormality, QString *error) const;
    double fineDarkness(int chromosome, qint64 fromBp, qint64 toBp) const;

    const BandTable &m_table;
    QList<CytoBand> m_fine;
};
