#include "ui/board/WindowWheel.h"

#include "ui/board/BoardView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

namespace queldo {

WindowWheel::WindowWheel(QWidget *window, BoardView *board)
    : QObject(window), m_window(window), m_board(board)
{
    QCoreApplication::instance()->installEventFilter(this);
}

WindowWheel::~WindowWheel()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool WindowWheel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == m_window) {
            // Only the vertical wheel turns; a tilt or a horizontal wheel does nothing.
            if (const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y(); delta != 0)
                m_board->FormMouseWheel(delta);
            return true;
        }
    }
    if (event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Control)
        m_board->hideLoupe();
    return false;
}

} // namespace queldo
