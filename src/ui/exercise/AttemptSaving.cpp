#include "ui/exercise/AttemptSaving.h"

#include "core/app/TraineeSession.h"

#include <QMessageBox>
#include <QPushButton>

namespace queldo {

namespace {

const QString Caption = QStringLiteral("QUELDO");

} // namespace

AttemptSaving::AttemptSaving(QWidget *window, const QString &resultsPath,
                             const QString &arrangementPath)
    : m_window(window), m_unsaved(resultsPath, arrangementPath)
{
}

bool AttemptSaving::writable() const
{
    return !m_session || m_session->writable();
}

void AttemptSaving::saveFirstScoring(const AttemptToSave &attempt)
{
    if (!writable()) {
        QMessageBox::information(
            m_window, Caption, m_session->readOnlyRefusal(QStringLiteral("成績は記録されません")));
        return;
    }
    for (SaveRound round = m_unsaved.save(attempt); report(round);)
        round = m_unsaved.retry();
}

void AttemptSaving::retryWaiting()
{
    if (m_unsaved.empty() || !writable())
        return;
    for (SaveRound round = m_unsaved.retry(); report(round);)
        round = m_unsaved.retry();
}

bool AttemptSaving::mayLeave(const QString &leaveCaption)
{
    while (!m_unsaved.empty()) {
        QMessageBox box(QMessageBox::Warning, Caption, m_unsaved.leavingText(),
                        QMessageBox::NoButton, m_window);
        box.setObjectName(QStringLiteral("UnsavedAttemptQuestion"));
        QPushButton *retry = box.addButton(QStringLiteral("再試行"), QMessageBox::AcceptRole);
        retry->setObjectName(QStringLiteral("RetryButton"));
        QPushButton *leave = box.addButton(leaveCaption, QMessageBox::DestructiveRole);
        leave->setObjectName(QStringLiteral("LeaveButton"));
        QPushButton *stay = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        stay->setObjectName(QStringLiteral("StayButton"));
        box.setDefaultButton(retry);
        box.setEscapeButton(stay);
        box.exec();
        if (box.clickedButton() == leave) {
            m_unsaved.discard();
            return true;
        }
        if (box.clickedButton() != retry)
            return false;
        const SaveRound round = m_unsaved.retry();
        if (m_unsaved.empty())
            return true;
        // Still failing: said once more, then asked again.
        showWarning(round.error.isEmpty() ? round.arrangementError : round.error);
    }
    return true;
}

bool AttemptSaving::report(const SaveRound &round)
{
    if (!round.rejectedNotes.isEmpty())
        showWarning(round.rejectedNotes.join(u'\n'));
    if (!round.notice.isEmpty() && round.damagedLines != m_reportedDamage) {
        // The attempt is kept either way; damage already reported is not reported again.
        m_reportedDamage = round.damagedLines;
        showWarning(round.notice);
    }
    const QString failure = round.error.isEmpty() ? round.arrangementError : round.error;
    if (failure.isEmpty())
        return false;
    QMessageBox box(QMessageBox::Warning, Caption,
                    failure + QStringLiteral("\n\nこの採点は覚えてあり、もう一度「採点」を押すか"
                                             "「再試行」で記録し直せます。"),
                    QMessageBox::NoButton, m_window);
    box.setObjectName(QStringLiteral("SaveFailedMessage"));
    QPushButton *retry = box.addButton(QStringLiteral("再試行"), QMessageBox::AcceptRole);
    retry->setObjectName(QStringLiteral("RetryButton"));
    QPushButton *later = box.addButton(QStringLiteral("閉じる"), QMessageBox::RejectRole);
    later->setObjectName(QStringLiteral("CloseButton"));
    box.setDefaultButton(retry);
    box.setEscapeButton(later);
    box.exec();
    return box.clickedButton() == retry;
}

void AttemptSaving::showWarning(const QString &text) const
{
    QMessageBox::warning(m_window, Caption, text);
}

} // namespace queldo
