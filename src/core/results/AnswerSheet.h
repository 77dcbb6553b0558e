#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>

class QDateTime;
class QLocale;
class QPainter;

namespace queldo {

/// One line of text on the sheet: its top-left corner in printer dots and its size in points.
struct SheetLine
{
    QString text;
    int pointSize = 14;
    QPoint topLeft;
};

/// The answer sheet of one attempt on one page, in the printer's dots from the top-left of the
/// printable area: four lines on the trainee and the attempt, the picture of the exercise area,
/// and a line for handwritten notes below it.
struct AnswerSheet
{
    std::array<SheetLine, 4> lines;
    QRect picture;
    SheetLine memo;

    /// records: the attempts in the trainee's results file; today: those of them from today.
    /// dpi: the printer's resolution. The sheet was laid out in the dots of a 600-dpi printer;
    /// at any other resolution every position scales with it, so the sheet looks the same.
    static AnswerSheet compose(const QString &userId, const QString &dateTime, int records,
                               int today, int seconds, int pageWidth, QSize pictureSize,
                               int dpi = 600);
    /// The moment of printing as the sheet shows it: the locale's short date and long time.
    static QString dateTimeText(const QDateTime &when, const QLocale &locale);
};

/// Draws one line in the painter's font face at the line's size, its top-left at its point.
void drawSheetLine(QPainter &painter, const SheetLine &line);

} // namespace queldo
