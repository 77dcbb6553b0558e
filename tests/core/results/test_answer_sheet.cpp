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

    void pictureAndMemoFollowThePageWidth_data()
    {
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("bottom"); // one past the picture's last row
        QTest::addColumn<int>("memoTop");
        // H = 800 * 4660 / 1000 = 3728
        QTest::newRow("A4 at 600 dpi") << 4760 << QSize(1000, 800) << 4678 << 4778;
        // H = 700 * 2300 / 1003 = 1605 (rounded down)
        QTest::newRow("A4 at 300 dpi") << 2400 << QSize(1003, 700) << 2555 << 2655;
        QTest::newRow("wide page") << 6100 << QSize(1000, 800) << 5750 << 5850;
    }
    void pictureAndMemoFollowThePageWidth()
    {
        QFETCH(int, pageWidth);
        QFETCH(QSize, picture);
        QFETCH(int, bottom);
        QFETCH(int, memoTop);
        const AnswerSheet sheet =
            AnswerSheet::compose(QStringLiteral("u"), {}, 0, 0, 0, pageWidth, picture);
        QCOMPARE(sheet.picture.left(), 100);
        QCOMPARE(sheet.picture.top(), 1000);
        QCOMPARE(sheet.picture.right() + 1, pageWidth - 100);
        QCOMPARE(sheet.picture.bottom() + 1, bottom);
        QCOMPARE(sheet.memo.topLeft, QPoint(100, memoTop));
        QCOMPARE(sheet.memo.topLeft.y() - (sheet.picture.bottom() + 1), 100);
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
