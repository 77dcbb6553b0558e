#include "ui/app/TraineeSessionStart.h"

#include "core/app/TraineeSession.h"
#include "ui/app/IdInUseDialog.h"
#include "ui/common/MessageWindow.h"
#include "ui/common/ScreenCentring.h"

namespace queldo {

namespace {

void tell(const QStringList &lines, QWidget *parent)
{
    MessageWindow message(QStringLiteral("QUELDO"), lines, 16, QStringLiteral("OK"), parent);
    message.setObjectName(QStringLiteral("SessionMessage"));
    centreOnScreen(&message);
    message.exec();
}

} // namespace

std::unique_ptr<TraineeSession> startTraineeSession(const UserFiles &files, TraineeLockJudge judge,
                                                    QWidget *parent)
{
    auto session = std::make_unique<TraineeSession>(files, std::move(judge));
    const TraineeSession::Claim claim = session->claim();
    if (!claim.error.isEmpty()) {
        // A folder this program cannot write to: nothing of the trainee's can be saved anyway,
        // and each write will say so; the grades can still be seen.
        session->openUnmarked();
        tell(MessageWindow::linesOf(claim.error)
                 << QStringLiteral("この ID を使用中にできませんでしたが、このまま開きます。"),
             parent);
        return session;
    }
    LockDecision decision = claim.decision;
    if (!claim.taken) {
        IdInUseDialog question(*session, decision, parent);
        question.exec();
        decision = question.decision();
        switch (question.choice()) {
        case IdInUseDialog::Choice::Cancelled:
            return nullptr;
        case IdInUseDialog::Choice::ReadOnly:
            session->openReadOnly(decision);
            return session;
        case IdInUseDialog::Choice::Taken:
            break;
        }
    }
    if (decision.verdict == LockVerdict::TakeOver)
        tell(MessageWindow::linesOf(session->takeOverText(decision)), parent);
    return session;
}

} // namespace queldo
