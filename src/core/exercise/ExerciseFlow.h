#pragma once

#include <QString>

namespace queldo {

struct BoardState;

/// What one button of the command column shows.
struct ButtonState
{
    bool enabled = false;
    QString caption;
    bool operator==(const ButtonState &) const = default;
};

/// Where the exercise window stands in working one problem.
enum class ExerciseState {
    Idle,        ///< nothing dealt, or the exercise ended, reset or its problem did not load
    Ready,       ///< a problem dealt, the clock stopped at 0
    Running,     ///< the clock runs and pieces move
    Paused,      ///< the clock stopped; scoring possible
    Scored,      ///< first 採点 pressed: the attempt is recorded, pieces held
    Correcting,  ///< a later 採点: pieces move again, nothing more is recorded
    AnswerShown, ///< 正解表示: scoring is over for this problem
};

/// What the trainee can ask of the flow; each has its button or menu entry.
enum class FlowEvent {
    ChooseProblem, ///< 次の問題 or a click in the number list
    StartOrPause,  ///< スタート / 一時停止 / 再スタート
    Score,         ///< 採点
    ShowAnswer,    ///< 正解表示
    End,           ///< 終了
    Reset,         ///< リセット
};

/// What the window must do after an event, beside showing the flow's buttons and clock.
enum class FlowEffect {
    Refused,       ///< not offered in this state: nothing changed, nothing to do
    DealProblem,   ///< load and deal the problem at CurrentPosition
    ClockStarted,  ///< pieces can be dragged
    ClockPaused,   ///< pieces are held
    RecordAttempt, ///< first scoring: record the verdicts and ElapsedSeconds as they are now
    Correction,    ///< a correction pass: show the verdicts, record nothing
    ShowAnswer,    ///< show the correct answer over the spread
    ClearBoard,    ///< empty the board and hide the pieces
};

/// The exercise window's flow: the state, the clock, the buttons and the scoring count. The
/// window calls one method per event, does what the returned effect names, and then shows what
/// this object holds. An event the state does not offer (its button is off) is refused and
/// changes nothing, so a handler run by other means than its button cannot skip a step.
class ExerciseFlow
{
public:
    static constexpr int TimeOverSeconds = 10000;

    int ElapsedSeconds = 0;
    int ClockShown = 0;
    int ClockRunning = 0;
    int ScoringCount = 0;
    int CurrentPosition = 0;

    bool timerActive = true; ///< the one-second clock fires; on from the start, counting unseen
    int listSelection = -1;  ///< selected entry of the number list, -1 none

    ButtonState button1{false, QStringLiteral("採点")};
    ButtonState button2{true, QStringLiteral("次の問題")};
    ButtonState button3{true, QStringLiteral("成績分析")};
    ButtonState button4{false, QStringLiteral("スタート")};
    ButtonState button5{false, QStringLiteral("正解表示")};
    ButtonState button6{false, QStringLiteral("終了")};

    QString label57 = QStringLiteral("時間:");
    QString label58 = QStringLiteral("0");
    QString label1 = QStringLiteral("秒");

    ExerciseState state() const { return m_state; }
    /// Whether the event would be taken now. 終了 is offered once an answer was shown, and
    /// stays offered through later problem choices until the exercise ends or the next first
    /// scoring.
    bool offers(FlowEvent event) const;

    /// 次の問題 at a position drawn by the caller. The caller then closes the answer window,
    /// empties the board, loads and deals.
    FlowEffect nextProblem(int position, BoardState &board);
    /// A click in the number list on position. As nextProblem, but the scoring caption stays
    /// and pieces stop being movable at once.
    FlowEffect listProblem(int position, BoardState &board);
    /// The chosen problem could not be loaded: nothing can be started until one loads.
    void problemLoadFailed();

    /// スタート / 一時停止 / 再スタート.
    FlowEffect startOrPause(BoardState &board);
    /// One tick of the clock; counted in every state, as long as the clock fires.
    void tick();
    /// 終了: the caller then closes the answer window, empties the board and hides the pieces.
    FlowEffect endExercise();
    /// リセット: the caller empties the board and hides the pieces. Scoring and スタート wait for
    /// the next problem choice; the other buttons stay as they are.
    FlowEffect reset();

    /// 採点. The first press of a problem asks the caller to record the attempt with the codes
    /// and ElapsedSeconds as they are now; later presses are corrections. correctCount is the
    /// number of places judged 1, out of the cell's chromosomes.
    FlowEffect score(int correctCount, BoardState &board, int chromosomes = 46);

    /// 正解表示: the scoring loop ends and 終了 becomes possible. The caller then prepares and
    /// shows the answer window.
    FlowEffect showAnswer();

private:
    void resetClock();

    ExerciseState m_state = ExerciseState::Idle;
};

} // namespace queldo
