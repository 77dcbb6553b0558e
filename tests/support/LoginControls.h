#pragma once

#include "Controls.h"
#include "ui/app/TNewID.h"
#include "ui/app/TNewIDorNo.h"
#include "ui/app/TPasswordDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace queldo::test {

/// The login dialog's controls, found by the names the dialog gives them.
struct LoginControls
{
    explicit LoginControls(const TPasswordDlg &login)
        : Label2(control<QLabel>(login, "Label2")), ID(control<QLineEdit>(login, "ID")),
          Label1(control<QLabel>(login, "Label1")), Password(control<QLineEdit>(login, "Password")),
          OKBtn(control<QPushButton>(login, "OKBtn")),
          CancelBtn(control<QPushButton>(login, "CancelBtn")),
          Button1(control<QPushButton>(login, "Button1"))
    {
    }

    QLabel *Label2; // ID入力
    QLineEdit *ID;
    QLabel *Label1; // パスワードの入力, or what went wrong
    QLineEdit *Password;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QPushButton *Button1; // ID作成
};

/// The new-ID dialog's controls.
struct NewIdControls
{
    explicit NewIdControls(const TNewID &newId)
        : Label2(control<QLabel>(newId, "Label2")), ID(control<QLineEdit>(newId, "ID")),
          Label1(control<QLabel>(newId, "Label1")), Password(control<QLineEdit>(newId, "Password")),
          Label3(control<QLabel>(newId, "Label3")),
          rePassword(control<QLineEdit>(newId, "rePassword")),
          OKBtn(control<QPushButton>(newId, "OKBtn")),
          CancelBtn(control<QPushButton>(newId, "CancelBtn"))
    {
    }

    QLabel *Label2;
    QLineEdit *ID;
    QLabel *Label1;
    QLineEdit *Password;
    QLabel *Label3;
    QLineEdit *rePassword;
    QPushButton *OKBtn;     // ＩＤ作成
    QPushButton *CancelBtn; // ＩＤ作成をやめる
};

/// The question whether to create a new ID.
struct QuestionControls
{
    explicit QuestionControls(const TNewIDorNo &question)
        : Label1(control<QLabel>(question, "Label1")),
          OKBtn(control<QPushButton>(question, "OKBtn")),
          CancelBtn(control<QPushButton>(question, "CancelBtn"))
    {
    }

    QLabel *Label1;
    QPushButton *OKBtn;     // はい
    QPushButton *CancelBtn; // いいえ
};

} // namespace queldo::test
