#include "ui/common/WindowPicture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace queldo {

namespace {

constexpr int Border = 3;
constexpr int CaptionHeight = 22;

// The window system's frame, copied from the screen, with the window's contents drawn into it.
// Null when the window system gives no caption bar or the screen cannot be read.
QImage screenFramedPicture(QWidget *window, const QImage &contents)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    // A caption bar makes the frame deeper at the top than at the bottom; equal margins are only
    // a border (the offscreen platform's) and no margins mean no window manager.
    const int topMargin = inner.top() - frame.top();
    const int bottomMargin = frame.bottom() - inner.bottom();
    QScreen *screen = window->screen();
    if (topMargin <= bottomMargin || !screen ||
        QGuiApplication::platformName() == QLatin1String("offscreen"))
        return {};
    const QPoint onScreen = frame.topLeft() - screen->geometry().topLeft();
    const QPixmap grabbed =
        screen->grabWindow(0, onScreen.x(), onScreen.y(), frame.width(), frame.height());
    if (grabbed.isNull() || grabbed.size() != frame.size())
        return {};
    QImage picture = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.drawImage(inner.topLeft() - frame.topLeft(), contents);
    return picture;
}

} // namespace

QImage framedPicture(const QImage &contents, const QString &title)
{
    const QSize size(contents.width() + 2 * Border, contents.height() + 2 * Border + CaptionHeight);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(0xD4D0C8));
    QPainter painter(&picture);

    // A raised border: light on the top and left, dark on the bottom and right.
    const QRect outer(QPoint(0, 0), size);
    painter.setPen(QColor(0xFFFFFF));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(QColor(0x404040));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());

    const QRect caption(Border, Border, contents.width(), CaptionHeight - 1);
    QLinearGradient shade(caption.topLeft(), caption.topRight());
    shade.setColorAt(0, QColor(0x0A246A));
    shade.setColorAt(1, QColor(0xA6CAF0));
    painter.fillRect(caption, shade);

    QFont font = QGuiApplication::font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(caption.adjusted(6, 0, -30, 0), Qt::AlignLeft | Qt::AlignVCenter, title);

    // The close box.
    const QRect box(caption.right() - 19, caption.top() + 3, 16, 14);
    painter.fillRect(box, QColor(0xD4D0C8));
    painter.setPen(QColor(0x404040));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawLine(box.topLeft() + QPointF(4.5, 3.5), box.bottomRight() - QPointF(4.5, 3.5));
    painter.drawLine(box.topRight() + QPointF(-4.5, 3.5), box.bottomLeft() + QPointF(4.5, -3.5));
    painter.setRenderHint(QPainter::Antialiasing, false);

    painter.drawImage(Border, Border + CaptionHeight, contents);
    return picture;
}

QImage windowPicture(QWidget *window)
{
    const QImage contents = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage onScreen = screenFramedPicture(window, contents);
    if (!onScreen.isNull())
        return onScreen;
    return framedPicture(contents, window->windowTitle());
}

} // namespace queldo
