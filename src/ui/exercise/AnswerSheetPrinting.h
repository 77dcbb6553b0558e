#pragma once

#include "ui/common/PagePrinter.h"

#include <QSize>
#include <QString>

#include <functional>
#include <optional>

class QPainter;
class QPrinter;
class QWidget;

namespace queldo {

/// Qt's printer dialog on the program's one printer, which it changes only when the trainee
/// confirms. parent: the window it is shown over.
void setUpPrinter(QPrinter &printer, QWidget *parent);

/// The attempt an answer sheet is printed for, and how the exercise window talks to the trainee
/// while it prints.
struct AnswerSheetJob
{
    QString userId;
    int elapsedSeconds = 0;
    /// What the trainee sees below the menu: the answer beside their own karyogram.
    QWidget *board = nullptr;
    QString resultsPath;
    QString userFolder; ///< where a printout to a file goes
    QString today;      ///< today's date as the results file writes it
    std::function<void(const QString &)> inform;
    std::function<void(const QString &)> warn;
};

/// Draws the answer sheet on one page of the given size in device units, putting each item on
/// the clipboard before it is drawn. records and today count the trainee's attempts; dateTime is
/// the moment of printing as the sheet shows it.
void drawAnswerSheet(QPainter &painter, QSize page, const AnswerSheetJob &job, int records,
                     int today, const QString &dateTime);

/// Prints the sheet on A4. Nothing when the trainee was told why nothing was printed.
std::optional<PrintOutcome> printAnswerSheet(PagePrinter &printer, const AnswerSheetJob &job);

} // namespace queldo
