#pragma once

#include "core/karyotype/Karyotype.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace queldo {

class BandNames;

/// An abnormal problem's folder holds, beside its bitmaps, a small text file: the cell's
/// karyotype in ISCN on the first line, then one line per bitmap that carries the change
/// ("21-3.bmp"), each ending in CR LF. A normal problem has no such file.
inline QString karyotypeFileName()
{
    return QStringLiteral("karyotype.txt");
}

struct ProblemKaryotype
{
    Karyotype karyotype;
    QStringList changedBitmaps;
    /// Empty when the file was read; otherwise the message for the trainee.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

/// The file's bytes for a karyotype and the bitmaps that carry its change.
QByteArray problemKaryotypeBytes(const Karyotype &karyotype, const QStringList &changedBitmaps);

/// Reads a karyotype file's bytes (code page 932, CR LF or LF). Nothing is returned
/// half-read: on any error the result carries only the message.
ProblemKaryotype readProblemKaryotype(const QByteArray &bytes, const BandNames &bands);

} // namespace queldo
