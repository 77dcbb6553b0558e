#include "ProblemFixture.h"

#include "core/board/ProblemFolder.h"
#include "core/board/ProblemLoader.h"
#include "core/text/Cp932Text.h"

#include <QDir>
#include <QFile>

namespace queldo::test {

Bgr24Image makeChromosome(int width, int height, QRandomGenerator &random)
{
    Bgr24Image image(width, height);
    for (int y = 2; y < height - 2; ++y) {
        for (int x = 2; x < width - 2; ++x) {
            const std::uint8_t v = std::uint8_t(60 + random.bounded(0, 150));
            std::uint8_t *p = image.row(y) + 3 * x;
            p[0] = p[1] = p[2] = v;
        }
    }
    return image;
}

Bgr24Image makeNoise(int width, int height, QRandomGenerator &random, bool grey)
{
    Bgr24Image image(width, height);
    for (std::size_t k = 0; k < image.bytes.size(); k += 3) {
        const auto v = std::uint8_t(random.bounded(0, 256));
        image.bytes[k] = v;
        image.bytes[k + 1] = grey ? v : std::uint8_t(random.bounded(0, 256));
        image.bytes[k + 2] = grey ? v : std::uint8_t(random.bounded(0, 256));
    }
    return image;
}

qint64 writeBmp(const QString &path, const Bgr24Image &image)
{
    image.toQImage().save(path, "BMP");
    return QFileInfo(path).size();
}

void writeProblemFolder(const QString &imagesFolder, const QString &name,
                        const ProblemFixtureOptions &options)
{
    QRandomGenerator random(options.seed);
    const QString folder = imagesFolder + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    QStringList lines;
    for (int piece = 0; piece < PieceCount; ++piece) {
        const int height = std::max(8, options.tallest - (piece / 2) * options.tallest / 30);
        const QString file = bitmapFileName(piece);
        const qint64 size = writeBmp(folder + QLatin1Char('/') + file,
                                     makeChromosome(options.width, height, random));
        lines << QStringLiteral("%1,%2,%3").arg(file).arg(size).arg(checkValueOf(size));
    }
    writeCp932Lines(folder + QLatin1Char('/') + name + QStringLiteral(".set"), lines);
}

QStringList normalBitmapNames()
{
    QStringList names;
    for (int piece = 0; piece < PieceCount; ++piece)
        names << bitmapFileName(piece);
    return names;
}

void writeAbnormalProblemFolder(const QString &imagesFolder, const QString &name,
                                const QStringList &bitmaps, const QString &karyotype,
                                const QStringList &changed, const ProblemFixtureOptions &options)
{
    QRandomGenerator random(options.seed);
    const QString folder = imagesFolder + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    QStringList lines;
    for (const QString &file : bitmaps) {
        const int chromosomeClass = file.section(QLatin1Char('-'), 0, 0).toInt();
        const int height =
            std::max(8, options.tallest - (chromosomeClass - 1) * options.tallest / 30);
        const qint64 size = writeBmp(folder + QLatin1Char('/') + file,
                                     makeChromosome(options.width, height, random));
        lines << QStringLiteral("%1,%2,%3").arg(file).arg(size).arg(checkValueOf(size));
    }
    writeCp932Lines(folder + QLatin1Char('/') + name + QStringLiteral(".set"), lines);
    writeCp932Lines(folder + QStringLiteral("/karyotype.txt"), QStringList{karyotype} + changed);
}

} // namespace queldo::test
