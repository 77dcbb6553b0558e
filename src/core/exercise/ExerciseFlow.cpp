#include "core/exercise/ExerciseFlow.h"

#include "core/board/BoardState.h"

namespace queldo {

void ExerciseFlow::resetClock()
{
    ClockShown = 1;
    ClockRunning = 0;
    timerActive = false;
    ElapsedSeconds = 0;
    label58 = QStringLiteral("0");
}

void ExerciseFlow::nextProblem(int position, BoardState &board)
{
    // The movable flag stays as it was; only dragging stops.
    board.dragAutomatic = false;
    ScoringCount = 0;
    button1 = {false, QStringLiteral("採点")};
    button3.enabled = true;
    button4 = {true, QStringLiteral("スタート")};
    button5 = {false, QStringLiteral("正解表示")};
    resetClock();
    CurrentPosition = position;
    listSelection = position;
    button2.caption = QStringLiteral("次の問題");
}

void ExerciseFlow::listProblem(int position, BoardState &board)
{
    board.PiecesMovable = 0;
    board.dragAutomatic = false;
    button1.enabled = false;
    button3.enabled = true;
    button4 = {true, QStringLiteral("スタート")};
    button5.enabled = false;
    resetClock();
    CurrentPosition = position;
    listSelection = position;
    button2.caption = QStringLiteral("次の問題");
    ScoringCount = 0;
}

void ExerciseFlow::problemLoadFailed()
{
    button1.enabled = false;
    button4.enabled = false;
    button5.enabled = false;
}

void ExerciseFlow::startOrPause(BoardState &board)
{
    button1.enabled = true;
    button2.enabled = true;
    button3.enabled = false;
    button4.enabled = true;
    button5 = {false, QStringLiteral("正解表示")};
    if (ClockRunning == 0) {
        board.PiecesMovable = 1;
        board.dragAutomatic = true;
        timerActive = true;
        button4.caption = QStringLiteral("一時停止");
        ClockRunning = 1;
    } else {
        board.PiecesMovable = 0;
        board.dragAutomatic = false;
        timerActive = false;
        button4.caption = QStringLiteral("再スタート");
        ClockRunning = 0;
    }
}

void ExerciseFlow::tick()
{
    ElapsedSeconds += 1;
    if (ClockShown == 1)
        label58 = QString::number(ElapsedSeconds);
    if (ElapsedSeconds >= TimeOverSeconds) {
        label57 = QStringLiteral("タイムオーバー");
        label58.clear();
        label1.clear();
    }
}

void ExerciseFlow::endExercise()
{
    ScoringCount = 0;
    button1 = {false, QStringLiteral("採点")};
    button3.enabled = true;
    button4 = {false, QStringLiteral("スタート")};
    button5 = {false, QStringLiteral("正解表示")};
    button6.enabled = false;
    listSelection = -1;
    resetClock();
    button2.caption = QStringLiteral("次の問題");
}

void ExerciseFlow::reset()
{
    // The board is empty and hidden: scoring it would record a 0/46 attempt for a problem the
    // trainee never saw, starting would run the clock over nothing, and the correct answer would
    // be shown for a problem no longer on the board.
    button1.enabled = false;
    button4.enabled = false;
    button5.enabled = false;
    listSelection = -1;
    button1.caption = QStringLiteral("採点");
    button2.caption = QStringLiteral("次の問題");
    button4.caption = QStringLiteral("スタート");
    timerActive = false;
    ElapsedSeconds = 0;
}

bool ExerciseFlow::score(int correctCount, BoardState &board, int chromosomes)
{
    const QString rate = QStringLiteral("正答率：%1/%2").arg(correctCount).arg(chromosomes);
    if (ScoringCount == 0) {
        ScoringCount = 1;
        button1.enabled = true;
        button2.enabled = true;
        button3.enabled = true;
        button4 = {false, QStringLiteral("スタート")};
        button5.enabled = true;
        button6.enabled = false;
        ClockShown = 0;
        board.PiecesMovable = 0;
        board.dragAutomatic = false;
        timerActive = false;
        button1.caption = rate + QStringLiteral("\n 継続して修正しますか?");
        return true;
    }
    ScoringCount += 1;
    ClockShown = 1;
    board.PiecesMovable = 1;
    board.dragAutomatic = true;
    button1.caption = rate + QStringLiteral("\n 修正中 \n(%1回目)").arg(ScoringCount - 1);
    return false;
}

void ExerciseFlow::showAnswer()
{
    // Seeing the answer ends scoring and correction: the next problem is the way on.
    button1.enabled = false;
    ScoringCount = 0;
    button5 = {false, QStringLiteral("正解表示")};
    button6.enabled = true;
}

} // namespace queldo
