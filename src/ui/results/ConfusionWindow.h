#pragma once

#include "core/results/Confusions.h"

#include <QDate>
#include <QDialog>
#include <QStringList>

#include <functional>

class QLabel;
class QPainter;
class QPushButton;
class QRadioButton;
class QTreeView;
class QVBoxLayout;

namespace queldo {

class AttemptListModel;
class ConfusionHeatMap;
class PagePrinter;
class TraineeSession;

/// "取り違え": which chromosomes the trainee puts in which places, as a heat map and in words,
/// over today's attempts or all of them, and the list of past attempts, any of which can be
/// replayed. Everything is read afresh from the results and arrangement files at every showing,
/// and let go again when the window closes: it is made at start-up and lives as long as the
/// program, so a history held between showings would be held all day.
class ConfusionWindow : public QDialog
{
    Q_OBJECT
public:
    explicit ConfusionWindow(PagePrinter &printer, QWidget *parent = nullptr);
    ~ConfusionWindow() override;

    /// The installed problems' folder names, in list order: a record's problem number indexes it.
    void setProblemList(const QStringList &problemList) { m_problemList = problemList; }
    /// The logged-in trainee, whose attempts are shown; none until the login.
    void setSession(const TraineeSession *session) { m_session = session; }
    /// Today, for today's attempts; replaceable so tests can fix the day.
    std::function<QDate()> currentDate;

    /// Reads both files and fills the window.
    void refresh();
    const ConfusionData &data() const { return m_data; }
    const AttemptListModel &attemptModel() const { return *m_attemptModel; }
    /// The table on show: today's or all attempts'.
    const ConfusionTable &shownTable() const;

    /// Opens the chosen attempt beside its answer, or says why it cannot be.
    void replayChosenAttempt();
    /// The printout: the heading, the heat map and the sentences, drawn into area.
    void paintPage(QPainter &painter, const QRect &area) const;
    /// The printout drawn into a picture of the given size.
    QImage printPicture(QSize size) const;
    /// Prints the page on the current printer, or saves it as a PDF file where there is none.
    void PrintButtonClick();
    /// For a look that writes nothing: printing (which saves into the trainee's folder where
    /// there is no printer) and replaying taken out, the list's double-click with them.
    void takeOutWriting();

private:
    // Found by their object names from outside.
    QRadioButton *TodayButton = nullptr; // 本日
    QRadioButton *AllButton = nullptr;   // すべての試行
    ConfusionHeatMap *HeatMap = nullptr;
    QLabel *SummaryLabel = nullptr; // the five sentences
    QLabel *NoticeLabel = nullptr;  // what the counts leave out
    /// Newest first; its model is attemptModel().
    QTreeView *AttemptList = nullptr;
    QPushButton *ReplayButton = nullptr; // 再現
    QPushButton *PrintButton = nullptr;  // 印刷
    QPushButton *CloseButton = nullptr;  // 閉じる

signals:
    /// An attempt to be shown again, with its arrangement.
    void replayRequested(const queldo::ArrangementLine &line);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void showTable();
    QTreeView *makeAttemptList();

    const TraineeSession *m_session = nullptr;
    PagePrinter &m_printer;
    QStringList m_problemList;
    ConfusionData m_data;
    AttemptListModel *m_attemptModel = nullptr;
    QVBoxLayout *m_rightColumn = nullptr; // holds the attempt list
};

} // namespace queldo
