#pragma once

namespace queldo {

class PagePrinter;
class TForm1;

/// 解答欄を印刷 from the exercise window's menu. The answer is shown over the spread for as long
/// as the sheet is drawn, since the sheet pictures what the trainee sees; then the trainee is
/// told how printing went. Nothing is printed while no problem is chosen, nor without a printer.
void printAnswerSheetFrom(TForm1 &window, PagePrinter *printer, bool problemChosen);

} // namespace queldo
