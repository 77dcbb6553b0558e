#include "core/results/GradeStatistics.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"

#include <QtTest>

using namespace queldo;

// The ideographic space, spelled out so that every wide blank in an expected text is visible.
#define W "\u3000"

namespace {

const QString Today = QStringLiteral("2026/12/10");
const QString Yesterday = QStringLiteral("2026/12/09");

// Problem numbers 1, 2, 4 and 5 are female cells, 3 and 6 male ones.
const QStringList Problems = {
    QStringLiteral("正常女性染色体核型no52"), QStringLiteral("正常女性染色体核型no33"),
    QStringLiteral("正常男性染色体核型no45"), QStringLiteral("正常女性染色体核型no26"),
    QStringLiteral("正常女性染色体核型no46"), QStringLiteral("正常男性染色体核型no55"),
};

// A record line in which every place is correct except the given fields (3 to 48: fields 2k+1
// and 2k+2 are chromosome k, 47 the X place, 48 the XY place), which read `miss`.
QString record(const QString &date, int problem, const QList<int> &missed, int seconds,
               int miss = 0)
{
    QStringList fields{"0", date, QString::asprintf("%.3d", problem)};
    for (int field = 3; field <= 48; ++field)
        fields << QString::number(missed.contains(field) ? miss : 1);
    fields << QString::number(seconds);
    return fields.join(',');
}

QByteArray fileOf(const QStringList &records)
{
    QByteArray bytes = *encodeCp932(ResultsHeader + "\r\n");
    for (const QString &line : records)
        bytes += *encodeCp932(line + "\r\n");
    return bytes;
}

GradeStatistics statisticsOf(const QByteArray &bytes)
{
    return GradeStatistics::compute(ResultsFile::parse(bytes), TodayDate(Today), Problems);
}

GradeStatistics statisticsOf(const QStringList &records)
{
    return statisticsOf(fileOf(records));
}

const QString NoRecordsToday = QStringLiteral(
    "〇成績はありません。\n\nまだ練習していないか、\n\n練習記録をクリアしたばかりです。");
const QString NoRecordsOverall = QStringLiteral("正答 0 回 / 全トライアル 0 回中");
const QString NothingToday = QStringLiteral("〇本日の成績はありません。\n\nまだ練習していません。");

} // namespace

class TestGradeStatistics : public QObject
{
    Q_OBJECT
private slots:
    void noRecordsState_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("leftOut");
        QTest::newRow("header only") << fileOf({}) << 0;
        QTest::newRow("not even the header") << QByteArray() << 0;
        QTest::newRow("only unreadable lines") << fileOf({"0,2026/12/10,001"}) + "\x81\x20\r\n"
                                               << 2;
    }
    void noRecordsState()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, leftOut);
        const GradeStatistics stats = statisticsOf(bytes);
        QVERIFY(stats.noRecords);
        QCOMPARE(stats.TodayReport, NoRecordsToday);
        QCOMPARE(stats.OverallReport, NoRecordsOverall);
        QVERIFY(stats.accuracyPerAttempt.isEmpty());
        QVERIFY(stats.secondsPerAttempt.isEmpty());
        QVERIFY(stats.accuracyPerPair.isEmpty());
        QCOMPARE(stats.linesLeftOut, leftOut);
    }

    void series()
    {
        // 45 places correct, then all 46; the misses of pair 1 and of the XY place lower their
        // bars.
        const GradeStatistics stats =
            statisticsOf({record(Yesterday, 3, {3}, 412), record(Today, 1, {}, 300),
                          record(Today, 3, {48}, 7, -2)});
        QCOMPARE(stats.accuracyPerAttempt,
                 (QList<QPointF>{{1, 97.82608695652173}, {2, 100}, {3, 97.82608695652173}}));
        QCOMPARE(stats.secondsPerAttempt, (QList<QPointF>{{1, 412}, {2, 300}, {3, 7}}));
        QCOMPARE(stats.accuracyPerPair.size(), 23);
        QCOMPARE(stats.accuracyPerPair.at(0), QPointF(1, 5 * 100.0 / 6));
        for (int k = 2; k <= 22; ++k)
            QCOMPARE(stats.accuracyPerPair.at(k - 1), QPointF(k, 100));
        QCOMPARE(stats.accuracyPerPair.at(22), QPointF(23, 5 * 100.0 / 6));
    }

    void reports_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QString>("today");
        QTest::addColumn<QString>("overallPart");

        QTest::newRow("one perfect record today")
            << QStringList{record(Today, 3, {}, 300)}
            << QString("☆全問正解でした。\n\n☆本日の平均解答時間は、300秒です。\n")
            << QString("○正答 1回/全練習1回中\n\n\n○平均解答時間:  300秒\n\n\n"
                       "○最も間違えやすい染色体(性染色体以外)\n\n   全問正解のため無し\n"
                       "\n  " W "(誤答回数0回 / 全練習1回中)\n\n"
                       "○性染色体の間違い:\n\n   全問正解のため無し\n\n\n"
                       "\n○最も間違えやすい画像番号(複数ある場合は代表)は、\n\n" W W
                       "全問正解のためありません。\n\n");
        QTest::newRow("one earlier record with a miss")
            << QStringList{record(Yesterday, 3, {19}, 412)} << NothingToday
            << QString("○最も間違えやすい染色体(性染色体以外)\n\n" W W "9番, "
                       "\n  " W "(誤答回数1回 / 全練習1回中)\n\n");
        QTest::newRow("chromosome 5: one place in each of two records")
            << QStringList{record(Today, 1, {11}, 100), record(Today, 1, {12}, 100)}
            << QString("○本日の苦手染色体 (誤答回数 2個/練習2回中)\n\n" W W "5番, "
                       "\n\n○性染色体" W "X(誤答0個/全4個中),Y(誤答0個/全0個中)\n\n"
                       "\n○本日の平均解答時間は、100秒です。\n")
            << QString("(誤答回数2回 / 全練習2回中)");
        QTest::newRow("chromosome 5: both places in one record")
            << QStringList{record(Today, 1, {11, 12}, 100)}
            << QString("○本日の苦手染色体 (誤答回数 2個/練習1回中)\n\n" W W "5番, "
                       "\n\n○性染色体" W "X(誤答0個/全2個中),Y(誤答0個/全0個中)\n\n"
                       "\n○本日の平均解答時間は、100秒です。\n")
            << QString("(誤答回数1回 / 全練習1回中)");

        const QString sixToday = "○本日の苦手染色体 (誤答回数 1個/練習1回中)\n\n" W W "1番, " W
                                 "2番, " W "3番\n" W W "4番, " W "5番, " W "6番\n    他たくさん！"
                                 "\n\n○性染色体" W "X(誤答0個/全1個中),Y(誤答0個/全1個中)\n\n"
                                 "\n○本日の平均解答時間は、100秒です。\n";
        const QString sixOverall = W W "1番, 2番, 3番\n  4番, 5番, 6番" W "他たくさん！\n"
                                       "\n  " W "(誤答回数1回 / 全練習1回中)";
        QTest::newRow("six chromosomes tied")
            << QStringList{record(Today, 3, {3, 5, 7, 9, 11, 13}, 100)} << sixToday << sixOverall;
        QTest::newRow("seven chromosomes tied")
            << QStringList{record(Today, 3, {3, 5, 7, 9, 11, 13, 15}, 100)} << sixToday
            << sixOverall;

        QTest::newRow("female, both X places wrong: only sex misses today")
            << QStringList{record(Today, 1, {47, 48}, 100)}
            << QString(W "\n\n○性染色体" W "X(誤答2個/全2個中),Y(誤答0個/全0個中)\n\n")
            << QString("○性染色体の間違い:\n\n    X (誤答2個/全2個中)  Y (誤答0個/全0個中)\n\n"
                       "\n○最も間違えやすい画像番号(複数ある場合は代表)は、\n\n" W W
                       "001 (女性)\n\n" W "です。");
        QTest::newRow("male, XY place wrong")
            << QStringList{record(Today, 3, {48}, 100, -1)}
            << QString(W "\n\n○性染色体" W "X(誤答0個/全1個中),Y(誤答1個/全1個中)\n\n")
            << QString("X (誤答0個/全1個中)  Y (誤答1個/全1個中)\n\n"
                       "\n○最も間違えやすい画像番号(複数ある場合は代表)は、\n\n" W W
                       "003 (男性)\n\n" W "です。");
        QTest::newRow("same lowest ratio: the higher number")
            << QStringList{record(Yesterday, 3, {5}, 100), record(Yesterday, 2, {7}, 100),
                           record(Yesterday, 1, {}, 100)}
            << NothingToday << QString("\n\n" W W "003 (男性)\n\n" W "です。");
        QTest::newRow("average 123.5 written 124")
            << QStringList{record(Today, 1, {}, 123), record(Today, 1, {}, 124)}
            << QString("☆全問正解でした。\n\n☆本日の平均解答時間は、124秒です。\n")
            << QString("○平均解答時間:  124秒\n");
        QTest::newRow("average 123")
            << QStringList{record(Today, 1, {}, 123), record(Today, 1, {}, 123)}
            << QString("☆全問正解でした。\n\n☆本日の平均解答時間は、123秒です。\n")
            << QString("○平均解答時間:  123秒\n");
        // Problem 99 is not installed: its record counts except where the sex is needed.
        QTest::newRow("record of an uninstalled problem")
            << QStringList{record(Yesterday, 99, {3, 47}, 100), record(Today, 3, {}, 200)}
            << QString("☆全問正解でした。\n\n☆本日の平均解答時間は、200秒です。\n")
            << QString("○平均解答時間:  150秒\n\n\n○最も間違えやすい染色体(性染色体以外)\n\n" W W
                       "1番, \n  " W "(誤答回数1回 / 全練習2回中)\n\n"
                       "○性染色体の間違い:\n\n   全問正解のため無し\n\n\n"
                       "\n○最も間違えやすい画像番号(複数ある場合は代表)は、\n\n" W W "099\n\n" W
                       "です。");
    }
    void reports()
    {
        QFETCH(QStringList, records);
        QFETCH(QString, today);
        QFETCH(QString, overallPart);
        const GradeStatistics stats = statisticsOf(records);
        QVERIFY(!stats.noRecords);
        QCOMPARE(stats.TodayReport, today);
        QVERIFY2(stats.OverallReport.contains(overallPart), qPrintable(stats.OverallReport));
        QCOMPARE(stats.linesLeftOut, 0);
    }

    void wholeReportsOfRealisticHistories_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QString>("today");
        QTest::addColumn<QString>("overall");

        // Problems 3 and 5 tie for the lowest ratio (88/92 and 44/46); 5 comes later.
        QTest::newRow("a week of practice")
            << QStringList{record(Yesterday, 3, {19, 20}, 412), record(Yesterday, 1, {47}, 380),
                           record(Today, 5, {11, 27}, 301), record(Today, 3, {11, 48}, 250, -1),
                           record("2026/12/01", 2, {}, 500)}
            << QString("○本日の苦手染色体 (誤答回数 2個/練習2回中)\n\n" W W "5番, "
                       "\n\n○性染色体" W "X(誤答0個/全3個中),Y(誤答1個/全1個中)\n\n"
                       "\n○本日の平均解答時間は、276秒です。\n")
            << QString("○正答 1回/全練習5回中\n\n\n"
                       "○平均解答時間:  369秒\n\n\n"
                       "○最も間違えやすい染色体(性染色体以外)\n\n" W W "5番, "
                       "\n  " W "(誤答回数2回 / 全練習5回中)\n\n"
                       "○性染色体の間違い:\n\n    X (誤答1個/全8個中)  Y (誤答1個/全2個中)"
                       "\n\n"
                       "\n○最も間違えやすい画像番号(複数ある場合は代表)は、\n\n" W W
                       "005 (女性)\n\n" W "です。");
        QTest::newRow("a perfect day after a hard one")
            << QStringList{record("2026/11/30", 4, {3, 5, 7, 9, 11, 13, 15}, 900),
                           record("2026/11/30", 6, {17, 18}, 700, -1), record(Today, 1, {}, 200),
                           record(Today, 3, {}, 201), record(Today, 2, {}, 202)}
            << QString("☆全問正解でした。\n\n☆本日の平均解答時間は、201秒です。\n")
            << QString("○正答 3回/全練習5回中\n\n\n"
                       "○平均解答時間:  441秒\n\n\n"
                       "○最も間違えやすい染色体(性染色体以外)\n\n" W W
                       "1番, 2番, 3番\n  4番, 5番, 6番" W "他たくさん！\n"
                       "\n  " W "(誤答回数1回 / 全練習5回中)\n\n"
                       "○性染色体の間違い:\n\n   全問正解のため無し\n"
                       "\n\n"
                       "\n○最も間違えやすい画像番号(複数ある場合は代表)は、\n\n" W W
                       "004 (女性)\n\n" W "です。");
        QTest::newRow("four weak chromosomes today")
            << QStringList{record(Yesterday, 3, {}, 700), record(Today, 3, {3, 5, 7, 9, 48}, 600),
                           record(Today, 6, {4, 6, 8, 10}, 555, -2),
                           record(Today, 2, {21, 47}, 480, -1)}
            << QString("○本日の苦手染色体 (誤答回数 2個/練習3回中)\n\n" W W "1番, " W "2番, " W
                       "3番\n" W W "4番, "
                       "\n\n○性染色体" W "X(誤答1個/全4個中),Y(誤答1個/全2個中)\n\n"
                       "\n○本日の平均解答時間は、545秒です。\n")
            << QString("○正答 1回/全練習4回中\n\n\n"
                       "○平均解答時間:  584秒\n\n\n"
                       "○最も間違えやすい染色体(性染色体以外)\n\n" W W "1番, 2番, 3番\n  4番, "
                       "\n  " W "(誤答回数2回 / 全練習4回中)\n\n"
                       "○性染色体の間違い:\n\n    X (誤答1個/全5個中)  Y (誤答1個/全3個中)"
                       "\n\n"
                       "\n○最も間違えやすい画像番号(複数ある場合は代表)は、\n\n" W W
                       "006 (男性)\n\n" W "です。");
    }
    void wholeReportsOfRealisticHistories()
    {
        QFETCH(QStringList, records);
        QFETCH(QString, today);
        QFETCH(QString, overall);
        const GradeStatistics stats = statisticsOf(records);
        QCOMPARE(stats.TodayReport, today);
        QCOMPARE(stats.OverallReport, overall);
    }

    void unreadableLinesAreLeftOutAndCounted()
    {
        QByteArray bytes = fileOf({record(Today, 1, {}, 100), "0,2026/12/10,001",
                                   record(Today, 1, {}, 100).replace(",1,", ",x,"),
                                   record(Today, 1, {}, 100).replace(",001,", ",abc,"), "",
                                   record(Yesterday, 3, {19}, 300)});
        bytes += "0,2026/12/10,\x81\x20\r\n"; // a lead byte without its second byte
        const GradeStatistics stats = statisticsOf(bytes);
        QCOMPARE(stats.linesLeftOut, 5);
        QCOMPARE(stats.secondsPerAttempt, (QList<QPointF>{{1, 100}, {2, 300}}));
        QCOMPARE(stats.TodayReport,
                 QString("☆全問正解でした。\n\n☆本日の平均解答時間は、100秒です。\n"));
        QVERIFY(stats.OverallReport.startsWith("○正答 1回/全練習2回中\n\n\n○平均解答時間:  200秒"));
    }

    void todayInEitherDateForm()
    {
        // Records written as yyyy/MM/dd and in the locale's short form both count as today's.
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const TodayDate today(QDate(2026, 12, 10), us);
        const QByteArray bytes =
            fileOf({record("2026/12/10", 1, {}, 100), record("12/10/26", 1, {}, 300),
                    record("12/9/26", 1, {}, 1000)});
        const GradeStatistics stats =
            GradeStatistics::compute(ResultsFile::parse(bytes), today, Problems);
        QCOMPARE(stats.TodayReport,
                 QString("☆全問正解でした。\n\n☆本日の平均解答時間は、200秒です。\n"));
    }
};

QTEST_GUILESS_MAIN(TestGradeStatistics)
#include "test_grade_statistics.moc"
