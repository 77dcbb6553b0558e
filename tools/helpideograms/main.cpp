// Draws the help's chromosome pictures: the standard ideogram of each class, from the band
// tables the program carries, all to one scale so that their sizes compare as on a karyogram.
//
// Usage: queldo_helpideograms OUTPUT_FOLDER   (writes ideogram-1.png .. ideogram-22.png,
// ideogram-X.png and ideogram-Y.png, and for each structural change of the abnormal cells its
// chromosomes with the breakpoints marked: breakpoints-del5.png and so on)

#include "core/board/BandTable.h"
#include "core/board/ChromosomeId.h"
#include "core/board/Ideogram.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace queldo;

namespace {

// Chromosome 1, the longest, is this many pixels tall; the others shorter in proportion.
constexpr int LongestHeight = 300;
constexpr int IdeogramWidth = 30;
constexpr int Border = 8;

struct MarkedChromosome
{
    int id;
    QStringList breakpoints; ///< arm and band ("p15.2"); "q10" is the centromere
};

struct BreakpointPicture
{
    const char *file;
    QList<MarkedChromosome> chromosomes;
};

// The tallest chromosome of a breakpoint picture is this tall, so that small ones still show
// their bands.
constexpr int MarkedHeight = 320;
constexpr int LabelWidth = 78;

// Rows of a band's extent, or of the centromere for p10/q10.
std::pair<int, int> bandRows(const BandTable &table, int id, const QString &band, double scale,
                             int top)
{
    const QString name = ChromosomeId::name(id) + band;
    if (band == QLatin1String("p10") || band == QLatin1String("q10")) {
        const int row = top + int(std::lround(table.centromereIscn(id) * scale));
        return {row, row};
    }
    // A band the table divides ("11q14" into 11q14.1 to 11q14.3) spans all its parts.
    int from = -1;
    int to = -1;
    for (const ShadedBand &shaded : table.bands(id)) {
        if (shaded.band.name != name && !shaded.band.name.startsWith(name + u'.'))
            continue;
        const int start = top + int(std::lround(shaded.band.iscnStart * scale));
        const int end = top + int(std::lround(shaded.band.iscnEnd * scale));
        from = from < 0 ? start : std::min(from, start);
        to = std::max(to, end);
    }
    return {from, to};
}

bool drawBreakpointPicture(const BandTable &table, const BreakpointPicture &wanted,
                           const QString &folder)
{
    int tallest = 0;
    for (const MarkedChromosome &marked : wanted.chromosomes)
        tallest = std::max(tallest, table.iscnLength(marked.id));
    const double scale = double(MarkedHeight) / tallest;
    const int columnWidth = Border + IdeogramWidth + LabelWidth;
    QImage picture(int(wanted.chromosomes.size()) * columnWidth + Border,
                   MarkedHeight + 3 * Border + 16, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(13);
    painter.setFont(font);
    int left = Border;
    for (const MarkedChromosome &marked : wanted.chromosomes) {
        const int top = Border + 16;
        ChromosomeSpan span;
        span.found = true;
        span.top = top;
        span.bottom = top + int(std::lround(table.iscnLength(marked.id) * scale));
        span.centromere = top + int(std::lround(table.centromereIscn(marked.id) * scale));
        span.width = IdeogramWidth;
        span.right = IdeogramWidth;
        painter.drawImage(
            left, 0,
            drawIdeogram(table.bands(marked.id), IdeogramWidth, span.bottom + Border, span));
        painter.setPen(Qt::black);
        painter.drawText(QRect(left, 0, IdeogramWidth, 16), Qt::AlignCenter,
                         ChromosomeId::name(marked.id));
        painter.setPen(QPen(QColor(0xD0, 0x10, 0x10), 2));
        for (const QString &band : marked.breakpoints) {
            const auto [from, to] = bandRows(table, marked.id, band, scale, top);
            if (from < 0) {
                std::fprintf(stderr, "no band %s%s\n", qPrintable(ChromosomeId::name(marked.id)),
                             qPrintable(band));
                return false;
            }
            const int middle = (from + to) / 2;
            // A bracket over the band on the right, and the break across the chromosome.
            const int x = left + IdeogramWidth + 3;
            painter.drawLine(x, from, x + 4, from);
            painter.drawLine(x + 4, from, x + 4, to);
            painter.drawLine(x, to, x + 4, to);
            painter.drawLine(left - 4, middle, left + IdeogramWidth + 3, middle);
            painter.drawText(QPoint(x + 8, middle + 5), ChromosomeId::name(marked.id) + band);
        }
        left += columnWidth;
    }
    painter.end();
    const QString path = QDir(folder).filePath(QString::fromLatin1(wanted.file));
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool drawBreakpointPictures(const BandTable &table, const QString &folder)
{
    const auto id = [](const char *name) { return ChromosomeId::fromName(QLatin1String(name)); };
    const QList<BreakpointPicture> pictures = {
        {"breakpoints-del5.png", {{id("5"), {"p15.2"}}}},
        {"breakpoints-del11.png", {{id("11"), {"q14", "q23"}}}},
        {"breakpoints-t9-22.png", {{id("9"), {"q34.1"}}, {id("22"), {"q11.2"}}}},
        {"breakpoints-rob14-21.png", {{id("14"), {"q10"}}, {id("21"), {"q10"}}}},
        {"breakpoints-inv9.png", {{id("9"), {"p12", "q13"}}}},
        {"breakpoints-iX.png", {{id("X"), {"q10"}}}},
        {"breakpoints-dup1.png", {{id("1"), {"q21", "q32"}}}},
    };
    for (const BreakpointPicture &picture : pictures)
        if (!drawBreakpointPicture(table, picture, folder))
            return false;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Text is drawn on the breakpoint pictures: fonts need the GUI side, without a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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
    return drawBreakpointPictures(table, folder) ? 0 : 1;
}
