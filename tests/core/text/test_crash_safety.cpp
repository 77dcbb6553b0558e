#include "FileBytes.h"
#include "core/app/PasswordFile.h"
#include "core/results/ArrangementFile.h"
#include "core/settings/SettingsFile.h"
#include "core/text/StaleTemporaries.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using namespace queldo;
using namespace queldo::test;

namespace {

// Kills per writer; QUELDO_KILL_COUNT asks for more (the long runs of the closing note).
int killCount(int ciCount)
{
    const int asked = qEnvironmentVariableIntValue("QUELDO_KILL_COUNT");
    return asked > 0 ? asked : ciCount;
}

/// Runs write(step) for step = first, first + 1, ... in a child process, which reports every
/// write that returned success on a pipe, and kills it with SIGKILL after delayMicroseconds.
/// Returns the steps the child reported, in order.
QList<int> runAndKill(int first, const std::function<bool(int)> &write, int delayMicroseconds)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        for (int step = first;; ++step) {
            if (!write(step))
                ::_exit(2);
            if (::write(pipeEnds[1], &step, sizeof step) != sizeof step)
                ::_exit(3);
        }
    }
    ::close(pipeEnds[1]);
    ::usleep(useconds_t(delayMicroseconds));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    QList<int> reported;
    int step = 0;
    while (::read(pipeEnds[0], &step, sizeof step) == sizeof step)
        reported << step;
    ::close(pipeEnds[0]);
    return reported;
}

// What interrupted writes left in the folder under the atomic writer's naming.
QStringList temporaries(const QString &folder)
{
    return QDir(folder).entryList({"*.??????"}, QDir::Files | QDir::Hidden);
}

// Ages the temporaries a kill left, then saves once more: they must be gone.
void nextWriteRemovesLeftovers(const QString &folder, const std::function<bool()> &write)
{
    const QStringList left = temporaries(folder);
    for (const QString &name : left) {
        QFile file(QDir(folder).filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-25 * 3600),
                                 QFileDevice::FileModificationTime));
    }
    QVERIFY(write());
    QCOMPARE(temporaries(folder), QStringList{});
    qInfo("temporary files left by the kills: %d, after the next save: 0", int(left.size()));
}

QByteArray settingsBytesFor(int step)
{
    StoredSettings settings;
    settings.referenceMode = step % 2;
    settings.alignmentMode = step % 3 == 0;
    settings.CustomScale = 1;
    settings.EffectiveScale = 0.5f + float(step % 1000) / 1000.0f;
    settings.trackBarPosition = 7 + step % 7;
    return SettingsFile::dialogBytes(settings);
}

} // namespace

/// A writer killed at any moment leaves the file it was saving either as it was or as it was
/// to become, never half-written, and never loses a save it reported done.
class TestCrashSafety : public QObject
{
    Q_OBJECT
private slots:
    void settingsSurviveKills()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Taro.set");
        QVERIFY(SettingsFile::write(path, settingsBytesFor(0)).isEmpty());
        QRandomGenerator random(18);
        int state = 0; // the step whose bytes the file holds
        int acknowledged = 0;
        const int kills = killCount(40);
        for (int kill = 0; kill < kills; ++kill) {
            const int first = 1000 * (kill + 1);
            const QList<int> reported = runAndKill(
                first,
                [&](int step) {
                    return SettingsFile::write(path, settingsBytesFor(step)).isEmpty();
                },
                random.bounded(0, 20000));
            acknowledged += int(reported.size());
            const QByteArray bytes = fileBytes(path);
            // The last save reported, or the one after it that finished unreported; with none
            // reported, the file as it was or the first save of this run.
            const QList<int> possible = reported.isEmpty()
                                            ? QList<int>{state, first}
                                            : QList<int>{reported.last(), reported.last() + 1};
            const auto held = std::find_if(possible.begin(), possible.end(), [&](int step) {
                return settingsBytesFor(step) == bytes;
            });
            QVERIFY2(held != possible.end(), bytes.toHex().constData());
            state = *held;
            QCOMPARE(SettingsFile::read(path).defaultedLines, 0);
        }
        qInfo("%d kills, %d saves reported, none lost or malformed", kills, acknowledged);
        nextWriteRemovesLeftovers(
            dir.path(), [&] { return SettingsFile::write(path, settingsBytesFor(1)).isEmpty(); });
    }

    void passwordChangesSurviveKills()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Taro.pas");
        auto password = [](int step) { return QStringLiteral("pw%1").arg(step); };
        QVERIFY(writePasswordFile(path, password(0)).isEmpty());
        QRandomGenerator random(1818);
        int state = 0;
        int acknowledged = 0;
        const int kills = killCount(12);
        for (int kill = 0; kill < kills; ++kill) {
            const int first = 1000 * (kill + 1);
            // A hash takes a good part of a second: kill anywhere within a few of them.
            const QList<int> reported = runAndKill(
                first, [&](int step) { return writePasswordFile(path, password(step)).isEmpty(); },
                random.bounded(0, 400000));
            acknowledged += int(reported.size());
            const StoredPassword stored = readPasswordFile(path);
            QVERIFY2(stored.ok(), qPrintable(stored.error));
            const QList<int> possible = reported.isEmpty()
                                            ? QList<int>{state, first}
                                            : QList<int>{reported.last(), reported.last() + 1};
            const auto held = std::find_if(possible.begin(), possible.end(), [&](int step) {
                return passwordMatches(stored.line, password(step));
            });
            QVERIFY2(held != possible.end(), qPrintable(stored.line));
            state = *held;
        }
        qInfo("%d kills, %d password changes reported, none lost or malformed", kills,
              acknowledged);
        nextWriteRemovesLeftovers(dir.path(),
                                  [&] { return writePasswordFile(path, password(1)).isEmpty(); });
    }

    void arrangementLinesSurviveKills()
    {
        // Appended in place, like a results record (whose own test is with the results file):
        // after any kill every reported line is there, whole, and at most one more.
        QTemporaryDir dir;
        const QString path = dir.filePath("Taro.arr");
        QVERIFY(ArrangementFile::reset(path).isEmpty());
        auto lineFor = [](int step) {
            ArrangementLine line;
            line.recordNumber = step;
            line.date = QStringLiteral("2026/12/10");
            line.problemNumber = 1 + step % 10;
            for (int place = 0; place < 46; ++place)
                line.places[std::size_t(place)] = {(place + step) % 46, 0};
            return line;
        };
        QRandomGenerator random(1819);
        int held = 0;
        int acknowledged = 0;
        const int kills = killCount(40);
        for (int kill = 0; kill < kills; ++kill) {
            const QList<int> reported = runAndKill(
                held,
                [&](int step) { return ArrangementFile::append(path, lineFor(step)).isEmpty(); },
                random.bounded(0, 20000));
            acknowledged += int(reported.size());
            const ArrangementFile::ReadResult read = ArrangementFile::read(path);
            QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
            QVERIFY(read.damagedLines.empty());
            const int saved = reported.isEmpty() ? held : reported.last() + 1;
            const int lines = int(read.lines.size());
            QVERIFY2(lines >= saved && lines <= saved + 1,
                     qPrintable(QStringLiteral("%1 lines, %2 saved").arg(lines).arg(saved)));
            for (int l = 0; l < lines; ++l)
                QVERIFY(read.lines[std::size_t(l)].places == lineFor(l).places);
            held = lines;
        }
        qInfo("%d kills, %d arrangement lines reported, none lost or malformed", kills,
              acknowledged);
    }
};

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "test_crash_safety.moc"
