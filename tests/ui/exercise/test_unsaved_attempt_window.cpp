// A first scoring that could not be saved: kept, saved by the next press of 採点 once the fault
// is gone, and asked about before it could be lost.
#include "ExerciseFixture.h"
#include "ModalAnswer.h"

#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"
#include "ui/exercise/AttemptSaving.h"

#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

// The results file's place taken by a link, which the program never writes through; mended by
// putting the real file back.
struct BrokenResults
{
    explicit BrokenResults(const QString &path) : path(path)
    {
        QVERIFY(QFile::rename(path, path + ".real"));
        QVERIFY(QFile::link(path + ".real", path));
    }
    void mend() const
    {
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::rename(path + ".real", path));
    }
    QString path;
};

} // namespace

class TestUnsavedAttemptWindow : public QObject
{
    Q_OBJECT
private slots:
    void scoringAgainSavesTheKeptAttempt()
    {
        ExerciseFixture w;
        const QString kek = w.dir.filePath("Result/u/u.kek");
        const BrokenResults broken(kek);
        for (int press = 0; press < 2; ++press) {
            ModalAnswer later(ModalAnswer::click("CloseButton"));
            if (press == 0)
                w.scored(0);
            else
                QTest::mouseClick(w.ui().Button1, Qt::LeftButton); // tried again, still failing
            QVERIFY(later.lines.join('\n').contains("成績を記録できませんでした。"));
        }
        QCOMPARE(w.form->attemptSaving().unsaved().unsavedRecords(), 1);

        // The trainee corrects the board, the fault goes, 採点 once more: the attempt as first
        // scored is saved, once, and the correction pass goes on.
        w.place(0, 0);
        QCOMPARE(w.form->board().SlotContents[0], 0);
        broken.mend();
        {
            ModalAnswer none(ModalAnswer::closeBox());
            QTest::mouseClick(w.ui().Button1, Qt::LeftButton);
            QVERIFY(none.className.isEmpty());
        }
        QVERIFY(w.ui().Button1->text().endsWith("(2回目)"));
        QVERIFY(w.form->attemptSaving().unsaved().empty());
        const ResultsReadResult read = ResultsFile::read(kek);
        QCOMPARE(read.records.size(), 1);
        QCOMPARE(read.records[0].fields[3], "-1");
        const auto placed = ArrangementFile::read(w.dir.filePath("Result/u/u.arr"));
        QCOMPARE(placed.lines.size(), std::size_t(1));
        QCOMPARE(placed.lines[0].places[0].piece, -1);
        QTest::mouseClick(w.ui().Button1, Qt::LeftButton);
        QCOMPARE(ResultsFile::read(kek).records.size(), 1);
    }

    void retryInTheMessageSaves()
    {
        ExerciseFixture w;
        const QString kek = w.dir.filePath("Result/u/u.kek");
        const BrokenResults broken(kek);
        ModalAnswer retry([&broken](QWidget *modal) {
            broken.mend();
            modal->findChild<QPushButton *>("RetryButton")->click();
        });
        w.scored(0);
        QCOMPARE(retry.className, "QMessageBox");
        QVERIFY(w.form->attemptSaving().unsaved().empty());
        QCOMPARE(ResultsFile::read(kek).records.size(), 1);
    }

    void leavingAsksFirst_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("saved");
        QTest::newRow("stay") << "StayButton" << false << 0;
        QTest::newRow("leave anyway") << "LeaveButton" << true << 0;
        QTest::newRow("retry") << "RetryButton" << true << 1;
    }
    void leavingAsksFirst()
    {
        QFETCH(QString, button);
        QFETCH(bool, closed);
        QFETCH(int, saved);
        ExerciseFixture w;
        const QString kek = w.dir.filePath("Result/u/u.kek");
        {
            const BrokenResults broken(kek);
            ModalAnswer later(ModalAnswer::click("CloseButton"));
            w.scored(0);
            broken.mend();
        }
        // 終了 of the exercise asks the same as closing the window.
        w.showAnswer();
        {
            ModalAnswer stay(ModalAnswer::click("StayButton"));
            QTest::mouseClick(w.ui().Button6, Qt::LeftButton);
            QCOMPARE(stay.className, "QMessageBox");
            QVERIFY(stay.lines.join('\n').contains("記録できていない採点が 1 件あります。"));
        }
        QVERIFY(w.ui().Button6->isEnabled());

        const QByteArray buttonName = button.toLatin1(); // outlives the answer that names it
        ModalAnswer answer(ModalAnswer::click(buttonName.constData()));
        QCOMPARE(w.form->close(), closed);
        QCOMPARE(ResultsFile::read(kek).records.size(), saved);
    }
};

QTEST_MAIN(TestUnsavedAttemptWindow)
#include "test_unsaved_attempt_window.moc"
