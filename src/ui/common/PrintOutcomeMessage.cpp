#include "ui/common/PrintOutcomeMessage.h"

#include "ui/common/PagePrinter.h"

#include <QDir>

namespace queldo {

namespace {

QStringList linesFor(const PrintOutcome &outcome)
{
    if (!outcome.ok())
        return QStringList{QStringLiteral("印刷できませんでした。")}
               << MessageWindow::linesOf(outcome.error);
    return {QStringLiteral("プリンタがないため、PDFファイルとして保存しました。"),
            QStringLiteral("保存先:"), QDir::toNativeSeparators(outcome.pdfPath)};
}

} // namespace

PrintOutcomeMessage::PrintOutcomeMessage(const PrintOutcome &outcome, QWidget *parent)
    // Paths may be long: a smaller font keeps the window on screen.
    : MessageWindow(QStringLiteral("印刷"), linesFor(outcome), 16, QStringLiteral("OK"), parent)
{
    setObjectName(QStringLiteral("PrintOutcomeMessage"));
}

bool PrintOutcomeMessage::needed(const PrintOutcome &outcome)
{
    return !outcome.ok() || !outcome.pdfPath.isEmpty();
}

} // namespace queldo
