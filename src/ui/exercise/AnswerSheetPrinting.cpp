#include "ui/exercise/AnswerSheetPrinting.h"

#include "core/results/AnswerSheet.h"
#include "core/results/ResultsDate.h"
#include "core/results/ResultsFile.h"

#include <QClipboard>
#include <QDate>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace queldo {

namespace {

// Lets the window draw what changed (the answer window, a message just closed) while printing
// waits, without taking clicks that would change the board in the middle of a printout.
void pauseForDrawing(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

void setUpPrinter(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    dialog.setWindowTitle(QStringLiteral("プリンタ設定"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // Confirming only keeps the choice for later printouts: the button says so, not 印刷.
    for (auto *buttons : dialog.findChildren<QDialogButtonBox *>(Qt::FindDirectChildrenOnly)) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("設定"));
    }
    dialog.exec();
}

void drawAnswerSheet(QPainter &painter, QSize page, const AnswerSheetJob &job, int records,
                     int today, const QString &dateTime)
{
    auto compose = [&](QSize picture) {
        return AnswerSheet::compose(job.userId, dateTime, records, today, job.elapsedSeconds,
                                    page.width(), picture, painter.device()->logicalDpiY());
    };
    QClipboard *clipboard = QGuiApplication::clipboard();
    for (const SheetLine &line : compose({}).lines) {
        // Each line stays on the clipboard for pasting elsewhere, as the picture does.
        clipboard->setText(line.text);
        drawSheetLine(painter, line);
    }
    const QImage picture =
        job.board->grab(QRect(0, 0, job.board->width() - 5, job.board->height())).toImage();
    clipboard->setImage(picture);
    pauseForDrawing(500);
    const AnswerSheet sheet = compose(picture.size());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(sheet.picture, picture);
    clipboard->setText(sheet.memo.text);
    drawSheetLine(painter, sheet.memo);
}

std::optional<PrintOutcome> printAnswerSheet(PagePrinter &printer, const AnswerSheetJob &job)
{
    QPrinter &device = printer.printer();
    job.inform(QStringLiteral("　印刷しています。　"));
    pauseForDrawing(500);
    // Kept on the printer for later printouts, the grade report's included.
    const bool a4 = device.setPageSize(QPageSize(QPageSize::A4)) &&
                    device.pageLayout().pageSize().id() == QPageSize::A4;
    device.setPageOrientation(QPageLayout::Portrait);
    if (!a4) {
        job.inform(QStringLiteral("　用紙サイズをA4に変更できないので印刷できません。　"));
        return std::nullopt;
    }

    // Read before the document begins, so a results file that cannot be read leaves no
    // half-printed sheet behind.
    TodayDate today(QDate::currentDate(), QLocale::system());
    today.written = job.today;
    const ResultsFile::Counts counts = ResultsFile::count(job.resultsPath, today);
    if (!counts.error.isEmpty()) {
        job.warn(counts.error);
        return std::nullopt;
    }

    const QString dateTime =
        AnswerSheet::dateTimeText(QDateTime::currentDateTime(), QLocale::system());
    return printer.print(QStringLiteral("QUELDO"), job.userFolder, QStringLiteral("解答欄"),
                         [&](QPainter &painter, QSize page) {
                             drawAnswerSheet(painter, page, job, counts.records, counts.today,
                                             dateTime);
                         });
}

} // namespace queldo
