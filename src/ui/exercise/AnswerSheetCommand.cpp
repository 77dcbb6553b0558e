#include "ui/exercise/AnswerSheetCommand.h"

#include "ui/common/PrintOutcomeMessage.h"
#include "ui/exercise/AnswerSheetPrinting.h"
#include "ui/exercise/TForm1.h"

#include <QMessageBox>

namespace queldo {

void printAnswerSheetFrom(TForm1 &window, PagePrinter *printer, bool problemChosen)
{
    if (!problemChosen) {
        QMessageBox::information(&window, QStringLiteral("QUELDO"),
                                 QStringLiteral("　問題を選択していないので印刷できません。　"));
        return;
    }
    if (!printer)
        return;
    window.showAnswerWindow();
    const std::optional<PrintOutcome> outcome = printAnswerSheet(*printer, window.answerSheetJob());
    window.closeAnswerWindow();
    if (outcome && PrintOutcomeMessage::needed(*outcome))
        PrintOutcomeMessage(*outcome, &window).exec();
}

} // namespace queldo
