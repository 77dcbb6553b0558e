#include "core/board/BoardState.h"
#include "core/exercise/ExerciseFlow.h"

#include <QtTest>

using namespace queldo;

namespace {

QString buttons(const ExerciseFlow &f)
{
    // One letter a button, in column order 2 4 1 5 6 3: upper case when enabled.
    QString s;
    for (const auto *b : {&f.button2, &f.button4, &f.button1, &f.button5, &f.button6, &f.button3})
        s += b->enabled ? QLatin1Char('E') : QLatin1Char('d');
    return s;
}

} // namespace

class TestExerciseFlow : public QObject
{
    Q_OBJECT
private slots:
    void walksThroughAnExercise()
    {
        ExerciseFlow f;
        BoardState board;
        QCOMPARE(buttons(f), QStringLiteral("EddddE")); // Idle
        QVERIFY(f.timerActive);
        QCOMPARE(f.ClockShown, 0);

        f.nextProblem(2, board);
        QCOMPARE(buttons(f), QStringLiteral("EEdddE")); // Ready
        QCOMPARE(f.button4.caption, QStringLiteral("スタート"));
        QVERIFY(!f.timerActive);
        QCOMPARE(f.listSelection, 2);

        f.startOrPause(board);
        QCOMPARE(buttons(f), QStringLiteral("EEEddd")); // Running
        QCOMPARE(f.button4.caption, QStringLiteral("一時停止"));
        QCOMPARE(board.PiecesMovable, 1);
        QVERIFY(board.dragAutomatic);
        f.tick();
        f.tick();
        f.startOrPause(board); // Paused
        QCOMPARE(f.button4.caption, QStringLiteral("再スタート"));
        QCOMPARE(board.PiecesMovable, 0);
        f.startOrPause(board);
        f.tick();
        QCOMPARE(f.label58, QStringLiteral("3")); // the count goes on after a pause

        QVERIFY(f.score(40, board)); // Scored: the first press records
        QCOMPARE(buttons(f), QStringLiteral("EdEEdE"));
        QCOMPARE(f.button1.caption, QStringLiteral("正答率：40/46\n 継続して修正しますか?"));
        QCOMPARE(f.ElapsedSeconds, 3);
        QCOMPARE(board.PiecesMovable, 0);
        f.tick(); // a tick still counts, but the frozen display does not change
        QCOMPARE(f.label58, QStringLiteral("3"));

        QVERIFY(!f.score(40, board)); // Correcting
        QCOMPARE(f.button1.caption, QStringLiteral("正答率：40/46\n 修正中 \n(1回目)"));
        QCOMPARE(board.PiecesMovable, 1);
        QVERIFY(!f.score(41, board));
        QCOMPARE(f.button1.caption, QStringLiteral("正答率：41/46\n 修正中 \n(2回目)"));

        f.nextProblem(0, board);
        QCOMPARE(f.ScoringCount, 0);
        QCOMPARE(f.button1.caption, QStringLiteral("採点"));
    }

    void showingTheAnswerEndsTheScoring()
    {
        ExerciseFlow f;
        BoardState board;
        f.nextProblem(0, board);
        f.startOrPause(board);
        f.score(30, board);
        f.score(31, board); // Correcting: pieces movable
        f.showAnswer();
        QCOMPARE(buttons(f), QStringLiteral("EdddEE")); // AnswerShown
        QCOMPARE(f.ScoringCount, 0);
        QCOMPARE(f.button5.caption, QStringLiteral("正解表示"));
        QCOMPARE(board.PiecesMovable, 1); // left as it was

        // 終了 stays possible through the next problem; scoring waits for スタート.
        f.nextProblem(1, board);
        QCOMPARE(buttons(f), QStringLiteral("EEddEE"));
        f.startOrPause(board);
        QCOMPARE(buttons(f), QStringLiteral("EEEdEd"));
        QVERIFY(f.score(20, board)); // a first scoring again, which records
        QCOMPARE(buttons(f), QStringLiteral("EdEEdE"));
        f.showAnswer();
        f.endExercise();
        QCOMPARE(buttons(f), QStringLiteral("EddddE"));
    }

    void nextProblemWhileRunningStopsTheClock()
    {
        ExerciseFlow f;
        BoardState board;
        f.nextProblem(0, board);
        f.startOrPause(board);
        f.tick();
        f.nextProblem(1, board);
        QCOMPARE(f.label58, QStringLiteral("0"));
        QVERIFY(!f.timerActive);
        QCOMPARE(f.button4.caption, QStringLiteral("スタート"));
        QVERIFY(!board.dragAutomatic);    // no more dragging ...
        QCOMPARE(board.PiecesMovable, 1); // ... though the flag stays as it was
    }

    void listClickKeepsTheResultCaption()
    {
        ExerciseFlow f;
        BoardState board;
        f.nextProblem(0, board);
        f.startOrPause(board);
        f.score(12, board);
        f.listProblem(1, board);
        QVERIFY(!f.button1.enabled);
        QVERIFY(f.button1.caption.startsWith(QStringLiteral("正答率：12/46")));
        QCOMPARE(board.PiecesMovable, 0);
    }

    void timeOverAtTenThousandSeconds()
    {
        ExerciseFlow f;
        f.ClockShown = 1;
        f.ElapsedSeconds = 9998;
        f.tick();
        QCOMPARE(f.label58, QStringLiteral("9999"));
        QCOMPARE(f.label57, QStringLiteral("時間:"));
        f.tick();
        QCOMPARE(f.label57, QStringLiteral("タイムオーバー"));
        QVERIFY(f.label58.isEmpty() && f.label1.isEmpty());
        BoardState board;
        f.nextProblem(0, board);
        f.startOrPause(board);
        f.tick();
        QCOMPARE(f.label57, QStringLiteral("タイムオーバー")); // nothing restores the caption
        QCOMPARE(f.label58, QStringLiteral("1"));
    }

    void resetLeavesNothingToScoreOrStart()
    {
        ExerciseFlow f;
        BoardState board;
        f.nextProblem(0, board);
        f.startOrPause(board);
        f.tick();
        QCOMPARE(buttons(f), QStringLiteral("EEEddd"));
        f.reset();
        QVERIFY(!f.timerActive);
        QCOMPARE(f.ElapsedSeconds, 0);
        QCOMPARE(f.label58, QStringLiteral("1")); // the display keeps its last value
        QCOMPARE(buttons(f), QStringLiteral("Eddddd"));
        QCOMPARE(f.button4.caption, QStringLiteral("スタート"));
        f.listProblem(1, board);
        QCOMPARE(f.button4.enabled, true);

        // Reset after scoring: the correct answer goes with the board.
        f.startOrPause(board);
        f.score(30, board);
        QCOMPARE(buttons(f), QStringLiteral("EdEEdE"));
        f.reset();
        QCOMPARE(buttons(f), QStringLiteral("EddddE"));
    }

    void endingAnExercise()
    {
        ExerciseFlow f;
        BoardState board;
        f.nextProblem(0, board);
        f.endExercise();
        QCOMPARE(buttons(f), QStringLiteral("EddddE"));
        QCOMPARE(f.listSelection, -1);
        QCOMPARE(f.label58, QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestExerciseFlow)
#include "test_exercise_flow.moc"
