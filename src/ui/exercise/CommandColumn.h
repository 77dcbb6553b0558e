#pragma once

#include <QStringList>
#include <QWidget>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace queldo {

struct BoardLayout;
class ExerciseFlow;
struct LayoutInput;

/// The exercise window's column on the right (`MenuPanel`): the number list, the clock and the
/// six command buttons. The window wires them; this only makes and places them.
class CommandColumn : public QWidget
{
    Q_OBJECT
public:
    explicit CommandColumn(QWidget *parent);

    /// The clock labels' natural sizes, which the layout centres them by.
    void fillClockSizes(LayoutInput &in) const;
    /// The buttons, the clock and the list's choice as the flow has them.
    void showFlow(const ExerciseFlow &flow);
    /// Puts the column and its controls where the layout says.
    void applyLayout(const BoardLayout &l);

    /// The problem numbers the list offers, in order.
    void setNumbers(const QStringList &numbers);
    /// The list's row chosen now, or -1 when no number is chosen.
    int chosenRow() const;
    /// Puts the keyboard on 次の問題, where a fresh start begins.
    void focusNextButton();

signals:
    /// A number was clicked, or chosen with the arrow keys or a press dragged along the list.
    void numberChosen();
    void button1Clicked(); // 採点
    void button2Clicked(); // 次の問題
    void button3Clicked(); // 成績分析
    void button4Clicked(); // スタート / 一時停止 / 再スタート
    void button5Clicked(); // 正解表示
    void button6Clicked(); // 終了

private:
    // Found by their object names from outside.
    QListWidget *ListBox3 = nullptr;
    QFrame *Panel5 = nullptr;
    QLabel *Label57 = nullptr; // "時間:"
    QLabel *Label58 = nullptr; // the seconds
    QLabel *Label1 = nullptr;  // "秒"
    QPushButton *Button2 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button5 = nullptr;
    QPushButton *Button6 = nullptr;
    QPushButton *Button3 = nullptr;
};

} // namespace queldo
