// The grade analysis window and the erasing of all grades, driven as a trainee drives them.
#include "ConfusionControls.h"
#include "ExerciseControls.h"
#include "GradeWindowControls.h"
#include "LoginControls.h"
#include "ModalAnswer.h"
#include "ProblemFixture.h"
#include "TraineeFixture.h"

#include "core/app/AppPaths.h"
#include "core/board/ProblemFolder.h"
#include "core/results/AbnormalAttemptsFile.h"
#include "core/results/ArrangementFile.h"
#include "core/results/GradeStatistics.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TPasswordDlg.h"
#include "ui/board/BoardView.h"
#include "ui/common/PagePrinter.h"
#include "ui/common/ProgramFonts.h"
#include "ui/exercise/TForm1.h"
#include "ui/exercise/TForm16.h"
#include "ui/results/AbnormalSection.h"
#include "ui/results/ConfusionWindow.h"
#include "ui/results/ReplayWindow.h"
#include "ui/results/ReportLabel.h"
#include "ui/results/TForm10.h"
#include "ui/results/TForm8.h"
#include "ui/results/TOKBottomDlg.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTreeView>
#include <QValueAxis>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#endif

using namespace queldo;
using namespace queldo::test;

// The ideographic space, spelled out so that every wide blank in an expected text is visible.
#define W "\u3000"

namespace {

const QString Trainee = QStringLiteral("kensa01");
const QString Today = QStringLiteral("2026/12/10");
const QString Yesterday = QStringLiteral("2026/12/09");

// Problem 1 is a female cell, 2 a male one.
const QStringList Problems = {QStringLiteral("正常女性染色体核型no52"),
                              QStringLiteral("正常男性染色体核型no7")};

const QString NoRecordsToday = QStringLiteral(
    "〇成績はありません。\n\nまだ練習していないか、\n\n練習記録をクリアしたばかりです。");
const QString NoRecordsOverall = QStringLiteral("正答 0 回 / 全トライアル 0 回中");

// A record line in which every place is correct except the given fields (3 to 48).
QString record(const QString &date, int problem, const QList<int> &missed, int seconds)
{
    QStringList fields{"0", date, QString::asprintf("%.3d", problem)};
    for (int field = 3; field <= 48; ++field)
        fields << (missed.contains(field) ? QStringLiteral("0") : QStringLiteral("1"));
    fields << QString::number(seconds);
    return fields.join(',');
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray fileOf(const QStringList &lines)
{
    QByteArray bytes = *encodeCp932(ResultsHeader + "\r\n");
    for (const QString &line : lines)
        bytes += *encodeCp932(line + "\r\n");
    return bytes;
}

// Yesterday a male cell with one place of chromosome 6 wrong; today a perfect female cell and
// one with a place of chromosome 1 wrong.
const QStringList History = {
    record(Yesterday, 2, {13}, 400),
    record(Today, 1, {}, 300),
    record(Today, 1, {3}, 301),
};

// Answers the modal windows that come up one after another, each by its class, in order. The
// action runs from a fresh event, so a modal window it opens can be answered by a later step.
struct ModalScript
{
    struct Step
    {
        const char *className;
        std::function<void(QWidget *)> action;
    };
    QList<Step> steps;
    qsizetype next = 0;
    QTimer timer;

    explicit ModalScript(QList<Step> list) : steps(std::move(list))
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (next == steps.size() || !modal || !modal->isVisible() ||
                qstrcmp(modal->metaObject()->className(), steps[next].className) != 0)
                return;
            const auto action = steps[next++].action;
            QTimer::singleShot(0, modal, [action, modal] { action(modal); });
        });
        timer.start();
    }
    bool finished() const { return next == steps.size(); }
};

std::function<void(QWidget *)> click(const char *name)
{
    return ModalAnswer::click(name);
}

// What the analysis window showed at one showing.
struct Shown
{
    int attempts = -1;
    int times = -1;
    int bars = -1;
    QString today;
    QString overall;
};

Shown shownBy(const TOKBottomDlg &window)
{
    const GradeWindowControls ui(window);
    return {int(ui.Series2->count()), int(ui.Series1->count()), int(ui.Series3Values->count()),
            ui.Label6->text(), ui.Label2->text()};
}

QValueAxis *axis(QChartView *chart, Qt::Orientation orientation)
{
    return qobject_cast<QValueAxis *>(chart->chart()->axes(orientation).constFirst());
}

// A program folder with one trainee, and the analysis window with its erase windows wired as the
// program wires them; printouts always go to PDF files.
struct Fixture
{
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};
    QString userId = Trainee;
    std::unique_ptr<TraineeSession> session = loggedInTrainee(paths, userId);
    PagePrinter printer{PagePrinter::Destination::PdfOnly};
    std::unique_ptr<TOKBottomDlg> window;
    std::unique_ptr<TForm8> confirmation;
    std::unique_ptr<TForm10> done;

    Fixture()
    {
        QDir(dir.path()).mkpath(QStringLiteral("Images"));
        QDir(dir.path()).mkpath(QStringLiteral("Result/") + Trainee);
        paths.enterImagesFolder();
        window = std::make_unique<TOKBottomDlg>(printer);
        window->setSession(session.get());
        confirmation = std::make_unique<TForm8>();
        confirmation->setSession(session.get());
        done = std::make_unique<TForm10>();
        confirmation->setCompletionMessage(done.get());
        window->setEraseConfirmation(confirmation.get());
        window->setProblemList(Problems);
        window->currentDate = [] { return QDate(2026, 12, 10); };
    }

    GradeWindowControls controls() const { return GradeWindowControls(*window); }
    QString userFolder() const
    {
        return QDir(dir.path()).filePath(QStringLiteral("Result/") + Trainee);
    }
    QString resultsPath() const { return userFolder() + QStringLiteral("/kensa01.kek"); }

    void writeResults(const QByteArray &bytes) const
    {
        QFile file(resultsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray results() const
    {
        QFile file(resultsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

AbnormalAttempt abnormalAttempt(const char *written, double breakpointCredit)
{
    AbnormalAttempt attempt;
    attempt.dateTime = QStringLiteral("2026/12/10 10:00:00");
    attempt.problemNumber = 20;
    attempt.elapsedSeconds = 300;
    attempt.verdicts = {1, 1, 0};
    attempt.expected = QStringLiteral("46,XY,t(9;22)(q34.1;q11.2)");
    attempt.written = QString::fromLatin1(written);
    attempt.parts = {{QStringLiteral("染色体数"), 1, {}},
                     {QStringLiteral("性染色体"), 1, {}},
                     {QStringLiteral("t(9;22)(q34.1;q11.2)"), breakpointCredit, {}}};
    return attempt;
}

// The bounding box of the pixels that are not white, in an image.
QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 240)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

class TestGradeWindow : public QObject
{
    Q_OBJECT
private slots:
    // The faces the program lays its windows out with, as at its start.
    void initTestCase() { installProgramFonts(); }

    void noRecordsState_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("today");
        QTest::newRow("fresh ID: the header alone") << fileOf({}) << QString() << NoRecordsToday;
        QTest::newRow("not even the header") << QByteArray("") << QString() << NoRecordsToday;
        QTest::newRow("no results file")
            << QByteArray() << QStringLiteral("成績ファイルを読めません")
            << QStringLiteral("〇成績を表示できません。\n\n成績ファイルを読めませんでした。\n\n"
                              "理由は上の赤い文字のとおりです。");
    }
    void noRecordsState()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, notice);
        QFETCH(QString, today);
        Fixture f;
        if (!bytes.isNull())
            f.writeResults(bytes);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const TOKBottomDlg &w = *f.window;
        const GradeWindowControls ui(w);

        QCOMPARE(w.windowTitle(), QStringLiteral("成績"));
        QCOMPARE(w.size(), QSize(861, 690));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(ui.Label1->text(), QStringLiteral("kensa01さんの成績"));
        QCOMPARE(ui.Chart1->geometry(), QRect(4, 32, 408, 203));
        QCOMPARE(ui.Chart3->geometry(), QRect(4, 236, 408, 203));
        QCOMPARE(ui.Chart2->geometry(), QRect(4, 440, 408, 203));
        QCOMPARE(ui.Series2->count(), 0);
        QCOMPARE(ui.Series3Values->count(), 0);
        QCOMPARE(ui.Series1->count(), 0);
        QCOMPARE(ui.Label6->pos(), QPoint(432, 100));
        QCOMPARE(ui.Label6->text(), today);
        QCOMPARE(ui.Label2->text(), NoRecordsOverall);
        QCOMPARE(w.focusWidget(), ui.OKBtn);
        QCOMPARE(ui.NoticeLabel->isVisible(), !notice.isEmpty());
        QVERIFY(ui.NoticeLabel->text().contains(notice));
        // The failure and its reason, each on its line, clear of the charts and reports below; a
        // long path is shortened in its middle and shown whole on pointing at it.
        const QSize needed = ui.NoticeLabel->fontMetrics().size(0, ui.NoticeLabel->text());
        QVERIFY(needed.width() <= ui.NoticeLabel->width());
        QVERIFY(needed.height() <= ui.NoticeLabel->height());
        QVERIFY(ui.NoticeLabel->toolTip().contains("kensa01.kek を開けません。") ||
                notice.isEmpty());
        QVERIFY(ui.NoticeLabel->geometry().bottom() < ui.Chart1->geometry().top());
        QVERIFY(!ui.NoticeLabel->geometry().intersects(ui.Button1->geometry()));
        QVERIFY(f.results() == bytes); // reading never writes
    }

    void historyFillsTheChartsAndReports()
    {
        Fixture f;
        f.writeResults(fileOf(History));
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const TOKBottomDlg &w = *f.window;
        const GradeWindowControls ui(w);

        QCOMPARE(ui.Series2->count(), 3);
        QCOMPARE(ui.Series2->at(0), QPointF(1, 45 * 100.0 / 46));
        QCOMPARE(ui.Series2->at(1), QPointF(2, 100));
        QCOMPARE(ui.Series2->at(2), QPointF(3, 45 * 100.0 / 46));
        QCOMPARE(ui.Series1->points(), QList<QPointF>({{1, 400}, {2, 300}, {3, 301}}));
        // Bar k stands at k on the axis: index 0 holds nothing.
        QCOMPARE(ui.Series3Values->count(), 24);
        QCOMPARE(ui.Series3Values->at(0), 0.0);
        QCOMPARE(ui.Series3Values->at(1), 5 * 100.0 / 6); // chromosome 1: one place of six wrong
        QCOMPARE(ui.Series3Values->at(6), 5 * 100.0 / 6);
        QCOMPARE(ui.Series3Values->at(23), 100.0);

        QCOMPARE(axis(ui.Chart1, Qt::Vertical)->min(), 0.0);
        QCOMPARE(axis(ui.Chart1, Qt::Vertical)->max(), 100.0);
        QCOMPARE(axis(ui.Chart3, Qt::Horizontal)->min(), 0.0);
        QCOMPARE(axis(ui.Chart3, Qt::Horizontal)->max(), 24.0);
        QCOMPARE(axis(ui.Chart2, Qt::Vertical)->min(), 48.0);
        QCOMPARE(axis(ui.Chart2, Qt::Vertical)->max(), 400.0);
        QCOMPARE(ui.Chart1->chart()->title(), QStringLiteral("全染色体正解率(正解数/46個)"));
        QCOMPARE(ui.Chart3->chart()->title(), QStringLiteral("染色体ごとの正解率"));
        QCOMPARE(ui.Chart2->chart()->title(), QStringLiteral("解答時間"));
        QVERIFY(!ui.Chart1->chart()->legend()->isVisible());

        QCOMPARE(ui.Label6->pos(), QPoint(432, 56));
        QCOMPARE(ui.Label6->text(),
                 QStringLiteral("○本日の苦手染色体 (誤答回数 1個/練習2回中)\n\n" W W "1番, "
                                "\n\n○性染色体" W "X(誤答0個/全4個中),Y(誤答0個/全0個中)\n\n"
                                "\n○本日の平均解答時間は、301秒です。\n"));
        QCOMPARE(ui.Label2->geometry(), QRect(448, 288, 409, 385));
        QCOMPARE(ui.Label2->font().pixelSize(), 15); // 11 points at 96 dpi
        QVERIFY(ui.Label2->text().startsWith(QStringLiteral("○正答 1回/全練習3回中\n\n\n")));
        QVERIFY(!ui.NoticeLabel->isVisible());
    }

    // A later showing reads the file again only when something the figures come from changed,
    // and then shows the change.
    void laterShowingFollowsWhatChanged_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<double>("firstSeconds");
        QTest::addColumn<QString>("todayStart");
        const QString weak = QStringLiteral("○本日の苦手染色体");
        QTest::newRow("nothing") << "nothing" << 3 << 400.0 << weak;
        QTest::newRow("a record appended") << "append" << 4 << 400.0 << weak;
        QTest::newRow("rewritten to the same size") << "rewrite" << 3 << 500.0 << weak;
        QTest::newRow("the next day") << "day" << 3 << 400.0 << QStringLiteral("〇本日の成績");
        // With the problem's sex unknown today's misses are the autosomes' alone.
        QTest::newRow("problems uninstalled") << "problems" << 3 << 400.0 << weak;
    }
    void laterShowingFollowsWhatChanged()
    {
        QFETCH(QString, change);
        QFETCH(int, attempts);
        QFETCH(double, firstSeconds);
        QFETCH(QString, todayStart);
        Fixture f;
        f.writeResults(fileOf(History));
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const QString before = f.controls().Label6->text();
        f.window->hide();

        QFile file(f.resultsPath());
        const QDateTime written = QFileInfo(file).lastModified();
        if (change == "append") {
            QVERIFY(file.open(QIODevice::Append));
            file.write(record(Today, 2, {}, 200).toLatin1() + "\r\n");
            file.close();
        } else if (change == "rewrite") {
            f.writeResults(fileOf({record(Yesterday, 2, {13}, 500), History[1], History[2]}));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(written.addSecs(2), QFileDevice::FileModificationTime));
            file.close();
        } else if (change == "day") {
            f.window->currentDate = [] { return QDate(2026, 12, 11); };
        } else if (change == "problems") {
            f.window->setProblemList({});
        }
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const TOKBottomDlg &w = *f.window;
        const GradeWindowControls ui(w);
        QCOMPARE(ui.Series2->count(), attempts);
        QCOMPARE(ui.Series1->at(0).y(), firstSeconds);
        QVERIFY2(ui.Label6->text().startsWith(todayStart), qPrintable(ui.Label6->text()));
        QCOMPARE(ui.Label6->text() == before, change == "nothing" || change == "rewrite");
    }

    void longestReportsFitTheirFrames()
    {
        // Seven chromosomes tied (a list that overflows onto a third line) and an X missed, today
        // and overall: the reports at their longest.
        Fixture f;
        f.writeResults(fileOf({record(Today, 1, {3, 5, 7, 9, 11, 13, 15, 47}, 100)}));
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const TOKBottomDlg &w = *f.window;
        const GradeWindowControls ui(w);
        QVERIFY(ui.Label6->text().contains(QStringLiteral("他たくさん！")));
        QVERIFY(ui.Label2->text().contains(QStringLiteral("他たくさん！")));
        QVERIFY(ui.Label6->geometry().bottom() <= ui.Bevel1->geometry().bottom());
        QVERIFY2(ui.Label2->sizeHint().height() <= ui.Label2->height(),
                 qPrintable(QStringLiteral("the report needs %1 pixels of %2")
                                .arg(ui.Label2->sizeHint().height())
                                .arg(ui.Label2->height())));
    }

    void aLongDayKeepsEveryFigureOfItsReportReadable()
    {
        // 3,000 attempts today, sex chromosomes often missed: four-digit figures on one line.
        Fixture f;
        QStringList lines;
        for (int r = 0; r < 3000; ++r)
            lines << record(Today, 1 + r % 2, r % 3 == 0 ? QList<int>{3, 47, 48} : QList<int>{5},
                            100 + r % 50);
        f.writeResults(fileOf(lines));
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const TOKBottomDlg &w = *f.window;
        const GradeWindowControls ui(w);
        const auto *report = qobject_cast<const ReportLabel *>(ui.Label6);
        QVERIFY(report);
        QVERIFY2(ui.Label6->text().contains(
                     QStringLiteral("X(誤答1500個/全4500個中),Y(誤答500個/全1500個中)")),
                 qPrintable(ui.Label6->text()));
        const QRect frame = ui.Bevel1->geometry().adjusted(2, 2, -2, -2);
        QVERIFY2(frame.contains(ui.Label6->geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                       .arg(ui.Label6->x())
                                                                       .arg(ui.Label6->y())
                                                                       .arg(ui.Label6->width())
                                                                       .arg(ui.Label6->height())));
        QCOMPARE(ui.Label6->size(), ui.Label6->sizeHint());
        // Every figure whole on a line of its own.
        const QStringList drawn = report->lines();
        static const QRegularExpression figure(QStringLiteral("\\d+"));
        for (auto it = figure.globalMatch(ui.Label6->text()); it.hasNext();) {
            const QString number = it.next().captured();
            QVERIFY2(std::any_of(drawn.begin(), drawn.end(),
                                 [&](const QString &line) { return line.contains(number); }),
                     qPrintable(number));
        }
        for (qsizetype i = 1; i < drawn.size(); ++i)
            QVERIFY(!(drawn[i - 1].back().isDigit() && drawn[i].trimmed().front().isDigit()));
    }

    void longHistoryDrawsAsEveryAttemptWould()
    {
        Fixture f;
        QStringList lines;
        QRandomGenerator random(9);
        for (int r = 0; r < 10000; ++r) {
            QList<int> missed;
            for (int k = int(random.bounded(8)); k > 0; --k)
                missed << 3 + int(random.bounded(46));
            lines << record(Yesterday, 1 + int(random.bounded(2)), missed,
                            100 + int(random.bounded(800)));
        }
        f.writeResults(fileOf(lines));
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const TOKBottomDlg &w = *f.window;
        const GradeWindowControls ui(w);
        // Far fewer points than attempts reach the lines...
        QVERIFY(ui.Series2->count() < 2000);
        QVERIFY(ui.Series1->count() < 2000);
        const QImage accuracy = ui.Chart1->grab().toImage();
        const QImage times = ui.Chart2->grab().toImage();

        // ...and the charts look as with every attempt in them.
        const GradeStatistics all = GradeStatistics::compute(ResultsFile::read(f.resultsPath()),
                                                             TodayDate(Today), Problems);
        QCOMPARE(all.secondsPerAttempt.size(), 10000);
        ui.Series2->replace(all.accuracyPerAttempt);
        ui.Series1->replace(all.secondsPerAttempt);
        const auto differing = [](const QImage &a, const QImage &b) {
            int count = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    count += a.pixel(x, y) != b.pixel(x, y);
            return count;
        };
        // A few single pixels where a line's end rounds the other way; a column drawn short would
        // leave hundreds.
        QVERIFY(differing(accuracy, ui.Chart1->grab().toImage()) <= 16);
        QVERIFY(differing(times, ui.Chart2->grab().toImage()) <= 16);
    }

    // Filled while hidden after the login, the window shows what a window reading the file at
    // its showing shows, to the pixel; a file changed since is read again at the showing.
    void preparedWhileHiddenShowsAsReadAtTheShowing()
    {
        Fixture f;
        QStringList lines;
        QRandomGenerator random(5);
        for (int r = 0; r < 3000; ++r)
            lines << record(r % 7 ? Yesterday : Today, 1 + int(random.bounded(2)),
                            {3 + int(random.bounded(46))}, 100 + int(random.bounded(800)));
        f.writeResults(fileOf(lines));
        TOKBottomDlg atShowing(f.printer);
        atShowing.setSession(f.session.get());
        atShowing.setProblemList(Problems);
        atShowing.currentDate = f.window->currentDate;

        // Found by name: the window keeps its controls to itself.
        const auto accuracy = [&] {
            return qobject_cast<QLineSeries *>(
                f.window->findChild<QChartView *>(QStringLiteral("Chart1"))
                    ->chart()
                    ->series()
                    .constFirst());
        };
        f.window->prepare();
        QTRY_VERIFY(accuracy()->count() > 0);
        QVERIFY(f.window->isHidden());
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        atShowing.show();
        QVERIFY(QTest::qWaitForWindowExposed(&atShowing));
        QCOMPARE(f.window->grab().toImage(), atShowing.grab().toImage());
        f.window->hide();

        QFile file(f.resultsPath());
        QVERIFY(file.open(QIODevice::Append));
        file.write(record(Today, 2, {}, 200).toLatin1() + "\r\n");
        file.close();
        f.window->prepare();
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QCOMPARE(accuracy()->at(accuracy()->count() - 1).y(), 100.0);
        QVERIFY(f.window->findChild<QLabel *>(QStringLiteral("Label2"))
                    ->text()
                    .contains(QStringLiteral("3001")));
    }

    void unreadableLinesAreLeftOutAndNamedOnce()
    {
        Fixture f;
        QByteArray bytes = fileOf(History);
        bytes += "0,2026/12/10,001,1,1\r\n";        // too few fields
        bytes += "\x81\x20,broken\r\n";             // not code page 932
        bytes += *encodeCp932(History[1] + "\r\n"); // readable again
        f.writeResults(bytes);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QCOMPARE(f.controls().Series2->count(), 4);
        QVERIFY(f.controls().NoticeLabel->isVisible());
        QCOMPARE(f.controls().NoticeLabel->text(),
                 QStringLiteral("成績ファイルの読めない 2 行を除いて集計しました。"));
    }

    void eraseAndItsWaysBack_data()
    {
        QTest::addColumn<std::function<void(QWidget *)>>("confirm");
        QTest::addColumn<std::function<void(QWidget *)>>("acknowledge");
        QTest::addColumn<bool>("erased");
        QTest::newRow("消去, OK") << click("Button1") << click("Button1") << true;
        QTest::newRow("消去, completion's close box")
            << click("Button1") << ModalAnswer::closeBox() << true;
        QTest::newRow("キャンセル")
            << click("Button2") << std::function<void(QWidget *)>() << false;
        QTest::newRow("confirmation's close box")
            << ModalAnswer::closeBox() << std::function<void(QWidget *)>() << false;
    }
    void eraseAndItsWaysBack()
    {
        QFETCH(std::function<void(QWidget *)>, confirm);
        QFETCH(std::function<void(QWidget *)>, acknowledge);
        QFETCH(bool, erased);
        Fixture f;
        const QByteArray before = fileOf(History);
        f.writeResults(before);
        // What lay where goes with the grades, and stays with them.
        const QString arrangementPath = f.userFolder() + QStringLiteral("/kensa01.arr");
        ArrangementLine line;
        line.date = QStringLiteral("2026/12/10");
        line.problemNumber = 1;
        QVERIFY(ArrangementFile::append(arrangementPath, line).isEmpty());
        const QByteArray arrangementBefore = fileBytes(arrangementPath);
        // So do the attempts at abnormal cells.
        const QString abnormalPath = f.userFolder() + QStringLiteral("/kensa01.kry");
        QVERIFY(AbnormalAttemptsFile::append(abnormalPath, abnormalAttempt("46,XY", 0)).isEmpty());
        const QByteArray abnormalBefore = fileBytes(abnormalPath);

        Shown first, back;
        bool hiddenDuringQuestion = false;
        QStringList questionTexts, doneTexts;
        QList<ModalScript::Step> steps = {
            {"queldo::TOKBottomDlg",
             [&](QWidget *) {
                 first = shownBy(*f.window);
                 f.controls().Button2->click();
             }},
            {"queldo::TForm8",
             [&](QWidget *modal) {
                 hiddenDuringQuestion = !f.window->isVisible();
                 questionTexts = {control<QLabel>(*f.confirmation, "Label1")->text(),
                                  control<QLabel>(*f.confirmation, "Label2")->text(),
                                  f.confirmation->windowTitle()};
                 confirm(modal);
             }},
        };
        if (acknowledge)
            steps.append({"queldo::TForm10", [&](QWidget *modal) {
                              doneTexts = {control<QLabel>(*f.done, "Label1")->text(),
                                           f.done->windowTitle()};
                              acknowledge(modal);
                          }});
        steps.append({"queldo::TOKBottomDlg", [&](QWidget *) {
                          back = shownBy(*f.window);
                          f.controls().OKBtn->click();
                      }});
        ModalScript script(steps);
        f.window->exec();

        QVERIFY(script.finished());
        QVERIFY(hiddenDuringQuestion);
        QCOMPARE(questionTexts, QStringList({QStringLiteral("全成績を消去しますか？"),
                                             QStringLiteral("一度消去すると復活できません。"),
                                             QStringLiteral("成績消去")}));
        QCOMPARE(first.attempts, 3);
        QVERIFY(!f.window->isVisible());
        QVERIFY(!f.confirmation->isVisible());
        QVERIFY(!f.done->isVisible());
        if (erased) {
            QCOMPARE(doneTexts, QStringList({QStringLiteral("全成績消去しました。"),
                                             QStringLiteral("消去完了")}));
            QCOMPARE(f.results(), *encodeCp932(ResultsHeader + "\r\n"));
            QCOMPARE(ArrangementFile::read(arrangementPath).lines.size(), std::size_t(0));
            QVERIFY(
                fileBytes(arrangementPath).startsWith(*encodeCp932(QStringLiteral(" 試行No,"))));
            QVERIFY(AbnormalAttemptsFile::read(abnormalPath).attempts.empty());
            QVERIFY(fileBytes(abnormalPath).startsWith("QUELDO-KRY\t1\t"));
            QVERIFY(f.controls().AbnormalPanel->isHidden());
            QCOMPARE(back.attempts, 0);
            QCOMPARE(back.times, 0);
            QCOMPARE(back.bars, 0);
            QCOMPARE(back.today, NoRecordsToday);
            QCOMPARE(back.overall, NoRecordsOverall);
        } else {
            QCOMPARE(f.results(), before);
            QCOMPARE(fileBytes(arrangementPath), arrangementBefore);
            QCOMPARE(fileBytes(abnormalPath), abnormalBefore);
            QCOMPARE(back.attempts, first.attempts);
            QCOMPARE(back.times, first.times);
            QCOMPARE(back.bars, first.bars);
            QCOMPARE(back.today, first.today);
            QCOMPARE(back.overall, first.overall);
        }
    }

    // Attempts at abnormal cells have a section of their own at the foot of the chart column,
    // which makes room for it; without any, the window is laid out as it always was.
    void abnormalSectionBelowTheCharts()
    {
        Fixture f;
        f.writeResults(fileOf(History));
        f.window->FormShow();
        QVERIFY(f.controls().AbnormalPanel->isHidden());
        QCOMPARE(f.controls().Chart2->geometry(), QRect(4, 440, 408, 203));

        const QString path = f.userFolder() + QStringLiteral("/kensa01.kry");
        QVERIFY(AbnormalAttemptsFile::append(path, abnormalAttempt("46,XY,t(9;22)(q34.1;q11.2)", 1))
                    .isEmpty());
        QVERIFY(
            AbnormalAttemptsFile::append(path, abnormalAttempt("46,XY,t(9;22)(q34.1;q12)", 0.6667))
                .isEmpty());
        f.window->FormShow();
        const QLabel *section = f.controls().AbnormalPanel;
        QVERIFY(!section->isHidden());
        QCOMPARE(section->text(),
                 QStringLiteral("異常核型 2 回, 核型の正解 1 回 (50%)\n"
                                "間違えやすい異常: t(9;22)(q34.1;q11.2) (1/2 回)"));
        QCOMPARE(section->x(), 4);
        QCOMPARE(section->width(), 408);
        QCOMPARE(section->geometry().bottom(), 642);
        QVERIFY(f.controls().Chart2->geometry().bottom() < section->y());
        QCOMPARE(f.controls().Chart1->y(), 32);
    }

#ifdef Q_OS_UNIX
    void failedEraseKeepsTheGradesAndTheQuestion()
    {
        Fixture f;
        const QByteArray before = fileOf(History);
        f.writeResults(before);

        // Writes past a few bytes fail as on a full disk, even for root.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &old); });
        QStringList messageLines;
        bool questionStillUp = false;
        Shown back;
        ModalScript script({
            {"queldo::TOKBottomDlg", click("Button2")},
            {"queldo::TForm8",
             [&](QWidget *modal) {
                 rlimit small = old;
                 small.rlim_cur = 20;
                 setrlimit(RLIMIT_FSIZE, &small);
                 click("Button1")(modal);
             }},
            {"queldo::EraseFailedMessage",
             [&](QWidget *modal) {
                 setrlimit(RLIMIT_FSIZE, &old);
                 messageLines = qobject_cast<MessageWindow *>(modal)->lines();
                 click("Button1")(modal);
             }},
            {"queldo::TForm8",
             [&](QWidget *modal) {
                 questionStillUp = modal->isVisible();
                 click("Button2")(modal);
             }},
            {"queldo::TOKBottomDlg",
             [&](QWidget *) {
                 back = shownBy(*f.window);
                 f.controls().OKBtn->click();
             }},
        });
        f.window->exec();

        QVERIFY(script.finished());
        QVERIFY(questionStillUp);
        QCOMPARE(messageLines.mid(0, 2),
                 QStringList({QStringLiteral("成績を消去できませんでした。"),
                              QStringLiteral("これまでの成績はそのまま残っています。")}));
        QCOMPARE(f.results(), before);
        QCOMPARE(back.attempts, 3);
        // Nothing written aside is left behind.
        QCOMPARE(QDir(f.userFolder()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("kensa01.kek")});
    }
#endif

    void printingSavesAPdfAndLeavesThePictureOnTheClipboard()
    {
        Fixture f;
        f.writeResults(fileOf(History));
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));

        ModalAnswer told(ModalAnswer::click("Button1"));
        f.controls().Button1->click();
        QCOMPARE(told.className, QStringLiteral("queldo::PrintOutcomeMessage"));

        // The picture: the window as on screen, in a frame with its caption.
        const QImage picture = QGuiApplication::clipboard()->image();
        QCOMPARE(picture.size(), QSize(861 + 2 * 3, 690 + 2 * 3 + 22));
        const QImage contents = f.window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.copy(3, 25, 861, 690).convertToFormat(QImage::Format_RGB32), contents);
        QVERIFY(qBlue(picture.pixel(40, 12)) > qRed(picture.pixel(40, 12))); // the caption bar

        // The page: one PDF in the trainee's folder, named by the date and time.
        const QStringList pdfs =
            QDir(f.userFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
        QCOMPARE(pdfs.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^成績_\\d{8}_\\d{6}\\.pdf$"))
                     .match(pdfs[0])
                     .hasMatch(),
                 qPrintable(pdfs[0]));
        const QString pdf = QDir(f.userFolder()).filePath(pdfs[0]);
        QVERIFY(told.lines.contains(QDir::toNativeSeparators(pdf)));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page "),
                 1);

        // Rendered, the picture fills left 100, top 100, right page width - 50 and bottom
        // h x (page width - 100) / w - 50, in 600 dpi units from the printable area's corner.
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm is not installed (scripts/install-deps.sh --with-display installs it)");
        QTemporaryDir out;
        QCOMPARE(QProcess::execute(pdftoppm, {QStringLiteral("-r"), QStringLiteral("60"),
                                              QStringLiteral("-png"), pdf,
                                              out.filePath(QStringLiteral("page"))}),
                 0);
        const QStringList pages = QDir(out.path()).entryList({QStringLiteral("page*.png")});
        QCOMPARE(pages.size(), 1);
        const QImage page(out.filePath(pages[0]));
        const QRect printable = f.printer.printer().pageLayout().paintRectPixels(600);
        const int pageWidth = printable.width();
        const QRect expected(QPoint(printable.left() + 100, printable.top() + 100),
                             QPoint(printable.left() + pageWidth - 50,
                                    printable.top() + 718 * (pageWidth - 100) / 867 - 50));
        const QRect ink = inkBounds(page);
        const auto matches = [](int rendered, int dots) {
            return std::abs(rendered - dots / 10) <= 2;
        };
        QVERIFY2(matches(ink.left(), expected.left()) && matches(ink.top(), expected.top()) &&
                     matches(ink.right(), expected.right()) &&
                     matches(ink.bottom(), expected.bottom()),
                 qPrintable(QStringLiteral("ink %1,%2 %3x%4; expected (at 600 dpi) %5,%6 %7x%8")
                                .arg(ink.x())
                                .arg(ink.y())
                                .arg(ink.width())
                                .arg(ink.height())
                                .arg(expected.x())
                                .arg(expected.y())
                                .arg(expected.width())
                                .arg(expected.height())));
    }

    void opensFromTheExerciseWindowAndCountsEachNewAttempt()
    {
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath(QStringLiteral("Images"));
        root.mkpath(QStringLiteral("Result/") + Trainee);
        for (int i = 0; i < 2; ++i)
            writeProblemFolder(root.filePath(QStringLiteral("Images")), knownProblemNames()[i]);
        const QString stem = root.filePath(QStringLiteral("Result/kensa01/kensa01"));
        for (const auto &[extension, bytes] :
             {std::pair{".pas", QByteArray("pw\r\n")},
              std::pair{".set", QByteArray("0\r\n0\r\n0\r\n0.699999988079071\r\n")},
              std::pair{".kek", fileOf({})}}) {
            QFile file(stem + QString::fromLatin1(extension));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }

        ProgramWindows windows(dir.path(), dir.path(), 5);
        windows.start();
        const LoginControls loginUi(windows.login());
        loginUi.ID->setText(Trainee);
        loginUi.Password->setText(QStringLiteral("pw"));
        loginUi.OKBtn->click();
        QVERIFY(windows.exercise());
        TForm1 &form = *windows.exercise();
        const ExerciseControls ui(form);

        const auto scoreNextProblem = [&form, &ui] {
            QTest::mouseClick(ui.Button2, Qt::LeftButton);
            QTest::mouseClick(ui.Button4, Qt::LeftButton);
            form.Timer1Timer();
            QTest::mouseClick(ui.Button1, Qt::LeftButton);
        };
        const auto openedShows = [&](const std::function<void()> &open) {
            Shown shown;
            bool modal = false;
            ModalScript script({{"queldo::TOKBottomDlg", [&](QWidget *window) {
                                     modal = window == &windows.analysis() && window->isModal();
                                     shown = shownBy(windows.analysis());
                                     GradeWindowControls(windows.analysis()).OKBtn->click();
                                 }}});
            open();
            return script.finished() && modal ? shown.attempts : -1;
        };

        QCOMPARE(openedShows([&] { ui.Button3->click(); }), 0);
        scoreNextProblem();
        QCOMPARE(openedShows([&] { ui.Button3->click(); }), 1);
        scoreNextProblem();
        QCOMPARE(openedShows([&] { ui.SaveAs1->trigger(); }), 2);
        QCOMPARE(GradeWindowControls(windows.analysis()).Series1->count(), 2);
        QCOMPARE(GradeWindowControls(windows.analysis()).Label1->text(),
                 QStringLiteral("kensa01さんの成績"));

        // 取り違え, beside 成績クリア, opens over the analysis and lists both attempts; the newest
        // opens again beside its answer, which the answer window itself shows.
        QCOMPARE(GradeWindowControls(windows.analysis()).ConfusionButton->geometry(),
                 QRect(91, 653, 75, 25));
        int listed = -1;
        QString caption;
        bool answerInReplay = false;
        std::array<int, 46> replayed{};
        ModalScript script(
            {{"queldo::TOKBottomDlg",
              [&](QWidget *) { GradeWindowControls(windows.analysis()).ConfusionButton->click(); }},
             {"queldo::ConfusionWindow",
              [&](QWidget *window) {
                  caption = window->windowTitle();
                  listed = ConfusionControls(windows.confusions()).AttemptList->model()->rowCount();
                  ConfusionControls(windows.confusions()).ReplayButton->click();
              }},
             {"queldo::ReplayWindow",
              [&](QWidget *) {
                  answerInReplay = windows.AnswerWindow().isVisible() &&
                                   windows.replay().isAncestorOf(&windows.AnswerWindow());
                  const auto &places =
                      control<BoardView>(windows.replay(), "Attempt")->board().SlotContents;
                  std::copy_n(places.begin(), replayed.size(), replayed.begin());
                  windows.replay().reject();
              }},
             {"queldo::ConfusionWindow",
              [&](QWidget *) { ConfusionControls(windows.confusions()).CloseButton->click(); }},
             {"queldo::TOKBottomDlg",
              [&](QWidget *) { GradeWindowControls(windows.analysis()).OKBtn->click(); }}});
        ui.Button3->click();
        QVERIFY(script.finished());
        QCOMPARE(caption, QStringLiteral("取り違え"));
        QCOMPARE(listed, 2);
        QVERIFY(answerInReplay);
        QVERIFY(!windows.AnswerWindow().isVisible());
        std::array<int, 46> empty;
        empty.fill(-1); // nothing was placed in either attempt
        QCOMPARE(replayed, empty);
        QCOMPARE(ArrangementFile::read(stem + QStringLiteral(".arr")).lines.size(), std::size_t(2));
    }
};

QTEST_MAIN(TestGradeWindow)
#include "test_grade_window.moc"
