#include "ui/exercise/TForm1.h"

#include "core/app/AppPaths.h"
#include "core/app/TraineeSession.h"
#include "core/results/ResultsDate.h"
#include "core/settings/LiveSettings.h"
#include "ui/app/HelpWindow.h"
#include "ui/board/WindowWheel.h"
#include "ui/common/AccessibleNames.h"
#include "ui/common/PagePrinter.h"
#include "ui/exercise/AnswerSheetCommand.h"
#include "ui/exercise/AnswerSheetPrinting.h"
#include "ui/exercise/AttemptSaving.h"
#include "ui/exercise/CommandColumn.h"
#include "ui/exercise/ExerciseRecords.h"
#include "ui/exercise/ProblemDealing.h"
#include "ui/exercise/ScoredAttemptKeeping.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

namespace queldo {

TForm1::TForm1(AppPaths &paths, PieceRandom &random, TraineeSession &session, QWidget *parent)
    : QMainWindow(parent), UserId(session.id()), m_paths(paths), m_files(session.files()),
      m_settings(&session.settings()), m_random(random)
{
    todayText = [] { return resultsDateText(QDate::currentDate()); };
    openInBrowser = [](const QUrl &page) { return QDesktopServices::openUrl(page); };
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QUELDO"));
    setCentralWidget(new QWidget(this));
    InOutPanel = new BoardView(QDir(m_paths.imagesFolder()), centralWidget());
    InOutPanel->setSettings(m_settings);
    createCommandColumn();
    createMenu();

    m_library = ProblemLibrary::probe(QDir(m_paths.imagesFolder()));
    m_column->setNumbers(m_library.numberTexts());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    applyFlow();
    nameControlsForScreenReaders(this, {{QStringLiteral("ListBox3"), QStringLiteral("問題番号")}});

    m_records = std::make_unique<ExerciseRecords>(this, m_files);
    new WindowWheel(this, InOutPanel);
    setSession(&session);
}

TForm1::~TForm1()
{
    // The answer window belongs to the program's windows, not to this one it is shown in.
    if (m_answer && isAncestorOf(m_answer))
        m_answer->setParent(nullptr);
}

void TForm1::createCommandColumn()
{
    m_column = new CommandColumn(centralWidget());
    connect(m_column, &CommandColumn::numberChosen, this, &TForm1::ListBox3Click);
    connect(m_column, &CommandColumn::button1Clicked, this, &TForm1::Button1Click);
    connect(m_column, &CommandColumn::button2Clicked, this, &TForm1::Button2Click);
    connect(m_column, &CommandColumn::button3Clicked, this, &TForm1::Button3Click);
    connect(m_column, &CommandColumn::button4Clicked, this, &TForm1::Button4Click);
    connect(m_column, &CommandColumn::button5Clicked, this, &TForm1::Button5Click);
    connect(m_column, &CommandColumn::button6Clicked, this, &TForm1::Button6Click);
}

void TForm1::createMenu()
{
    auto action = [this](QMenu *menu, const char *name, const QString &text, auto handler,
                         QKeySequence key = {}) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    action(file, "New1", QStringLiteral("リセット"), &TForm1::New1Click, Qt::Key_F1);
    action(file, "SaveAs1", QStringLiteral("成績分析"), &TForm1::Button3Click, Qt::Key_F12);
    file->addSeparator();
    action(file, "N4", QStringLiteral("プリンタ設定..."), &TForm1::N4Click);
    action(file, "N3", QStringLiteral("解答欄を印刷(A4のみ)"), &TForm1::N3Click);
    file->addSeparator();
    action(file, "Exit1", QStringLiteral("終了(&X)"), &TForm1::Exit1Click);
    QMenu *options = menuBar()->addMenu(QStringLiteral("オプション(&O)"));
    N1 = action(options, "N1", QStringLiteral("参考モード"), &TForm1::N1Click, Qt::Key_F4);
    N1->setCheckable(true);
    // Made at login, after the trainee's settings became the live ones.
    N1->setChecked(m_settings->referenceMode);
    InOutPanel->setReferenceMode(m_settings->referenceMode);
    action(options, "Setting1", QStringLiteral("設定"), &TForm1::settingsRequested, Qt::Key_F8);
    action(menuBar()->addMenu(QStringLiteral("指導者")), "ClassOverview1",
           QStringLiteral("クラス一覧"), &TForm1::classOverviewRequested);
    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    // F12 belongs to 成績分析, which comes first in the menu; here it is only shown.
    action(help, "Contents1", QStringLiteral("ヘルプ(&C)\tF12"), &TForm1::Contents1Click);
    action(help, "About1", QStringLiteral("バージョン情報(&A)..."), &TForm1::aboutRequested);
}

QString TForm1::currentProblemName() const
{
    return m_library.nameAtPosition(m_flow.CurrentPosition).value_or(QString());
}

void TForm1::applyFlow()
{
    m_column->showFlow(m_flow);
    if (m_flow.timerActive && !Timer1->isActive())
        Timer1->start();
    else if (!m_flow.timerActive)
        Timer1->stop();
}

bool TForm1::chooseProblem(int position)
{
    const QString error =
        dealProblem(*InOutPanel, *m_settings, m_random, QDir(m_paths.imagesFolder()),
                    m_library.nameAtPosition(position));
    if (error.isEmpty())
        return true;
    m_flow.problemLoadFailed();
    applyFlow();
    showError(error);
    return false;
}

void TForm1::Button2Click()
{
    if (m_library.isEmpty()) {
        // Without an Images folder the trainee needs its path, not advice about what to put in it.
        QString message = m_paths.missingImagesFolderMessage();
        if (message.isEmpty())
            message = QStringLiteral(
                "問題がインストールされていません。Images フォルダに問題を置いてください。");
        showError(message);
        return;
    }
    closeAnswerWindow();
    m_flow.nextProblem(m_random.bounded(0, m_library.count()), board());
    applyFlow();
    chooseProblem(m_flow.CurrentPosition);
    update();
}

void TForm1::Button3Click()
{
    closeAnswerWindow();
    emit gradeAnalysisRequested();
}

void TForm1::ListBox3Click()
{
    const int position = m_column->chosenRow();
    if (position < 0) {
        showError(QStringLiteral("問題番号を選んでください。"));
        return;
    }
    m_flow.listProblem(position, board());
    applyFlow();
    chooseProblem(position);
    closeAnswerWindow();
}

void TForm1::Button4Click()
{
    if (m_flow.startOrPause(board()) == FlowEffect::Refused)
        return;
    applyFlow();
    update();
}

void TForm1::Timer1Timer()
{
    m_flow.tick();
    applyFlow();
}

void TForm1::Button5Click()
{
    if (m_flow.showAnswer() == FlowEffect::Refused)
        return;
    applyFlow();
    showAnswerWindow();
}

void TForm1::showAnswerWindow()
{
    if (m_answer)
        m_answer->showOverBoard(*InOutPanel, m_settings->EffectiveScale);
}

void TForm1::closeAnswerWindow()
{
    if (m_answer)
        m_answer->close();
}

void TForm1::Button6Click()
{
    // Asked before anything changes, so that staying leaves the exercise as it was.
    if (!m_flow.offers(FlowEvent::End) ||
        !attemptSaving().mayLeave(QStringLiteral("記録せずに終了")))
        return;
    closeAnswerWindow();
    m_flow.endExercise();
    applyFlow();
    InOutPanel->emptyBoard();
    InOutPanel->hidePieces();
    update();
}

void TForm1::New1Click()
{
    InOutPanel->emptyBoard();
    InOutPanel->hidePieces();
    m_flow.reset();
    applyFlow();
    m_column->focusNextButton();
}

void TForm1::Contents1Click()
{
    showProgramHelp(m_paths.helpFolder(), openInBrowser, m_help, this);
}

void TForm1::setPrinter(PagePrinter *printer)
{
    m_printer = printer;
}

void TForm1::N4Click()
{
    if (m_printer)
        setUpPrinter(m_printer->printer(), this);
}

void TForm1::N3Click()
{
    printAnswerSheetFrom(*this, m_printer, m_column->chosenRow() >= 0);
}

AnswerSheetJob TForm1::answerSheetJob()
{
    return {UserId,
            m_flow.ElapsedSeconds,
            InOutPanel,
            m_files.relative(UserFile::Results),
            m_files.programFolder(),
            todayText(),
            [this](const QString &text) { showMessage(text); },
            [this](const QString &text) { showError(text); }};
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::N1Click()
{
    m_settings->referenceMode = N1->isChecked();
    InOutPanel->setReferenceMode(N1->isChecked());
    InOutPanel->applyLabels(allPlaceLabels(board(), InOutPanel->cellKey(), N1->isChecked()), true);
}

void TForm1::applySettingsDialog()
{
    N1->setChecked(m_settings->referenceMode);
    InOutPanel->setReferenceMode(m_settings->referenceMode);
    InOutPanel->applyLabels(settingsDialogLabels(board(), InOutPanel->cellKey(),
                                                 m_settings->referenceMode,
                                                 m_settings->alignmentMode),
                            true);
}

void TForm1::Button1Click()
{
    const CellScore score = scoreCell(board(), InOutPanel->cellKey());
    const FlowEffect effect = m_flow.score(score.correct, board(), score.chromosomes);
    if (effect == FlowEffect::Refused)
        return;
    if (effect == FlowEffect::RecordAttempt)
        closeAnswerWindow();
    applyFlow();
    InOutPanel->showSlotResults(score, m_settings->referenceMode);
    const std::optional<ScoredAbnormalCell> abnormal =
        keepScoredAttempt(attemptSaving(), effect, *InOutPanel, score,
                          {currentProblemName(), m_library.problemNumber(m_flow.CurrentPosition),
                           todayText(), m_flow.ElapsedSeconds});
    if (abnormal)
        emit abnormalCellScored(*abnormal);
}

QSize TForm1::karyogramSize() const
{
    return InOutPanel->karyogram()->size();
}

void TForm1::restoreRememberedPlacement()
{
    m_records->restorePlacement();
}

AttemptSaving &TForm1::attemptSaving()
{
    return m_records->saving();
}

void TForm1::setSession(TraineeSession *session)
{
    m_records->setSession(session);
    if (session) {
        m_settings = &session->settings();
        InOutPanel->setSettings(m_settings);
    }
    setWindowTitle(session && !session->writable() ? QStringLiteral("QUELDO（読み取り専用）")
                                                   : QStringLiteral("QUELDO"));
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!m_records->mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}

void TForm1::showError(const QString &message)
{
    QMessageBox::warning(this, QStringLiteral("QUELDO"), message);
}

void TForm1::showMessage(const QString &message)
{
    QMessageBox::information(this, QStringLiteral("QUELDO"), message);
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::FormResize()
{
    LayoutInput in;
    in.client = centralWidget()->size();
    in.windowWidth = frameGeometry().width();
    in.previousMenuWidth = m_menuWidth;
    in.sparePlaces = InOutPanel->sparePlaces();
    m_column->fillClockSizes(in);
    const BoardLayout l = computeBoardLayout(in);
    m_menuWidth = l.menuPanel.width();

    InOutPanel->setGeometry(l.inOutPanel);
    InOutPanel->applyLayout(l);
    m_column->applyLayout(l);
}

} // namespace queldo
