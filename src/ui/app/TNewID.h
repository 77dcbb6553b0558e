#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace queldo {

class AppPaths;
class TPasswordDlg;
class UserList;
class TForm9;
class TForm11;
class TNewIDComplete;
class BadIdMessage;
class IdNotCreatedMessage;

/// The new-ID dialog: an ID and a password typed twice. Every way out leads back to the login
/// dialog; a created ID is filled in there, ready to log in.
class TNewID : public QDialog
{
    Q_OBJECT
public:
    /// The messages it shows are its own children. parent may be null; the dialog is centred
    /// over the login dialog either way.
    /// users: the known IDs; a created ID is added to them.
    TNewID(AppPaths &paths, UserList &users, TPasswordDlg &login, QWidget *parent = nullptr);
    /// Showing the dialog again leaves Enter on OK, whichever button was clicked last.
    void setVisible(bool visible) override;

    /// Comes up with the ID the trainee typed at the login filled in, ready for its password;
    /// with none, empty and ready for one.
    void offerId(const QString &id);

    void OKBtnClick();
    void CancelBtnClick();
    void FormClose();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    // Found by their object names from outside; the functions above are how the window is used.
    QLabel *Label2 = nullptr;
    QLineEdit *ID = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Password = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *rePassword = nullptr;
    QPushButton *OKBtn = nullptr;     // ＩＤ作成
    QPushButton *CancelBtn = nullptr; // ＩＤ作成をやめる

    AppPaths &m_paths;
    UserList &m_users;
    TPasswordDlg &m_login;
    TForm9 *m_inUse = nullptr;
    TForm11 *m_passwordMismatch = nullptr;
    TNewIDComplete *m_complete = nullptr;
    BadIdMessage *m_badId = nullptr;
    IdNotCreatedMessage *m_notCreated = nullptr;
};

} // namespace queldo
