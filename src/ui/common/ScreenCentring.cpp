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

// Window managers frame a window some time after it is mapped, its extents arriving with the
// frame: within a tenth of a second on an idle machine, much later on a busy one. So the frame is
// looked for every few milliseconds, for as long as a busy machine may take.
constexpr int FramingPollMs = 25;
constexpr int FramingWaitMs = 3000;

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
    auto *poll = new QTimer(window);
    poll->setInterval(FramingPollMs);
    QObject::connect(
        poll, &QTimer::timeout, poll,
        [guarded, seen, adjust, poll, polls = FramingWaitMs / FramingPollMs]() mutable {
            const bool framed = guarded && frameMargins(guarded) != seen;
            if (framed || !guarded || !guarded->isVisible() || --polls <= 0) {
                poll->stop();
                poll->deleteLater();
            }
            if (framed && guarded->isVisible())
                adjust(guarded);
        });
    poll->start();
}

} // namespace queldo
