#include "ConfusionControls.h"
#include "ModalAnswer.h"
#include "TraineeFixture.h"
#include "core/app/AppPaths.h"
#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"
#include "ui/common/PagePrinter.h"
#include "ui/results/ConfusionHeatMap.h"
#include "ui/results/ConfusionWindow.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeView>
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
    std::unique_ptr<TraineeSession> session = loggedInTrainee(paths, userId);
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

// The text of a cell of the list of past attempts, row 0 the newest.
QString listed(const ConfusionWindow &w, int row, int column)
{
    return control<QTreeView>(w, "AttemptList")->model()->index(row, column).data().toString();
}

void choose(ConfusionWindow &w, int row)
{
    QTreeView *list = control<QTreeView>(w, "AttemptList");
    list->setCurrentIndex(list->model()->index(row, 0));
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
        ConfusionWindow w(h.printer);
        const ConfusionControls ui(w);
        w.setSession(h.session.get());
        w.setProblemList({QStringLiteral("male01"), QStringLiteral("male02")});
        w.currentDate = [] { return QDate(2026, 12, 10); };
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QCOMPARE(w.windowTitle(), QStringLiteral("取り違え"));
        QCOMPARE(ui.SummaryLabel->text(),
                 QStringLiteral("9番の位置に10番: 2回\n10番の位置に9番: 2回"));
        QCOMPARE(ui.NoticeLabel->text(),
                 QStringLiteral("配置の記録がない試行 1回は数えていません。"));
        QCOMPARE(ui.HeatMap->table().cell(9, 10), 2);
        QCOMPARE(ui.AttemptList->model()->rowCount(), 3);
        QCOMPARE(listed(w, 0, 0), QStringLiteral("2"));
        QCOMPARE(listed(w, 2, 1), QStringLiteral("2026/12/09"));
        QCOMPARE(listed(w, 2, 2), QStringLiteral("001"));
        QCOMPARE(listed(w, 2, 3), QStringLiteral("44/46"));

        ui.TodayButton->click();
        QCOMPARE(ui.HeatMap->table().cell(9, 10), 1);
        QCOMPARE(ui.SummaryLabel->text(),
                 QStringLiteral("9番の位置に10番: 1回\n10番の位置に9番: 1回"));
        ui.AllButton->click();
        QCOMPARE(ui.HeatMap->table().attempts, 2);
    }

    void largeCountsAreShortened_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("under a thousand") << 999 << "999";
        QTest::newRow("a thousand") << 1000 << "1千";
        QTest::newRow("cut, not rounded") << 9999 << "9.9千";
        QTest::newRow("ten thousand and more") << 12345 << "1.2万";
        QTest::newRow("tens of 万") << 100000 << "10万";
        QTest::newRow("hundreds of 万") << 2345678 << "234万";
        QTest::newRow("億") << 123456789 << "1.2億";
    }
    void largeCountsAreShortened()
    {
        QFETCH(int, count);
        QFETCH(QString, text);
        QCOMPARE(heatMapCountText(count), text);
    }

    // A class's counts run to millions: every figure is shown whole inside its cell (drawing
    // clips it to the cell, so one too wide would lose its first and last digits and touch both
    // sides), and the cell's tooltip gives it exactly.
    void largeCountsFitTheirCells()
    {
        ConfusionTable table;
        table.cell(9, 10) = 1234567;
        QImage image(540, 520, QImage::Format_RGB32); // cells of 20 pixels from (40, 40)
        QPainter painter(&image);
        paintConfusionHeatMap(painter, image.rect(), table);
        painter.end();
        const QRect box(40 + 9 * 20, 40 + 8 * 20, 20, 20); // 9 wanted, 10 placed
        const QRgb fill = image.pixel(box.left() + 1, box.top() + 1);
        int ink = 0;
        for (int y = box.top() + 1; y < box.bottom(); ++y) {
            ink +=
                image.pixel(box.left() + 3, y) != fill || image.pixel(box.right() - 2, y) != fill;
            for (int x = box.left() + 3; x < box.right() - 2; ++x)
                ink += image.pixel(x, y) != fill;
        }
        QVERIFY(ink > 0);
        for (int y = box.top() + 1; y < box.bottom(); ++y) {
            QCOMPARE(image.pixel(box.left() + 1, y), fill);
            QCOMPARE(image.pixel(box.right() - 1, y), fill);
        }

        QCOMPARE(heatMapCellTip(table, image.rect(), QPointF(230, 210)),
                 QStringLiteral("9番の位置に10番: 1234567回"));
        QCOMPARE(heatMapCellTip(table, image.rect(), QPointF(10, 210)), QString());
    }

    // Thousands on the diagonal of a long history are drawn whole, not cut at their cell's
    // edges, at the window's size and at a smaller one.
    void aLargeCountIsDrawnWhole_data()
    {
        QTest::addColumn<int>("cell");
        QTest::newRow("cells of 20 pixels") << 20;
        QTest::newRow("cells of 12 pixels") << 12;
    }
    void aLargeCountIsDrawnWhole()
    {
        QFETCH(int, cell);
        ConfusionTable table;
        table.cell(1, 1) = 8888;
        QImage map(27 * cell, 26 * cell, QImage::Format_RGB32);
        QPainter painter(&map);
        paintConfusionHeatMap(painter, QRectF(map.rect()), table);
        painter.end();
        // The first class's cell: no digit reaches the columns just inside its outline.
        int atEdges = 0;
        int inside = 0;
        for (int y = 2 * cell + 3; y < 3 * cell - 3; ++y) {
            for (int x = 2 * cell + 2; x < 3 * cell - 1; ++x) {
                const bool dark = qGray(map.pixel(x, y)) < 160;
                inside += dark;
                atEdges += dark && (x == 2 * cell + 2 || x == 3 * cell - 2);
            }
        }
        QVERIFY(inside > 0);
        QCOMPARE(atEdges, 0);
    }

    void madeSmallerItsMapFollows()
    {
        History h;
        h.add(QStringLiteral("2026/12/10"), 1, swapped(9, 10));
        ConfusionWindow w(h.printer);
        const ConfusionControls ui(w);
        w.setSession(h.session.get());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.size(), QSize(980, 620));
        const QSize large = ui.HeatMap->size();
        // Well within a 1024 x 768 screen's room with a window manager's frame around it.
        QVERIFY(w.minimumSizeHint().width() <= 720 && w.minimumSizeHint().height() <= 480);
        w.resize(720, 480);
        QVERIFY(ui.HeatMap->width() < large.width() && ui.HeatMap->height() < large.height());
        for (QWidget *child : w.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY(!child->isVisible() || w.rect().contains(child->geometry()));
    }

    void replayOpensOnlyWhatCanBeDrawn()
    {
        History h;
        h.add(QStringLiteral("2026/12/10"), 1, swapped(16, 18));
        h.add(QStringLiteral("2026/12/10"), 2, sorted()); // problem 2 is no longer installed
        ConfusionWindow w(h.printer);
        const ConfusionControls ui(w);
        w.setSession(h.session.get());
        w.setProblemList({QStringLiteral("male01")});
        QSignalSpy replays(&w, &ConfusionWindow::replayRequested);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        choose(w, 0);
        ModalAnswer refusal([](QWidget *m) { m->close(); });
        ui.ReplayButton->click();
        QVERIFY(refusal.lines.join(u' ').contains(
            QStringLiteral("問題 002 はインストールされていないため")));
        QCOMPARE(replays.count(), 0);

        choose(w, 1);
        ui.ReplayButton->click();
        QCOMPARE(replays.count(), 1);
        const auto line = replays.at(0).at(0).value<ArrangementLine>();
        QCOMPARE(line.recordNumber, 0);
        QCOMPARE(line.places[16].piece, 18);
    }

    // Written straight as scoring would leave them: attempt k of problem 1 has a piece swapped
    // with its partner when k is even, and of the attempts after the first hundred only 2996
    // keeps its arrangement.
    void aLongHistoryListsAndReplaysTheChosenAttemptAndIsLetGoOnClosing()
    {
        History h;
        QByteArray kek, arr;
        {
            QFile header(h.kek());
            QVERIFY(header.open(QIODevice::ReadOnly));
            kek = header.readAll();
        }
        for (int k = 0; k < 3000; ++k) {
            const Arrangement places = k % 2 == 0 ? swapped(k % 44, (k % 44) ^ 1) : sorted();
            const QString date = QStringLiteral("2026/12/10");
            kek += ResultsFile::recordLine(k, date, 1, codesOf(places), 100).toLatin1() + "\r\n";
            const QString line = ArrangementFile::lineText({k, date, 1, places});
            if (k < 100 || k == 2996)
                arr += line.toLatin1() + "\r\n";
        }
        QVERIFY(ArrangementFile::reset(h.arr()).isEmpty());
        {
            QFile kekFile(h.kek()), arrFile(h.arr());
            QVERIFY(kekFile.open(QIODevice::WriteOnly) && kekFile.write(kek) == kek.size());
            QVERIFY(arrFile.open(QIODevice::Append) && arrFile.write(arr) == arr.size());
        }
        ConfusionWindow w(h.printer);
        const ConfusionControls ui(w);
        w.setSession(h.session.get());
        w.setProblemList({QStringLiteral("male01")});
        QSignalSpy replays(&w, &ConfusionWindow::replayRequested);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QCOMPARE(ui.AttemptList->model()->rowCount(), 3000);
        QCOMPARE(ui.AttemptList->currentIndex().row(), 0);
        QCOMPARE(listed(w, 3, 0), QStringLiteral("2996"));
        QCOMPARE(listed(w, 2999, 0), QStringLiteral("0"));
        QCOMPARE(listed(w, 2999, 3), QStringLiteral("44/46"));
        QCOMPARE(listed(w, 2998, 3), QStringLiteral("46/46"));
        // Attempts without their arrangement are dimmed; those with it are not.
        const auto dimmed = [&](int row) {
            return ui.AttemptList->model()->index(row, 0).data(Qt::ForegroundRole).isValid();
        };
        QVERIFY(dimmed(0));
        QVERIFY(!dimmed(3));
        QVERIFY(!dimmed(2951));

        choose(w, 3);
        ui.ReplayButton->click();
        choose(w, 2951); // attempt 48, far down the list
        ui.AttemptList->scrollTo(ui.AttemptList->currentIndex());
        ui.ReplayButton->click();
        QCOMPARE(replays.count(), 2);
        const auto first = replays.at(0).at(0).value<ArrangementLine>();
        QCOMPARE(first.recordNumber, 2996);
        QCOMPARE(first.places[4].piece, 5);
        const auto second = replays.at(1).at(0).value<ArrangementLine>();
        QCOMPARE(second.recordNumber, 48);
        QCOMPARE(second.places[4].piece, 5);
        QCOMPARE(second.places[6].piece, 6);

        ModalAnswer refusal([](QWidget *m) { m->close(); });
        choose(w, 1);
        ui.ReplayButton->click();
        QCOMPARE(refusal.lines.join(u' '),
                 QStringLiteral("この試行は配置の記録がないため再現できません。"));
        QCOMPARE(replays.count(), 2);

        // Made once for the whole day, the window keeps nothing of the history once closed,
        // and reads it again at the next showing.
        w.close();
        QCOMPARE(ui.AttemptList->model()->rowCount(), 0);
        QVERIFY(w.data().attempts.empty());
        QVERIFY(w.data().lineOffsets.empty());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(ui.AttemptList->model()->rowCount(), 3000);
        QCOMPARE(ui.HeatMap->table().attempts, 101);
    }

    void printsThePageAsAPdfWithoutAPrinter()
    {
        History h;
        h.add(QStringLiteral("2026/12/10"), 1, swapped(16, 18));
        ConfusionWindow w(h.printer);
        const ConfusionControls ui(w);
        w.setSession(h.session.get());
        w.setProblemList({QStringLiteral("male01")});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ModalAnswer saved([](QWidget *m) { m->close(); });
        ui.PrintButton->click();
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
        ConfusionWindow w(h.printer);
        const ConfusionControls ui(w);
        w.setSession(h.session.get());
        w.setProblemList({QStringLiteral("male01")});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(ui.AttemptList->model()->rowCount(), 1);
        QCOMPARE(ui.SummaryLabel->text(), QStringLiteral("数えられる試行がありません。"));
        QCOMPARE(ui.NoticeLabel->text(),
                 QStringLiteral("配置の記録がない試行 1回は数えていません。"));
    }
};

QTEST_MAIN(TestConfusionWindow)
#include "test_confusion_window.moc"
