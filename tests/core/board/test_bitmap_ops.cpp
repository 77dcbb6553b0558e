#include "ProblemFixture.h"
#include "ReferenceBitmapOps.h"
#include "core/board/ChromosomeBitmapOps.h"

#include <QtTest>

#include <limits>

using namespace queldo;
using namespace queldo::test;

class TestBitmapOps : public QObject
{
    Q_OBJECT
private slots:
    void rotatedSizes_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<float>("angle");
        QTest::addColumn<QSize>("size");
        QTest::newRow("0") << 40 << 100 << 0.0f << QSize(40, 100);
        QTest::newRow("45") << 40 << 100 << 45.0f << QSize(98, 98);
        QTest::newRow("90") << 40 << 100 << 90.0f << QSize(100, 40);
        QTest::newRow("180") << 40 << 100 << 180.0f << QSize(40, 100);
        QTest::newRow("270") << 40 << 100 << 270.0f << QSize(100, 40);
        QTest::newRow("90 odd sizes") << 23 << 151 << 90.0f << QSize(151, 23);
        QTest::newRow("345") << 40 << 100 << 345.0f << QSize(64, 106);
    }
    void rotatedSizes()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(float, angle);
        QFETCH(QSize, size);
        QRandomGenerator random(3);
        const Bgr24Image out = RotateChromosomeBitmap(makeNoise(w, h, random, true), angle);
        QCOMPARE(QSize(out.width, out.height), size);
    }

    void rotateByZeroShowsTheSourceWithWhiteEdge()
    {
        QRandomGenerator random(5);
        const Bgr24Image src = makeNoise(9, 12, random, false);
        const Bgr24Image out = RotateChromosomeBitmap(src, 0.0f);
        QCOMPARE(QSize(out.width, out.height), QSize(9, 12));
        // halfW = 5 against a source centre of 4: destination column x shows source column x - 1.
        for (int y = 1; y < 11; ++y)
            for (int x = 2; x < 9; ++x)
                QCOMPARE(QByteArray((const char *)out.row(y) + 3 * x, 3),
                         QByteArray((const char *)src.row(y) + 3 * (x - 1), 3));
        auto white = [&](int x, int y) {
            return out.row(y)[3 * x] == 255 && out.row(y)[3 * x + 2] == 255;
        };
        for (int y = 0; y < 12; ++y)
            QVERIFY(white(0, y) && white(1, y));
        for (int x = 0; x < 9; ++x)
            QVERIFY(white(x, 0) && white(x, 11));
    }

    void scaleByOneDropsOneRow()
    {
        QRandomGenerator random(7);
        const Bgr24Image out = ScaleChromosomeBitmap(makeNoise(31, 77, random, true), 1.0f);
        QCOMPARE(out.width, 31);
        QCOMPARE(out.height, 76);
    }

    void onePixelWideSourceIsAllWhite()
    {
        QRandomGenerator random(9);
        const Bgr24Image src = makeNoise(1, 50, random, true);
        for (const Bgr24Image &out :
             {ScaleChromosomeBitmap(src, 3.0f), RotateChromosomeBitmap(src, 30.0f)})
            QVERIFY(
                std::all_of(out.bytes.begin(), out.bytes.end(), [](auto v) { return v == 255; }));
    }

    void matchesTheOracle_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<bool>("grey");
        QTest::newRow("tiny") << 2 << 3 << true;
        QTest::newRow("chromosome grey") << 37 << 120 << true;
        QTest::newRow("wide colour") << 80 << 33 << false;
        QTest::newRow("odd colour") << 17 << 151 << false;
    }
    void matchesTheOracle()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(bool, grey);
        QRandomGenerator random(quint32(w * 1000 + h));
        const Bgr24Image src = makeNoise(w, h, random, grey);
        for (float factor : {0.3f, 0.63f, 0.7f, 0.9f, 1.0f, 1.17f, 1.6f})
            QVERIFY2(ScaleChromosomeBitmap(src, factor) == referenceScale(src, factor),
                     qPrintable(QString::number(factor)));
        for (float angle = 0; angle < 360; angle += 7.5f)
            QVERIFY2(RotateChromosomeBitmap(src, angle) == referenceRotate(src, angle),
                     qPrintable(QString::number(angle)));
    }

    void unusableFactorsGiveAnEmptyPicture_data()
    {
        QTest::addColumn<float>("factor");
        QTest::newRow("zero") << 0.0f;
        QTest::newRow("negative") << -1.0f;
        QTest::newRow("nan") << std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("infinite") << std::numeric_limits<float>::infinity();
        QTest::newRow("absurd") << 1e9f;
        QTest::newRow("too small for a pixel") << 0.001f;
    }
    void unusableFactorsGiveAnEmptyPicture()
    {
        QFETCH(float, factor);
        QRandomGenerator random(1);
        const Bgr24Image out = ScaleChromosomeBitmap(makeNoise(20, 40, random, true), factor);
        QVERIFY(out.isNull());
        QVERIFY(renderPiece(makeNoise(20, 40, random, true), factor, 3).isNull());
    }

    void reductionKeepsWhiteAloneAndTransparent_data()
    {
        QTest::addColumn<bool>("grey");
        QTest::newRow("grey") << true;
        QTest::newRow("colour") << false;
    }
    void reductionKeepsWhiteAloneAndTransparent()
    {
        QFETCH(bool, grey);
        Bgr24Image image(4, 1);
        const std::uint8_t colours[4][3] = {
            {255, 255, 255}, {254, 254, 254}, {0, 0, 0}, {250, 255, 255}};
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 3; ++c)
                image.row(0)[3 * x + c] = grey ? colours[x][0] : colours[x][c];
        const QImage out = reduceToIndexed8(image);
        QCOMPARE(out.format(), QImage::Format_Indexed8);
        QCOMPARE(out.pixel(0, 0), qRgba(255, 255, 255, 0));
        for (int x = 1; x < 4; ++x) {
            QVERIFY(qAlpha(out.pixel(x, 0)) == 255);
            QVERIFY(out.pixel(x, 0) != qRgb(255, 255, 255));
        }
        if (grey)
            QCOMPARE(out.pixel(1, 0), qRgb(254, 254, 254));
    }
};

QTEST_GUILESS_MAIN(TestBitmapOps)
#include "test_bitmap_ops.moc"
