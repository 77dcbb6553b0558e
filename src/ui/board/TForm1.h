#pragma once

#include "board/BoardLayout.h"
#include "board/BoardState.h"
#include "board/ProblemLibrary.h"
#include "board/ProblemLoader.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace queldo {

class AppPaths;
class PieceImage;

/// The exercise window: the spread above, the karyogram below, the command column on the right.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    TForm1(AppPaths &paths, PieceRandom &random, QWidget *parent = nullptr);
    ~TForm1() override;

    const BoardState &board() const { return m_board; }
    const ProblemLibrary &library() const { return m_library; }
    float effectiveScale() const { return m_effectiveScale; }
    float baseScale() const { return m_baseScale; }

    /// Empties the board, loads the problem at a number-list position and deals it.
    /// Returns false (and says why) when nothing could be loaded.
    bool chooseProblem(int position);

    QWidget *InputPanel = nullptr;
    QWidget *OutputPanel = nullptr;
    QWidget *InOutPanel = nullptr;
    QWidget *MenuPanel = nullptr;
    std::array<QWidget *, 4> rowPanels{};   // Panel1 .. Panel4
    std::array<QWidget *, 46> placePanels{}; // Panel10 .. Panel55
    std::array<QLabel *, 46> placeLabels{};  // Label10 .. Label55
    std::array<PieceImage *, 46> pieces{};   // Image0 .. Image45
    QListWidget *ListBox3 = nullptr;
    QWidget *Panel5 = nullptr;
    QLabel *Label57 = nullptr; // "時間:"
    QLabel *Label58 = nullptr; // the seconds
    QLabel *Label1 = nullptr;  // "秒"
    QPushButton *Button2 = nullptr; // 次の問題
    QPushButton *Button4 = nullptr; // スタート
    QPushButton *Button1 = nullptr; // 採点
    QPushButton *Button5 = nullptr; // 正解表示
    QPushButton *Button6 = nullptr; // 終了
    QPushButton *Button3 = nullptr; // 成績分析

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void FormResize();
    void emptyBoard();
    void showBoard();
    void showError(const QString &message);
    ScaleInputs scaleInputs() const;

    AppPaths &m_paths;
    PieceRandom &m_random;
    ProblemLibrary m_library;
    BoardState m_board;
    LoadedProblem m_problem;
    float m_baseScale = 0.7f;
    float m_effectiveScale = 1.0f;
    int m_trackBarPosition = 10;
    int m_customScale = 0;
    int m_menuWidth = 0;
};

} // namespace queldo
