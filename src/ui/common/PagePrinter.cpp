#include "ui/common/PagePrinter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace queldo {

namespace {

// Printer units are dots; a PDF page gets the resolution of a common office printer, so the
// margins drawn in dots come out the size they would on paper.
constexpr int PdfResolution = 600;

} // namespace

PagePrinter::PagePrinter(Destination destination) : m_destination(destination) {}

QPrinter &PagePrinter::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

bool PagePrinter::hasPrinter()
{
    // Without any installed printer Qt sets the printer up for PDF output with no file name.
    return m_destination == Destination::CurrentPrinter &&
           printer().outputFormat() == QPrinter::NativeFormat && !printer().printerName().isEmpty();
}

PrintOutcome PagePrinter::print(const QString &jobTitle, const QString &pdfFolder,
                                const QString &stem, const DrawPage &draw)
{
    if (!hasPrinter())
        return printToPdf(jobTitle, pdfFolder, stem, draw);

    printer().setDocName(jobTitle);
    QPainter painter;
    if (!painter.begin(&printer()))
        return {QStringLiteral("プリンタ「%1」で印刷を始められませんでした。")
                    .arg(printer().printerName()),
                {}};
    draw(painter, QSize(printer().width(), printer().height()));
    if (!painter.end() || printer().printerState() == QPrinter::Error)
        return {
            QStringLiteral("プリンタ「%1」で印刷できませんでした。").arg(printer().printerName()),
            {}};
    return {};
}

PrintOutcome PagePrinter::printToPdf(const QString &jobTitle, const QString &pdfFolder,
                                     const QString &stem, const DrawPage &draw)
{
    if (!QDir().mkpath(pdfFolder))
        return {QStringLiteral("PDFファイルの保存先を作れませんでした。\n%1")
                    .arg(QDir::toNativeSeparators(pdfFolder)),
                {}};
    const QString path = pdfFileName(pdfFolder, stem, QDateTime::currentDateTime());

    // Written aside and renamed into place, so a failure never leaves half a file behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {QStringLiteral("PDFファイルを保存できませんでした。\n%1\n%2")
                    .arg(QDir::toNativeSeparators(path), file.errorString()),
                {}};
    {
        QPdfWriter writer(&file);
        writer.setTitle(jobTitle);
        writer.setCreator(QStringLiteral("QUELDO"));
        writer.setResolution(PdfResolution);
        writer.setPageLayout(printer().pageLayout());
        QPainter painter;
        if (!painter.begin(&writer))
            return {QStringLiteral("PDFファイルを作れませんでした。\n%1")
                        .arg(QDir::toNativeSeparators(path)),
                    {}};
        draw(painter, QSize(writer.width(), writer.height()));
        painter.end();
    }
    if (!file.commit())
        return {QStringLiteral("PDFファイルを保存できませんでした。\n%1\n%2")
                    .arg(QDir::toNativeSeparators(path), file.errorString()),
                {}};
    return {{}, path};
}

QString PagePrinter::pdfFileName(const QString &folder, const QString &stem, const QDateTime &when)
{
    const QString base = stem + when.toString(QStringLiteral("_yyyyMMdd_HHmmss"));
    const QDir dir(folder);
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(base + QStringLiteral("_%1.pdf").arg(n));
    return path;
}

} // namespace queldo
