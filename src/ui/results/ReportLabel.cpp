#include "ui/results/ReportLabel.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace queldo {

namespace {

// Where a report line breaks best: after a comma that separates its figures.
bool breaksAfter(QChar c)
{
    return c == QLatin1Char(',') || c == QChar(0x3001) || c == QChar(0xFF0C);
}

// The longest head of line that fits width, ending after a comma where one lets it fit; never
// empty, so that every call makes progress.
qsizetype fittingHead(const QString &line, const QFontMetrics &metrics, int width)
{
    qsizetype fits = 1;
    while (fits < line.size() && metrics.horizontalAdvance(line.left(fits + 1)) <= width)
        ++fits;
    for (qsizetype at = fits; at > 0; --at) {
        if (breaksAfter(line.at(at - 1)))
            return at;
    }
    return fits;
}

} // namespace

ReportLabel::ReportLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

int ReportLabel::lineHeight() const
{
    return QFontInfo(font()).pixelSize();
}

void ReportLabel::setWrapWidth(int width)
{
    m_wrapWidth = width;
    updateGeometry();
    update();
}

QStringList ReportLabel::lines() const
{
    const QStringList given = text().split(QLatin1Char('\n'));
    if (m_wrapWidth <= 0)
        return given;
    const QFontMetrics metrics(font());
    // A continued line is indented, so that it reads as part of the one above.
    const QString indent = QStringLiteral("\u3000");
    QStringList drawn;
    for (QString line : given) {
        bool continued = false;
        while (metrics.horizontalAdvance(line) > m_wrapWidth) {
            const qsizetype head = fittingHead(line, metrics, m_wrapWidth);
            drawn << line.left(head);
            line = indent + line.mid(head);
            if (continued && head <= indent.size())
                break; // not even the indent and one character fit: stop breaking
            continued = true;
        }
        drawn << line;
    }
    return drawn;
}

QSize ReportLabel::sizeHint() const
{
    const QStringList lines = this->lines();
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
    for (const QString &line : lines()) {
        if (top >= area.bottom())
            break;
        painter.drawText(area.left(), top + baseline, line);
        top += lineHeight();
    }
}

} // namespace queldo
