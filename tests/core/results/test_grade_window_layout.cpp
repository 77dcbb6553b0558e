#include "core/results/GradeWindowLayout.h"

#include <QtTest>

using namespace queldo;

class TestGradeWindowLayout : public QObject
{
    Q_OBJECT
private slots:
    void chartsStackBetweenTheFrameAndTheClearButton()
    {
        // The window's own positions: the today frame at (416, 32), the clear button at top 653.
        const GradeChartRects rects = gradeChartRects({416, 32}, 653);
        QCOMPARE(rects.accuracy, QRect(4, 32, 408, 203));
        QCOMPARE(rects.pairs, QRect(4, 236, 408, 203));
        QCOMPARE(rects.times, QRect(4, 440, 408, 203));
    }

    void reportPictureOnThePage_data()
    {
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("expected");
        // right = page width - 50; bottom = h x (page width - 100) / w - 50, truncated.
        QTest::newRow("A4 at 600 dpi")
            << 4760 << QSize(867, 718) << QRect(QPoint(100, 100), QPoint(4709, 3808));
        QTest::newRow("A4 at 300 dpi")
            << 2380 << QSize(867, 718) << QRect(QPoint(100, 100), QPoint(2329, 1837));
        QTest::newRow("tall picture, high resolution")
            << 9920 << QSize(400, 30000) << QRect(QPoint(100, 100), QPoint(9869, 736449));
    }
    void reportPictureOnThePage()
    {
        QFETCH(int, pageWidth);
        QFETCH(QSize, picture);
        QFETCH(QRect, expected);
        QCOMPARE(gradeReportPictureRect(pageWidth, picture), expected);
    }

    void answerTimeAxisStartsAt48()
    {
        QCOMPARE(answerTimeAxisRange(412).minimum, 48.0);
        QCOMPARE(answerTimeAxisRange(412).maximum, 412.0);
        // Faster than 48 seconds throughout: the axis keeps a length rather than turning over.
        QCOMPARE(answerTimeAxisRange(30).maximum, 49.0);
        QCOMPARE(attemptAxisRange(7).minimum, 1.0);
        QCOMPARE(attemptAxisRange(7).maximum, 7.0);
        QVERIFY(attemptAxisRange(1).minimum < 1 && attemptAxisRange(1).maximum > 1);
    }
};

QTEST_MAIN(TestGradeWindowLayout)
#include "test_grade_window_layout.moc"
