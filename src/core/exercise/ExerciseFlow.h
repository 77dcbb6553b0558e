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

/// The exercise window's flow: the clock, the buttons and the scoring count. The window calls
/// one method per event, does the board work the method's comment names, and then shows what
/// this object holds. There is no explicit state: it follows from the fields, as the buttons do.
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

    /// 次の問題 at a position drawn by the caller. The caller then closes the answer window,
    /// empties the board, loads and deals.
    void nextProblem(int position, BoardState &board);
    /// A click in the number list on position. As nextProblem, but the scoring caption stays
    /// and pieces stop being movable at once.
    void listProblem(int position, BoardState &board);
    /// The chosen problem could not be loaded: nothing can be started until one loads.
    void problemLoadFailed();

    /// スタート / 一時停止 / 再スタート.
    void startOrPause(BoardState &board);
    /// One tick of the clock.
    void tick();
    /// 終了: the caller then closes the answer window, empties the board and hides the pieces.
    void endExercise();
    /// リセット: the caller empties the board and hides the pieces. Scoring and スタート wait for
    /// the next problem choice; the other buttons stay as they are.
    void reset();

    /// 採点. Returns true for the first press of a problem, which the caller records with the
    /// codes and ElapsedSeconds as they are now. correctCount is the number of places judged 1,
    /// out of the cell's chromosomes.
    bool score(int correctCount, BoardState &board, int chromosomes = 46);

    /// 正解表示: the scoring loop ends and 終了 becomes possible. The caller then prepares and
    /// shows the answer window.
    void showAnswer();

private:
    void resetClock();
};

} // namespace queldo
