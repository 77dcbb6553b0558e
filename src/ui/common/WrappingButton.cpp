#include "ui/common/WrappingButton.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace queldo {

namespace {

constexpr int SmallestPixelSize = 6;
constexpr int CaptionMargin = 3;

QStringList wrap(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QChar c : paragraph) {
            if (!line.isEmpty() && metrics.horizontalAdvance(line + c) > width) {
                lines << line;
                line.clear();
            }
            line += c;
        }
        lines << line;
    }
    return lines;
}

} // namespace

FittedCaption fitCaption(const QString &text, const QFont &font, QSize box)
{
    QFont candidate = font;
    int pixelSize = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
    for (;; --pixelSize) {
        candidate.setPixelSize(pixelSize);
        const QFontMetrics metrics(candidate);
        const QStringList lines = wrap(text, metrics, box.width());
        bool fits = lines.size() * metrics.height() <= box.height();
        for (const QString &line : lines)
            fits = fits && metrics.horizontalAdvance(line) <= box.width();
        if (fits || pixelSize <= SmallestPixelSize)
            return {candidate, lines};
    }
}

WrappingButton::WrappingButton(QWidget *parent) : QPushButton(parent) {}

QRect WrappingButton::captionRect() const
{
    return rect().adjusted(CaptionMargin, CaptionMargin, -CaptionMargin, -CaptionMargin);
}

FittedCaption WrappingButton::fittedCaption() const
{
    return fitCaption(text(), font(), captionRect().size());
}

void WrappingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const FittedCaption caption = fittedCaption();
    painter.setFont(caption.font);
    const QFontMetrics metrics(caption.font);
    const QRect box = captionRect();
    int y = box.top() + (box.height() - int(caption.lines.size()) * metrics.height()) / 2;
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    for (const QString &line : caption.lines) {
        painter.drawText(QRect(box.left(), y, box.width(), metrics.height()),
                         Qt::AlignHCenter | Qt::AlignVCenter, line);
        y += metrics.height();
    }
}

} // namespace queldo
