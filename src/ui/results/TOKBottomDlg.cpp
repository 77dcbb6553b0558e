#include "ui/results/TOKBottomDlg.h"

#include "core/app/TraineeSession.h"
#include "core/results/GradeStatistics.h"
#include "core/results/GradeStatisticsInBackground.h"
#include "core/results/GradeWindowLayout.h"
#include "core/results/LineChartPoints.h"
#include "core/results/ResultsDate.h"
#include "ui/common/DialogLook.h"
#include "ui/common/PagePrinter.h"
#include "ui/common/PrintOutcomeMessage.h"
#include "ui/common/ProgramFonts.h"
#include "ui/common/ScreenCentring.h"
#include "ui/common/WindowPicture.h"
#include "ui/results/AbnormalSection.h"
#include "ui/results/GradeCharts.h"
#include "ui/results/ReportLabel.h"
#include "ui/results/TForm8.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QFileInfo>
#include <QFrame>
#include <QGraphicsLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace queldo {

namespace {

QFrame *makeBevel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *bevel = new QFrame(parent);
    bevel->setObjectName(QString::fromLatin1(name));
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(geometry);
    return bevel;
}

QLabel *makeReportLabel(QWidget *parent, const char *name, QPoint at)
{
    auto *label = new ReportLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    setFontPixelSize(label, 16);
    label->move(at);
    return label;
}

} // namespace

TOKBottomDlg::TOKBottomDlg(PagePrinter &printer, QWidget *parent)
    : QDialog(parent), currentDate([] { return QDate::currentDate(); }), m_printer(printer),
      m_background(std::make_unique<GradeStatisticsInBackground>())
{
    setObjectName(QStringLiteral("OKBottomDlg"));
    setWindowTitle(QStringLiteral("成績"));
    setWindowFlags(FixedDialogFrame);
    // It hides itself while the erase confirmation is up; that must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFontPixelSize(this, 12);
    setAutoFillBackground(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    setFontPixelSize(Label1, 16);
    Label1->move(24, 8);

    NoticeLabel = new QLabel(this);
    NoticeLabel->setObjectName(QStringLiteral("NoticeLabel"));
    NoticeLabel->setTextFormat(Qt::PlainText);
    NoticeLabel->setStyleSheet(QStringLiteral("color: #C00000"));
    NoticeLabel->setWordWrap(false);
    NoticeLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Two lines, the failure and its reason, in the strip above the charts and the reports.
    setFontPixelSize(NoticeLabel, 12);
    NoticeLabel->setGeometry(240, 0, 430, 32);
    NoticeLabel->hide();

    Bevel1 = makeBevel(this, "Bevel1", QRect(416, 32, 441, 233));
    Bevel2 = makeBevel(this, "Bevel2", QRect(416, 272, 441, 417));
    Label6 = makeReportLabel(this, "Label6", {432, 56});
    // A long history's figures run wider than the frame: the line breaks, with the frame's own
    // margin kept on the right as on the left.
    static_cast<ReportLabel *>(Label6)->setWrapWidth(Bevel1->geometry().right() + 1 - 16 -
                                                     Label6->x());
    Label2 = makeReportLabel(this, "Label2", {448, 320});

    // Enter closes the window from the start: the focus never begins on printing or erasing.
    OKBtn = new QPushButton(QStringLiteral("閉じる"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(773, 2, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TOKBottomDlg::OKBtnClick);

    Button1 = new QPushButton(QStringLiteral("印刷"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(680, 2, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TOKBottomDlg::Button1Click);

    Button2 = new QPushButton(QStringLiteral("成績クリア"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(8, 653, 75, 25);
    connect(Button2, &QPushButton::clicked, this, &TOKBottomDlg::Button2Click);

    // Beside 成績クリア: the one free stretch of the window, below the charts.
    ConfusionButton = new QPushButton(QStringLiteral("取り違え"), this);
    ConfusionButton->setObjectName(QStringLiteral("ConfusionButton"));
    ConfusionButton->setGeometry(91, 653, 75, 25);
    connect(ConfusionButton, &QPushButton::clicked, this, &TOKBottomDlg::confusionsRequested);

    AbnormalPanel = new AbnormalSection(this);

    Series2 = makeLineSeries("Series2", QStringLiteral("全染色体正答率"));
    Chart1 = makeChart(this, "Chart1", QStringLiteral("全染色体正解率(正解数/46個)"), Series2,
                       makeAxis(QStringLiteral("練習回数(回)"), 0, 2),
                       makeAxis(QStringLiteral("正答率(%)"), 0, 100));

    Series3 = new QBarSeries;
    Series3->setObjectName(QStringLiteral("Series3"));
    Series3->setName(QStringLiteral("正答率"));
    Series3Values = new QBarSet(QStringLiteral("縦棒"));
    Series3Values->setObjectName(QStringLiteral("Series3Values"));
    Series3Values->setColor(Qt::black);
    Series3Values->setPen(QPen(Qt::black, 2));
    Series3->append(Series3Values);
    Chart3 = makeChart(this, "Chart3", QStringLiteral("染色体ごとの正解率"), Series3,
                       makeAxis(QStringLiteral("染色体番号"), 0, 24),
                       makeAxis(QStringLiteral("正答率(%)"), 0, 100));

    Series1 = makeLineSeries("Series1", QStringLiteral("解答時間"));
    Chart2 = makeChart(this, "Chart2", QStringLiteral("解答時間"), Series1,
                       makeAxis(QStringLiteral("練習回数(回)"), 0, 2),
                       makeAxis(QStringLiteral("解答時間(秒)"), 48, 49));

    for (QChartView *chart : {Chart1, Chart3, Chart2}) {
        auto *left = qobject_cast<QValueAxis *>(chart->chart()->axes(Qt::Vertical).constFirst());
        auto *bottom =
            qobject_cast<QValueAxis *>(chart->chart()->axes(Qt::Horizontal).constFirst());
        setAxisRange(left, {left->min(), left->max()}, 5);
        setAxisRange(bottom, {bottom->min(), bottom->max()}, 6);
    }

    // Arranged here as well as at every showing: a chart that first gets its size while showing
    // would lay out a long history twice, once for its old size and once for the new.
    arrangeCharts();

    setTabOrder(OKBtn, Button1);
    setTabOrder(Button1, Button2);
    setFixedSize(861, 690);
    centreOnEveryShow(this);
}

TOKBottomDlg::~TOKBottomDlg() = default;

void TOKBottomDlg::arrangeCharts()
{
    // The section on abnormal cells, when there is one, takes the foot of the chart column.
    const int sectionRoom = !AbnormalPanel->isHidden() ? AbnormalPanel->height() + 4 : 0;
    const GradeChartRects rects =
        gradeChartRects(Bevel1->geometry().topLeft(), Button2->y() - sectionRoom);
    AbnormalPanel->move(4, Button2->y() - sectionRoom - 6);
    Chart1->setGeometry(rects.accuracy);
    Chart3->setGeometry(rects.pairs);
    Chart2->setGeometry(rects.times);
    // A hidden view hands its size to its chart only when it shows: the chart takes it now, so
    // that figures filled in while hidden are laid out for the size they are shown at, once.
    for (QChartView *chart : {Chart1, Chart3, Chart2})
        chart->chart()->resize(chart->size());
}

int TOKBottomDlg::exec()
{
    // "成績クリア" ends this showing; the confirmation runs, and whatever its answer the window
    // comes back, still modal to the exercise window, with the file as it now stands.
    for (;;) {
        m_eraseRequested = false;
        const int result = QDialog::exec();
        if (!m_eraseRequested || !m_eraseConfirmation)
            return result;
        m_eraseConfirmation->exec();
    }
}

void TOKBottomDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TOKBottomDlg::FormShow()
{
    // Opened only after the login: before it there are no grades to read.
    if (!m_session)
        return;
    Sources sources = currentSources();
    if (sources.size >= 0 && sources == m_shown)
        return;
    // Figures being computed in the background from these very sources are waited for rather
    // than computed a second time.
    if (m_background->pending() && sources == m_preparing) {
        const GradeStatisticsInBackground::Figures figures = m_background->take();
        showFigures(std::move(sources), figures.statistics, figures.error);
        return;
    }
    // Read a block at a time: a history of any length costs the figures, not the file.
    const GradeStatisticsInBackground::Figures figures = gradeFiguresOfFile(
        sources.path, TodayDate(sources.today, QLocale::system()), m_problemList);
    showFigures(std::move(sources), figures.statistics, figures.error);
}

void TOKBottomDlg::prepare()
{
    if (!m_session || isVisible() || m_background->pending())
        return;
    Sources sources = currentSources();
    if (sources.size < 0 || sources == m_shown)
        return;
    m_preparing = sources;
    m_background->start(sources.path, TodayDate(sources.today, QLocale::system()), m_problemList,
                        this, [this] { fillPrepared(); });
}

void TOKBottomDlg::fillPrepared()
{
    // Taken by an opening meanwhile, or left for the next one while this one shows other figures.
    if (!m_background->pending() || isVisible())
        return;
    const GradeStatisticsInBackground::Figures figures = m_background->take();
    // A file that changed while it was read is read again at the opening.
    if (currentSources() == m_preparing)
        showFigures(std::move(m_preparing), figures.statistics, figures.error);
}

TOKBottomDlg::Sources TOKBottomDlg::currentSources()
{
    const UserFiles &files = m_session->files();
    AbnormalPanel->refresh(files.relative(UserFile::AbnormalAttempts), Bevel1->x() - 8);
    // fillCharts() clears the series on either road below, just before their axes change.
    arrangeCharts();

    Label1->setText(m_session->id() + QStringLiteral("さんの成績"));
    Label1->adjustSize();

    // Taken before the file is read: an append racing the reading is read again next time.
    const QString path = files.relative(UserFile::Results);
    const QFileInfo file(path);
    return {path,
            file.exists() ? file.size() : -1,
            file.lastModified().toMSecsSinceEpoch(),
            currentDate(),
            m_problemList,
            !AbnormalPanel->isHidden()};
}

void TOKBottomDlg::showFigures(Sources sources, const GradeStatistics &statistics,
                               const QString &error)
{
    m_shown = {};
    if (error.isEmpty())
        m_shown = std::move(sources);
    if (!error.isEmpty())
        showNotice(error);
    else if (statistics.linesLeftOut > 0)
        showNotice(QStringLiteral("成績ファイルの読めない %1 行を除いて集計しました。")
                       .arg(statistics.linesLeftOut));
    else
        showNotice({});

    if (statistics.noRecords) {
        Label6->move(Label6->x(), 100);
        Label6->setText(statistics.TodayReport);
        Label6->adjustSize();
        // It stays where an earlier showing put it, grown if need be to take the text.
        Label2->setText(statistics.OverallReport);
        Label2->resize(Label2->size().expandedTo(Label2->sizeHint()));
        fillCharts(statistics);
        OKBtn->setFocus();
        return;
    }

    Label6->move(Label6->x(), 56);
    Label6->setVisible(true);
    fillCharts(statistics);
    // Set again, as the window always has; only a changed title costs a new layout.
    if (Chart2->chart()->title() != QStringLiteral("解答時間"))
        Chart2->chart()->setTitle(QStringLiteral("解答時間"));
    Label6->setText(statistics.TodayReport);
    Label6->adjustSize();

    // 11 points on the 96-dpi screen the window was laid out for; in pixels, so that the report
    // fits the label on any screen.
    setFontPixelSize(Label2, 15);
    Label2->setGeometry(Label2->x(), Bevel2->y() + 16, Bevel2->width() - 32, Bevel2->height() - 32);
    Label2->setText(statistics.OverallReport);
}

void TOKBottomDlg::fillCharts(const GradeStatistics &statistics)
{
    // Axes first: every change of a range lays out the points already in the series again, which
    // on a long history costs more than filling them.
    const int attempts = int(statistics.accuracyPerAttempt.size());
    double slowest = 0;
    for (const QPointF &point : statistics.secondsPerAttempt)
        slowest = std::max(slowest, point.y());
    const auto axis = [](QChartView *chart, Qt::Orientation orientation) {
        return qobject_cast<QValueAxis *>(chart->chart()->axes(orientation).constFirst());
    };
    Series2->clear();
    Series1->clear();
    setAxisRange(axis(Chart1, Qt::Horizontal), attemptAxisRange(attempts), 6);
    setAxisRange(axis(Chart2, Qt::Horizontal), attemptAxisRange(attempts), 6);
    setAxisRange(axis(Chart2, Qt::Vertical), answerTimeAxisRange(slowest), 5);

    // A long history has many attempts per pixel: the lines get the points that draw them, by
    // the plot's pixel columns once the new axes are laid out.
    const auto drawn = [](const QList<QPointF> &points, QChartView *view, AxisRange range) {
        view->chart()->layout()->activate();
        const QRectF plot = view->chart()->plotArea();
        return lineChartPoints(points, {range.minimum, range.maximum, plot.left(), plot.width()});
    };
    Series2->replace(drawn(statistics.accuracyPerAttempt, Chart1, attemptAxisRange(attempts)));
    Series3Values->remove(0, Series3Values->count());
    // A bar stands at its index on the value axis: index 0 holds nothing, pair k is index k.
    if (!statistics.accuracyPerPair.isEmpty()) {
        QList<qreal> bars{0};
        for (const QPointF &point : statistics.accuracyPerPair)
            bars << point.y();
        Series3Values->append(bars);
    }
    Series1->replace(drawn(statistics.secondsPerAttempt, Chart2, attemptAxisRange(attempts)));
}

void TOKBottomDlg::showNotice(const QString &text)
{
    // The strip above the charts holds two lines: the failure and its reason, a long path in the
    // reason shortened in its middle. The whole text stays a pointer away.
    QStringList lines = text.split(u'\n').mid(0, 2);
    for (QString &line : lines)
        line = NoticeLabel->fontMetrics().elidedText(line, Qt::ElideMiddle, NoticeLabel->width());
    NoticeLabel->setToolTip(text);
    NoticeLabel->setText(lines.join(u'\n'));
    NoticeLabel->setVisible(!text.isEmpty());
}

void TOKBottomDlg::Button1Click()
{
    GradeReportPrint();
}

void TOKBottomDlg::Button2Click()
{
    m_eraseRequested = true;
    // Hides the window and ends this showing; exec() then asks for the confirmation.
    done(QDialog::Rejected);
}

void TOKBottomDlg::OKBtnClick()
{
    accept();
}

QImage TOKBottomDlg::reportPicture()
{
    return windowPicture(this);
}

void TOKBottomDlg::GradeReportPrint()
{
    if (!m_session)
        return;
    const QImage picture = reportPicture();
    // The picture stays on the clipboard for pasting elsewhere.
    QGuiApplication::clipboard()->setImage(picture);

    const PrintOutcome outcome = m_printer.print(
        QStringLiteral("QUELDO"), m_session->files().programFolder(), QStringLiteral("成績"),
        [&picture](QPainter &painter, QSize page) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(gradeReportPictureRect(page.width(), picture.size()), picture);
        });
    if (PrintOutcomeMessage::needed(outcome))
        PrintOutcomeMessage(outcome, this).exec();
}

void TOKBottomDlg::takeOutWriting()
{
    for (QPushButton *button : {Button1, Button2}) {
        button->setEnabled(false);
        button->hide();
    }
}

} // namespace queldo
