#pragma once

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
        : InOutPanel(find<BoardView>(form, "InOutPanel")),
          ListBox3(find<QListWidget>(form, "ListBox3")), Label57(find<QLabel>(form, "Label57")),
          Label58(find<QLabel>(form, "Label58")), Label1(find<QLabel>(form, "Label1")),
          Button1(find<QPushButton>(form, "Button1")), Button2(find<QPushButton>(form, "Button2")),
          Button3(find<QPushButton>(form, "Button3")), Button4(find<QPushButton>(form, "Button4")),
          Button5(find<QPushButton>(form, "Button5")), Button6(find<QPushButton>(form, "Button6")),
          Timer1(find<QTimer>(form, "Timer1")), New1(find<QAction>(form, "New1")),
          SaveAs1(find<QAction>(form, "SaveAs1")), N4(find<QAction>(form, "N4")),
          N3(find<QAction>(form, "N3")), N1(find<QAction>(form, "N1")),
          Setting1(find<QAction>(form, "Setting1")), Contents1(find<QAction>(form, "Contents1"))
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

private:
    template <typename T> static T *find(const TForm1 &form, const char *name)
    {
        T *found = form.findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("the exercise window has no %s", name);
        return found;
    }
};

} // namespace queldo::test
