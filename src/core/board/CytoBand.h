#pragma once

#include <QString>

namespace queldo {

enum class BandStain { Gneg, Gpos25, Gpos50, Gpos75, Gpos100, Acen, Gvar, Stalk };

/// One row of a band table, as read.
struct CytoBand
{
    int chromosome = -1; ///< ChromosomeId
    bool shortArm = true;
    QString name;
    qint64 startBp = 0;
    qint64 endBp = 0;
    BandStain stain = BandStain::Gneg;
    int iscnStart = 0;
    int iscnEnd = 0;

    int iscnLength() const { return iscnEnd - iscnStart; }
    qint64 lengthBp() const { return endBp - startBp; }
};

/// A 550-level band with the darkness it shows once its finer sub-bands are taken into account
/// (0 = unstained, 1 = darkest G-positive).
struct ShadedBand
{
    CytoBand band;
    double darkness = 0.0;
};

} // namespace queldo
