#pragma once

#include "core/results/ClassOverview.h"
#include "core/results/ClassOverviewText.h"

#include <QDate>
#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;
class QSortFilterProxyModel;
class QTableView;

namespace queldo {

class AppPaths;
class ClassOverviewModel;
class ConfusionHeatMap;
class PagePrinter;
class TraineeViewer;
struct ClassOverviewPage;

/// クラス一覧: every trainee's progress in a table sortable by any column, and the class's
/// confusions as a heat map and in words, over today, this week or all attempts. Read afresh
/// from the trainees' folders at every showing and by 更新; nothing here writes into them.
class ClassOverviewWindow : public QDialog
{
    Q_OBJECT
public:
    ClassOverviewWindow(AppPaths &paths, PagePrinter &printer, QWidget *parent = nullptr);
    ~ClassOverviewWindow() override;

    void setProblemList(const QStringList &problemList);
    /// Where printouts go as PDF files when there is no printer, and where the CSV file is
    /// first offered.
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }
    /// Today, for today's and this week's attempts; replaceable so tests can fix the day.
    std::function<QDate()> currentDate;

    /// Reads every trainee folder again (更新).
    void refresh();
    const ClassOverview &overview() const { return m_overview; }
    ConfusionPeriod shownPeriod() const;
    /// The rows in the order on screen.
    std::vector<TraineeSummary> shownTrainees() const;
    /// The ID of the row chosen in the table; empty when none.
    QString chosenId() const;
    /// What the printout shows: the table as sorted and the period as chosen.
    ClassOverviewPage page() const;

    /// Writes the table, as sorted, as a CSV file. Empty on success, otherwise why not.
    QString exportCsv(const QString &path) const;
    void CsvButtonClick();
    /// Prints the whole overview, or saves it as a PDF file where there is no printer.
    void PrintButtonClick();
    void openGrades();
    void openConfusions();

    TraineeViewer &viewer() { return *m_viewer; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Found by their object names from outside.
    QPushButton *RefreshButton = nullptr;    // 更新
    QPushButton *CsvButton = nullptr;        // CSV保存
    QPushButton *PrintButton = nullptr;      // 印刷
    QPushButton *GradesButton = nullptr;     // 成績
    QPushButton *ConfusionsButton = nullptr; // 取り違え
    QPushButton *CloseButton = nullptr;      // 閉じる
    QTableView *Table = nullptr;
    QRadioButton *TodayButton = nullptr; // 本日
    QRadioButton *WeekButton = nullptr;  // 今週
    QRadioButton *AllButton = nullptr;   // すべて
    ConfusionHeatMap *HeatMap = nullptr;
    QLabel *SummaryLabel = nullptr; // the five sentences
    QLabel *NoticeLabel = nullptr;  // what the tables leave out
    QLabel *CountLabel = nullptr;   // how many trainees, how many attempts

    void createControls();
    void showConfusions();

    AppPaths &m_paths;
    PagePrinter &m_printer;
    QStringList m_problemList;
    QString m_exportFolder;
    // Kept while the program runs, so that a refresh reads only the trainees who practised.
    ClassOverviewReader m_reader;
    ClassOverview m_overview;
    ClassOverviewModel *m_model = nullptr;
    QSortFilterProxyModel *m_sorted = nullptr;
    std::unique_ptr<TraineeViewer> m_viewer;
};

} // namespace queldo
