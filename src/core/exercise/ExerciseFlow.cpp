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

bool ExerciseFlow::offers(FlowEvent event) const
{
    switch (event) {
    case FlowEvent::ChooseProblem:
    case FlowEvent::Reset:
        return true;
    case FlowEvent::StartOrPause:
        return m_state == ExerciseState::Ready || m_state == ExerciseState::Running ||
               m_state == ExerciseState::Paused;
    case FlowEvent::Score:
        return m_state == ExerciseState::Running || m_state == ExerciseState::Paused ||
               m_state == ExerciseState::Scored || m_state == ExerciseState::Correcting;
    case FlowEvent::ShowAnswer:
        return m_state == ExerciseState::Scored || m_state == ExerciseState::Correcting;
    case FlowEvent::End:
        // Not a state of its own: an answer seen earlier leaves it on through later choices.
        return button6.enabled;
    }
    return false;
}

FlowEffect ExerciseFlow::nextProblem(int position, BoardState &board)
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
    m_state = ExerciseState::Ready;
    return FlowEffect::DealProblem;
}

FlowEffect ExerciseFlow::listProblem(int position, BoardState &board)
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
    m_state = ExerciseState::Ready;
    return FlowEffect::DealProblem;
}

void ExerciseFlow::problemLoadFailed()
{
    button1.enabled = false;
    button4.enabled = false;
    button5.enabled = false;
    m_state = ExerciseState::Idle;
}

FlowEffect ExerciseFlow::startOrPause(BoardState &board)
{
    if (!offers(FlowEvent::StartOrPause))
        return FlowEffect::Refused;
    button1.enabled = true;
    button2.enabled = true;
    button3.enabled = false;
    button4.enabled = true;
    button5 = {false, QStringLiteral("正解表示")};
    // The one button starts a stopped clock and stops a running one; the pieces move only
    // while it runs.
    const bool start = ClockRunning == 0;
    board.PiecesMovable = start ? 1 : 0;
    board.dragAutomatic = start;
    timerActive = start;
    button4.caption = start ? QStringLiteral("一時停止") : QStringLiteral("再スタート");
    ClockRunning = start ? 1 : 0;
    m_state = start ? ExerciseState::Running : ExerciseState::Paused;
    return start ? FlowEffect::ClockStarted : FlowEffect::ClockPaused;
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

FlowEffect ExerciseFlow::endExercise()
{
    if (!offers(FlowEvent::End))
        return FlowEffect::Refused;
    ScoringCount = 0;
    button1 = {false, QStringLiteral("採点")};
    button3.enabled = true;
    button4 = {false, QStringLiteral("スタート")};
    button5 = {false, QStringLiteral("正解表示")};
    button6.enabled = false;
    listSelection = -1;
    resetClock();
    button2.caption = QStringLiteral("次の問題");
    m_state = ExerciseState::Idle;
    return FlowEffect::ClearBoard;
}

FlowEffect ExerciseFlow::reset()
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
    m_state = ExerciseState::Idle;
    return FlowEffect::ClearBoard;
}

FlowEffect ExerciseFlow::score(int correctCount, BoardState &board, int chromosomes)
{
    if (!offers(FlowEvent::Score))
        return FlowEffect::Refused;
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
        m_state = ExerciseState::Scored;
        return FlowEffect::RecordAttempt;
    }
    ScoringCount += 1;
    ClockShown = 1;
    board.PiecesMovable = 1;
    board.dragAutomatic = true;
    button1.caption = rate + QStringLiteral("\n 修正中 \n(%1回目)").arg(ScoringCount - 1);
    m_state = ExerciseState::Correcting;
    return FlowEffect::Correction;
}

FlowEffect ExerciseFlow::showAnswer()
{
    if (!offers(FlowEvent::ShowAnswer))
        return FlowEffect::Refused;
    // Seeing the answer ends scoring and correction: the next problem is the way on.
    button1.enabled = false;
    ScoringCount = 0;
    button5 = {false, QStringLiteral("正解表示")};
    button6.enabled = true;
    m_state = ExerciseState::AnswerShown;
    return FlowEffect::ShowAnswer;
}

} // namespace queldo
