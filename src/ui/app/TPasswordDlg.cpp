#include "ui/app/TPasswordDlg.h"

#include "core/app/AppPaths.h"
#include "core/app/Login.h"
#include "core/app/LoginSettings.h"
#include "core/app/TraineeSession.h"
#include "ui/app/TNewID.h"
#include "ui/app/TNewIDorNo.h"
#include "ui/common/AccessibleNames.h"
#include "ui/common/DialogLook.h"
#include "ui/common/ScreenCentring.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace queldo {

namespace {

const QString PasswordPrompt = QStringLiteral("パスワードの入力");
// Room for the two-line wrong-password message above the password field.
constexpr int LabelRaise = 12;

} // namespace

TPasswordDlg::TPasswordDlg(AppPaths &paths, const UserList &users, QWidget *parent)
    : QDialog(parent), m_paths(paths), m_users(users)
{
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(QStringLiteral("QUELDO") + QStringLiteral("ＩＤとパスワード入力"));
    setWindowFlags(FixedDialogFrame | Qt::WindowStaysOnTopHint);
    setFontPixelSize(this, 12);

    Label2 = new QLabel(QStringLiteral("ID入力"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(32, 48);
    Label2->adjustSize();
    ID = new QLineEdit(this);
    ID->setObjectName(QStringLiteral("ID"));
    ID->setGeometry(32, 64, 222, 20);
    Label1 = new QLabel(PasswordPrompt, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(32, 113);
    Label1->adjustSize();
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setGeometry(32, 131, 222, 20);
    setPasswordEcho(Password);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(38, 160, 70, 20);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TPasswordDlg::OKBtnClick);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(110, 160, 70, 20);
    connect(CancelBtn, &QPushButton::clicked, this, &TPasswordDlg::CancelBtnClick);
    Button1 = new QPushButton(QStringLiteral("ID作成"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(182, 160, 70, 20);
    connect(Button1, &QPushButton::clicked, this, &TPasswordDlg::Button1Click);

    setTabOrder(ID, Password);
    setTabOrder(Password, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, Button1);
    ID->setFocus();
    setFixedSize(283, 227);
    nameControlsForScreenReaders(this, {{QStringLiteral("ID"), Label2->text()},
                                        {QStringLiteral("Password"), PasswordPrompt}});
    centreOnEveryShow(this);
}

void TPasswordDlg::setNewIdWindows(TNewIDorNo *question, TNewID *newId)
{
    m_question = question;
    m_newId = newId;
}

void TPasswordDlg::OKBtnClick()
{
    const QString id = ID->text();
    // The password is looked at before anybody is told who holds the ID; stored anew only once
    // this program may write the trainee's files.
    const LoginDecision decision = decideLogin(m_users, m_paths, id, Password->text(), false);
    switch (decision.result) {
    case LoginResult::UnknownId:
        askForNewId();
        return;
    case LoginResult::LookAlikeIds:
        raiseLabel();
        reportInLabel(QStringLiteral("似たIDが複数あります。\nIDを正確に入力してください。"));
        Password->clear();
        ID->setFocus();
        return;
    case LoginResult::PasswordFileUnreadable:
        reportInLabel(QStringLiteral("パスワードファイルが読めません。"));
        Password->clear();
        ID->setFocus();
        return;
    case LoginResult::WrongPassword:
        raiseLabel();
        reportInLabel(QStringLiteral("パスワードが間違ってます。\nもう一度入力してください。"));
        Password->clear();
        Password->setFocus();
        return;
    case LoginResult::Accepted: {
        TraineeSession *session = claimTrainee ? claimTrainee(decision.id) : nullptr;
        if (!session) {
            Password->clear();
            Password->setFocus();
            return;
        }
        if (session->writable())
            upgradeStoredPassword(m_paths, decision.id, Password->text());
        applyStoredSettings(session->settings(), decision.settings);
        // The field keeps the ID of the files in use: the printed answer sheet takes it.
        ID->setText(decision.id);
        emit loggedIn(decision.id);
        hide();
        return;
    }
    }
}

void TPasswordDlg::Button1Click()
{
    if (!m_newId && makeNewIdWindows)
        makeNewIdWindows();
    if (m_newId) {
        m_newId->offerId(ID->text());
        ID->clear();
    }
    hide();
}

void TPasswordDlg::CancelBtnClick()
{
    close();
}

void TPasswordDlg::returnToLogin()
{
    show();
    activateWindow();
}

void TPasswordDlg::returnCleared()
{
    returnToLogin();
    ID->clear();
    Password->clear();
    ID->setFocus();
}

void TPasswordDlg::returnWithNewId(const QString &id)
{
    returnToLogin();
    ID->setText(id);
    Password->setFocus();
}

void TPasswordDlg::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible)
        restoreDefaultButton(OKBtn);
}

void TPasswordDlg::closeEvent(QCloseEvent *event)
{
    // Not QDialog's own handling, which would only hide the dialog: as the main window,
    // closing it ends the program.
    event->accept();
    emit quitRequested();
}

void TPasswordDlg::reject()
{
    close();
}

void TPasswordDlg::askForNewId()
{
    hide();
    if (!m_question && makeNewIdWindows)
        makeNewIdWindows();
    // Whatever the answer, this login attempt is over. The close box counts as "いいえ", so the
    // trainee is never left without a window.
    const bool create = m_question && m_question->exec() == QDialog::Accepted;
    if (create && m_newId) {
        m_newId->show();
        m_newId->activateWindow();
        return;
    }
    returnCleared();
    Label1->setText(PasswordPrompt);
    Label1->adjustSize();
}

void TPasswordDlg::raiseLabel()
{
    if (!m_labelRaised) {
        Label1->move(Label1->x(), Label1->y() - LabelRaise);
        m_labelRaised = true;
    }
}

void TPasswordDlg::reportInLabel(const QString &text)
{
    Label1->setText(text);
    Label1->adjustSize();
}

} // namespace queldo
