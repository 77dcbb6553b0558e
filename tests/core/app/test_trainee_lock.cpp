#include "core/app/AppPaths.h"
#include "core/app/TraineeLock.h"
#include "core/app/TraineeLockFile.h"
#include "core/app/TraineeSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace queldo;

namespace {

const QDateTime Now(QDate(2026, 12, 11), QTime(9, 0, 0), Qt::UTC);

TraineeLockInfo holder(const QString &host, qint64 pid, int renewedMinutesAgo)
{
    return {host, pid, Now.addSecs(-3600), Now.addSecs(-60 * renewedMinutesAgo),
            "00000000000000aa"};
}

TraineeLockSeen regular(const QByteArray &bytes, int modifiedMinutesAgo)
{
    return {TraineeLockSeen::Kind::Regular, bytes, Now.addSecs(-60 * modifiedMinutesAgo)};
}

TraineeLockJudge judgeAt(const QDateTime &now, const QByteArray &tag = "00000000000000ff")
{
    // Process 4242 of this computer runs; every other has ended.
    return TraineeLockJudge(
        {"pc-12", 777, tag}, [now] { return now; }, [](qint64 pid) { return pid == 4242; });
}

/// A program folder with Taro's user folder, where Taro's session file goes.
struct TaroFolder
{
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};
    UserFiles files{paths, QStringLiteral("Taro")};
    QString folder() const { return dir.filePath("Result/Taro"); }
    QString path() const { return dir.filePath("Result/Taro/Taro.session"); }
    TaroFolder() { QDir(dir.path()).mkpath("Result/Taro"); }
};

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(TraineeLockSeen)
Q_DECLARE_METATYPE(LockVerdict)
Q_DECLARE_METATYPE(StaleReason)

/// Who may hold a trainee, decided from what lies at the session file's place.
class TestTraineeLock : public QObject
{
    Q_OBJECT
private slots:
    void fileRoundTrip()
    {
        const TraineeLockInfo info{"教室-PC 3", 31337, Now.addSecs(-90), Now, "0123456789abcdef"};
        const QByteArray bytes = traineeLockBytes(info);
        QCOMPARE(parseTraineeLock(bytes), info);
        QCOMPARE(bytes.left(36), QByteArray("QUELDO session\r\nhost=%E6%95%99%E5%AE"));
        // A renewal has the length of the file it rewrites.
        TraineeLockInfo renewed = info;
        renewed.renewed = Now.addYears(7);
        QCOMPARE(traineeLockBytes(renewed).size(), bytes.size());
        // Cut short, or edited by hand: no session file of ours.
        QVERIFY(!parseTraineeLock(bytes.chopped(1)));
        QVERIFY(!parseTraineeLock(QByteArray(bytes).replace("pid=31337", "pid=031337")));
        QVERIFY(!parseTraineeLock(QByteArray(bytes).replace("T09:00:00Z", "T25:00:00Z")));
        QVERIFY(!parseTraineeLock(QByteArray(bytes).replace("abcdef\r\n", "abcdeF\r\n")));
        QVERIFY(!parseTraineeLock(QByteArray(bytes) + "tag=0123456789abcdef\r\n"));
    }

    void judge_data()
    {
        QTest::addColumn<TraineeLockSeen>("seen");
        QTest::addColumn<LockVerdict>("verdict");
        QTest::addColumn<StaleReason>("reason");
        const auto file = [](const QString &host, qint64 pid, int renewedAgo, int modifiedAgo) {
            return regular(traineeLockBytes(holder(host, pid, renewedAgo)), modifiedAgo);
        };
        QTest::newRow("no file") << TraineeLockSeen{} << LockVerdict::Free << StaleReason::None;
        QTest::newRow("own") << regular(
                                    traineeLockBytes({"pc-12", 777, Now, Now, "00000000000000ff"}),
                                    0)
                             << LockVerdict::Own << StaleReason::None;
        QTest::newRow("same host, running")
            << file("PC-12", 4242, 1, 1) << LockVerdict::InUse << StaleReason::None;
        QTest::newRow("same host, ended")
            << file("pc-12", 4243, 1, 1) << LockVerdict::TakeOver << StaleReason::ProcessGone;
        // Process numbers come round again: ours, under another tag, is an ended program.
        QTest::newRow("same host, our number")
            << file("pc-12", 777, 1, 1) << LockVerdict::TakeOver << StaleReason::ProcessGone;
        QTest::newRow("same host, running but silent")
            << file("pc-12", 4242, 11, 11) << LockVerdict::TakeOver << StaleReason::NotRenewed;
        QTest::newRow("other host, fresh")
            << file("pc-30", 4243, 9, 9) << LockVerdict::InUse << StaleReason::None;
        QTest::newRow("other host, stale")
            << file("pc-30", 4243, 10, 10) << LockVerdict::TakeOver << StaleReason::NotRenewed;
        // Its clock is behind ours, but the file server dated the renewal a moment ago.
        QTest::newRow("other host, clock behind")
            << file("pc-30", 4243, 30, 0) << LockVerdict::InUse << StaleReason::None;
        QTest::newRow("other host, clock ahead")
            << file("pc-30", 4243, -5, 12) << LockVerdict::InUse << StaleReason::None;
        QTest::newRow("damaged") << regular("QUELDO session\r\nhost=pc-30\r\n", 0)
                                 << LockVerdict::TakeOver << StaleReason::Damaged;
        // A host escaped otherwise than we write it (here a lone byte that is no UTF-8) would
        // change the file's length when renewed.
        QTest::newRow("host not as written")
            << regular("QUELDO session\r\nhost=%E6PC\r\npid=12\r\nstarted=2026-11-30T00:53:20Z"
                       "\r\nrenewed=2026-11-30T00:41:40Z\r\ntag=00000000000000aa\r\n",
                       0)
            << LockVerdict::TakeOver << StaleReason::Damaged;
        QTest::newRow("empty") << regular({}, 0) << LockVerdict::TakeOver << StaleReason::Damaged;
        QTest::newRow("link") << TraineeLockSeen{TraineeLockSeen::Kind::Link, {}, Now}
                              << LockVerdict::TakeOver << StaleReason::Link;
        QTest::newRow("folder") << TraineeLockSeen{TraineeLockSeen::Kind::Other, {}, Now}
                                << LockVerdict::Unusable << StaleReason::None;
    }
    void judge()
    {
        QFETCH(TraineeLockSeen, seen);
        QFETCH(LockVerdict, verdict);
        QFETCH(StaleReason, reason);
        const LockDecision decision = judgeAt(Now).judge(seen);
        QCOMPARE(decision.verdict, verdict);
        QCOMPARE(decision.reason, reason);
    }

    void inUseNamesComputerAndTime()
    {
        const AppPaths nowhere("/nowhere", "/nowhere");
        TraineeSession session(UserFiles(nowhere, "kensyu07"), judgeAt(Now));
        const TraineeLockInfo info{"PC-30", 5,
                                   QDateTime::fromString("2026-12-11T08:05:00Z", Qt::ISODate), Now,
                                   "00000000000000aa"};
        const LockDecision decision = judgeAt(Now).judge(regular(traineeLockBytes(info), 0));
        const QString since = QDateTime::fromString("2026-12-11T08:05:00Z", Qt::ISODate)
                                  .toLocalTime()
                                  .toString("yyyy/MM/dd HH:mm");
        QCOMPARE(session.inUseLines(decision).first(),
                 "ID「kensyu07」は、コンピュータ PC-30 で " + since + " から使用中です。");
        session.openReadOnly(decision);
        QVERIFY(!session.writable());
        QCOMPARE(session.readOnlyRefusal("成績は記録されません"),
                 "読み取り専用で開いているため、成績は記録されません。\nID「kensyu07」は、"
                 "コンピュータ PC-30 で " +
                     since + " から使用中です。");
    }

    /// The session file on disk: made, kept to its holder, taken over, let go.
    void sessionOnDisk()
    {
        const TaroFolder taro;
        const QString path = taro.path();
        // The judge also reads the file's own date, which the file system sets from the real
        // clock: the made-up clock starts there, or the file would look fresh or silent by the day
        // the test runs.
        const QDateTime start = QDateTime::currentDateTimeUtc();
        QDateTime now = start;
        const auto clock = [&now] { return now; };
        {
            TraineeSession first(taro.files,
                                 TraineeLockJudge({"pc-12", 4242, "000000000000000a"}, clock,
                                                  [](qint64 pid) { return pid == 4242; }));
            TraineeSession second(taro.files, TraineeLockJudge({"pc-30", 9, "000000000000000b"},
                                                               clock, [](qint64) { return true; }));
            QVERIFY(first.claim().taken);
            QVERIFY(first.claim().taken); // logging in again holds it still
            const TraineeSession::Claim refused = second.claim();
            QVERIFY(!refused.taken);
            QCOMPARE(refused.decision.verdict, LockVerdict::InUse);
            QCOMPARE(refused.decision.holder->host, "pc-12");

            // Renewals keep it fresh past the time a silent holder would lose it.
            now = start.addSecs(9 * 60);
            QCOMPARE(first.renew(), TraineeSession::Renewal::Renewed);
            // Removed by hand: nobody else holds it, so the next renewal makes it again.
            QVERIFY(QFile::remove(path));
            QCOMPARE(first.renew(), TraineeSession::Renewal::Renewed);
            QCOMPARE(parseTraineeLock(readBytes(path))->tag, "000000000000000a");
            now = start.addSecs(18 * 60);
            QCOMPARE(second.claim().decision.verdict, LockVerdict::InUse);

            // Then the first falls silent: taken over, and it learns so at its next renewal.
            now = start.addSecs(29 * 60);
            const TraineeSession::Claim taken = second.claim();
            QVERIFY(taken.taken);
            QCOMPARE(taken.decision.reason, StaleReason::NotRenewed);
            QCOMPARE(first.renew(), TraineeSession::Renewal::Lost);
            QVERIFY(!first.writable());
            first.release(); // must not remove the second's file
            QCOMPARE(parseTraineeLock(readBytes(path))->tag, "000000000000000b");
        }
        QVERIFY(!QFile::exists(path)); // the holder's end removes it
        QCOMPARE(QDir(taro.folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void hostileFileTakenOverWithoutFollowing()
    {
        const TaroFolder taro;
        const QString path = taro.path();
        const QString decoy = taro.dir.filePath("decoy.txt");
        writeBytes(decoy, "keep me\r\n");
        QVERIFY(QFile::link(decoy, path));
        {
            TraineeSession session(taro.files, judgeAt(Now));
            const TraineeSession::Claim claim = session.claim();
            QVERIFY(claim.taken);
            QCOMPARE(claim.decision.reason, StaleReason::Link);
            QVERIFY(!QFileInfo(path).isSymLink());
            QCOMPARE(readBytes(decoy), QByteArray("keep me\r\n"));
        }
        writeBytes(path, "garbage");
        TraineeSession damaged(taro.files, judgeAt(Now));
        QCOMPARE(damaged.claim().decision.reason, StaleReason::Damaged);
        QVERIFY(parseTraineeLock(readBytes(path)));

        // A folder in its place cannot be taken over: read-only is all that is left.
        const TaroFolder other;
        QVERIFY(QDir(other.folder()).mkdir("Taro.session"));
        TraineeSession blocked(other.files, judgeAt(Now));
        const TraineeSession::Claim claim = blocked.claim();
        QVERIFY(!claim.taken);
        QCOMPARE(claim.decision.verdict, LockVerdict::Unusable);
    }

    /// Two programs logging in with the same ID at the same moment: exactly one gets it.
    void twoProcessesOneHolder()
    {
        const TaroFolder taro;
        const QString path = taro.path();
        for (int round = 0; round < 20; ++round) {
            int start[2];
            int claimed[2];
            int done[2];
            QCOMPARE(::pipe(start), 0);
            QCOMPARE(::pipe(claimed), 0);
            QCOMPARE(::pipe(done), 0);
            pid_t children[2];
            for (pid_t &child : children) {
                child = ::fork();
                QVERIFY(child >= 0);
                if (child == 0) {
                    ::close(start[1]);
                    ::close(done[1]);
                    char byte = 0;
                    if (::read(start[0], &byte, 1) != 0) // the end of the pipe is the signal
                        ::_exit(3);
                    TraineeSession session(taro.files, judgeForThisProgram());
                    const bool taken = session.claim().taken;
                    // Held until both have tried, however slowly the other was started.
                    if (::write(claimed[1], "x", 1) != 1 || ::read(done[0], &byte, 1) != 0)
                        ::_exit(3);
                    session.release();
                    ::_exit(taken ? 0 : 1);
                }
            }
            ::close(start[0]);
            ::close(start[1]);
            ::close(claimed[1]);
            char reports[2];
            QCOMPARE(::read(claimed[0], reports, 1) + ::read(claimed[0], reports + 1, 1), 2);
            ::close(claimed[0]);
            ::close(done[0]);
            ::close(done[1]);
            int taken = 0;
            for (const pid_t child : children) {
                int status = 0;
                QCOMPARE(::waitpid(child, &status, 0), child);
                QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) <= 1);
                taken += WEXITSTATUS(status) == 0;
            }
            QCOMPARE(taken, 1);
            QVERIFY(!QFile::exists(path));
        }
    }
};

QTEST_GUILESS_MAIN(TestTraineeLock)
#include "test_trainee_lock.moc"
