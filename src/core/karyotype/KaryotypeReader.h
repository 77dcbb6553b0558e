#pragma once

#include "core/karyotype/Karyotype.h"

#include <QString>

namespace queldo {

class BandNames;

/// A karyotype as read, or why it could not be read.
struct KaryotypeReading
{
    Karyotype karyotype;
    /// Empty when the text was read; otherwise a sentence for the trainee.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

/// Reads a karyotype in the ISCN short form: count, sex chromosomes, then +N, -N, del, dup, inv,
/// t, rob (or der(a;b)(q10;q10)) and i. Spaces and full-width characters are ignored, so is
/// the order of the abnormalities and of a chromosome's breakpoints; the result is normalised.
/// Breakpoints must name bands of the tables.
KaryotypeReading readKaryotype(const QString &text, const BandNames &bands);

} // namespace queldo
