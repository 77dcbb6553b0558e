#pragma once

#include "core/board/BandTable.h"
#include "core/board/CytoBand.h"

#include <QImage>
#include <QList>

namespace queldo {

/// Where a chromosome lies along the rows of its upright picture. Rows are picture rows; bottom
/// is one past the last row.
struct ChromosomeSpan
{
    bool found = false;
    int top = 0;
    int bottom = 0;
    int centromere = 0; ///< the primary constriction: the first row of the long arm
    int right = 0;      ///< one past the rightmost column the chromosome reaches
    int width = 0;      ///< typical thickness in pixels
};

/// Where to look for the centromere along a chromosome, as shares of its length from the top.
struct CentromereSearch
{
    double expected = 0.5; ///< where the standard puts it: the short arm's share of the length
    double above = 0.15;   ///< how far above that a constriction may lie
    double below = 0.15;   ///< and how far below
};

/// The search for a chromosome of the band table (ChromosomeId). On the acrocentrics the stalk
/// above the centromere is narrower than the centromere itself, so the search does not reach up
/// to it.
CentromereSearch centromereSearchFor(const BandTable &table, int chromosome);

/// Finds the chromosome on its light background: its first and last rows, its rightmost column,
/// its thickness, and the deepest constriction within the search. Without a constriction there
/// the centromere is put where the standard expects it.
ChromosomeSpan findChromosomeSpan(const QImage &picture, const CentromereSearch &search);

/// A width for the ideogram that suits the chromosome beside it.
int ideogramWidthFor(const ChromosomeSpan &span);

/// Draws the bands of one chromosome, short arm up, as an ideogram `width` wide and `height`
/// high on a transparent ground: the short arm fills the rows from span.top to span.centromere
/// and the long arm those from there to span.bottom, so that the ideogram stands level with the
/// chromosome and its centromere, the narrowest row of the outline, is the chromosome's.
QImage drawIdeogram(const QList<ShadedBand> &bands, int width, int height,
                    const ChromosomeSpan &span);

/// The standard's ideogram of one chromosome standing alone, `width` by `height`, its centromere
/// where the standard puts it along the length: what is meaningful to show where no photograph
/// lies.
QImage standingIdeogram(const BandTable &table, int chromosome, int width, int height);

} // namespace queldo
