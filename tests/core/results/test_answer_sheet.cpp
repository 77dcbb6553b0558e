#include "RecordingPaintDevice.h"
#include "core/results/AnswerSheet.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

class TestAnswerSheet : public QObject
{
    Q_OBJECT
private slots:
    void linesOfTheAttempt()
    {
        const AnswerSheet sheet =
            AnswerSheet::compose(QStringLiteral("tanaka"), QStringLiteral("2026/12/10 9:05:07"), 5,
                                 2, 312, 4760, QSize(1000, 800));
        QCOMPARE(sheet.lines[0].text, QStringLiteral("tanakaさん"));
        QCOMPARE(sheet.lines[1].text, QStringLiteral("2026/12/10 9:05:07"));
        QCOMPARE(sheet.lines[2].text, QStringLiteral("5回目(本日2回目)"));
        QCOMPARE(sheet.lines[3].text, QStringLiteral("解答時間 312 秒"));
        QCOMPARE(sheet.memo.text, QStringLiteral("メモ"));
        QCOMPARE(sheet.lines[0].pointSize, 18);
        for (int i = 1; i < 4; ++i)
            QCOMPARE(sheet.lines[i].pointSize, 14);
        QCOMPARE(sheet.memo.pointSize, 14);
        QCOMPARE(sheet.lines[0].topLeft, QPoint(100, 50));
        QCOMPARE(sheet.lines[1].topLeft, QPoint(100, 300));
        QCOMPARE(sheet.lines[2].topLeft, QPoint(100, 500));
        QCOMPARE(sheet.lines[3].topLeft, QPoint(100, 750));
    }

    void linesKeepTheirPlaceOnThePaperAtAnyResolution_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QList<QPoint>>("topLefts");
        QTest::newRow("300 dpi") << 300 << QList<QPoint>{{50, 25}, {50, 150}, {50, 250}, {50, 375}};
        QTest::newRow("1200 dpi: lines no closer than at 600")
            << 1200 << QList<QPoint>{{200, 100}, {200, 600}, {200, 1000}, {200, 1500}};
    }
    void linesKeepTheirPlaceOnThePaperAtAnyResolution()
    {
        QFETCH(int, dpi);
        QFETCH(QList<QPoint>, topLefts);
        const AnswerSheet sheet =
            AnswerSheet::compose(QStringLiteral("u"), {}, 1, 1, 1, 4760, {}, dpi);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(sheet.lines[std::size_t(i)].topLeft, topLefts[i]);
    }

    void pictureAndMemoFollowThePageWidth_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<int>("bottom"); // one past the picture's last row
        QTest::addColumn<int>("memoTop");
        // H = 800 * 4660 / 1000 = 3728
        QTest::newRow("A4 at 600 dpi")
            << 600 << 4760 << QSize(1000, 800) << QPoint(100, 1000) << 4678 << 4778;
        // H = 700 * 2350 / 1003 = 1640 (rounded down)
        QTest::newRow("A4 at 300 dpi")
            << 300 << 2400 << QSize(1003, 700) << QPoint(50, 500) << 2115 << 2165;
        // H = 800 * 9320 / 1000 = 7456
        QTest::newRow("A4 at 1200 dpi")
            << 1200 << 9520 << QSize(1000, 800) << QPoint(200, 2000) << 9356 << 9556;
        QTest::newRow("wide page")
            << 600 << 6100 << QSize(1000, 800) << QPoint(100, 1000) << 5750 << 5850;
    }
    void pictureAndMemoFollowThePageWidth()
    {
        QFETCH(int, dpi);
        QFETCH(int, pageWidth);
        QFETCH(QSize, picture);
        QFETCH(QPoint, topLeft);
        QFETCH(int, bottom);
        QFETCH(int, memoTop);
        const AnswerSheet sheet =
            AnswerSheet::compose(QStringLiteral("u"), {}, 0, 0, 0, pageWidth, picture, dpi);
        QCOMPARE(sheet.picture.topLeft(), topLeft);
        QCOMPARE(sheet.picture.right() + 1, pageWidth - topLeft.x());
        QCOMPARE(sheet.picture.bottom() + 1, bottom);
        QCOMPARE(sheet.memo.topLeft, QPoint(topLeft.x(), memoTop));
        QCOMPARE(sheet.memo.topLeft.y() - (sheet.picture.bottom() + 1), 100 * dpi / 600);
    }

    void emptyPictureGivesNoArea()
    {
        const AnswerSheet sheet =
            AnswerSheet::compose(QStringLiteral("u"), {}, 0, 0, 0, 4760, QSize(0, 0));
        QVERIFY(sheet.picture.isEmpty());
    }

    void lineDrawnWithItsTopLeftAtItsPoint_data()
    {
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<int>("dpi");
        QTest::newRow("18 pt at 600 dpi") << 18 << 600;
        QTest::newRow("14 pt at 300 dpi") << 14 << 300;
    }
    void lineDrawnWithItsTopLeftAtItsPoint()
    {
        QFETCH(int, pointSize);
        QFETCH(int, dpi);
        RecordingPaintDevice page(QSize(4760, 6800), dpi);
        {
            QPainter painter(&page);
            drawSheetLine(painter, {QStringLiteral("解答時間 9 秒"), pointSize, {100, 750}});
        }
        QCOMPARE(page.items.size(), 1);
        const PaintedItem &text = page.items.first();
        QCOMPARE(text.text, QStringLiteral("解答時間 9 秒"));
        QCOMPARE(text.font.pointSize(), pointSize);
        QCOMPARE(text.baseline.x(), 100.0);
        QVERIFY2(qAbs(page.textTop(text) - 750) < 1.0,
                 qPrintable(QString::number(page.textTop(text))));
    }

    void dateAndTimeInTheLocalesForms()
    {
        const QDateTime when(QDate(2026, 12, 10), QTime(9, 5, 7));
        const QString text = AnswerSheet::dateTimeText(when, QLocale(QLocale::Japanese));
        QVERIFY2(text.startsWith(QStringLiteral("2026/12/10 ")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("05")) && text.contains(QStringLiteral("07")),
                 qPrintable(text));
    }
};

QTEST_MAIN(TestAnswerSheet)
#include "test_answer_sheet.moc"
