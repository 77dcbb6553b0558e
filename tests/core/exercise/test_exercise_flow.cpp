#include "core/board/BoardState.h"
#include "core/exercise/ExerciseFlow.h"

#include <QtTest>

using namespace queldo;

Q_DECLARE_METATYPE(queldo::ExerciseState)
Q_DECLARE_METATYPE(queldo::FlowEvent)
Q_DECLARE_METATYPE(queldo::FlowEffect)

namespace {

QString buttons(const ExerciseFlow &f)
{
    // One letter a button, in column order 2 4 1 5 6 3: upper case when enabled.
    QString s;
    for (const auto *b : {&f.button2, &f.button4, &f.button1, &f.button5, &f.button6, &f.button3})
        s += b->enabled ? QLatin1Char('E') : QLatin1Char('d');
    return s;
}

const char *nameOf(ExerciseState s)
{
    constexpr const char *names[] = {"Idle",   "Ready",      "Running",    "Paused",
                                     "Scored", "Correcting", "AnswerShown"};
    return names[int(s)];
}

const char *nameOf(FlowEffect e)
{
    constexpr const char *names[] = {"Refused",       "DealProblem", "ClockStarted", "ClockPaused",
                                     "RecordAttempt", "Correction",  "ShowAnswer",   "ClearBoard"};
    return names[int(e)];
}

/// Walks a fresh flow to state the way a trainee gets there. afterAnswer: the problem before
/// was worked until its answer was shown, which leaves 終了 on.
void reach(ExerciseFlow &f, BoardState &board, ExerciseState state, bool afterAnswer)
{
    using S = ExerciseState;
    if (afterAnswer) {
        f.nextProblem(0, board);
        f.startOrPause(board);
        f.score(5, board);
        f.showAnswer();
        if (state == S::Idle)
            f.reset();
    }
    if (state == S::Idle)
        return;
    f.nextProblem(1, board);
    if (state == S::Ready)
        return;
    f.startOrPause(board);
    if (state == S::Paused)
        f.startOrPause(board);
    if (state == S::Running || state == S::Paused)
        return;
    f.score(5, board);
    if (state == S::Correcting)
        f.score(6, board);
    if (state == S::AnswerShown)
        f.showAnswer();
}

FlowEffect apply(ExerciseFlow &f, BoardState &board, FlowEvent event)
{
    switch (event) {
    case FlowEvent::ChooseProblem:
        return f.nextProblem(2, board);
    case FlowEvent::StartOrPause:
        return f.startOrPause(board);
    case FlowEvent::Score:
        return f.score(9, board);
    case FlowEvent::ShowAnswer:
        return f.showAnswer();
    case FlowEvent::End:
        return f.endExercise();
    case FlowEvent::Reset:
        return f.reset();
    }
    return FlowEffect::Refused;
}

/// All a refused event must leave as it was.
QString snapshot(const ExerciseFlow &f, const BoardState &board)
{
    return QStringLiteral("%1 %2|%3|%4|%5 %6 %7 %8 %9")
        .arg(buttons(f), f.button1.caption, f.button4.caption, f.label58)
        .arg(f.ScoringCount)
        .arg(f.ClockRunning)
        .arg(f.timerActive)
        .arg(board.PiecesMovable)
        .arg(f.listSelection);
}

} // namespace

class TestExerciseFlow : public QObject
{
    Q_OBJECT
private slots:
    void transitions_data()
    {
        using S = ExerciseState;
        using E = FlowEvent;
        using X = FlowEffect;
        QTest::addColumn<S>("from");
        QTest::addColumn<bool>("afterAnswer");
        QTest::addColumn<E>("event");
        QTest::addColumn<S>("to");
        QTest::addColumn<X>("effect");
        const struct
        {
            S from;
            bool afterAnswer;
            E event;
            S to;
            X effect;
        } rows[] = {
            {S::Idle, false, E::ChooseProblem, S::Ready, X::DealProblem},
            {S::Idle, false, E::StartOrPause, S::Idle, X::Refused},
            {S::Idle, false, E::Score, S::Idle, X::Refused},
            {S::Idle, false, E::ShowAnswer, S::Idle, X::Refused},
            {S::Idle, false, E::End, S::Idle, X::Refused},
            {S::Idle, false, E::Reset, S::Idle, X::ClearBoard},
            {S::Ready, false, E::ChooseProblem, S::Ready, X::DealProblem},
            {S::Ready, false, E::StartOrPause, S::Running, X::ClockStarted},
            {S::Ready, false, E::Score, S::Ready, X::Refused},
            {S::Ready, false, E::ShowAnswer, S::Ready, X::Refused},
            {S::Ready, false, E::End, S::Ready, X::Refused},
            {S::Ready, false, E::Reset, S::Idle, X::ClearBoard},
            {S::Running, false, E::ChooseProblem, S::Ready, X::DealProblem},
            {S::Running, false, E::StartOrPause, S::Paused, X::ClockPaused},
            {S::Running, false, E::Score, S::Scored, X::RecordAttempt},
            {S::Running, false, E::ShowAnswer, S::Running, X::Refused},
            {S::Running, false, E::End, S::Running, X::Refused},
            {S::Running, false, E::Reset, S::Idle, X::ClearBoard},
            {S::Paused, false, E::ChooseProblem, S::Ready, X::DealProblem},
            {S::Paused, false, E::StartOrPause, S::Running, X::ClockStarted},
            {S::Paused, false, E::Score, S::Scored, X::RecordAttempt},
            {S::Paused, false, E::ShowAnswer, S::Paused, X::Refused},
            {S::Paused, false, E::End, S::Paused, X::Refused},
            {S::Paused, false, E::Reset, S::Idle, X::ClearBoard},
            {S::Scored, false, E::ChooseProblem, S::Ready, X::DealProblem},
            {S::Scored, false, E::StartOrPause, S::Scored, X::Refused},
            {S::Scored, false, E::Score, S::Correcting, X::Correction},
            {S::Scored, false, E::ShowAnswer, S::AnswerShown, X::ShowAnswer},
            {S::Scored, false, E::End, S::Scored, X::Refused},
            {S::Scored, false, E::Reset, S::Idle, X::ClearBoard},
            {S::Correcting, false, E::ChooseProblem, S::Ready, X::DealProblem},
            {S::Correcting, false, E::StartOrPause, S::Correcting, X::Refused},
            {S::Correcting, false, E::Score, S::Correcting, X::Correction},
            {S::Correcting, false, E::ShowAnswer, S::AnswerShown, X::ShowAnswer},
            {S::Correcting, false, E::End, S::Correcting, X::Refused},
            {S::Correcting, false, E::Reset, S::Idle, X::ClearBoard},
            {S::AnswerShown, false, E::ChooseProblem, S::Ready, X::DealProblem},
            {S::AnswerShown, false, E::StartOrPause, S::AnswerShown, X::Refused},
            {S::AnswerShown, false, E::Score, S::AnswerShown, X::Refused},
            {S::AnswerShown, false, E::ShowAnswer, S::AnswerShown, X::Refused},
            {S::AnswerShown, false, E::End, S::Idle, X::ClearBoard},
            {S::AnswerShown, false, E::Reset, S::Idle, X::ClearBoard},
            // 終了 carried over from an answer seen, until a first scoring takes it away.
            {S::Idle, true, E::End, S::Idle, X::ClearBoard},
            {S::Ready, true, E::End, S::Idle, X::ClearBoard},
            {S::Running, true, E::End, S::Idle, X::ClearBoard},
            {S::Paused, true, E::End, S::Idle, X::ClearBoard},
            {S::Scored, true, E::End, S::Scored, X::Refused},
        };
        const char *events[] = {"choose", "start/pause", "score", "answer", "end", "reset"};
        for (const auto &r : rows)
            QTest::addRow("%s%s %s", nameOf(r.from), r.afterAnswer ? "(after answer)" : "",
                          events[int(r.event)])
                << r.from << r.afterAnswer << r.event << r.to << r.effect;
    }

    void transitions()
    {
        QFETCH(ExerciseState, from);
        QFETCH(bool, afterAnswer);
        QFETCH(FlowEvent, event);
        QFETCH(ExerciseState, to);
        QFETCH(FlowEffect, effect);
        ExerciseFlow f;
        BoardState board;
        reach(f, board, from, afterAnswer);
        QCOMPARE(nameOf(f.state()), nameOf(from));
        QCOMPARE(f.offers(event), effect != FlowEffect::Refused);
        const QString before = snapshot(f, board);

        QCOMPARE(nameOf(apply(f, board, event)), nameOf(effect));
        QCOMPARE(nameOf(f.state()), nameOf(to));
        if (effect == FlowEffect::Refused)
            QCOMPARE(snapshot(f, board), before);
        // The buttons the window shows offer exactly what the flow takes.
        QCOMPARE(f.button1.enabled, f.offers(FlowEvent::Score));
        QCOMPARE(f.button4.enabled, f.offers(FlowEvent::StartOrPause));
        QCOMPARE(f.button5.enabled, f.offers(FlowEvent::ShowAnswer));
        QCOMPARE(f.button6.enabled, f.offers(FlowEvent::End));
    }

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

        QCOMPARE(f.score(40, board), FlowEffect::RecordAttempt); // Scored: the first press records
        QCOMPARE(buttons(f), QStringLiteral("EdEEdE"));
        QCOMPARE(f.button1.caption, QStringLiteral("正答率：40/46\n 継続して修正しますか?"));
        QCOMPARE(f.ElapsedSeconds, 3);
        QCOMPARE(board.PiecesMovable, 0);
        f.tick(); // a tick still counts, but the frozen display does not change
        QCOMPARE(f.label58, QStringLiteral("3"));

        QCOMPARE(f.score(40, board), FlowEffect::Correction); // Correcting
        QCOMPARE(f.button1.caption, QStringLiteral("正答率：40/46\n 修正中 \n(1回目)"));
        QCOMPARE(board.PiecesMovable, 1);
        QCOMPARE(f.score(41, board), FlowEffect::Correction);
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
        QCOMPARE(f.score(20, board),
                 FlowEffect::RecordAttempt); // a first scoring again, which records
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
        // 終了 is offered once an answer was seen, and stays so for the next problem.
        f.nextProblem(1, board);
        f.startOrPause(board);
        f.score(3, board);
        f.showAnswer();
        f.nextProblem(0, board);
        f.endExercise();
        QCOMPARE(buttons(f), QStringLiteral("EddddE"));
        QCOMPARE(f.listSelection, -1);
        QCOMPARE(f.label58, QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestExerciseFlow)
#include "test_exercise_flow.moc"
