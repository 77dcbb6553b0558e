#include "ui/results/ConfusionWindow.h"

#include "core/app/TraineeSession.h"
#include "core/board/ProblemFolder.h"
#include "core/results/ConfusionReading.h"
#include "ui/common/PagePrinter.h"
#include "ui/common/PrintOutcomeMessage.h"
#include "ui/results/AttemptListModel.h"
#include "ui/results/ConfusionHeatMap.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace queldo {

ConfusionWindow::ConfusionWindow(PagePrinter &printer, QWidget *parent)
    : QDialog(parent), m_printer(printer)
{
    setObjectName(QStringLiteral("ConfusionWindow"));
    setWindowTitle(QStringLiteral("取り違え"));
    currentDate = [] { return QDate::currentDate(); };

    TodayButton = new QRadioButton(QStringLiteral("本日"), this);
    TodayButton->setObjectName(QStringLiteral("TodayButton"));
    AllButton = new QRadioButton(QStringLiteral("すべての試行"), this);
    AllButton->setObjectName(QStringLiteral("AllButton"));
    AllButton->setChecked(true);
    auto *group = new QButtonGroup(this);
    group->addButton(TodayButton);
    group->addButton(AllButton);
    PrintButton = new QPushButton(QStringLiteral("印刷"), this);
    PrintButton->setObjectName(QStringLiteral("PrintButton"));
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setDefault(true);

    HeatMap = new ConfusionHeatMap(this);
    // The map draws its cells for whatever size it has: the trainee can make the window small
    // on a small screen and still read it, down to cells of some ten pixels.
    HeatMap->setMinimumSize(300, 290);
    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    SummaryLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont large = SummaryLabel->font();
    large.setPixelSize(16);
    SummaryLabel->setFont(large);
    NoticeLabel = new QLabel(this);
    NoticeLabel->setObjectName(QStringLiteral("NoticeLabel"));
    NoticeLabel->setWordWrap(true);

    // Rows are made as they scroll into view and all of one height, so that years of attempts
    // list as fast as a day's; the columns are sized from the rows in view.
    m_attemptModel = new AttemptListModel(this);
    AttemptList = makeAttemptList();
    ReplayButton = new QPushButton(QStringLiteral("再現"), this);
    ReplayButton->setObjectName(QStringLiteral("ReplayButton"));

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("数える試行:"), this));
    top->addWidget(TodayButton);
    top->addWidget(AllButton);
    top->addStretch();
    top->addWidget(PrintButton);
    top->addWidget(CloseButton);
    auto *right = m_rightColumn = new QVBoxLayout;
    auto *heading = new QLabel(QStringLiteral("よくある取り違え"), this);
    right->addWidget(heading);
    right->addWidget(SummaryLabel);
    right->addWidget(NoticeLabel);
    right->addWidget(new QLabel(QStringLiteral("これまでの試行 (選んで「再現」)"), this));
    right->addWidget(AttemptList, 1);
    right->addWidget(ReplayButton, 0, Qt::AlignRight);
    auto *body = new QHBoxLayout;
    body->addWidget(HeatMap, 3);
    body->addLayout(right, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);
    resize(980, 620);

    connect(TodayButton, &QRadioButton::toggled, this, &ConfusionWindow::showTable);
    connect(ReplayButton, &QPushButton::clicked, this, &ConfusionWindow::replayChosenAttempt);
    connect(PrintButton, &QPushButton::clicked, this, &ConfusionWindow::PrintButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
}

QTreeView *ConfusionWindow::makeAttemptList()
{
    auto *list = new QTreeView(this);
    list->setObjectName(QStringLiteral("AttemptList"));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setModel(m_attemptModel);
    list->setItemDelegate(new AttemptListDelegate(list));
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setResizeContentsPrecision(0);
    list->setAccessibleName(QStringLiteral("試行の一覧"));
    connect(list, &QTreeView::doubleClicked, this, &ConfusionWindow::replayChosenAttempt);
    return list;
}

// The list reads the attempts where they lie: it lets go of them before they go, as the
// window's members go before its children.
ConfusionWindow::~ConfusionWindow()
{
    m_attemptModel->clear();
}

void ConfusionWindow::showEvent(QShowEvent *event)
{
    refresh();
    QDialog::showEvent(event);
}

void ConfusionWindow::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return; // minimised: it comes back as it was
    m_attemptModel->clear();
    m_data = ConfusionData();
    // The picture the window is drawn into is as large as the window, and a list keeps room for
    // as many rows as it ever showed: both are given back until the next showing.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            return;
        QTreeView *fresh = makeAttemptList();
        delete m_rightColumn->replaceWidget(AttemptList, fresh);
        delete AttemptList;
        AttemptList = fresh;
        setTabOrder(AttemptList, ReplayButton);
        destroy();
    });
}

void ConfusionWindow::refresh()
{
    // The list lets go of the old attempts before they are replaced.
    m_attemptModel->clear();
    // Opened only after the login: before it there are no attempts to read.
    if (!m_session)
        return;
    // Counted as the files are read; of the arrangements only where each lies is kept.
    const UserFiles &files = m_session->files();
    m_data =
        readConfusions(files.relative(UserFile::Results), files.relative(UserFile::Arrangements),
                       m_problemList, TodayDate(currentDate(), QLocale()));
    m_attemptModel->setAttempts(&m_data.attempts, int(m_problemList.size()),
                                palette().brush(QPalette::Disabled, QPalette::Text));
    if (m_attemptModel->rowCount() > 0)
        AttemptList->setCurrentIndex(m_attemptModel->index(0, 0));
    showTable();
}

const ConfusionTable &ConfusionWindow::shownTable() const
{
    return TodayButton->isChecked() ? m_data.counts.today : m_data.counts.all;
}

void ConfusionWindow::showTable()
{
    HeatMap->setTable(shownTable());
    SummaryLabel->setText(confusionSummary(shownTable()));
    NoticeLabel->setText(confusionNotices(m_data));
    NoticeLabel->setVisible(!NoticeLabel->text().isEmpty());
}

void ConfusionWindow::replayChosenAttempt()
{
    const AttemptEntry *chosen = m_attemptModel->attemptAt(AttemptList->currentIndex().row());
    if (!chosen) {
        QMessageBox::information(this, windowTitle(), QStringLiteral("試行を選んでください。"));
        return;
    }
    const AttemptEntry &attempt = *chosen;
    const QString refusal = replayRefusal(attempt, int(m_problemList.size()));
    if (!refusal.isEmpty()) {
        QMessageBox::information(this, windowTitle(), refusal);
        return;
    }
    const ReplayLine replay = readAttemptArrangement(
        m_session->files().relative(UserFile::Arrangements), m_data, attempt);
    if (!replay.error.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), replay.error);
        return;
    }
    emit replayRequested(replay.line);
}

void ConfusionWindow::paintPage(QPainter &painter, const QRect &area) const
{
    painter.save();
    painter.fillRect(area, Qt::white);
    QFont font = painter.font();
    font.setPixelSize(std::max(10, area.width() / 40));
    painter.setFont(font);
    const int line = painter.fontMetrics().height();
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), area.top(), area.width(), line), Qt::AlignLeft,
                     QStringLiteral("%1さんの取り違え (%2)")
                         .arg(m_session ? m_session->id() : QString(),
                              TodayButton->isChecked() ? QStringLiteral("本日")
                                                       : QStringLiteral("すべての試行")));
    const int side = std::max(0, std::min(area.width(), area.height() - 10 * line));
    paintConfusionHeatMap(painter, QRectF(area.left(), area.top() + 2 * line, side, side),
                          shownTable());
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), area.top() + 3 * line + side, area.width(),
                           area.height() - 3 * line - side),
                     Qt::AlignLeft | Qt::AlignTop, confusionSummary(shownTable()));
    painter.restore();
}

QImage ConfusionWindow::printPicture(QSize size) const
{
    QImage page(size, QImage::Format_RGB32);
    QPainter painter(&page);
    paintPage(painter, QRect(QPoint(0, 0), size));
    return page;
}

void ConfusionWindow::PrintButtonClick()
{
    // Drawn at the page's own resolution rather than as a picture of the screen, so that the
    // counts stay sharp on paper.
    if (!m_session)
        return;
    const PrintOutcome outcome =
        m_printer.print(QStringLiteral("QUELDO"), m_session->files().programFolder(),
                        QStringLiteral("取り違え"), [this](QPainter &painter, QSize page) {
                            const int margin = page.width() / 20;
                            paintPage(painter, QRect(margin, margin, page.width() - 2 * margin,
                                                     page.height() - 2 * margin));
                        });
    if (PrintOutcomeMessage::needed(outcome))
        PrintOutcomeMessage(outcome, this).exec();
}

void ConfusionWindow::takeOutWriting()
{
    for (QPushButton *button : {PrintButton, ReplayButton}) {
        button->setEnabled(false);
        button->hide();
    }
    disconnect(AttemptList, &QTreeView::doubleClicked, this, nullptr);
}

} // namespace queldo
