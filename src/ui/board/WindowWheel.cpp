#include "ui/board/WindowWheel.h"

#include "ui/board/BoardView.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

namespace queldo {

WindowWheel::WindowWheel(QWidget *window, BoardView *board)
    : QObject(window), m_window(window), m_board(board)
{
    QApplication::instance()->installEventFilter(this);
}

WindowWheel::~WindowWheel()
{
    QApplication::instance()->removeEventFilter(this);
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
    // With the loupe up, Ctrl and the arrow keys set its brightness (up, down) and contrast
    // (right, left).
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->modifiers() & Qt::ControlModifier) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const int brightness = key == Qt::Key_Up ? 1 : key == Qt::Key_Down ? -1 : 0;
        const int contrast = key == Qt::Key_Right ? 1 : key == Qt::Key_Left ? -1 : 0;
        if ((brightness || contrast) && m_board->adjustLoupe(brightness, contrast))
            return true;
    }
    // Ctrl pressed over a piece or a place shows it magnified at once, the pointer still or a
    // piece in hand.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Control &&
        !static_cast<QKeyEvent *>(event)->isAutoRepeat()) {
        const QPoint at = QCursor::pos();
        if (QWidget *under = QApplication::widgetAt(at); under && under->window() == m_window)
            m_board->showLoupeUnder(at);
    }
    return false;
}

} // namespace queldo
