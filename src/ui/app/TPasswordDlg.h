#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace queldo {

class AppPaths;
class TNewID;
class TNewIDorNo;
class TraineeSession;
class UserList;

/// The login dialog and the program's main window: an ID and a password open the exercise
/// window with the trainee's settings; an unknown ID leads to creating one. Closing it (its
/// cancel button, Esc or the close box) ends the program; hiding it does not.
class TPasswordDlg : public QDialog
{
    Q_OBJECT
public:
    /// users: the known IDs, which the new-ID dialog extends.
    TPasswordDlg(AppPaths &paths, const UserList &users, QWidget *parent = nullptr);
    /// Showing the dialog again leaves Enter on OK, whichever button was clicked last.
    void setVisible(bool visible) override;

    /// The question for an unknown ID and the new-ID dialog, created after this dialog.
    void setNewIdWindows(TNewIDorNo *question, TNewID *newId);
    /// Called before the new-ID windows are needed while none have been set: it sets them.
    std::function<void()> makeNewIdWindows;

    void OKBtnClick();
    void Button1Click();
    void CancelBtnClick();

    /// Back from the new-ID windows as they left the fields.
    void returnToLogin();
    /// Back with both fields emptied and the ID field focused.
    void returnCleared();
    /// Back with a just-created ID filled in, ready for its password.
    void returnWithNewId(const QString &id);

    /// Takes the trainee whose password matched for this program before the exercise window
    /// opens: the session their stored settings are read into, and which says whether their
    /// password may be stored anew. Null (or unset) leaves the dialog up with the ID as typed.
    std::function<TraineeSession *(const QString &id)> claimTrainee;

signals:
    /// The password matched and the claimed session holds the trainee's settings. The dialog hides
    /// for good right after this returns.
    void loggedIn(const QString &id);
    /// The dialog was closed: the program is to end.
    void quitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    // Found by their object names from outside; the functions above are how the window is used.
    QLabel *Label2 = nullptr; // ID入力
    QLineEdit *ID = nullptr;
    QLabel *Label1 = nullptr; // パスワードの入力, or what went wrong
    QLineEdit *Password = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *Button1 = nullptr; // ID作成

    void askForNewId();
    /// Makes room for a two-line message above the password field, once.
    void raiseLabel();
    void reportInLabel(const QString &text);

    AppPaths &m_paths;
    const UserList &m_users;
    TNewIDorNo *m_question = nullptr;
    TNewID *m_newId = nullptr;
    bool m_labelRaised = false;
};

} // namespace queldo
