#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace queldo {

/// Asks for the teacher's password before the class overview opens, or has the first teacher
/// set it: typed twice, then asked for from then on. exec() gives Accepted once the password
/// was right or has been set.
class TeacherPasswordDialog : public QDialog
{
    Q_OBJECT
public:
    /// path: the teacher's password file (teacherPasswordPath).
    explicit TeacherPasswordDialog(const QString &path, QWidget *parent = nullptr);

    /// Whether this dialog sets the password rather than asks for it.
    bool setsPassword() const { return m_setting; }

    void OKBtnClick();

private:
    // Found by their object names from outside; the functions above are how the window is used.
    QLabel *Prompt = nullptr;
    QLineEdit *Password = nullptr;
    QLineEdit *Again = nullptr; ///< only when setting
    QLabel *Message = nullptr;  ///< what went wrong, in red
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr; // キャンセル

    void showMessage(const QString &text);

    QString m_path;
    bool m_setting = false;
};

} // namespace queldo
