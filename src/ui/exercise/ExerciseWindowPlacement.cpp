#include "ui/exercise/ExerciseWindowPlacement.h"

#include "core/app/ScreenPlacement.h"
#include "ui/common/ScreenCentring.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace queldo {

namespace {

// Window managers frame a window shortly after its state changes.
constexpr int FramingDelayMs = 200;

} // namespace

ExerciseWindowPlacement::ExerciseWindowPlacement(QWidget *window)
    : QObject(window), m_window(window)
{
    window->installEventFilter(this);
    place();
}

void ExerciseWindowPlacement::restoreFrom(const QString &path)
{
    m_remembered = readWindowMemory(path);
    place();
}

void ExerciseWindowPlacement::saveTo(const QString &path) const
{
    writeWindowMemory(path, windowToRemember(m_window->normalGeometry(), m_window->isMaximized(),
                                             screenOf(m_window)->geometry().size()));
}

void ExerciseWindowPlacement::place()
{
    QScreen *screen = screenOf(m_window);
    if (m_remembered) {
        if (QScreen *there = QGuiApplication::screenAt(m_remembered->geometry.center()))
            screen = there;
    }
    if (!screen)
        return;
    const WindowStart start =
        exerciseWindowStart(screen->geometry().size(), screen->availableGeometry(),
                            frameMargins(m_window), m_remembered);
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMaximized);
    m_window->setGeometry(start.client);
    if (start.maximised)
        m_window->setWindowState(m_window->windowState() | Qt::WindowMaximized);
}

bool ExerciseWindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    // Placed before the window manager framed it: placed again so that the frame fits too.
    if (watched == m_window && event->type() == QEvent::Show && !m_shownBefore) {
        m_shownBefore = true;
        if (!m_window->isMaximized()) {
            whenFramed(m_window, [](QWidget *window) {
                if (auto *placement = window->findChild<ExerciseWindowPlacement *>(
                        QString(), Qt::FindDirectChildrenOnly))
                    placement->place();
            });
        }
    }
    // Maximised before the window manager framed it, the window was given a normal geometry
    // that left no room for the frame; on leaving the maximised state it is moved in whole.
    if (watched == m_window && event->type() == QEvent::WindowStateChange &&
        !m_window->isMaximized() && !m_window->isMinimized())
        QTimer::singleShot(FramingDelayMs, this, &ExerciseWindowPlacement::keepWholeOnScreen);
    return false;
}

void ExerciseWindowPlacement::keepWholeOnScreen()
{
    const QScreen *screen = screenOf(m_window);
    if (!screen || m_window->isMaximized() || !m_window->isVisible())
        return;
    const QRect available = screen->availableGeometry();
    const QRect outer = m_window->frameGeometry();
    if (available.contains(outer))
        return;
    m_window->setGeometry(fittedInto(outer, available).marginsRemoved(frameMargins(m_window)));
}

} // namespace queldo
