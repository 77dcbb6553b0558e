#pragma once

#include "core/board/BoardLayout.h"
#include "core/board/BoardState.h"
#include "core/board/Placement.h"
#include "core/board/ProblemLibrary.h"
#include "core/board/ProblemLoader.h"
#include "core/exercise/ExerciseFlow.h"
#include "core/exercise/Scoring.h"
#include "core/settings/LiveSettings.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace queldo {

class AppPaths;
class PieceImage;

/// The exercise window: the spread above, the karyogram below, the command column on the right.
/// Its handlers read the controls, ask the core, and show what the core returns.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    TForm1(AppPaths &paths, LiveSettings &settings, PieceRandom &random, QWidget *parent = nullptr);
    ~TForm1() override;

    const BoardState &board() const { return m_board; }
    const ExerciseFlow &flow() const { return m_flow; }
    const ProblemLibrary &library() const { return m_library; }
    const LoadedProblem &problem() const { return m_problem; }
    QString currentProblemName() const;

    /// The trainee working here; their files are named after it.
    QString UserId;
    /// Today's date as the results file writes it; replaceable so tests can fix the day.
    std::function<QString()> todayText;

    /// Reference mode as the place labels follow it (the menu entry).
    bool referenceMode() const;
    /// Labels as the settings dialog's OK leaves them: reference or plain, offsets back at 2, 2,
    /// and "XY" on the XY place unless alignment mode is on.
    void applySettingsDialog();

    QWidget *InputPanel = nullptr;
    QWidget *OutputPanel = nullptr;
    QWidget *InOutPanel = nullptr;
    QWidget *MenuPanel = nullptr;
    std::array<QWidget *, 4> rowPanels{};    // Panel1 .. Panel4
    std::array<QWidget *, 46> placePanels{}; // Panel10 .. Panel55
    std::array<QLabel *, 46> placeLabels{};  // Label10 .. Label55
    std::array<PieceImage *, 46> pieces{};   // Image0 .. Image45
    QListWidget *ListBox3 = nullptr;
    QWidget *Panel5 = nullptr;
    QLabel *Label57 = nullptr;      // "時間:"
    QLabel *Label58 = nullptr;      // the seconds
    QLabel *Label1 = nullptr;       // "秒"
    QPushButton *Button2 = nullptr; // 次の問題
    QPushButton *Button4 = nullptr; // スタート / 一時停止 / 再スタート
    QPushButton *Button1 = nullptr; // 採点
    QPushButton *Button5 = nullptr; // 正解表示
    QPushButton *Button6 = nullptr; // 終了
    QPushButton *Button3 = nullptr; // 成績分析
    QTimer *Timer1 = nullptr;
    QAction *New1 = nullptr;      // リセット
    QAction *SaveAs1 = nullptr;   // 成績分析
    QAction *N4 = nullptr;        // プリンタ設定...
    QAction *N3 = nullptr;        // 解答欄を印刷(A4のみ)
    QAction *Exit1 = nullptr;     // 終了(&X)
    QAction *N1 = nullptr;        // 参考モード
    QAction *Setting1 = nullptr;  // 設定
    QAction *Contents1 = nullptr; // ヘルプ(&C)
    QAction *About1 = nullptr;    // バージョン情報(&A)...

    void Button1Click();
    void Button2Click();
    void ListBox3Click();
    void Button4Click();
    void Button6Click();
    void Timer1Timer();
    void New1Click();
    void About1Click();
    void Contents1Click();
    void Exit1Click();
    void N1Click();

    /// Hooks for the windows that open from here; set by whoever owns those windows.
    std::function<void()> openGradeAnalysis;
    std::function<void()> openSettings;
    std::function<void()> closeAnswerWindow;
    /// A load moved the size setting or the fit scale: the settings dialog shows them afresh.
    std::function<void()> onProblemLoaded;
    /// The menu switched reference mode: the settings dialog's check box follows.
    std::function<void()> onCheatChanged;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createMenu();
    void FormResize();
    bool chooseProblem(int position);
    void emptyBoard();
    void showPiece(int piece);
    void applyFlow();
    void applyLabels(const std::vector<LabelUpdate> &labels);
    void resetLabelOffsets();
    void showError(const QString &message);
    ScaleInputs scaleInputs() const;
    PlacementContext placementContext() const;

    void ImageContextPopup(int piece);
    void Image4ContextPopup5();
    void FormMouseWheel(int wheelDelta);
    void InputPanelMouseMove(QPoint pos);
    void ImageMouseMove(int piece);

    void piecePressed(int piece, QPoint globalPos);
    void pieceMoved(int piece, QPoint globalPos);
    void pieceReleased(int piece, QPoint globalPos);
    void dropPiece(int piece, QPoint globalPos);

    AppPaths &m_paths;
    PieceRandom &m_random;
    ProblemLibrary m_library;
    BoardState m_board;
    ExerciseFlow m_flow;
    LoadedProblem m_problem;
    LiveSettings &m_settings;
    int m_menuWidth = 0;

    int m_pressedPiece = -1;
    QPoint m_pressPos;
    bool m_dragging = false;
};

} // namespace queldo
