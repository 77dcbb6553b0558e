#include "ui/app/IdInUseDialog.h"

#include "core/app/TraineeSession.h"
#include "ui/common/DialogLook.h"
#include "ui/common/ScreenCentring.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace queldo {

IdInUseDialog::IdInUseDialog(TraineeSession &session, const LockDecision &decision, QWidget *parent)
    : QDialog(parent), m_session(session), m_decision(decision)
{
    setObjectName(QStringLiteral("IdInUseDialog"));
    setWindowTitle(QStringLiteral("QUELDO"));
    setWindowFlags(FixedDialogFrame);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFontPixelSize(this, 14);

    Message = new QLabel(this);
    Message->setObjectName(QStringLiteral("Message"));
    ReadOnlyButton = new QPushButton(QStringLiteral("読み取り専用で開く"), this);
    ReadOnlyButton->setObjectName(QStringLiteral("ReadOnlyButton"));
    WaitButton = new QPushButton(QStringLiteral("待つ"), this);
    WaitButton->setObjectName(QStringLiteral("WaitButton"));
    CancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    // Nothing happens to anybody's files by pressing Enter: going back is the default.
    CancelButton->setDefault(true);
    connect(ReadOnlyButton, &QPushButton::clicked, this, [this] { finish(Choice::ReadOnly); });
    connect(WaitButton, &QPushButton::clicked, this, &IdInUseDialog::startWaiting);
    connect(CancelButton, &QPushButton::clicked, this, [this] { finish(Choice::Cancelled); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {ReadOnlyButton, WaitButton, CancelButton}) {
        button->setMinimumWidth(90);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addWidget(Message);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_wait = new QTimer(this);
    m_wait->setInterval(WaitMilliseconds);
    connect(m_wait, &QTimer::timeout, this, &IdInUseDialog::lookAgain);
    showDecision();
    // A folder or device in the session file's place does not go away by waiting.
    WaitButton->setEnabled(m_decision.verdict == LockVerdict::InUse);
    centreOnEveryShow(this);
}

void IdInUseDialog::showDecision()
{
    QStringList lines = m_session.inUseLines(m_decision);
    if (m_wait->isActive())
        lines << QString() << QStringLiteral("使用が終わるのを待っています…");
    Message->setText(lines.join(u'\n'));
}

void IdInUseDialog::startWaiting()
{
    WaitButton->setEnabled(false);
    m_wait->start();
    showDecision();
}

void IdInUseDialog::lookAgain()
{
    const TraineeSession::Claim claim = m_session.claim();
    m_decision = claim.decision;
    if (claim.taken) {
        finish(Choice::Taken);
        return;
    }
    // The session file cannot be made at all: waiting longer would not change that.
    if (!claim.error.isEmpty() || m_decision.verdict != LockVerdict::InUse) {
        m_wait->stop();
        WaitButton->setEnabled(false);
        if (!claim.error.isEmpty()) {
            Message->setText(claim.error);
            return;
        }
    }
    showDecision();
}

void IdInUseDialog::finish(Choice choice)
{
    m_wait->stop();
    m_choice = choice;
    if (choice == Choice::Cancelled)
        reject();
    else
        accept();
}

} // namespace queldo
