#include "ui/app/TNewID.h"

#include "core/app/Login.h"
#include "core/app/NewUserId.h"
#include "core/app/UserList.h"
#include "ui/app/BadIdMessage.h"
#include "ui/app/IdNotCreatedMessage.h"
#include "ui/app/TForm11.h"
#include "ui/app/TForm9.h"
#include "ui/app/TNewIDComplete.h"
#include "ui/app/TPasswordDlg.h"
#include "ui/common/AccessibleNames.h"
#include "ui/common/DialogLook.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace queldo {

TNewID::TNewID(AppPaths &paths, UserList &users, TPasswordDlg &login, QWidget *parent)
    : QDialog(parent), m_paths(paths), m_users(users), m_login(login)
{
    setObjectName(QStringLiteral("NewID"));
    setWindowTitle(QStringLiteral("新規ID作成"));
    setWindowFlags(FixedDialogFrame);
    // Up while the login dialog is hidden; closing it returns there instead of ending the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFontPixelSize(this, 12);

    auto label = [this](const char *name, const QString &text, int top) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->move(16, top);
        l->adjustSize();
        return l;
    };
    auto edit = [this](const char *name, int top, bool secret) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setGeometry(16, top, 206, 20);
        if (secret)
            setPasswordEcho(e);
        return e;
    };
    Label2 = label("Label2", QStringLiteral("新規ID入力"), 12);
    ID = edit("ID", 28, false);
    Label1 = label("Label1", QStringLiteral("新規パスワードの入力 :"), 62);
    Password = edit("Password", 78, true);
    Label3 = label("Label3", QStringLiteral("確認のため新規パスワードの再入力 :"), 112);
    rePassword = edit("rePassword", 128, true);

    OKBtn = new QPushButton(QStringLiteral("ＩＤ作成"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(16, 176, 90, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TNewID::OKBtnClick);
    CancelBtn = new QPushButton(QStringLiteral("ＩＤ作成をやめる"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(112, 176, 110, 25);
    connect(CancelBtn, &QPushButton::clicked, this, &TNewID::CancelBtnClick);

    setTabOrder(ID, Password);
    setTabOrder(Password, rePassword);
    setTabOrder(rePassword, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setFixedSize(238, 224);
    nameControlsForScreenReaders(
        this, {{QStringLiteral("ID"), Label2->text()},
               {QStringLiteral("Password"), QStringLiteral("新規パスワードの入力")},
               {QStringLiteral("rePassword"), QStringLiteral("確認のため新規パスワードの再入力")}});

    m_inUse = new TForm9(this);
    m_passwordMismatch = new TForm11(this);
    m_complete = new TNewIDComplete(this);
    m_badId = new BadIdMessage(this);
    m_notCreated = new IdNotCreatedMessage(this);
}

void TNewID::offerId(const QString &id)
{
    show();
    activateWindow();
    ID->setText(id);
    if (id.isEmpty())
        ID->setFocus();
    else
        Password->setFocus();
}

void TNewID::OKBtnClick()
{
    const QString id = ID->text();
    const NewIdDecision decision = checkNewId(m_users, id, Password->text(), rePassword->text());
    if (decision.result == NewIdResult::IdInUse) {
        m_inUse->exec();
        ID->clear();
        Password->clear();
        rePassword->clear();
        ID->setFocus();
        return;
    }
    if (decision.result == NewIdResult::IdRefused) {
        m_badId->setReason(decision.refusal);
        m_badId->exec();
        ID->clear();
        ID->setFocus();
        return;
    }
    if (decision.result == NewIdResult::PasswordsDiffer) {
        m_passwordMismatch->exec();
        Password->clear();
        rePassword->clear();
        Password->setFocus();
        return;
    }

    const CreateUserResult result = createUser(m_paths, id, Password->text());
    if (result.idTaken) {
        m_badId->setReason(result.error);
        m_badId->exec();
        ID->clear();
        ID->setFocus();
        return;
    }
    if (!result.created) {
        // Nothing was made, so the ID stays unknown and the trainee may choose another one.
        m_notCreated->setReason(result.error);
        m_notCreated->exec();
        ID->setFocus();
        return;
    }
    m_users.append(result.id);
    close();
    m_login.returnWithNewId(result.id);
    m_complete->exec();
}

void TNewID::CancelBtnClick()
{
    ID->clear();
    Password->clear();
    rePassword->clear();
    ID->setFocus();
    m_login.returnCleared();
    close();
}

void TNewID::FormClose()
{
    m_login.returnToLogin();
}

void TNewID::showEvent(QShowEvent *event)
{
    QRect frame = frameGeometry();
    frame.moveCenter(m_login.frameGeometry().center());
    move(frame.topLeft());
    QDialog::showEvent(event);
}

void TNewID::closeEvent(QCloseEvent *event)
{
    // Not QDialog's own handling: that would take the close box for the cancel button, which
    // also empties the fields.
    FormClose();
    event->accept();
}

void TNewID::reject()
{
    CancelBtnClick();
}

void TNewID::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible)
        restoreDefaultButton(OKBtn);
}

} // namespace queldo
