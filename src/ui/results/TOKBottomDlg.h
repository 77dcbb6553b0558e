#pragma once

#include <QDate>
#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>

class QBarSeries;
class QBarSet;
class QChartView;
class QFrame;
class QLabel;
class QLineSeries;
class QPushButton;

namespace queldo {

class AbnormalSection;
class GradeStatisticsInBackground;
class PagePrinter;
class TForm8;
class TraineeSession;
struct GradeStatistics;

/// The grade analysis window: three charts of the trainee's history on the left, today's and
/// all-time advice on the right, computed afresh from the results file whenever it has changed
/// since the last showing (or the day, the installed problems or the room for the charts). Opened
/// modally with exec(), which also runs the erasing of all grades: the window steps aside for the
/// confirmation and comes back, showing the file as it then is.
class TOKBottomDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TOKBottomDlg(PagePrinter &printer, QWidget *parent = nullptr);
    ~TOKBottomDlg() override;

    /// The installed problems' folder names, in list order: a record's problem number indexes it.
    void setProblemList(const QStringList &problemList) { m_problemList = problemList; }
    /// The logged-in trainee, whose grades are shown; none until the login.
    void setSession(const TraineeSession *session) { m_session = session; }
    /// The erase confirmation, made after this window.
    void setEraseConfirmation(TForm8 *confirmation) { m_eraseConfirmation = confirmation; }
    /// Today, for the records of today; replaceable so tests can fix the day.
    std::function<QDate()> currentDate;

    int exec() override;

    /// Reads the trainee's grades on a worker thread and fills the hidden window with them, so
    /// that opening it over the same file only shows it. For a quiet moment after the login.
    void prepare();

    void FormShow();
    void Button1Click();
    void Button2Click();
    void OKBtnClick();
    /// Prints a picture of the window as it looks on screen and leaves it on the clipboard.
    void GradeReportPrint();
    /// The picture GradeReportPrint prints: the window with its frame and caption.
    QImage reportPicture();
    /// For a look that writes nothing: 印刷 (which saves into the trainee's folder where there is
    /// no printer) and 成績クリア taken out.
    void takeOutWriting();

private:
    // Found by their object names from outside; the series through their charts.
    QLabel *Label1 = nullptr;               // "<ID>さんの成績"
    QPushButton *Button1 = nullptr;         // 印刷
    QPushButton *OKBtn = nullptr;           // 閉じる
    QPushButton *Button2 = nullptr;         // 成績クリア
    QPushButton *ConfusionButton = nullptr; // 取り違え
    QFrame *Bevel1 = nullptr;
    QFrame *Bevel2 = nullptr;
    QLabel *Label6 = nullptr; // today's report
    QLabel *Label2 = nullptr; // the report over all records
    /// Lines of the results file that could not be read, or why the file could not be read.
    QLabel *NoticeLabel = nullptr;
    QChartView *Chart1 = nullptr; // accuracy per attempt
    QChartView *Chart3 = nullptr; // accuracy per chromosome pair
    QChartView *Chart2 = nullptr; // answer time
    QLineSeries *Series2 = nullptr;
    QBarSeries *Series3 = nullptr;
    QBarSet *Series3Values = nullptr; // 縦棒
    QLineSeries *Series1 = nullptr;
    /// Attempts at abnormal cells, below the charts when there are any.
    AbnormalSection *AbnormalPanel = nullptr;

signals:
    /// 取り違え: the trainee's mix-ups, shown over this window.
    void confusionsRequested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void arrangeCharts();
    void fillCharts(const GradeStatistics &statistics);
    void showNotice(const QString &text);
    void fillPrepared();

    const TraineeSession *m_session = nullptr;
    // What the figures on show were computed from: a showing with the same sources leaves them.
    // The file's size and time tell an append or a rewrite, as the class overview's do.
    struct Sources
    {
        QString path;
        qint64 size = -1;
        qint64 modified = 0;
        QDate today;
        QStringList problems;
        bool abnormalSection = false;
        bool operator==(const Sources &) const = default;
    };
    Sources currentSources();
    void showFigures(Sources sources, const GradeStatistics &statistics, const QString &error);
    Sources m_shown;
    // What the figures computed in the background are computed from.
    Sources m_preparing;
    PagePrinter &m_printer;
    QStringList m_problemList;
    TForm8 *m_eraseConfirmation = nullptr;
    bool m_eraseRequested = false;
    // Last, so that it goes first: a computation still running is waited for while the window
    // it reports to is whole.
    std::unique_ptr<GradeStatisticsInBackground> m_background;
};

} // namespace queldo
