#include "ExerciseFixture.h"
#include "ModalAnswer.h"
#include "RecordingPaintDevice.h"
#include "core/results/ResultsFile.h"
#include "ui/common/PagePrinter.h"
#include "ui/common/QtTranslations.h"
#include "ui/exercise/AnswerSheetPrinting.h"

#include <QAction>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QtTest>

#include <optional>

using namespace queldo;
using namespace queldo::test;

namespace {

/// The exercise window with the program's printer, which saves PDF files: no printer here.
struct PrintFixture : ExerciseFixture
{
    PagePrinter printer{PagePrinter::Destination::PdfOnly};
    PrintFixture() { form->setPrinter(&printer); }

    /// Five attempts, two of them today (2026/12/10).
    void fiveRecordsTwoToday()
    {
        const QStringList dates{"2026/12/01", "2026/12/09", "2026/12/10", "2026/11/30",
                                "2026/12/10"};
        std::array<int, 46> codes{};
        codes.fill(1);
        QByteArray bytes;
        for (int i = 0; i < dates.size(); ++i)
            bytes +=
                (ResultsFile::recordLine(i, dates[i], 1, codes, 100 + i) + QStringLiteral("\r\n"))
                    .toLatin1();
        QFile file(dir.filePath(QStringLiteral("Result/u/u.kek")));
        // After the header the fixture wrote.
        QVERIFY(file.open(QIODevice::Append));
        file.write(bytes);
    }
    QStringList savedSheets() const
    {
        return QDir(dir.filePath(QStringLiteral("Result/u")))
            .entryList({QStringLiteral("*.pdf")}, QDir::Files);
    }
};

/// Every change of the clipboard: its text, or "<picture>".
struct ClipboardLog
{
    QStringList changes;
    QMetaObject::Connection connection;
    ClipboardLog()
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        connection = QObject::connect(clipboard, &QClipboard::dataChanged, [this, clipboard] {
            const QMimeData *data = clipboard->mimeData();
            changes << (data->hasImage() ? QStringLiteral("<picture>") : data->text());
        });
    }
    ~ClipboardLog() { QObject::disconnect(connection); }
};

} // namespace

class TestAnswerSheetPrint : public QObject
{
    Q_OBJECT
private slots:
    void nothingSelectedPrintsNothing_data()
    {
        QTest::addColumn<QString>("before");
        QTest::newRow("nothing chosen yet") << QString();
        QTest::newRow("after a reset") << QStringLiteral("reset");
        QTest::newRow("after 終了") << QStringLiteral("end");
    }
    void nothingSelectedPrintsNothing()
    {
        QFETCH(QString, before);
        PrintFixture f;
        if (!before.isEmpty()) {
            if (before == QLatin1String("reset")) {
                f.started(0);
                f.ui().New1->trigger();
            } else {
                f.scored(0);
                f.showAnswer();
                QVERIFY(f.ui().Button6->isEnabled());
                QTest::mouseClick(f.ui().Button6, Qt::LeftButton);
            }
        }
        ModalAnswer answer(ModalAnswer::defaultButton());
        f.ui().N3->trigger();
        QCOMPARE(answer.lines,
                 QStringList{QStringLiteral("　問題を選択していないので印刷できません。　")});
        QVERIFY(f.savedSheets().isEmpty());
        QVERIFY(!f.answer.isVisible());
    }

    void firstProblemPrintedToPdfWithTheAnswerShownMeanwhile()
    {
        PrintFixture f;
        f.fiveRecordsTwoToday();
        // Another paper and orientation, as a printer setup may have left them.
        f.printer.printer().setPageSize(QPageSize(QPageSize::Letter));
        f.printer.printer().setPageOrientation(QPageLayout::Landscape);
        f.clickList(0);
        QCOMPARE(f.form->currentProblemName().isEmpty(), false);

        ClipboardLog clipboard;
        bool answerShownWhilePrinting = false;
        QStringList printingMessage;
        std::optional<ModalAnswer> outcome;
        ModalAnswer printing([&](QWidget *modal) {
            answerShownWhilePrinting =
                f.answer.isVisible() && f.answer.parentWidget() == f.ui().InOutPanel->spread();
            outcome.emplace(ModalAnswer::click("Button1"));
            ModalAnswer::defaultButton()(modal);
        });
        f.ui().N3->trigger();

        QCOMPARE(printing.lines, QStringList{QStringLiteral("　印刷しています。　")});
        QVERIFY(answerShownWhilePrinting);
        QVERIFY(!f.answer.isVisible());

        const QStringList saved = f.savedSheets();
        QCOMPARE(saved.size(), 1);
        QVERIFY(saved.first().startsWith(QStringLiteral("解答欄_")));
        QVERIFY(outcome);
        QCOMPARE(outcome->className, QStringLiteral("queldo::PrintOutcomeMessage"));
        QVERIFY(outcome->lines.join(u'\n').contains(
            QDir::toNativeSeparators(f.dir.filePath(QStringLiteral("Result/u/") + saved.first()))));
        QFile pdf(f.dir.filePath(QStringLiteral("Result/u/") + saved.first()));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page "),
                 1);

        QCOMPARE(clipboard.changes.size(), 6);
        QCOMPARE(clipboard.changes[0], QStringLiteral("uさん"));
        QVERIFY(!clipboard.changes[1].isEmpty());
        QCOMPARE(clipboard.changes[2], QStringLiteral("5回目(本日2回目)"));
        QCOMPARE(clipboard.changes[3], QStringLiteral("解答時間 0 秒"));
        QCOMPARE(clipboard.changes[4], QStringLiteral("<picture>"));
        QCOMPARE(clipboard.changes[5], QStringLiteral("メモ"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("メモ"));

        // Kept for later printouts.
        const QPageLayout layout = f.printer.printer().pageLayout();
        QCOMPARE(layout.pageSize().id(), QPageSize::A4);
        QCOMPARE(layout.orientation(), QPageLayout::Portrait);
    }

    void pageContent_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QSize>("page"); // A4 less a printer's margins
        QTest::addColumn<int>("margin");
        QTest::addColumn<QList<int>>("tops");
        QTest::addColumn<int>("pictureTop");
        QTest::addColumn<int>("gap"); // between the picture's width and height, and the memo
        QTest::newRow("600 dpi, as laid out")
            << 600 << QSize(4760, 6814) << 100 << QList<int>{50, 300, 500, 750} << 1000 << 50;
        QTest::newRow("300 dpi") << 300 << QSize(2380, 3407) << 50 << QList<int>{25, 150, 250, 375}
                                 << 500 << 25;
        QTest::newRow("1200 dpi") << 1200 << QSize(9520, 13628) << 200
                                  << QList<int>{100, 600, 1000, 1500} << 2000 << 100;
    }
    void pageContent()
    {
        QFETCH(int, dpi);
        QFETCH(QSize, page);
        QFETCH(int, margin);
        QFETCH(QList<int>, tops);
        QFETCH(int, pictureTop);
        QFETCH(int, gap);
        PrintFixture f;
        f.clickList(1);
        f.form->showAnswerWindow();
        QVERIFY(f.answer.isVisible());
        const QSize area(f.ui().InOutPanel->width() - 5, f.ui().InOutPanel->height());
        RecordingPaintDevice device(page, dpi);
        {
            QPainter painter(&device);
            drawAnswerSheet(painter, page, f.form->answerSheetJob(), 7, 3,
                            QStringLiteral("2026/12/10 9:05:07"));
        }
        QCOMPARE(device.items.size(), 6);
        const QStringList texts{QStringLiteral("uさん"), QStringLiteral("2026/12/10 9:05:07"),
                                QStringLiteral("7回目(本日3回目)"),
                                QStringLiteral("解答時間 0 秒")};
        const QList<int> sizes{18, 14, 14, 14};
        for (int i = 0; i < 4; ++i) {
            const PaintedItem &line = device.items[i];
            QCOMPARE(line.kind, PaintedItem::Text);
            QCOMPARE(line.text, texts[i]);
            QCOMPARE(line.font.pointSize(), sizes[i]);
            QCOMPARE(line.baseline.x(), double(margin));
            QVERIFY2(qAbs(device.textTop(line) - tops[i]) < 1.0, qPrintable(texts[i]));
        }

        const PaintedItem &picture = device.items[4];
        QCOMPARE(picture.kind, PaintedItem::Picture);
        QCOMPARE(picture.picture.size(), area);
        const int h = area.height() * (page.width() - margin) / area.width();
        QCOMPARE(picture.target, QRectF(margin, pictureTop, page.width() - 2 * margin, h - gap));
        // The answer window stands at the top left of the picture: not the spread's white.
        const QImage shown = picture.picture;
        QVERIFY(shown.pixelColor(f.answer.width() / 2, 10) != QColor(Qt::white));

        const PaintedItem &memo = device.items[5];
        QCOMPARE(memo.text, QStringLiteral("メモ"));
        QCOMPARE(memo.font.pointSize(), 14);
        QVERIFY(qAbs(device.textTop(memo) - (pictureTop + h + gap)) < 1.0);
        f.form->closeAnswerWindow();
    }

    void printerSetupChangesTheProgramsPrinter()
    {
        // Qt's own dialog in Japanese, as the program loads it at its start.
        QVERIFY(installQtTranslations());
        PrintFixture f;
        QPrinter *shown = nullptr;
        QStringList buttons;
        ModalAnswer answer([&](QWidget *modal) {
            if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
                shown = dialog->printer();
                for (const QPushButton *button : dialog->findChildren<QPushButton *>())
                    buttons << button->text();
                dialog->reject();
            }
        });
        f.ui().N4->trigger();
        QCOMPARE(answer.className, QStringLiteral("QPrintDialog"));
        QCOMPARE(shown, &f.printer.printer());
        // The setup's button keeps the choice; it prints nothing, so it does not say it does.
        QVERIFY2(buttons.contains(QStringLiteral("設定")), qPrintable(buttons.join('|')));
        QVERIFY2(buttons.contains(QStringLiteral("キャンセル")), qPrintable(buttons.join('|')));
        for (const QString &text : buttons)
            QVERIFY2(!text.contains(QStringLiteral("印刷")) &&
                         !text.contains(QStringLiteral("Print")),
                     qPrintable(text));
    }

    void missingQtTranslationsAreNoReasonToStop()
    {
        QVERIFY(!installQtTranslations(QDir::tempPath() + QStringLiteral("/no-such-folder")));
    }
};

QTEST_MAIN(TestAnswerSheetPrint)
#include "test_answer_sheet_print.moc"
