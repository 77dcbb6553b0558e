#pragma once

#include "Controls.h"
#include "ui/settings/TPagesDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

namespace queldo::test {

/// The settings dialog's controls, found by the names the dialog gives them.
struct SettingsControls
{
    explicit SettingsControls(const TPagesDlg &pages)
        : PageControl1(control<QTabWidget>(pages, "PageControl1")),
          Cheat(control<QCheckBox>(pages, "Cheat")), Label1(control<QLabel>(pages, "Label1")),
          AnswerMode(control<QCheckBox>(pages, "AnswerMode")),
          Label2(control<QLabel>(pages, "Label2")), Label4(control<QLabel>(pages, "Label4")),
          Label3(control<QLabel>(pages, "Label3")), Label5(control<QLabel>(pages, "Label5")),
          Label6(control<QLabel>(pages, "Label6")), TrackBar1(control<QSlider>(pages, "TrackBar1")),
          Button1(control<QPushButton>(pages, "Button1")), Image2(control<QLabel>(pages, "Image2")),
          Label8(control<QLabel>(pages, "Label8")), Label7(control<QLabel>(pages, "Label7")),
          Label9(control<QLabel>(pages, "Label9")), Password(control<QLineEdit>(pages, "Password")),
          Label10(control<QLabel>(pages, "Label10")),
          rePassword(control<QLineEdit>(pages, "rePassword")),
          Button3(control<QPushButton>(pages, "Button3")),
          Label11(control<QLabel>(pages, "Label11")), OKBtn(control<QPushButton>(pages, "OKBtn"))
    {
    }

    QTabWidget *PageControl1;
    QCheckBox *Cheat; // 参考モード
    QLabel *Label1;
    QCheckBox *AnswerMode; // 整列モード
    QLabel *Label2;
    QLabel *Label4; // the chosen size, "1.0倍"
    QLabel *Label3; // 倍率
    QLabel *Label5; // 0.7倍
    QLabel *Label6; // 1.3倍
    QSlider *TrackBar1;
    QPushButton *Button1; // 最適サイズ(1.0倍)
    QLabel *Image2;       // the size preview
    QLabel *Label8;       // says when the sample cannot be read
    QLabel *Label7;
    QLabel *Label9;
    QLineEdit *Password;
    QLabel *Label10;
    QLineEdit *rePassword;
    QPushButton *Button3; // パスワード変更
    QLabel *Label11;      // confirms a password change
    QPushButton *OKBtn;
};

} // namespace queldo::test
