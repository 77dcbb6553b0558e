#pragma once

#include "core/board/Bgr24Image.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace queldo::test {

/// A grey chromosome-like picture: a dark rounded bar on white.
Bgr24Image makeChromosome(int width, int height, QRandomGenerator &random);
/// Random pixels of every colour, for exercising the arithmetic.
Bgr24Image makeNoise(int width, int height, QRandomGenerator &random, bool grey);

/// Writes a 24-bit BMP. Returns the file size.
qint64 writeBmp(const QString &path, const Bgr24Image &image);

/// Lays out a problem folder: 46 bitmaps whose height falls with the class number and the
/// check-value file. widthOf and heightOf may be overridden per piece through the callbacks.
struct ProblemFixtureOptions
{
    int tallest = 60;
    int width = 14;
    quint32 seed = 1;
};
void writeProblemFolder(const QString &imagesFolder, const QString &name,
                        const ProblemFixtureOptions &options = {});

/// The 46 bitmap names of a normal cell in piece order, to make an abnormal one from.
QStringList normalBitmapNames();
/// Lays out an abnormal problem folder: the bitmaps named, in that order in the check-value
/// file (heights falling with the class as above), and the karyotype file naming the karyotype
/// and the changed bitmaps.
void writeAbnormalProblemFolder(const QString &imagesFolder, const QString &name,
                                const QStringList &bitmaps, const QString &karyotype,
                                const QStringList &changed,
                                const ProblemFixtureOptions &options = {});

} // namespace queldo::test
