#include "ui/exercise/CommandColumn.h"

#include "core/board/BoardLayout.h"
#include "core/exercise/ExerciseFlow.h"
#include "ui/common/WrappingButton.h"
#include "ui/exercise/ProblemListInput.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>

#include <algorithm>

namespace queldo {

CommandColumn::CommandColumn(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MenuPanel"));
    ListBox3 = new QListWidget(this);
    ListBox3->setObjectName(QStringLiteral("ListBox3"));
    connect(ListBox3, &QListWidget::itemClicked, this, &CommandColumn::numberChosen);
    // The arrow keys, and a press dragged along the list, choose a problem as a click does.
    connect(new ProblemListInput(ListBox3), &ProblemListInput::chosen, this,
            &CommandColumn::numberChosen);
    Panel5 = new QFrame(this);
    Panel5->setFrameShape(QFrame::Panel);
    Panel5->setFrameShadow(QFrame::Raised);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Label57 = new QLabel(Panel5);
    Label57->setObjectName(QStringLiteral("Label57"));
    Label58 = new QLabel(Panel5);
    Label58->setObjectName(QStringLiteral("Label58"));
    Label58->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1 = new QLabel(Panel5);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont clockFont = Panel5->font();
    clockFont.setPointSize(clockFont.pointSize() + 3);
    clockFont.setBold(true);
    Panel5->setFont(clockFont);

    // The scoring captions run to three lines in a button a fifth of the column wide.
    auto makeButton = [this](const char *name) {
        auto *button = new WrappingButton(this);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    Button2 = makeButton("Button2");
    Button4 = makeButton("Button4");
    Button1 = makeButton("Button1");
    Button5 = makeButton("Button5");
    Button6 = makeButton("Button6");
    Button3 = makeButton("Button3");
    connect(Button1, &QPushButton::clicked, this, &CommandColumn::button1Clicked);
    connect(Button2, &QPushButton::clicked, this, &CommandColumn::button2Clicked);
    connect(Button3, &QPushButton::clicked, this, &CommandColumn::button3Clicked);
    connect(Button4, &QPushButton::clicked, this, &CommandColumn::button4Clicked);
    connect(Button5, &QPushButton::clicked, this, &CommandColumn::button5Clicked);
    connect(Button6, &QPushButton::clicked, this, &CommandColumn::button6Clicked);

    // Enter presses the focused button, or 次の問題, the window's default button.
    auto *enter = new QShortcut(QKeySequence(Qt::Key_Return), this);
    connect(enter, &QShortcut::activated, this, [this] {
        if (auto *button = qobject_cast<QPushButton *>(QApplication::focusWidget());
            button && button->isEnabled())
            button->click();
        else if (Button2->isEnabled())
            Button2->click();
    });
}

void CommandColumn::setNumbers(const QStringList &numbers)
{
    ListBox3->clear();
    ListBox3->addItems(numbers);
}

int CommandColumn::chosenRow() const
{
    const QListWidgetItem *chosen = ListBox3->currentItem();
    return chosen && chosen->isSelected() ? ListBox3->currentRow() : -1;
}

void CommandColumn::focusNextButton()
{
    Button2->setFocus();
}

void CommandColumn::showFlow(const ExerciseFlow &flow)
{
    auto apply = [](QPushButton *button, const ButtonState &state) {
        button->setEnabled(state.enabled);
        button->setText(state.caption);
    };
    apply(Button1, flow.button1);
    apply(Button2, flow.button2);
    apply(Button3, flow.button3);
    apply(Button4, flow.button4);
    apply(Button5, flow.button5);
    apply(Button6, flow.button6);
    Label57->setText(flow.label57);
    Label57->adjustSize();
    Label58->setText(flow.label58);
    Label1->setText(flow.label1);
    // Showing the choice is not making one: the list's own signals stay quiet.
    const QSignalBlocker listBlocker(ListBox3);
    if (flow.listSelection < 0)
        ListBox3->clearSelection();
    else
        ListBox3->setCurrentRow(flow.listSelection);
}

void CommandColumn::fillClockSizes(LayoutInput &in) const
{
    in.clockCaptionSize = Label57->sizeHint();
    in.secondsSize = QSize(std::max(Label58->sizeHint().width(), 60), Label58->sizeHint().height());
    in.unitSize = Label1->sizeHint();
}

void CommandColumn::applyLayout(const BoardLayout &l)
{
    setGeometry(l.menuPanel);
    ListBox3->setGeometry(l.listBox3);
    Panel5->setGeometry(l.panel5);
    Button2->setGeometry(l.button2);
    Button4->setGeometry(l.button4);
    Button1->setGeometry(l.button1);
    Button5->setGeometry(l.button5);
    Button6->setGeometry(l.button6);
    Button3->setGeometry(l.button3);
    Label57->setGeometry(l.label57);
    Label58->setGeometry(l.label58);
    Label1->setGeometry(l.label1);
}

} // namespace queldo
