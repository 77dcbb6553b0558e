#pragma once

#include "Controls.h"
#include "ui/board/BoardView.h"
#include "ui/exercise/TForm1.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace queldo::test {

/// The exercise window's controls, found by the names the window gives them, as a trainee's
/// clicks and eyes reach them.
struct ExerciseControls
{
    explicit ExerciseControls(const TForm1 &form)
        : InOutPanel(control<BoardView>(form, "InOutPanel")),
          ListBox3(control<QListWidget>(form, "ListBox3")),
          Label57(control<QLabel>(form, "Label57")), Label58(control<QLabel>(form, "Label58")),
          Label1(control<QLabel>(form, "Label1")), Button1(control<QPushButton>(form, "Button1")),
          Button2(control<QPushButton>(form, "Button2")),
          Button3(control<QPushButton>(form, "Button3")),
          Button4(control<QPushButton>(form, "Button4")),
          Button5(control<QPushButton>(form, "Button5")),
          Button6(control<QPushButton>(form, "Button6")), Timer1(control<QTimer>(form, "Timer1")),
          New1(control<QAction>(form, "New1")), SaveAs1(control<QAction>(form, "SaveAs1")),
          N4(control<QAction>(form, "N4")), N3(control<QAction>(form, "N3")),
          N1(control<QAction>(form, "N1")), Setting1(control<QAction>(form, "Setting1")),
          Contents1(control<QAction>(form, "Contents1"))
    {
    }

    BoardView *InOutPanel;
    QListWidget *ListBox3;
    QLabel *Label57;
    QLabel *Label58;
    QLabel *Label1;
    QPushButton *Button1; // 採点
    QPushButton *Button2; // 次の問題
    QPushButton *Button3; // 成績分析
    QPushButton *Button4; // スタート / 一時停止 / 再スタート
    QPushButton *Button5; // 正解表示
    QPushButton *Button6; // 終了
    QTimer *Timer1;
    QAction *New1;      // リセット
    QAction *SaveAs1;   // 成績分析
    QAction *N4;        // プリンタ設定...
    QAction *N3;        // 解答欄を印刷(A4のみ)
    QAction *N1;        // 参考モード
    QAction *Setting1;  // 設定
    QAction *Contents1; // ヘルプ(&C)
};

} // namespace queldo::test
