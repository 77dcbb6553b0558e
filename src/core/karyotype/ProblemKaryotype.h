#pragma once

#include <QString>

namespace queldo {

/// An abnormal problem's folder holds, beside its bitmaps, a small text file: the cell's
/// karyotype in ISCN on the first line, then one line per bitmap that carries the change
/// ("21-3.bmp"), each ending in CR LF. A normal problem has no such file.
inline QString karyotypeFileName()
{
    return QStringLiteral("karyotype.txt");
}

} // namespace queldo
