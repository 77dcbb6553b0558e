#include "ModalAnswer.h"
#include "core/app/AppPaths.h"
#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"
#include "ui/common/PagePrinter.h"
#include "ui/results/ConfusionHeatMap.h"
#include "ui/results/ConfusionWindow.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

Arrangement sorted()
{
    Arrangement places;
    for (int s = 0; s < 46; ++s)
        places[std::size_t(s)] = {s, 0};
    return places;
}

std::array<int, 46> codesOf(const Arrangement &places)
{
    std::array<int, 46> codes;
    for (int s = 0; s < 46; ++s)
        codes[std::size_t(s)] = places[std::size_t(s)].piece == s ? 1 : 0;
    return codes;
}

// A trainee "u" whose history is written the way scoring writes it.
struct History
{
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};
    QString userId = QStringLiteral("u");
    PagePrinter printer{PagePrinter::Destination::PdfOnly};

    History()
    {
        QDir(dir.path()).mkpath("Images");
        QDir(dir.path()).mkpath("Result/u");
        paths.enterImagesFolder();
        ResultsFile::create(kek());
    }
    QString kek() const { return dir.filePath("Result/u/u.kek"); }
    QString arr() const { return dir.filePath("Result/u/u.arr"); }
    void add(const QString &date, int problem, const Arrangement &places,
             bool keepArrangement = true)
    {
        const AppendResult saved =
            ResultsFile::appendRecord(kek(), date, problem, codesOf(places), 100);
        QVERIFY(saved.saved());
        if (keepArrangement)
            QVERIFY(ArrangementFile::append(arr(), {saved.recordNumber, date, problem, places})
                        .isEmpty());
    }
};

Arrangement swapped(int a, int b)
{
    Arrangement places = sorted();
    std::swap(places[std::size_t(a)].piece, places[std::size_t(b)].piece);
    return places;
}

} // namespace

class TestConfusionWindow : public QObject
{
    Q_OBJECT
private slots:
    void showsConfusionsTodayAndAll()
    {
        History h;
        h.add(QStringLiteral("2026/12/09"), 1, swapped(16, 18)); // 9 and 10 swapped
        h.add(QStringLiteral("2026/12/10"), 1, swapped(17, 19));
        h.add(QStringLiteral("2026/12/10"), 2, swapped(0, 4), false); // no arrangement kept
        ConfusionWindow w(h.paths, h.userId, h.printer);
        w.setProblemList({QStringLiteral("male01"), QStringLiteral("male02")});
        w.currentDate = [] { return QDate(2026, 12, 10); };
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QCOMPARE(w.windowTitle(), QStringLiteral("取り違え"));
        QCOMPARE(w.SummaryLabel->text(),
                 QStringLiteral("9番の位置に10番: 2回\n10番の位置に9番: 2回"));
        QCOMPARE(w.NoticeLabel->text(),
                 QStringLiteral("配置の記録がない試行 1回は数えていません。"));
        QCOMPARE(w.HeatMap->table().cell(9, 10), 2);
        QCOMPARE(w.AttemptList->topLevelItemCount(), 3);
        QCOMPARE(w.AttemptList->topLevelItem(0)->text(0), QStringLiteral("2"));
        QCOMPARE(w.AttemptList->topLevelItem(2)->text(1), QStringLiteral("2026/12/09"));
        QCOMPARE(w.AttemptList->topLevelItem(2)->text(3), QStringLiteral("44/46"));

        w.TodayButton->click();
        QCOMPARE(w.HeatMap->table().cell(9, 10), 1);
        QCOMPARE(w.SummaryLabel->text(),
                 QStringLiteral("9番の位置に10番: 1回\n10番の位置に9番: 1回"));
        w.AllButton->click();
        QCOMPARE(w.HeatMap->table().attempts, 2);
    }

    void replayOpensOnlyWhatCanBeDrawn()
    {
        History h;
        h.add(QStringLiteral("2026/12/10"), 1, swapped(16, 18));
        h.add(QStringLiteral("2026/12/10"), 2, sorted()); // problem 2 is no longer installed
        ConfusionWindow w(h.paths, h.userId, h.printer);
        w.setProblemList({QStringLiteral("male01")});
        QSignalSpy replays(&w, &ConfusionWindow::replayRequested);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        w.AttemptList->setCurrentItem(w.AttemptList->topLevelItem(0));
        ModalAnswer refusal([](QWidget *m) { m->close(); });
        w.ReplayButton->click();
        QVERIFY(refusal.lines.join(u' ').contains(
            QStringLiteral("問題 002 はインストールされていないため")));
        QCOMPARE(replays.count(), 0);

        w.AttemptList->setCurrentItem(w.AttemptList->topLevelItem(1));
        w.ReplayButton->click();
        QCOMPARE(replays.count(), 1);
        const auto line = replays.at(0).at(0).value<ArrangementLine>();
        QCOMPARE(line.recordNumber, 0);
        QCOMPARE(line.places[16].piece, 18);
    }

    void printsThePageAsAPdfWithoutAPrinter()
    {
        History h;
        h.add(QStringLiteral("2026/12/10"), 1, swapped(16, 18));
        ConfusionWindow w(h.paths, h.userId, h.printer);
        w.setProblemList({QStringLiteral("male01")});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ModalAnswer saved([](QWidget *m) { m->close(); });
        w.PrintButton->click();
        const QStringList pdfs =
            QDir(h.dir.filePath("Result/u")).entryList({QStringLiteral("*.pdf")}, QDir::Files);
        QCOMPARE(pdfs.size(), 1);
        QVERIFY(pdfs[0].startsWith(QStringLiteral("取り違え_")));
        QVERIFY(QFileInfo(h.dir.filePath("Result/u/" + pdfs[0])).size() > 1000);
        QCOMPARE(saved.lines.value(0),
                 QStringLiteral("プリンタがないため、PDFファイルとして保存しました。"));
        QVERIFY(saved.lines.value(2).endsWith(pdfs[0]));

        // The page holds the heat map: the 9/10 cells are coloured, the rest of the page white.
        const QImage page = w.printPicture(QSize(600, 900));
        int coloured = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                coloured += c.red() > 0xC0 && c.green() < 0x40 && c.blue() < 0x40;
            }
        QVERIFY(coloured > 50);
    }

    void aMissingArrangementFileLeavesTheAttemptsListed()
    {
        History h;
        h.add(QStringLiteral("2026/12/10"), 1, swapped(16, 18), false);
        ConfusionWindow w(h.paths, h.userId, h.printer);
        w.setProblemList({QStringLiteral("male01")});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.AttemptList->topLevelItemCount(), 1);
        QCOMPARE(w.SummaryLabel->text(), QStringLiteral("数えられる試行がありません。"));
        QCOMPARE(w.NoticeLabel->text(),
                 QStringLiteral("配置の記録がない試行 1回は数えていません。"));
    }
};

QTEST_MAIN(TestConfusionWindow)
#include "test_confusion_window.moc"
