#include "ui/results/ReportLabel.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace queldo {

ReportLabel::ReportLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

int ReportLabel::lineHeight() const
{
    return QFontInfo(font()).pixelSize();
}

QSize ReportLabel::sizeHint() const
{
    const QStringList lines = text().split(QLatin1Char('\n'));
    const QFontMetrics metrics(font());
    int width = 0;
    for (const QString &line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const QMargins margins = contentsMargins();
    return QSize(width + margins.left() + margins.right(),
                 int(lines.size()) * lineHeight() + margins.top() + margins.bottom());
}

void ReportLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const QFontMetrics metrics(font());
    // The baseline sits where the face puts it within its em.
    const int baseline = lineHeight() * metrics.ascent() / std::max(1, metrics.height());
    const QRect area = contentsRect();
    int top = area.top();
    for (const QString &line : text().split(QLatin1Char('\n'))) {
        if (top >= area.bottom())
            break;
        painter.drawText(area.left(), top + baseline, line);
        top += lineHeight();
    }
}

} // namespace queldo
