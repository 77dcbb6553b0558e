#include "ui/results/ClassOverviewWindow.h"

#include "core/app/AppPaths.h"
#include "core/text/AtomicWrite.h"
#include "ui/common/PagePrinter.h"
#include "ui/common/PrintOutcomeMessage.h"
#include "ui/common/ScreenCentring.h"
#include "ui/results/ClassOverviewModel.h"
#include "ui/results/ClassOverviewPage.h"
#include "ui/results/ConfusionHeatMap.h"
#include "ui/results/TraineeViewer.h"
#include "ui/results/TrendLineDelegate.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace queldo {

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QRadioButton *radio(QWidget *parent, const char *name, ConfusionPeriod period)
{
    auto *b = new QRadioButton(periodName(period), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

ClassOverviewWindow::ClassOverviewWindow(AppPaths &paths, PagePrinter &printer, QWidget *parent)
    : QDialog(parent), m_paths(paths), m_printer(printer),
      m_viewer(std::make_unique<TraineeViewer>(paths, printer, this))
{
    setObjectName(QStringLiteral("ClassOverviewWindow"));
    setWindowTitle(QStringLiteral("クラス一覧"));
    currentDate = [] { return QDate::currentDate(); };
    m_exportFolder = QDir::homePath();
    createControls();
}

ClassOverviewWindow::~ClassOverviewWindow() = default;

void ClassOverviewWindow::createControls()
{
    RefreshButton = button(this, "RefreshButton", QStringLiteral("更新"));
    CsvButton = button(this, "CsvButton", QStringLiteral("CSV保存"));
    PrintButton = button(this, "PrintButton", QStringLiteral("印刷"));
    GradesButton = button(this, "GradesButton", QStringLiteral("成績"));
    ConfusionsButton = button(this, "ConfusionsButton", QStringLiteral("取り違え"));
    CloseButton = button(this, "CloseButton", QStringLiteral("閉じる"));
    CloseButton->setDefault(true);
    CountLabel = new QLabel(this);
    CountLabel->setObjectName(QStringLiteral("CountLabel"));

    m_model = new ClassOverviewModel(this);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(ClassOverviewModel::SortRole);
    Table = new QTableView(this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setModel(m_sorted);
    Table->setSortingEnabled(true);
    Table->sortByColumn(0, Qt::AscendingOrder);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setItemDelegateForColumn(int(OverviewColumn::Trend), new TrendLineDelegate(Table));
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 8);
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->setAccessibleName(QStringLiteral("研修生の一覧"));

    TodayButton = radio(this, "TodayButton", ConfusionPeriod::Today);
    WeekButton = radio(this, "WeekButton", ConfusionPeriod::Week);
    AllButton = radio(this, "AllButton", ConfusionPeriod::All);
    AllButton->setChecked(true);
    auto *group = new QButtonGroup(this);
    for (QRadioButton *b : {TodayButton, WeekButton, AllButton})
        group->addButton(b);
    HeatMap = new ConfusionHeatMap(this);
    HeatMap->setMinimumSize(400, 300);
    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    SummaryLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SummaryLabel->setWordWrap(true);
    QFont large = SummaryLabel->font();
    large.setPixelSize(15);
    SummaryLabel->setFont(large);
    NoticeLabel = new QLabel(this);
    NoticeLabel->setObjectName(QStringLiteral("NoticeLabel"));
    NoticeLabel->setWordWrap(true);

    auto *top = new QHBoxLayout;
    for (QPushButton *b : {RefreshButton, CsvButton, PrintButton})
        top->addWidget(b);
    top->addWidget(CountLabel, 1);
    for (QPushButton *b : {GradesButton, ConfusionsButton, CloseButton})
        top->addWidget(b);
    auto *periods = new QHBoxLayout;
    periods->addWidget(new QLabel(QStringLiteral("クラスの取り違え:"), this));
    for (QRadioButton *b : {TodayButton, WeekButton, AllButton})
        periods->addWidget(b);
    periods->addStretch();
    auto *right = new QVBoxLayout;
    right->addLayout(periods);
    right->addWidget(new QLabel(QStringLiteral("よくある取り違え"), this));
    right->addWidget(SummaryLabel, 1);
    right->addWidget(NoticeLabel);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(HeatMap, 3);
    bottom->addLayout(right, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    // The heat map gets the larger share: a class's counts run to four digits.
    layout->addWidget(Table, 4);
    layout->addLayout(bottom, 5);
    // Fits a 1024 x 768 screen with its frame and a panel.
    resize(1000, 690);
    centreOnEveryShow(this);

    connect(RefreshButton, &QPushButton::clicked, this, &ClassOverviewWindow::refresh);
    connect(CsvButton, &QPushButton::clicked, this, &ClassOverviewWindow::CsvButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &ClassOverviewWindow::PrintButtonClick);
    connect(GradesButton, &QPushButton::clicked, this, &ClassOverviewWindow::openGrades);
    connect(ConfusionsButton, &QPushButton::clicked, this, &ClassOverviewWindow::openConfusions);
    connect(Table, &QTableView::activated, this, &ClassOverviewWindow::openGrades);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(group, &QButtonGroup::buttonToggled, this, &ClassOverviewWindow::showConfusions);
}

void ClassOverviewWindow::setProblemList(const QStringList &problemList)
{
    m_problemList = problemList;
    m_viewer->setProblemList(problemList);
}

void ClassOverviewWindow::showEvent(QShowEvent *event)
{
    refresh();
    QDialog::showEvent(event);
}

void ClassOverviewWindow::refresh()
{
    const QString chosen = chosenId();
    m_overview =
        m_reader.read(m_paths.startResultFolder(), m_problemList, {currentDate(), QLocale()});
    m_model->setTrainees(m_overview.trainees);
    int attempts = 0;
    for (const TraineeSummary &t : m_overview.trainees)
        attempts += t.attempts;
    CountLabel->setText(
        QStringLiteral("研修生 %1 人、試行 %2 回").arg(m_overview.trainees.size()).arg(attempts));
    // The same trainee stays chosen across a refresh, wherever the sorting puts them.
    for (int row = 0; row < m_sorted->rowCount(); ++row)
        if (m_sorted->index(row, 0).data().toString() == chosen)
            Table->selectRow(row);
    Table->resizeColumnsToContents();
    Table->setColumnWidth(int(OverviewColumn::Trend), 130);
    showConfusions();
}

ConfusionPeriod ClassOverviewWindow::shownPeriod() const
{
    return TodayButton->isChecked()  ? ConfusionPeriod::Today
           : WeekButton->isChecked() ? ConfusionPeriod::Week
                                     : ConfusionPeriod::All;
}

void ClassOverviewWindow::showConfusions()
{
    const ConfusionTable &table = tableOf(m_overview.confusions, shownPeriod());
    HeatMap->setTable(table);
    SummaryLabel->setText(confusionSummary(table));
    NoticeLabel->setText(classConfusionNotices(m_overview.confusions));
}

std::vector<TraineeSummary> ClassOverviewWindow::shownTrainees() const
{
    std::vector<TraineeSummary> rows;
    for (int row = 0; row < m_sorted->rowCount(); ++row)
        rows.push_back(
            m_model->trainees()[std::size_t(m_sorted->mapToSource(m_sorted->index(row, 0)).row())]);
    return rows;
}

QString ClassOverviewWindow::chosenId() const
{
    const QModelIndexList rows = Table->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : rows.front().data().toString();
}

ClassOverviewPage ClassOverviewWindow::page() const
{
    return {shownTrainees(), m_overview.confusions, shownPeriod(), currentDate()};
}

QString ClassOverviewWindow::exportCsv(const QString &path) const
{
    return writeFileAtomically(path, classOverviewCsv(shownTrainees()));
}

void ClassOverviewWindow::CsvButtonClick()
{
    const QString suggested =
        QDir(m_exportFolder)
            .filePath(QStringLiteral("クラス一覧_%1.csv")
                          .arg(currentDate().toString(QStringLiteral("yyyyMMdd"))));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("CSV保存"), suggested,
                                                      QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    const QString error = exportCsv(path);
    if (!error.isEmpty())
        QMessageBox::warning(this, QStringLiteral("CSV保存"), error);
}

void ClassOverviewWindow::PrintButtonClick()
{
    const ClassOverviewPage content = page();
    const PrintOutcome outcome =
        m_printer.print(QStringLiteral("QUELDO"), m_exportFolder, QStringLiteral("クラス一覧"),
                        [&content](QPainter &painter, QSize size) {
                            paintClassOverviewPage(painter, size, content);
                        });
    if (PrintOutcomeMessage::needed(outcome))
        PrintOutcomeMessage(outcome, this).exec();
}

void ClassOverviewWindow::openGrades()
{
    const QString id = chosenId();
    if (!id.isEmpty())
        m_viewer->showGrades(id);
}

void ClassOverviewWindow::openConfusions()
{
    const QString id = chosenId();
    if (!id.isEmpty())
        m_viewer->showConfusions(id);
}

} // namespace queldo
