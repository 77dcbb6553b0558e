#pragma once

#include <QPrinter>
#include <QString>

#include <functional>
#include <memory>

class QDateTime;
class QPainter;

namespace queldo {

/// Where a printout went.
struct PrintOutcome
{
    QString error;   ///< empty when the page was printed or saved
    QString pdfPath; ///< set when the page was saved as a PDF file instead of printed
    bool ok() const { return error.isEmpty(); }
};

/// The program's printer: printouts go to the current printer without a print dialog. Many
/// trainees have no printer at all; their printouts are saved as a PDF file in their own folder
/// instead of failing, and the caller tells them where.
class PagePrinter
{
public:
    enum class Destination {
        CurrentPrinter, ///< the current printer when one is installed, else a PDF file
        PdfOnly,        ///< always a PDF file (tests, and machines that must not print)
    };
    explicit PagePrinter(Destination destination = Destination::CurrentPrinter);

    /// The current printer. A printer setup dialog given this object changes it for every later
    /// printout, paper size and orientation included; PDF files take its page layout too.
    QPrinter &printer();
    /// Whether printouts go to a real printer rather than a PDF file.
    bool hasPrinter();

    /// Draws one page: the painter is open on the page, whose printable area starts at (0, 0)
    /// and is pageSize device units large.
    using DrawPage = std::function<void(QPainter &painter, QSize pageSize)>;
    /// Prints one document titled jobTitle. Without a printer the page is written to a new PDF
    /// file in pdfFolder (made if missing), named by pdfFileName() with the current time.
    PrintOutcome print(const QString &jobTitle, const QString &pdfFolder, const QString &stem,
                       const DrawPage &draw);

    /// stem + "_yyyyMMdd_HHmmss.pdf" in folder; "_2", "_3" ... before ".pdf" when that name is
    /// taken, so no earlier printout is ever overwritten.
    static QString pdfFileName(const QString &folder, const QString &stem, const QDateTime &when);

private:
    PrintOutcome printToPdf(const QString &jobTitle, const QString &pdfFolder, const QString &stem,
                            const DrawPage &draw);

    Destination m_destination;
    // Set up at the first printout: asking the system for its printers takes long enough to
    // hold up the login window.
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace queldo
