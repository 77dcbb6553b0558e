#pragma once

#include "core/app/UserFiles.h"
#include "core/board/ProblemLibrary.h"
#include "core/exercise/ExerciseFlow.h"
#include "core/exercise/ScoredAbnormalCell.h"
#include "ui/board/BoardView.h"
#include "ui/common/PagePrinter.h"
#include "ui/exercise/AnswerSheetPrinting.h"
#include "ui/exercise/TForm16.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QPainter;
class QTimer;
class QUrl;

namespace queldo {

class AppPaths;
class AttemptSaving;
class CommandColumn;
class TraineeSession;
class HelpWindow;
struct LiveSettings;
class PieceRandom;
class ExerciseRecords;

/// The exercise window: the board on the left, the command column on the right, the menu.
/// Its handlers read the controls, ask the core, and show what the core returns.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    /// session: the logged-in trainee, whose files the window writes and whose settings it reads
    /// and changes; it outlives the window, or is replaced by setSession() first.
    TForm1(AppPaths &paths, PieceRandom &random, TraineeSession &session,
           QWidget *parent = nullptr);
    ~TForm1() override;

    BoardState &board() { return InOutPanel->board(); }
    const BoardState &board() const { return InOutPanel->board(); }
    /// The board as shown: the spread, the trainee's karyogram and the pieces.
    BoardView &boardView() { return *InOutPanel; }
    const ExerciseFlow &flow() const { return m_flow; }
    const ProblemLibrary &library() const { return m_library; }
    QString currentProblemName() const;
    /// The trainee's karyogram as it stands on the screen, which a replay of an attempt matches.
    QSize karyogramSize() const;

    /// The trainee working here; their files are named after it.
    const QString UserId;
    /// Today's date as the results file writes it; replaceable so tests can fix the day.
    std::function<QString()> todayText;
    /// Hands a page to the desktop's browser; false when none could be started. Replaceable so
    /// tests can see the help shown in the program's own window.
    std::function<bool(const QUrl &)> openInBrowser;
    /// The help shown inside the program; null until it was first needed.
    HelpWindow *helpWindow() const { return m_help; }

    /// Labels as the settings dialog's OK leaves them, and the menu entry in step with it.
    void applySettingsDialog();
    /// Where the trainee last left the window, when that is still on a screen.
    void restoreRememberedPlacement();

    /// The correct-answer window, made once at start-up and shown over this window's spread.
    void setAnswerWindow(TForm16 *window) { m_answer = window; }
    TForm16 *AnswerWindow() const { return m_answer; }
    /// Prepares the answer window for the problem on the board, exactly as 正解表示 does, and
    /// shows it over the spread. The buttons are not touched.
    void showAnswerWindow();
    /// Closes the answer window; nothing happens when it is not shown.
    void closeAnswerWindow();
    /// The attempt on the board as the answer sheet prints it.
    AnswerSheetJob answerSheetJob();
    /// The program's one current printer, which the printer setup changes for every printout.
    void setPrinter(PagePrinter *printer);
    /// Called again when the session changes: read-only, nothing is recorded or remembered; the
    /// board and the menu follow the new session's settings.
    void setSession(TraineeSession *session);
    /// First scorings not yet wholly saved, and how the trainee is told about them.
    AttemptSaving &attemptSaving();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void ListBox3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Timer1Timer();
    void New1Click();
    void Contents1Click();
    void N3Click();
    void N4Click();
    void Exit1Click();
    void N1Click();

signals:
    /// 設定 was chosen: the settings dialog opens modally.
    void settingsRequested();
    /// 成績分析 or F12: the grade analysis opens.
    void gradeAnalysisRequested();
    /// バージョン情報: the version window opens modally.
    void aboutRequested();
    /// 指導者 → クラス一覧: the teacher's view of the class, behind the teacher's password.
    void classOverviewRequested();
    /// The first scoring of a problem with a karyotype to name, after its places show their
    /// verdicts. Nothing of it was written: the results and arrangement files keep normal
    /// cells only.
    void abnormalCellScored(const queldo::ScoredAbnormalCell &attempt);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createCommandColumn();
    void createMenu();
    void FormResize();
    bool chooseProblem(int position);
    void applyFlow();
    void showError(const QString &message);
    void showMessage(const QString &message);

    // Found by their object names from outside; the handlers above are how the window is used.
    BoardView *InOutPanel = nullptr;
    CommandColumn *m_column = nullptr;
    QTimer *Timer1 = nullptr;
    QAction *N1 = nullptr; // 参考モード, checked in step with the settings

    AppPaths &m_paths;
    UserFiles m_files;
    LiveSettings *m_settings = nullptr; ///< the session's
    PieceRandom &m_random;
    ProblemLibrary m_library;
    ExerciseFlow m_flow;
    QPointer<TForm16> m_answer;
    HelpWindow *m_help = nullptr;
    PagePrinter *m_printer = nullptr;
    int m_menuWidth = 0;
    std::unique_ptr<ExerciseRecords> m_records;
};

} // namespace queldo
