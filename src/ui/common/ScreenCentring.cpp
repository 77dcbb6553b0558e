#include "ui/common/ScreenCentring.h"

#include "core/app/ScreenPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace queldo {

namespace {

// Window managers frame a window shortly after it is mapped; its extents arrive with that.
constexpr int FramingDelayMs = 150;

class CentreOnShow : public QObject
{
public:
    explicit CentreOnShow(QWidget *window) : QObject(window), m_window(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show) {
            centreOnScreen(m_window);
            whenFramed(m_window, centreOnScreen);
        }
        return false;
    }

private:
    QWidget *m_window;
};

} // namespace

QScreen *screenOf(const QWidget *window)
{
    if (QScreen *screen = window->screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

QMargins frameMargins(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return;
    window->move(centredTopLeft(window->frameGeometry().size(), screen->availableGeometry()));
}

void centreOnEveryShow(QWidget *window)
{
    window->installEventFilter(new CentreOnShow(window));
}

void whenFramed(QWidget *window, void (*adjust)(QWidget *))
{
    const QMargins seen = frameMargins(window);
    QPointer<QWidget> guarded(window);
    QTimer::singleShot(FramingDelayMs, window, [guarded, seen, adjust] {
        if (guarded && guarded->isVisible() && frameMargins(guarded) != seen)
            adjust(guarded);
    });
}

} // namespace queldo
