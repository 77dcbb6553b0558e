// Draws the help's chromosome pictures: the standard ideogram of each class, from the band
// tables the program carries, all to one scale so that their sizes compare as on a karyogram.
//
// Usage: queldo_helpideograms OUTPUT_FOLDER   (writes ideogram-1.png .. ideogram-22.png,
// ideogram-X.png and ideogram-Y.png)

#include "core/board/BandTable.h"
#include "core/board/ChromosomeId.h"
#include "core/board/Ideogram.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>

using namespace queldo;

namespace {

// Chromosome 1, the longest, is this many pixels tall; the others shorter in proportion.
constexpr int LongestHeight = 300;
constexpr int IdeogramWidth = 30;
constexpr int Border = 8;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: queldo_helpideograms OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    const BandTable table = BandTable::embedded();
    if (!table.isValid()) {
        std::fprintf(stderr, "band tables: %s\n", qPrintable(table.errorString()));
        return 1;
    }
    const double scale = double(LongestHeight) / table.iscnLength(0);
    for (int id = 0; id < ChromosomeId::Count; ++id) {
        ChromosomeSpan span;
        span.found = true;
        span.top = Border;
        span.bottom = Border + int(std::lround(table.iscnLength(id) * scale));
        span.centromere = Border + int(std::lround(table.centromereIscn(id) * scale));
        span.width = IdeogramWidth;
        span.right = IdeogramWidth;
        const QImage ideogram =
            drawIdeogram(table.bands(id), IdeogramWidth, span.bottom + Border, span);
        // On white, so the picture reads the same in a browser with a dark page.
        QImage picture(IdeogramWidth + 2 * Border, ideogram.height(), QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter(&picture).drawImage(Border, 0, ideogram);
        const QString path =
            QDir(folder).filePath(QStringLiteral("ideogram-%1.png").arg(ChromosomeId::name(id)));
        if (!picture.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
