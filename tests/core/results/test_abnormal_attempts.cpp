#include "core/results/AbnormalAttemptsFile.h"
#include "core/results/AbnormalStatistics.h"

#include "FileBytes.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

const QByteArray Header = "QUELDO-KRY\t1\t\xE6\x97\xA5\xE6\x99\x82\t\xE5\x95\x8F\xE9\xA1\x8C\t"
                          "\xE7\xA7\x92\t\xE9\x85\x8D\xE7\xBD\xAE\t\xE6\xA0\xB8\xE5\x9E\x8B\t"
                          "\xE5\x9B\x9E\xE7\xAD\x94\t\xE9\x83\xA8\xE5\x88\x86\xE7\x82\xB9\r\n";

AbnormalAttempt attempt(const QString &expected, const QString &written,
                        const QList<KaryotypePart> &parts, int problem = 11)
{
    AbnormalAttempt made;
    made.dateTime = QStringLiteral("2026/12/11 03:05:09");
    made.problemNumber = problem;
    made.elapsedSeconds = 125;
    made.verdicts = {1, 1, 0, -1, -2, 2};
    made.expected = expected;
    made.written = written;
    made.parts = parts;
    return made;
}

KaryotypePart part(const char *label, double credit)
{
    return {QString::fromUtf8(label), credit, {}};
}

AbnormalAttempt rightTrisomy()
{
    return attempt("47,XY,+21", "47,XY,+21",
                   {part("染色体数", 1), part("性染色体", 1), part("+21", 1)});
}

AbnormalAttempt wrongBreakpoint()
{
    return attempt(
        "46,XY,t(9;22)(q34.1;q11.2)", "46,XY,t(9;22)(q34.1;q12)",
        {part("染色体数", 1), part("性染色体", 1), part("t(9;22)(q34.1;q11.2)", 2.0 / 3.0)}, 20);
}

} // namespace

Q_DECLARE_METATYPE(std::vector<AbnormalAttempt>)

class TestAbnormalAttempts : public QObject
{
    Q_OBJECT
private slots:
    void appendsLinesUnderAVersionedHeader()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ID.kry");
        QCOMPARE(AbnormalAttemptsFile::append(path, rightTrisomy()), QString());
        QCOMPARE(AbnormalAttemptsFile::append(path, wrongBreakpoint()), QString());
        QCOMPARE(fileBytes(path),
                 Header +
                     "2026/12/11 03:05:09\t011\t125\t1,1,0,-1,-2,2\t47,XY,+21\t47,XY,+21\t"
                     "\xE6\x9F\x93\xE8\x89\xB2\xE4\xBD\x93\xE6\x95\xB0=1|"
                     "\xE6\x80\xA7\xE6\x9F\x93\xE8\x89\xB2\xE4\xBD\x93=1|+21=1\r\n"
                     "2026/12/11 03:05:09\t020\t125\t1,1,0,-1,-2,2\t46,XY,t(9;22)(q34.1;q11.2)\t"
                     "46,XY,t(9;22)(q34.1;q12)\t"
                     "\xE6\x9F\x93\xE8\x89\xB2\xE4\xBD\x93\xE6\x95\xB0=1|"
                     "\xE6\x80\xA7\xE6\x9F\x93\xE8\x89\xB2\xE4\xBD\x93=1|"
                     "t(9;22)(q34.1;q11.2)=0.6667\r\n");
        const AbnormalAttemptsFile::ReadResult read = AbnormalAttemptsFile::read(path);
        QVERIFY(read.ok());
        QCOMPARE(read.attempts.size(), 2u);
        QCOMPARE(read.attempts[0], rightTrisomy());
        QVERIFY(read.attempts[0].right());
        QCOMPARE(read.attempts[1].written, "46,XY,t(9;22)(q34.1;q12)");
        QVERIFY(!read.attempts[1].right());
    }

    // Whatever a trainee typed stays on its one line and reads back.
    void writtenTextKeepsToItsField()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ID.kry");
        const AbnormalAttempt typed =
            attempt("45,X", u"４５,\tX\nｘ|=😀"_qs, {part("染色体数", 0), part("性染色体", 0)});
        QCOMPARE(AbnormalAttemptsFile::append(path, typed), QString());
        const AbnormalAttemptsFile::ReadResult read = AbnormalAttemptsFile::read(path);
        QCOMPARE(read.attempts.size(), 1u);
        QCOMPARE(read.attempts[0].written, u"４５, X ｘ|=😀"_qs);
        QVERIFY(read.damagedLines.empty());
    }

    void damagedLinesAreSkippedAndNamed()
    {
        const QByteArray good = AbnormalAttemptsFile::lineText(rightTrisomy()).toUtf8();
        const QByteArray bytes = Header + good + "\r\n" +
                                 "2026/12/11 03:05:09\t011\t125\n" + // 3 fields
                                 QByteArray(good).replace("1,1,0,-1,-2,2", "1,7") + "\n" + // code
                                 QByteArray(good).replace("\t47,XY,+21\t", "\t47,XY,+99\t") + "\n" +
                                 QByteArray(good).replace("+21=1", "+21=1.5") + "\n" +
                                 QByteArray(good).replace("+21", "+\xFF\xFE") + "\n" +
                                 QByteArray(good).replace("2026/12/11", "yesterday") + "\n" +
                                 good; // the last line lacks its line end and still counts
        const AbnormalAttemptsFile::ReadResult read = AbnormalAttemptsFile::parse(bytes);
        QVERIFY(read.ok());
        QCOMPARE(read.attempts.size(), 2u);
        QCOMPARE(read.damagedLines, (std::vector<qsizetype>{3, 4, 5, 6, 7, 8}));
    }

    void aLostHeaderIsOneDamagedLine()
    {
        const QByteArray good = AbnormalAttemptsFile::lineText(rightTrisomy()).toUtf8();
        const AbnormalAttemptsFile::ReadResult read = AbnormalAttemptsFile::parse(good + "\r\n");
        QCOMPARE(read.damagedLines, (std::vector<qsizetype>{1}));
        QVERIFY(read.attempts.empty());
    }

    // A later version may mean other things by the same fields: nothing of it is guessed at.
    void aLaterVersionIsNotRead()
    {
        const QByteArray good = AbnormalAttemptsFile::lineText(rightTrisomy()).toUtf8();
        const AbnormalAttemptsFile::ReadResult read =
            AbnormalAttemptsFile::parse("QUELDO-KRY\t2\r\n" + good + "\r\n");
        QVERIFY(!read.ok());
        QVERIFY(read.error.contains(u"版 2"_qs));
        QVERIFY(read.attempts.empty());
    }

    void aMissingFileHoldsNoAttempts()
    {
        QTemporaryDir dir;
        const AbnormalAttemptsFile::ReadResult read =
            AbnormalAttemptsFile::read(dir.filePath("ID.kry"));
        QVERIFY(read.ok());
        QVERIFY(read.attempts.empty());
    }

    void resetLeavesTheHeaderAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ID.kry");
        QCOMPARE(AbnormalAttemptsFile::append(path, rightTrisomy()), QString());
        QCOMPARE(AbnormalAttemptsFile::reset(path), QString());
        QCOMPARE(fileBytes(path), Header);

        const QString never = dir.filePath("other.kry");
        QCOMPARE(AbnormalAttemptsFile::reset(never), QString());
        QVERIFY(!QFile::exists(never));
    }

    // A link put where the file lies must not carry the attempt, or the erasing, elsewhere.
    void neverWritesThroughALink()
    {
        QTemporaryDir dir;
        const QString elsewhere = dir.filePath("elsewhere.txt");
        QVERIFY(writeBytes(elsewhere, "not a trainee's file\r\n"));
        const QString path = dir.filePath("ID.kry");
        QVERIFY(QFile::link(elsewhere, path));
        QVERIFY(!AbnormalAttemptsFile::append(path, rightTrisomy()).isEmpty());
        QVERIFY(!AbnormalAttemptsFile::reset(path).isEmpty());
        QCOMPARE(fileBytes(elsewhere), QByteArray("not a trainee's file\r\n"));
    }

    void statistics_data()
    {
        QTest::addColumn<std::vector<AbnormalAttempt>>("attempts");
        QTest::addColumn<QStringList>("report");
        QTest::newRow("none") << std::vector<AbnormalAttempt>{} << QStringList{};
        QTest::newRow("all right") << std::vector<AbnormalAttempt>{rightTrisomy(), rightTrisomy()}
                                   << QStringList{u"異常核型 2 回, 核型の正解 2 回 (100%)"_qs};
        const AbnormalAttempt missedTurner =
            attempt("45,X", "46,XX", {part("染色体数", 0), part("性染色体", 0)});
        const AbnormalAttempt unanswered = attempt("47,XY,+21", "", {});
        QTest::newRow("mixed") << std::vector<AbnormalAttempt>{rightTrisomy(), wrongBreakpoint(),
                                                               missedTurner, wrongBreakpoint(),
                                                               unanswered}
                               << QStringList{u"異常核型 5 回, 核型の正解 1 回 (20%)"_qs,
                                              u"間違えやすい異常: t(9;22)(q34.1;q11.2) (2/2 回), "
                                              u"+21 (1/2 回), 45,X (1/1 回)"_qs};
    }
    void statistics()
    {
        QFETCH(std::vector<AbnormalAttempt>, attempts);
        QFETCH(QStringList, report);
        QCOMPARE(AbnormalStatistics::compute(attempts).report(), report);
    }
};

QTEST_GUILESS_MAIN(TestAbnormalAttempts)
#include "test_abnormal_attempts.moc"
