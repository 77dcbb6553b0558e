#include "ui/exercise/ProblemListInput.h"

#include <QListWidget>
#include <QMouseEvent>

#include <utility>

namespace queldo {

ProblemListInput::ProblemListInput(QListWidget *list) : QObject(list), m_list(list)
{
    // Only a key moves the choice here: the list also moves its current row by itself, when it
    // gets the focus.
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    connect(list, &QListWidget::currentRowChanged, this, [this] {
        if (m_keyDown)
            emit chosen();
    });
}

bool ProblemListInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport())
        followPress(event);
    if (watched == m_list) {
        if (event->type() == QEvent::KeyPress)
            m_keyDown = true;
        else if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut)
            m_keyDown = false;
    }
    return false;
}

void ProblemListInput::followPress(QEvent *event)
{
    // A press on one row and a release on another (the pointer dragged along the list) moves the
    // highlight without a click. The row left highlighted is dealt, as a click would deal it, so
    // the list never shows one problem while the board holds another.
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (!press && event->type() != QEvent::MouseButtonRelease)
        return;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return;
    QListWidgetItem *under = m_list->itemAt(mouse->position().toPoint());
    if (press) {
        m_pressed = under;
        return;
    }
    QListWidgetItem *pressed = std::exchange(m_pressed, nullptr);
    QListWidgetItem *current = m_list->currentItem();
    if (pressed && under != pressed && current && current->isSelected())
        emit chosen();
}

} // namespace queldo
