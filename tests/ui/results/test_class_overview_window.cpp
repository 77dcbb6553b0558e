#include "ClassOverviewControls.h"
#include "ConfusionControls.h"
#include "Controls.h"
#include "FileBytes.h"
#include "GradeWindowControls.h"
#include "ModalAnswer.h"
#include "classgenerator.h"
#include "core/app/AppPaths.h"
#include "core/app/TeacherPassword.h"
#include "core/board/ProblemFolder.h"
#include "core/results/ResultsFile.h"
#include "ui/app/TeacherPasswordDialog.h"
#include "ui/common/PagePrinter.h"
#include "ui/results/ClassOverviewPage.h"
#include "ui/results/ClassOverviewWindow.h"
#include "ui/results/ConfusionHeatMap.h"
#include "ui/results/ConfusionWindow.h"
#include "ui/results/TOKBottomDlg.h"
#include "ui/results/TraineeViewer.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

const QDate Today(2026, 12, 10);

// A program folder holding a generated class of 30 trainees.
struct ClassFixture
{
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};
    PagePrinter printer{PagePrinter::Destination::PdfOnly};

    ClassFixture()
    {
        QDir(dir.path()).mkpath(QStringLiteral("Images"));
        classgen::ClassOptions options;
        options.lastDay = Today;
        if (!classgen::writeClass(QDir(dir.path()).filePath("Result"), options).isEmpty())
            qFatal("the class could not be written");
        paths.enterImagesFolder();
    }
    QString result() const { return QDir(dir.path()).filePath("Result"); }
    std::unique_ptr<ClassOverviewWindow> window()
    {
        auto w = std::make_unique<ClassOverviewWindow>(paths, printer);
        w->currentDate = [] { return Today; };
        w->setProblemList(knownProblemNames());
        w->setExportFolder(dir.path());
        w->show();
        return w;
    }
    // Every byte under Result, with the names, so that any write shows.
    QByteArray fingerprint() const
    {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QStringList files;
        QDirIterator it(result(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        for (const QString &f : files)
            hash.addData((f + "\n").toUtf8() + fileBytes(f));
        return hash.result();
    }
};

QString cell(const QTableView *table, int row, OverviewColumn column)
{
    return table->model()->index(row, int(column)).data().toString();
}

// A CSV line split by its quoting rule, as a spreadsheet reads it.
QStringList csvFields(const QString &line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields << QString();
        else
            fields.back() += c;
    }
    return fields;
}

} // namespace

class TestClassOverviewWindow : public QObject
{
    Q_OBJECT

private slots:
    void sortsByTheFigures_data()
    {
        QTest::addColumn<int>("column");
        QTest::newRow("attempts") << int(OverviewColumn::Attempts);
        QTest::newRow("perfect share") << int(OverviewColumn::PerfectShare);
        QTest::newRow("mean time") << int(OverviewColumn::MeanSeconds);
    }
    void sortsByTheFigures()
    {
        QFETCH(int, column);
        ClassFixture f;
        auto w = f.window();
        const ClassOverviewControls ui(*w);
        QCOMPARE(ui.Table->model()->rowCount(), 30);
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            ui.Table->horizontalHeader()->setSortIndicator(column, order);
            QList<double> figures;
            for (int row = 0; row < 30; ++row) {
                const QString text = cell(ui.Table, row, OverviewColumn(column));
                if (!text.isEmpty())
                    figures << text.toDouble();
            }
            QVERIFY(figures.size() >= 27);
            QList<double> sorted = figures;
            std::sort(sorted.begin(), sorted.end());
            if (order == Qt::DescendingOrder)
                std::reverse(sorted.begin(), sorted.end());
            QCOMPARE(figures, sorted); // as numbers: "35" does not come after "280"
        }
    }

    void heatMapFollowsThePeriod()
    {
        ClassFixture f;
        auto w = f.window();
        const ClassOverviewControls ui(*w);
        const ClassConfusions &c = w->overview().confusions;
        QVERIFY(c.today.attempts < c.week.attempts && c.week.attempts < c.all.attempts);
        for (auto [button, table] :
             {std::pair{ui.TodayButton, &c.today}, std::pair{ui.WeekButton, &c.week},
              std::pair{ui.AllButton, &c.all}}) {
            button->click();
            QCOMPARE(ui.HeatMap->table().attempts, table->attempts);
            QCOMPARE(ui.SummaryLabel->text(), confusionSummary(*table));
        }
    }

    void csvHoldsTheTableAsShown()
    {
        ClassFixture f;
        auto w = f.window();
        const ClassOverviewControls ui(*w);
        ui.Table->horizontalHeader()->setSortIndicator(int(OverviewColumn::MeanSeconds),
                                                       Qt::DescendingOrder);
        const QString path = QDir(f.dir.path()).filePath("class.csv");
        QCOMPARE(w->exportCsv(path), QString());
        const QByteArray bytes = fileBytes(path);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), 31);
        for (int row = 0; row < 30; ++row) {
            QStringList shown;
            for (int c = 0; c < OverviewColumnCount; ++c)
                shown << cell(ui.Table, row, OverviewColumn(c));
            QCOMPARE(csvFields(lines[row + 1]), shown);
        }
    }

    void printsThePageAsPdf()
    {
        ClassFixture f;
        auto w = f.window();
        ModalAnswer answer(ModalAnswer::defaultButton());
        w->PrintButtonClick();
        const QStringList pdfs = QDir(f.dir.path()).entryList({"*.pdf"});
        QCOMPARE(pdfs.size(), 1);
        QVERIFY(fileBytes(QDir(f.dir.path()).filePath(pdfs[0])).startsWith("%PDF"));
        // The page drawn into a picture: the table's rows reach down its upper half.
        QImage page(700, 990, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        paintClassOverviewPage(painter, page.size(), w->page());
        painter.end();
        auto inkInRow = [&page](int y) {
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128)
                    return true;
            return false;
        };
        int rowsWithInk = 0;
        for (int y = 40; y < 540; ++y)
            rowsWithInk += inkInRow(y);
        QVERIFY(rowsWithInk > 150);
    }

    void traineeWindowsWriteNothing()
    {
        ClassFixture f;
        auto w = f.window();
        const ClassOverviewControls ui(*w);
        const QByteArray before = f.fingerprint();
        ui.Table->selectRow(2);
        const QString id = w->chosenId();
        QCOMPARE(id, QStringLiteral("研修生03"));
        bool confusionsShown = false;
        ModalAnswer grades([&](QWidget *modal) {
            auto *dlg = qobject_cast<TOKBottomDlg *>(modal);
            QVERIFY(dlg);
            const GradeWindowControls grades(*dlg);
            QCOMPARE(grades.Label1->text(), QStringLiteral("研修生03さんの成績"));
            QVERIFY(!grades.Button2->isVisible() && !grades.Button2->isEnabled());
            QVERIFY(!grades.Button1->isVisible());
            QTimer::singleShot(0, [&] {
                auto *c = qobject_cast<ConfusionWindow *>(QApplication::activeModalWidget());
                if (c) {
                    const ConfusionControls confusions(*c);
                    confusionsShown = c->data().attempts.size() > 0 &&
                                      !confusions.ReplayButton->isVisible() &&
                                      !confusions.PrintButton->isVisible();
                    confusions.CloseButton->click();
                }
                grades.OKBtn->click();
            });
            grades.ConfusionButton->click();
        });
        ui.GradesButton->click();
        QVERIFY(confusionsShown);
        QCOMPARE(f.fingerprint(), before);
    }

    void refreshShowsAnAttemptScoredMeanwhile()
    {
        ClassFixture f;
        auto w = f.window();
        const ClassOverviewControls ui(*w);
        ui.Table->selectRow(0);
        const QString id = w->chosenId();
        const int before = cell(ui.Table, 0, OverviewColumn::Attempts).toInt();
        std::array<int, 46> codes;
        codes.fill(1);
        const QString kek = QDir(f.result()).filePath(id + "/" + id + ".kek");
        QVERIFY(ResultsFile::appendRecord(kek, "2026/12/10", 1, codes, 77).saved());
        QCOMPARE(cell(ui.Table, 0, OverviewColumn::Attempts).toInt(), before);
        ui.RefreshButton->click();
        QCOMPARE(w->chosenId(), id);
        const int row = ui.Table->selectionModel()->selectedRows().front().row();
        QCOMPARE(cell(ui.Table, row, OverviewColumn::Attempts).toInt(), before + 1);
        QCOMPARE(cell(ui.Table, row, OverviewColumn::LastDate), QStringLiteral("2026/12/10"));
        QVERIFY(cell(ui.Table, row, OverviewColumn::Trend).endsWith(" 46"));
    }

    void teacherPasswordSetOnceThenAsked()
    {
        QTemporaryDir dir;
        const QString path = teacherPasswordPath(dir.path());
        {
            TeacherPasswordDialog first(path);
            QVERIFY(first.setsPassword());
            auto *password = control<QLineEdit>(first, "Password");
            auto *again = control<QLineEdit>(first, "Again");
            // Typed as a trainee would: Tab from the password to its repetition.
            QCOMPARE(password->nextInFocusChain(), again);
            password->setText("kyoushi");
            again->setText("kyoushj");
            first.OKBtnClick();
            QCOMPARE(first.result(), int(QDialog::Rejected));
            QCOMPARE(control<QLabel>(first, "Message")->text(),
                     QStringLiteral("２つのパスワードが一致しません。"));
            again->setText("kyoushi");
            first.OKBtnClick();
            QCOMPARE(first.result(), int(QDialog::Accepted));
        }
        TeacherPasswordDialog later(path);
        QVERIFY(!later.setsPassword());
        QVERIFY(!later.findChild<QLineEdit *>("Again"));
        auto *password = control<QLineEdit>(later, "Password");
        password->setText("kyoushj");
        later.OKBtnClick();
        QCOMPARE(control<QLabel>(later, "Message")->text(),
                 QStringLiteral("パスワードが違います。"));
        QCOMPARE(later.result(), int(QDialog::Rejected));
        password->setText("kyoushi");
        later.OKBtnClick();
        QCOMPARE(later.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestClassOverviewWindow)
#include "test_class_overview_window.moc"
