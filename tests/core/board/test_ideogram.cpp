#include "core/board/BandTable.h"
#include "core/board/Ideogram.h"

#include <QtTest>

using namespace queldo;

namespace {

// A chromosome-like dark bar on white: `width` wide, from row top to row bottom (exclusive),
// pinched to `waist` pixels at row `constriction` and a little less around it.
QImage bar(QSize size, int top, int bottom, int width, int constriction, int waist)
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::white);
    for (int y = top; y < bottom; ++y) {
        const int d = std::abs(y - constriction);
        const int w = constriction < 0 || d > 3 ? width : std::min(width, waist + 2 * d);
        const int left = (size.width() - w) / 2;
        for (int x = left; x < left + w; ++x)
            image.setPixel(x, y, qRgb(90, 90, 90));
    }
    return image;
}

int inkWidth(const QImage &image, int y)
{
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return n;
}

} // namespace

class TestIdeogram : public QObject
{
    Q_OBJECT
private slots:
    void findsTheConstriction_data()
    {
        QTest::addColumn<int>("constriction");
        QTest::addColumn<double>("expected");
        QTest::addColumn<int>("found");
        // Rows 10 to 109 hold the chromosome.
        QTest::newRow("where expected") << 59 << 0.5 << 59;
        QTest::newRow("a little higher") << 48 << 0.5 << 48;
        QTest::newRow("submetacentric") << 38 << 0.3 << 38;
        // Beyond the search the constriction is not the centromere: the standard's place holds.
        QTest::newRow("too far") << 20 << 0.5 << 60;
        QTest::newRow("no constriction") << -1 << 0.25 << 35;
    }
    void findsTheConstriction()
    {
        QFETCH(int, constriction);
        QFETCH(double, expected);
        QFETCH(int, found);
        const QImage picture = bar({40, 120}, 10, 110, 20, constriction, 6);
        const ChromosomeSpan span = findChromosomeSpan(picture, {expected, 0.15, 0.15});
        QVERIFY(span.found);
        QCOMPARE(span.top, 10);
        QCOMPARE(span.bottom, 110);
        QCOMPARE(span.centromere, found);
        QCOMPARE(span.right, 30);
        QCOMPARE(span.width, 20);
    }

    void blankPictureHasNoChromosome()
    {
        QImage white(20, 30, QImage::Format_RGB888);
        white.fill(Qt::white);
        QVERIFY(!findChromosomeSpan(white, {}).found);
        QVERIFY(!findChromosomeSpan(QImage(), {}).found);
    }

    void ideogramStandsLevelWithTheChromosome()
    {
        const BandTable table = BandTable::embedded();
        QVERIFY(table.isValid());
        // Chromosome 1 with its centromere pinched well below the standard's middle.
        const QImage picture = bar({40, 160}, 12, 150, 22, 90, 8);
        const ChromosomeSpan span = findChromosomeSpan(picture, centromereSearchFor(table, 0));
        QCOMPARE(span.centromere, 90);
        const int width = ideogramWidthFor(span);
        QVERIFY(width >= 5 && width <= 16);
        const QImage ideogram = drawIdeogram(table.bands(0), width, picture.height(), span);

        QCOMPARE(ideogram.height(), picture.height());
        QCOMPARE(ideogram.width(), width);
        // Nothing above or below the chromosome's own rows.
        QCOMPARE(inkWidth(ideogram, 11), 0);
        QVERIFY(inkWidth(ideogram, 12) > 0);
        QVERIFY(inkWidth(ideogram, 149) > 0);
        QCOMPARE(inkWidth(ideogram, 150), 0);
        // The waist, away from the rounded tips, is the chromosome's centromere row.
        int narrowest = -1;
        for (int y = 12 + width; y < 150 - width; ++y) {
            if (narrowest < 0 || inkWidth(ideogram, y) < inkWidth(ideogram, narrowest))
                narrowest = y;
        }
        QCOMPARE(narrowest, 90);
        QVERIFY(inkWidth(ideogram, 89) > inkWidth(ideogram, 90));
        QVERIFY(inkWidth(ideogram, 91) > inkWidth(ideogram, 90));
    }

    void bandsFollowTheTable()
    {
        const BandTable table = BandTable::embedded();
        // A straight chromosome 1 whose arms keep the standard's proportions.
        ChromosomeSpan span;
        span.found = true;
        span.top = 0;
        span.bottom = 151;
        span.centromere = 74; // 7394 of 15100 units
        const QImage ideogram = drawIdeogram(table.bands(0), 10, 151, span);
        const auto grey = [&](int y) { return qGray(ideogram.pixel(5, y)); };
        // 1p31.1 (units 3705 to 4598) is dark, 1p32.1 (2825 to 3050) pale, 1q12 heterochromatin
        // dark.
        QVERIFY2(grey(41) < 100, qPrintable(QString::number(grey(41))));
        QVERIFY2(grey(29) > 200, qPrintable(QString::number(grey(29))));
        QVERIFY2(grey(81) < 100, qPrintable(QString::number(grey(81))));
    }

    void standingAloneItsCentromereWhereTheStandardPutsIt_data()
    {
        QTest::addColumn<int>("chromosome");
        QTest::addColumn<int>("lowest"); // of the waist, in a picture 300 high
        QTest::addColumn<int>("highest");
        QTest::newRow("1, near the middle: 7394 of 15100 units") << 0 << 146 << 146;
        QTest::newRow("13, near the top") << 12 << 24 << 60;
    }
    void standingAloneItsCentromereWhereTheStandardPutsIt()
    {
        QFETCH(int, chromosome);
        QFETCH(int, lowest);
        QFETCH(int, highest);
        const BandTable table = BandTable::embedded();
        const QImage ideogram = standingIdeogram(table, chromosome, 24, 300);
        QCOMPARE(ideogram.size(), QSize(24, 300));
        QVERIFY(inkWidth(ideogram, 1) > 0);
        QVERIFY(inkWidth(ideogram, 298) > 0);
        int narrowest = -1;
        for (int y = 24; y < 300 - 24; ++y) {
            if (narrowest < 0 || inkWidth(ideogram, y) < inkWidth(ideogram, narrowest))
                narrowest = y;
        }
        QVERIFY2(narrowest >= lowest && narrowest <= highest,
                 qPrintable(QString::number(narrowest)));
        QVERIFY(standingIdeogram(table, chromosome, 0, 0).isNull());
    }

    void degenerateSizesDrawNothing()
    {
        const BandTable table = BandTable::embedded();
        ChromosomeSpan span;
        span.found = true;
        span.bottom = 40;
        span.centromere = 20;
        QVERIFY(drawIdeogram(table.bands(0), 0, 40, span).isNull());
        const QImage empty = drawIdeogram({}, 8, 40, span);
        QCOMPARE(empty.size(), QSize(8, 40));
        QCOMPARE(inkWidth(empty, 20), 0);
        // A span reaching past the picture is cut at its edges.
        span.bottom = 400;
        QCOMPARE(drawIdeogram(table.bands(0), 8, 40, span).height(), 40);
    }
};

QTEST_GUILESS_MAIN(TestIdeogram)
#include "test_ideogram.moc"
