#include "ProblemFixture.h"
#include "core/board/ChromosomeBitmapOps.h"
#include "core/board/NearGrey.h"
#include "core/board/PieceDisplay.h"

#include <QPainter>
#include <QSet>
#include <QtTest>

using namespace queldo;

namespace {

/// A 20 x 10 cut-out: a dark bar in columns 8 to 11 on a background of the given level.
Bgr24Image cutOut(int background)
{
    Bgr24Image image(20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            for (int c = 0; c < 3; ++c)
                image.row(y)[3 * x + c] = std::uint8_t(x >= 8 && x < 12 ? 60 : background);
    return image;
}

} // namespace

class TestPieceDisplay : public QObject
{
    Q_OBJECT
private slots:
    void nearWhiteBackgroundIsSeenThrough_data()
    {
        QTest::addColumn<int>("background");
        QTest::addColumn<bool>("seenThrough");
        QTest::newRow("white") << 255 << true;
        QTest::newRow("near white of a photograph") << 240 << true;
        QTest::newRow("at the level") << 235 << true;
        QTest::newRow("a pale band stays") << 234 << false;
    }
    void nearWhiteBackgroundIsSeenThrough()
    {
        QFETCH(int, background);
        QFETCH(bool, seenThrough);
        const QImage piece = renderPiece(cutOut(background), 1.0f, 0);
        const QImage shown = withNearWhiteTransparent(piece);
        QCOMPARE(qAlpha(shown.pixel(2, 4)) == 0, seenThrough);
        QCOMPARE(qAlpha(shown.pixel(9, 4)), 255);
        // The picture for scoring and printing is unchanged.
        QCOMPARE(piece.pixelIndex(2, 4), shown.pixelIndex(2, 4));
    }

    void thePaleRimNeverLightensWhatLiesBelow_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("alpha");
        QTest::newRow("rim next to the background") << 230 << 25;
        QTest::newRow("rim next to the chromosome") << 200 << 55;
        QTest::newRow("chromosome itself") << 199 << 255;
    }
    void thePaleRimNeverLightensWhatLiesBelow()
    {
        QFETCH(int, level);
        QFETCH(int, alpha);
        const QImage shown = withNearWhiteTransparent(renderPiece(cutOut(level), 1.0f, 0));
        QCOMPARE(qAlpha(shown.pixel(2, 4)), alpha);
        const auto over = [&](QRgb background) {
            QImage canvas(shown.size(), QImage::Format_RGB32);
            canvas.fill(background);
            QPainter(&canvas).drawImage(0, 0, shown);
            return canvas.pixel(2, 4);
        };
        // On white it looks as photographed ...
        QVERIFY(qAbs(qGray(over(qRgb(255, 255, 255))) - level) <= 1);
        // ... and over an orange place or a dark piece the rim shows no lighter outline.
        if (alpha == 255)
            return; // the chromosome itself is drawn as it is, over anything
        for (const QRgb background : {qRgb(0xFF, 0x66, 0x00), qRgb(0x40, 0x40, 0x40)}) {
            const QRgb seen = over(background);
            QVERIFY(qRed(seen) <= qRed(background) && qGreen(seen) <= qGreen(background) &&
                    qBlue(seen) <= qBlue(background));
        }
    }

    void onlyTheChromosomeAndAThinBorderCanBeTakenHoldOf()
    {
        const QImage shown = withNearWhiteTransparent(renderPiece(cutOut(245), 1.0f, 0));
        const QRegion region = pickableRegion(shown, 2);
        QVERIFY(region.contains(QPoint(9, 4)));
        QVERIFY(region.contains(QPoint(6, 4)));  // two pixels beside the bar
        QVERIFY(!region.contains(QPoint(5, 4))); // three pixels beside it
        QVERIFY(!region.contains(QPoint(1, 1)));
        QVERIFY(pickableRegion(withNearWhiteTransparent(renderPiece(cutOut(255), 1.0f, 0)))
                    .contains(QPoint(13, 0)));
    }

    void loupeEnlargesSmallPiecesToAReadableSizeWithinItsLimit()
    {
        // A 20 x 10 cut-out: enlarged to 240 on its longer side.
        const Bgr24Image source = cutOut(255);
        QCOMPARE(loupePicture(source, 0, 500).size(), QSize(240, 108)); // rendered 20 x 9
        QCOMPARE(loupePicture(source, 6, 500).size(), QSize(108, 240)); // turned a right angle
        QVERIFY(loupePicture(source, 0, 30).width() <= 30);
        QVERIFY(loupePicture(Bgr24Image(), 0, 30).isNull());
        // A large one: twice its size, as before.
        Bgr24Image large(200, 150);
        QCOMPARE(loupePicture(large, 0, 1000).size(), QSize(400, 298)); // rendered 200 x 149
    }

    void loupeIsSmoothAndStretchesTheBands()
    {
        // Bands of 120 and 160 on a white background, one pixel each.
        Bgr24Image source(4, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 4; ++x)
                for (int c = 0; c < 3; ++c)
                    source.row(y)[3 * x + c] =
                        std::uint8_t(x == 0 || x == 3 ? 255 : (y % 2 ? 120 : 160));
        const QImage loupe = loupePicture(source, 0, 500);
        QCOMPARE(loupe.size(), QSize(50, 240)); // rendered 4 x 19
        QSet<int> levels;
        int darkest = 255, lightest = 0;
        for (int y = 12; y < 228; ++y) {
            const QRgb c = loupe.pixel(24, y);
            levels.insert(qGray(c));
            darkest = std::min(darkest, qGray(c));
            lightest = std::max(lightest, qGray(c));
        }
        // The dull bands now run from black to white, with the steps between them smoothed.
        QVERIFY2(darkest <= 10 && lightest >= 245,
                 qPrintable(QStringLiteral("%1 to %2").arg(darkest).arg(lightest)));
        QVERIFY(levels.size() > 4);
        // The background is still seen through.
        QCOMPARE(qAlpha(loupe.pixel(1, 120)), 0);

        // The trainee's tone on top: brighter lifts the darkest band, less contrast narrows the
        // spread.
        const auto darkestOf = [](const QImage &image) {
            int darkest = 255;
            for (int y = 12; y < 228; ++y) {
                if (qAlpha(image.pixel(24, y)) == 255)
                    darkest = std::min(darkest, qGray(image.pixel(24, y)));
            }
            return darkest;
        };
        QVERIFY(darkestOf(loupePicture(source, 0, 500)) <= 10);
        QVERIFY2(darkestOf(loupePicture(source, 0, 500, {2, 0})) >= 30,
                 qPrintable(QString::number(darkestOf(loupePicture(source, 0, 500, {2, 0})))));
        QVERIFY(darkestOf(loupePicture(source, 0, 500, {0, -2})) >= 60);
    }

    void aSoftRimShowsNoOutlineWhenEnlarged()
    {
        // Bands of 120 and 160 between a rim of 215 on each side, on white.
        Bgr24Image source(6, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 6; ++x)
                for (int c = 0; c < 3; ++c)
                    source.row(y)[3 * x + c] =
                        std::uint8_t(x == 0 || x == 5   ? 255
                                     : x == 1 || x == 4 ? 215
                                                        : (y % 2 ? 120 : 160));
        const QImage readable = readablePicture(source, 0);
        const auto overWhite = [&](int x, int y) {
            const QRgb c = readable.pixel(x, y);
            return 255 - (255 - qGray(c)) * qAlpha(c) / 255;
        };
        int lightestBody = 0;
        for (int y = 0; y < 19; ++y)
            lightestBody = std::max(lightestBody, overWhite(2, y));
        // The rim is no darker than the lightest of the bands it borders.
        for (int y = 0; y < 19; ++y) {
            QVERIFY2(overWhite(1, y) >= lightestBody,
                     qPrintable(QStringLiteral("%1 < %2").arg(overWhite(1, y)).arg(lightestBody)));
        }
    }

    void nearGreyPhotographsAreDrawnGrey_data()
    {
        QTest::addColumn<int>("blue");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("red");
        QTest::addColumn<bool>("folded");
        QTest::addColumn<int>("grey");
        QTest::newRow("exact grey") << 70 << 70 << 70 << true << 70;
        QTest::newRow("a few steps apart") << 66 << 74 << 70 << true << 70;
        QTest::newRow("mean to the nearest step") << 70 << 71 << 70 << true << 70;
        QTest::newRow("stained purple stays colour") << 140 << 60 << 120 << false << 0;
        QTest::newRow("just over the spread") << 70 << 79 << 70 << false << 0;
    }
    void nearGreyPhotographsAreDrawnGrey()
    {
        QFETCH(int, blue);
        QFETCH(int, green);
        QFETCH(int, red);
        QFETCH(bool, folded);
        QFETCH(int, grey);
        Bgr24Image image(3, 2); // white, but for one pixel
        std::uint8_t *p = image.row(1) + 3;
        p[0] = std::uint8_t(blue), p[1] = std::uint8_t(green), p[2] = std::uint8_t(red);
        const Bgr24Image before = image;
        QCOMPARE(foldNearGrey(image), folded);
        if (!folded) {
            QVERIFY(image == before);
            return;
        }
        QCOMPARE(int(p[0]), grey);
        QCOMPARE(int(p[1]), grey);
        QCOMPARE(int(p[2]), grey);
        QCOMPARE(int(image.row(0)[0]), 255);
    }
};

QTEST_GUILESS_MAIN(TestPieceDisplay)
#include "test_piece_display.moc"
