#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"
#include "core/results/UnsavedAttempts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;

namespace {

AttemptToSave attempt(int problem, int seconds, int firstPiece)
{
    AttemptToSave a;
    a.dateText = QStringLiteral("2026/12/11");
    a.problemNumber = problem;
    a.codes.fill(-1);
    a.codes[0] = 1;
    a.elapsedSeconds = seconds;
    a.places[0] = {firstPiece, 0};
    return a;
}

// (field 0, problem, seconds) of every record, in file order.
QList<QList<QString>> recordsOf(const QString &path)
{
    QList<QList<QString>> out;
    const ResultsReadResult read = ResultsFile::read(path);
    for (const TrialRecord &record : read.records)
        out << QList<QString>{record.fields[0], record.fields[2], record.fields[49]};
    return out;
}

// (record number, problem, piece in place 0) of every arrangement line, in file order.
QList<QList<int>> linesOf(const QString &path)
{
    QList<QList<int>> out;
    for (const ArrangementLine &line : ArrangementFile::read(path).lines)
        out << QList<int>{line.recordNumber, line.problemNumber, line.places[0].piece};
    return out;
}

// A file the program must not write through: its place taken by a link to a decoy, the real file
// kept aside until the fault is "mended".
struct BrokenFile
{
    BrokenFile(const QString &path, const QString &decoy) : path(path)
    {
        QVERIFY(QFile::rename(path, path + ".real"));
        QVERIFY(QFile::link(decoy, path));
    }
    void mend() const
    {
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::rename(path + ".real", path));
    }
    QString path;
};

} // namespace

/// A save that fails keeps the attempt; a later save or retry writes what is missing, once.
class TestUnsavedAttempts : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        m_kek = m_dir->filePath("Taro.kek");
        m_arr = m_dir->filePath("Taro.arr");
        m_decoy = m_dir->filePath("decoy");
        QVERIFY(ResultsFile::create(m_kek).isEmpty());
        QVERIFY(ArrangementFile::reset(m_arr).isEmpty());
        QFile decoy(m_decoy);
        QVERIFY(decoy.open(QIODevice::WriteOnly));
        decoy.write("decoy\r\n");
    }

    void failedRecordIsSavedLaterInOrder()
    {
        UnsavedAttempts unsaved(m_kek, m_arr);
        QVERIFY(unsaved.save(attempt(3, 40, 7)).error.isEmpty());
        const BrokenFile broken(m_kek, m_decoy);
        const SaveRound failed = unsaved.save(attempt(5, 50, 8));
        QVERIFY(failed.error.startsWith("成績を記録できませんでした。"));
        // The next problem's scoring cannot jump the queue.
        QVERIFY(!unsaved.save(attempt(6, 60, 9)).error.isEmpty());
        QCOMPARE(unsaved.unsavedRecords(), 2);
        QVERIFY(unsaved.leavingText().startsWith("記録できていない採点が 2 件あります。"));
        broken.mend();

        const SaveRound retried = unsaved.retry();
        QVERIFY(retried.error.isEmpty());
        QCOMPARE(retried.recordsSaved, 2);
        QVERIFY(unsaved.empty());
        QVERIFY(unsaved.leavingText().isEmpty());
        QCOMPARE(
            recordsOf(m_kek),
            (QList<QList<QString>>{{"0", "003", "40"}, {"1", "005", "50"}, {"2", "006", "60"}}));
        QCOMPARE(linesOf(m_arr), (QList<QList<int>>{{0, 3, 7}, {1, 5, 8}, {2, 6, 9}}));
        QVERIFY(unsaved.retry().error.isEmpty()); // nothing left: nothing written twice
        QCOMPARE(recordsOf(m_kek).size(), 3);
        QCOMPARE(QFile(m_decoy).size(), 7);
    }

    void savedRecordIsNotWrittenAgain()
    {
        UnsavedAttempts unsaved(m_kek, m_arr);
        const BrokenFile broken(m_arr, m_decoy);
        const SaveRound first = unsaved.save(attempt(3, 40, 7));
        QVERIFY(first.error.isEmpty());
        QVERIFY(!first.arrangementError.isEmpty());
        // Records go on while the arrangement file refuses; their lines wait, in order.
        QCOMPARE(unsaved.save(attempt(5, 50, 8)).recordsSaved, 1);
        QCOMPARE(unsaved.unsavedRecords(), 0);
        QCOMPARE(unsaved.unsavedArrangements(), 2);
        QVERIFY(unsaved.leavingText().contains("解答の配置を記録できていません"));
        broken.mend();

        const SaveRound retried = unsaved.retry();
        QVERIFY(retried.error.isEmpty() && retried.arrangementError.isEmpty());
        QCOMPARE(retried.recordsSaved, 0);
        QVERIFY(unsaved.empty());
        QCOMPARE(recordsOf(m_kek), (QList<QList<QString>>{{"0", "003", "40"}, {"1", "005", "50"}}));
        QCOMPARE(linesOf(m_arr), (QList<QList<int>>{{0, 3, 7}, {1, 5, 8}}));
        QCOMPARE(QFile(m_decoy).size(), 7);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_kek;
    QString m_arr;
    QString m_decoy;
};

QTEST_GUILESS_MAIN(TestUnsavedAttempts)
#include "test_unsaved_attempts.moc"
