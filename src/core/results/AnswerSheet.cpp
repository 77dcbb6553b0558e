#include "core/results/AnswerSheet.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>

namespace queldo {

namespace {

// The resolution the sheet was laid out at, in the dots of which the positions below are given.
constexpr int LayoutDpi = 600;
// The left margin, and the top of the picture below the four lines.
constexpr int Margin = 100;
constexpr int PictureTop = 1000;

} // namespace

AnswerSheet AnswerSheet::compose(const QString &userId, const QString &dateTime, int records,
                                 int today, int seconds, int pageWidth, QSize pictureSize, int dpi)
{
    const auto dots = [dpi](int laidOut) {
        return int(qint64(laidOut) * (dpi > 0 ? dpi : LayoutDpi) / LayoutDpi);
    };
    const int margin = dots(Margin);
    const int pictureTop = dots(PictureTop);
    AnswerSheet sheet;
    sheet.lines[0] = {userId + QStringLiteral("さん"), 18, {margin, dots(50)}};
    sheet.lines[1] = {dateTime, 14, {margin, dots(PictureTop / 4 + 50)}};
    sheet.lines[2] = {QStringLiteral("%1回目(本日%2回目)").arg(records).arg(today),
                      14,
                      {margin, dots(2 * PictureTop / 4)}};
    sheet.lines[3] = {
        QStringLiteral("解答時間 %1 秒").arg(seconds), 14, {margin, dots(3 * PictureTop / 4)}};

    // The picture keeps its proportions over the width less one margin, and is then drawn one
    // margin narrower still and 50 dots shorter: the sheet has always looked this way.
    const qint64 height = pictureSize.width() > 0 ? qint64(pictureSize.height()) *
                                                        (pageWidth - margin) / pictureSize.width()
                                                  : 0;
    const int h = int(height);
    sheet.picture = QRect(QPoint(margin, pictureTop),
                          QPoint(pageWidth - margin - 1, pictureTop + h - dots(50) - 1));
    sheet.memo = {QStringLiteral("メモ"), 14, {margin, pictureTop + h + dots(50)}};
    return sheet;
}

QString AnswerSheet::dateTimeText(const QDateTime &when, const QLocale &locale)
{
    return locale.toString(when.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(when.time(), QLocale::LongFormat);
}

void drawSheetLine(QPainter &painter, const SheetLine &line)
{
    QFont font = painter.font();
    font.setPointSize(line.pointSize);
    painter.setFont(font);
    painter.drawText(QPoint(line.topLeft.x(), line.topLeft.y() + painter.fontMetrics().ascent()),
                     line.text);
}

} // namespace queldo
