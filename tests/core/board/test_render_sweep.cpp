// A seeded random sweep over sizes, factors and angles: the fast pixel routines, in every
// instruction set this processor runs and in their portable code, must give the oracle's bytes.

#include "ProblemFixture.h"
#include "ReferenceBitmapOps.h"
#include "core/board/ChromosomeBitmapOps.h"

#include <QtTest>

#include <hwy/highway.h>

using namespace queldo;
using namespace queldo::test;

namespace {

enum class Content { GreyNoise, ColourNoise, Chromosome, OneColouredPixel, StainedChromosome };

const char *nameOf(Content c)
{
    switch (c) {
    case Content::GreyNoise:
        return "grey noise";
    case Content::ColourNoise:
        return "colour noise";
    case Content::Chromosome:
        return "chromosome";
    case Content::OneColouredPixel:
        return "grey but one pixel";
    case Content::StainedChromosome:
        return "stained chromosome";
    }
    return "";
}

struct Source
{
    Bgr24Image image;
    Content content;
};

// A grey picture spoilt by one pixel, most often the last or the first: where a vectorised
// grey check starts and ends.
Bgr24Image oneColouredPixel(int w, int h, QRandomGenerator &random)
{
    Bgr24Image image = makeNoise(w, h, random, true);
    const int pick = random.bounded(3);
    const std::size_t pixels = std::size_t(w) * h;
    const std::size_t k = pick == 0 ? pixels - 1 : pick == 1 ? 0 : random.bounded(quint32(pixels));
    std::uint8_t *p = image.bytes.data() + 3 * k;
    p[1 + random.bounded(2)] ^= std::uint8_t(1 + random.bounded(255));
    return image;
}

// A chromosome on a white rim in colour: blue, green and red differ in every band, as in a
// stained cell photographed in colour.
Bgr24Image stainedChromosome(int w, int h, QRandomGenerator &random)
{
    Bgr24Image image = makeChromosome(w, h, random);
    for (std::size_t k = 0; k < image.bytes.size(); k += 3)
        if (image.bytes[k] != 255) {
            const int v = image.bytes[k];
            image.bytes[k + 1] = std::uint8_t(v * 3 / 4);
            image.bytes[k + 2] = std::uint8_t(std::min(255, v + 20));
        }
    return image;
}

Source makeSource(int w, int h, QRandomGenerator &random)
{
    const auto content = Content(random.bounded(5));
    switch (content) {
    case Content::GreyNoise:
        return {makeNoise(w, h, random, true), content};
    case Content::ColourNoise:
        return {makeNoise(w, h, random, false), content};
    case Content::Chromosome:
        return {makeChromosome(w, h, random), content};
    case Content::OneColouredPixel:
        return {oneColouredPixel(w, h, random), content};
    case Content::StainedChromosome:
        return {stainedChromosome(w, h, random), content};
    }
    return {};
}

// Sizes over the whole range, with a quarter of them tiny, where the edge rules decide.
QSize randomSize(QRandomGenerator &random)
{
    if (random.bounded(4) == 0)
        return QSize(1 + random.bounded(6), 1 + random.bounded(6));
    return QSize(1 + random.bounded(160), 1 + random.bounded(420));
}

float randomFactor(QRandomGenerator &random)
{
    return 0.3f + float(random.generateDouble()) * 1.3f;
}

QString describe(const Source &s)
{
    return QStringLiteral("%1x%2 %3")
        .arg(s.image.width)
        .arg(s.image.height)
        .arg(QLatin1String(nameOf(s.content)));
}

// Empty when equal, otherwise where the first difference lies.
QString difference(const Bgr24Image &actual, const Bgr24Image &expected)
{
    if (actual.width != expected.width || actual.height != expected.height)
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width)
            .arg(actual.height)
            .arg(expected.width)
            .arg(expected.height);
    for (std::size_t k = 0; k < actual.bytes.size(); ++k)
        if (actual.bytes[k] != expected.bytes[k])
            return QStringLiteral("pixel (%1, %2) channel %3: %4, expected %5")
                .arg(int(k / 3) % actual.width)
                .arg(int(k / 3) / actual.width)
                .arg(k % 3)
                .arg(actual.bytes[k])
                .arg(expected.bytes[k]);
    return {};
}

// The palette rule, pixel by pixel: a grey picture keeps its 256 levels, anything else takes the
// 6 x 7 x 6 cube; exact white, and only exact white, is the transparent entry.
QImage referenceReduce(const Bgr24Image &image)
{
    QImage out(image.width, image.height, QImage::Format_Indexed8);
    if (image.isNull())
        return out;
    bool grey = true;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t *p = image.row(y) + 3 * x;
            grey = grey && p[0] == p[1] && p[1] == p[2];
        }
    QList<QRgb> palette;
    if (grey) {
        for (int v = 0; v < 255; ++v)
            palette << qRgb(v, v, v);
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    palette << (r == 5 && g == 6 && b == 5 ? qRgb(250, 250, 250)
                                                           : qRgb(r * 51, g * 255 / 6, b * 51));
    }
    palette << qRgba(255, 255, 255, 0);
    out.setColorTable(palette);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t *p = image.row(y) + 3 * x;
            const int b = p[0], g = p[1], r = p[2];
            int index;
            if (r == 255 && g == 255 && b == 255)
                index = int(palette.size()) - 1;
            else if (grey)
                index = b;
            else
                index = ((r + 25) / 51 * 7 + (g * 6 + 127) / 255) * 6 + (b + 25) / 51;
            out.setPixel(x, y, uint(index));
        }
    return out;
}

QString difference(const QImage &actual, const QImage &expected)
{
    if (actual.format() != expected.format() || actual.size() != expected.size())
        return QStringLiteral("format %1 %2x%3, expected %4 %5x%6")
            .arg(actual.format())
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.format())
            .arg(expected.width())
            .arg(expected.height());
    if (actual.colorTable() != expected.colorTable())
        return QStringLiteral("palette of %1 entries, expected %2")
            .arg(actual.colorCount())
            .arg(expected.colorCount());
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.scanLine(y)[x] != expected.scanLine(y)[x])
                return QStringLiteral("index at (%1, %2): %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(actual.scanLine(y)[x])
                    .arg(expected.scanLine(y)[x]);
    return {};
}

// Runs the routines with a given instruction set, or in their portable code (target 0).
class PixelCodeChoice
{
public:
    explicit PixelCodeChoice(qint64 target)
    {
        if (target == 0)
            usePortablePixelCode(true);
        else
            hwy::SetSupportedTargetsForTest(target);
    }
    ~PixelCodeChoice()
    {
        usePortablePixelCode(false);
        hwy::SetSupportedTargetsForTest(0);
    }
};

} // namespace

class TestRenderSweep : public QObject
{
    Q_OBJECT

    // One row for every instruction set the vector code was built for and this processor runs,
    // and one for the portable code.
    static void pixelCodes()
    {
        QTest::addColumn<qint64>("target");
        for (qint64 targets = hwy::SupportedTargets() & HWY_TARGETS; targets != 0;
             targets &= targets - 1) {
            const qint64 target = targets & -targets;
            QTest::newRow(hwy::TargetName(target)) << target;
        }
        QTest::newRow("portable") << qint64(0);
    }

private slots:
    void scaleMatchesTheOracle_data() { pixelCodes(); }
    void scaleMatchesTheOracle()
    {
        QFETCH(qint64, target);
        PixelCodeChoice choice(target);
        QRandomGenerator random(11);
        QList<QPair<QSize, float>> cases = {
            {{1, 1}, 1.6f},
            {{160, 420}, 1.6f},
            {{160, 420}, 0.3f},
            {{2, 2}, 1.0f},
            {{37, 120}, 0.5f},
            {{40, 200}, 1.25f},
            // Shrunk so far that neighbouring columns lie far apart.
            {{160, 420}, 0.1f},
            {{80, 250}, 0.17f},
            // Every pixel on a source pixel, or every row on a
            // source row: where the mix is a copy.
            {{80, 250}, 1.0f},
            {{79, 251}, 0.5f},
            {{33, 97}, 2.0f},
            {{60, 180}, 0.25f},
            {{41, 120}, 1.5f}};
        for (int n = 0; n < 250; ++n)
            cases.append({randomSize(random), randomFactor(random)});
        for (const auto &[size, factor] : cases) {
            const Source src = makeSource(size.width(), size.height(), random);
            const QString diff = difference(ScaleChromosomeBitmap(src.image, factor),
                                            referenceScale(src.image, factor));
            QVERIFY2(diff.isEmpty(),
                     qPrintable(describe(src) + QStringLiteral(" x %1: ").arg(factor) + diff));
        }
        // The copies again in colour, through every target form: blue, green, red, and the
        // 8-bit picture of an upright piece.
        for (float factor : {1.0f, 0.5f, 2.0f, 0.25f}) {
            const Source src{stainedChromosome(61, 183, random), Content::StainedChromosome};
            const Bgr24Image expected = referenceScale(src.image, factor);
            QString diff = difference(ScaleChromosomeBitmap(src.image, factor), expected);
            QVERIFY2(diff.isEmpty(),
                     qPrintable(describe(src) + QStringLiteral(" x %1: ").arg(factor) + diff));
            diff = difference(renderUpright(src.image, factor), referenceReduce(expected));
            QVERIFY2(
                diff.isEmpty(),
                qPrintable(describe(src) + QStringLiteral(" upright x %1: ").arg(factor) + diff));
        }
    }

    void rotateMatchesTheOracle_data() { pixelCodes(); }
    void rotateMatchesTheOracle()
    {
        QFETCH(qint64, target);
        PixelCodeChoice choice(target);
        QRandomGenerator random(12);
        QList<float> angles;
        for (int a = 0; a < 360; ++a)
            angles << float(a);
        // Just off the quarter turns, where cos or sin nearly vanish, and anywhere in between.
        angles << 0.001f << 89.999f << 90.001f << 179.99f << 180.01f << 269.999f << 270.001f
               << 359.999f << 7.5f;
        for (int n = 0; n < 60; ++n)
            angles << float(random.generateDouble() * 360.0);
        for (float angle : angles) {
            const QSize size = randomSize(random);
            const Source src = makeSource(size.width(), size.height(), random);
            const QString diff = difference(RotateChromosomeBitmap(src.image, angle),
                                            referenceRotate(src.image, angle));
            QVERIFY2(diff.isEmpty(),
                     qPrintable(describe(src) + QStringLiteral(" turned %1: ").arg(angle) + diff));
        }
        const Bgr24Image largest = makeNoise(160, 420, random, false);
        for (float angle : {33.0f, 135.0f, 270.0f}) {
            const QString diff =
                difference(RotateChromosomeBitmap(largest, angle), referenceRotate(largest, angle));
            QVERIFY2(diff.isEmpty(),
                     qPrintable(QStringLiteral("160x420 turned %1: ").arg(angle) + diff));
        }
    }

    // Scale, turn and reduce as a deal, a drop and a wheel notch draw a piece.
    void piecesMatchTheOracleChain_data() { pixelCodes(); }
    void piecesMatchTheOracleChain()
    {
        QFETCH(qint64, target);
        PixelCodeChoice choice(target);
        QRandomGenerator random(13);
        for (int n = 0; n < 150; ++n) {
            const QSize size = n % 3 == 0
                                   ? randomSize(random)
                                   : QSize(20 + random.bounded(61), 40 + random.bounded(211));
            const Source src = makeSource(size.width(), size.height(), random);
            const float factor = randomFactor(random);
            const int step = random.bounded(24);
            const Bgr24Image scaled = referenceScale(src.image, factor);
            // A picture scaled to no rows has nothing to turn: the routines give an empty one.
            const Bgr24Image turned =
                scaled.isNull() ? Bgr24Image() : referenceRotate(scaled, float(step) * 15.0f);
            QString diff =
                difference(renderPiece(src.image, factor, step), referenceReduce(turned));
            QVERIFY2(diff.isEmpty(),
                     qPrintable(describe(src) +
                                QStringLiteral(" x %1 step %2: ").arg(factor).arg(step) + diff));
            diff = difference(renderUpright(src.image, factor), referenceReduce(scaled));
            QVERIFY2(
                diff.isEmpty(),
                qPrintable(describe(src) + QStringLiteral(" upright x %1: ").arg(factor) + diff));
        }

        // A coloured corner that only ever enters with weight 0: the piece comes out grey and
        // takes the grey palette, though its source is not grey.
        Bgr24Image corner = makeNoise(20, 40, random, true);
        corner.bytes[2] ^= 0x40;
        const QImage piece = renderPiece(corner, 1.0f, 0);
        QCOMPARE(piece.colorCount(), 256);
        QCOMPARE(
            difference(piece, referenceReduce(referenceRotate(referenceScale(corner, 1.0f), 0.0f))),
            QString());
    }

    void reductionFollowsThePalette_data() { pixelCodes(); }
    void reductionFollowsThePalette()
    {
        QFETCH(qint64, target);
        PixelCodeChoice choice(target);
        QRandomGenerator random(14);
        for (int n = 0; n < 80; ++n) {
            const QSize size = randomSize(random);
            Source src = makeSource(size.width(), size.height(), random);
            // Plenty of the levels next to white, where the transparent entry must stay alone.
            for (std::size_t k = 0; k < src.image.bytes.size(); k += 3)
                if (random.bounded(3) == 0) {
                    const std::uint8_t v = std::uint8_t(250 + random.bounded(6));
                    const bool grey = src.image.bytes[k] == src.image.bytes[k + 1] &&
                                      src.image.bytes[k] == src.image.bytes[k + 2];
                    for (int c = 0; c < 3; ++c)
                        src.image.bytes[k + c] = grey ? v : std::uint8_t(250 + random.bounded(6));
                }
            const QString diff =
                difference(reduceToIndexed8(src.image), referenceReduce(src.image));
            QVERIFY2(diff.isEmpty(), qPrintable(describe(src) + QStringLiteral(": ") + diff));
        }
    }
};

QTEST_GUILESS_MAIN(TestRenderSweep)
#include "test_render_sweep.moc"
