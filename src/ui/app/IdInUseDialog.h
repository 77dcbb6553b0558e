#pragma once

#include "core/app/TraineeLock.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace queldo {

class TraineeSession;

/// The trainee's ID is held by another program: open it read-only, wait until it is let go, or
/// go back to the login.
class IdInUseDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Choice { Cancelled, ReadOnly, Taken };

    IdInUseDialog(TraineeSession &session, const LockDecision &decision, QWidget *parent = nullptr);

    Choice choice() const { return m_choice; }
    /// What the last look found: who holds the ID, or how it was taken while waiting.
    const LockDecision &decision() const { return m_decision; }

    /// How often a waiting dialog looks again.
    static constexpr int WaitMilliseconds = 3000;

private:
    // Found by their object names from outside; the functions above are how the window is used.
    QLabel *Message = nullptr;
    QPushButton *ReadOnlyButton = nullptr; // 読み取り専用で開く
    QPushButton *WaitButton = nullptr;     // 待つ
    QPushButton *CancelButton = nullptr;   // キャンセル

    void showDecision();
    void startWaiting();
    void lookAgain();
    void finish(Choice choice);

    TraineeSession &m_session;
    LockDecision m_decision;
    Choice m_choice = Choice::Cancelled;
    QTimer *m_wait = nullptr;
};

} // namespace queldo
