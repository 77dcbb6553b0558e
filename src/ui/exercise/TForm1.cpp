#include "ui/exercise/TForm1.h"

#include "core/app/AppPaths.h"
#include "core/app/WindowMemory.h"
#include "core/results/AnswerSheet.h"
#include "core/results/AttemptRecord.h"
#include "core/results/ResultsDate.h"
#include "core/results/ResultsFile.h"
#include "core/settings/LiveSettings.h"
#include "ui/app/HelpMissingMessage.h"
#include "ui/app/HelpWindow.h"
#include "ui/common/PagePrinter.h"
#include "ui/common/PrintOutcomeMessage.h"
#include "ui/common/WrappingButton.h"
#include "ui/exercise/TForm16.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include <utility>

namespace queldo {

namespace {

// The window's place and size, per trainee, beside their other files.
const QString WindowFile = QStringLiteral(".win");
// The help for trainees, its pages and pictures beside the program file.
const QString HelpFile = QStringLiteral("QUELDOHelp.html");

// Lets the window draw what changed (the answer window, a message just closed) while printing
// waits, without taking clicks that would change the board in the middle of a printout.
void pauseForDrawing(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

TForm1::TForm1(AppPaths &paths, LiveSettings &settings, PieceRandom &random, const QString &userId,
               QWidget *parent)
    : QMainWindow(parent), UserId(userId), m_paths(paths), m_settings(settings), m_random(random)
{
    todayText = [] { return resultsDateText(QDate::currentDate()); };
    openInBrowser = [](const QUrl &page) { return QDesktopServices::openUrl(page); };
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QUELDO"));
    setCentralWidget(new QWidget(this));
    InOutPanel = new BoardView(m_settings, QDir(m_paths.imagesFolder()), centralWidget());
    createCommandColumn();
    createMenu();

    m_library = ProblemLibrary::probe(QDir(m_paths.imagesFolder()));
    ListBox3->addItems(m_library.numberTexts());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    applyFlow();

    const QScreen *screen = QGuiApplication::primaryScreen();
    const WindowPlacement placement =
        exerciseWindowPlacement(screen->geometry().size(), screen->availableGeometry());
    // The design geometry first: without a window manager to honour the maximised state, the
    // window would otherwise open at Qt's default size.
    resize(placement.geometry.size());
    move(placement.geometry.topLeft());
    if (placement.maximised)
        setWindowState(Qt::WindowMaximized);
    // The window takes every wheel turn inside it, wherever the pointer is.
    qApp->installEventFilter(this);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
    // The answer window belongs to the program's windows, not to this one it is shown in.
    if (m_answer && isAncestorOf(m_answer))
        m_answer->setParent(nullptr);
}

void TForm1::createCommandColumn()
{
    MenuPanel = new QWidget(centralWidget());
    MenuPanel->setObjectName(QStringLiteral("MenuPanel"));
    ListBox3 = new QListWidget(MenuPanel);
    ListBox3->setObjectName(QStringLiteral("ListBox3"));
    connect(ListBox3, &QListWidget::itemClicked, this, &TForm1::ListBox3Click);
    // The arrow keys choose a problem as a click does. Only a key moves the choice here: the
    // list also moves its current row by itself, when it gets the focus.
    ListBox3->installEventFilter(this);
    ListBox3->viewport()->installEventFilter(this);
    connect(ListBox3, &QListWidget::currentRowChanged, this, [this] {
        if (m_listKeyDown)
            ListBox3Click();
    });
    auto *clock = new QFrame(MenuPanel);
    clock->setFrameShape(QFrame::Panel);
    clock->setFrameShadow(QFrame::Raised);
    Panel5 = clock;
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Label57 = new QLabel(Panel5);
    Label57->setObjectName(QStringLiteral("Label57"));
    Label58 = new QLabel(Panel5);
    Label58->setObjectName(QStringLiteral("Label58"));
    Label58->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1 = new QLabel(Panel5);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont clockFont = Panel5->font();
    clockFont.setPointSize(clockFont.pointSize() + 3);
    clockFont.setBold(true);
    Panel5->setFont(clockFont);

    // The scoring captions run to three lines in a button a fifth of the column wide.
    auto makeButton = [this](const char *name) {
        auto *button = new WrappingButton(MenuPanel);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    Button2 = makeButton("Button2");
    Button4 = makeButton("Button4");
    Button1 = makeButton("Button1");
    Button5 = makeButton("Button5");
    Button6 = makeButton("Button6");
    Button3 = makeButton("Button3");
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);

    // Enter presses the focused button, or 次の問題, the window's default button.
    auto *enter = new QShortcut(QKeySequence(Qt::Key_Return), this);
    connect(enter, &QShortcut::activated, this, [this] {
        if (auto *button = qobject_cast<QPushButton *>(QApplication::focusWidget());
            button && button->isEnabled())
            button->click();
        else if (Button2->isEnabled())
            Button2->click();
    });
}

void TForm1::createMenu()
{
    auto action = [](QMenu *menu, const char *name, const QString &text, QKeySequence key = {}) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        return a;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    New1 = action(file, "New1", QStringLiteral("リセット"), Qt::Key_F1);
    SaveAs1 = action(file, "SaveAs1", QStringLiteral("成績分析"), Qt::Key_F12);
    file->addSeparator();
    N4 = action(file, "N4", QStringLiteral("プリンタ設定..."));
    N3 = action(file, "N3", QStringLiteral("解答欄を印刷(A4のみ)"));
    file->addSeparator();
    Exit1 = action(file, "Exit1", QStringLiteral("終了(&X)"));
    QMenu *options = menuBar()->addMenu(QStringLiteral("オプション(&O)"));
    N1 = action(options, "N1", QStringLiteral("参考モード"), Qt::Key_F4);
    N1->setCheckable(true);
    // Made at login, after the trainee's settings became the live ones.
    N1->setChecked(m_settings.referenceMode);
    InOutPanel->setReferenceMode(m_settings.referenceMode);
    Setting1 = action(options, "Setting1", QStringLiteral("設定"), Qt::Key_F8);
    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    // F12 belongs to 成績分析, which comes first in the menu; here it is only shown.
    Contents1 = action(help, "Contents1", QStringLiteral("ヘルプ(&C)\tF12"));
    About1 = action(help, "About1", QStringLiteral("バージョン情報(&A)..."));

    connect(New1, &QAction::triggered, this, &TForm1::New1Click);
    connect(SaveAs1, &QAction::triggered, this, &TForm1::Button3Click);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);
    connect(Setting1, &QAction::triggered, this, &TForm1::settingsRequested);
    connect(Contents1, &QAction::triggered, this, &TForm1::Contents1Click);
    connect(N3, &QAction::triggered, this, &TForm1::N3Click);
    connect(N4, &QAction::triggered, this, &TForm1::N4Click);
    connect(About1, &QAction::triggered, this, &TForm1::aboutRequested);
}

QString TForm1::currentProblemName() const
{
    return m_library.nameAtPosition(m_flow.CurrentPosition).value_or(QString());
}

void TForm1::applyFlow()
{
    auto apply = [](QPushButton *button, const ButtonState &state) {
        button->setEnabled(state.enabled);
        button->setText(state.caption);
    };
    apply(Button1, m_flow.button1);
    apply(Button2, m_flow.button2);
    apply(Button3, m_flow.button3);
    apply(Button4, m_flow.button4);
    apply(Button5, m_flow.button5);
    apply(Button6, m_flow.button6);
    Label57->setText(m_flow.label57);
    Label57->adjustSize();
    Label58->setText(m_flow.label58);
    Label1->setText(m_flow.label1);
    if (m_flow.timerActive && !Timer1->isActive())
        Timer1->start();
    else if (!m_flow.timerActive)
        Timer1->stop();
    const QSignalBlocker listBlocker(ListBox3);
    if (m_flow.listSelection < 0)
        ListBox3->clearSelection();
    else
        ListBox3->setCurrentRow(m_flow.listSelection);
}

bool TForm1::chooseProblem(int position)
{
    const auto name = m_library.nameAtPosition(position);
    InOutPanel->emptyBoard();
    LoadProblemResult loaded = LoadProblem(QDir(m_paths.imagesFolder()), name.value_or(QString()));
    if (!name || !loaded.ok()) {
        // Nothing of a broken problem reaches the board: it stays empty until a problem loads.
        InOutPanel->clearProblem();
        m_flow.problemLoadFailed();
        applyFlow();
        showError(name ? loaded.error : QStringLiteral("問題が選ばれていません。"));
        return false;
    }
    m_settings.applyScale(
        computeScale(loaded.problem.SourceBitmap,
                     InOutPanel->scaleInputs(m_settings.trackBarPosition, m_settings.CustomScale)));
    InOutPanel->deal(std::move(loaded.problem), m_settings.EffectiveScale, m_random);
    return true;
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
    const int position = ListBox3->currentRow();
    if (position < 0 || !ListBox3->currentItem() || !ListBox3->currentItem()->isSelected()) {
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
    m_flow.startOrPause(board());
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
    m_flow.showAnswer();
    applyFlow();
    showAnswerWindow();
}

void TForm1::setAnswerWindow(TForm16 *window)
{
    m_answer = window;
}

TForm16 *TForm1::answerWindow() const
{
    return m_answer;
}

void TForm1::showAnswerWindow()
{
    if (!m_answer)
        return;
    m_answer->prepare(InOutPanel->InputPanel->size(), InOutPanel->problem().SourceBitmap,
                      m_settings.EffectiveScale, InOutPanel->isFemaleProblem());
    m_answer->showOver(InOutPanel->InputPanel);
}

void TForm1::closeAnswerWindow()
{
    if (m_answer)
        m_answer->close();
}

void TForm1::Button6Click()
{
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
    Button2->setFocus();
}

void TForm1::Contents1Click()
{
    const QString help = QDir(m_paths.programFolder()).absoluteFilePath(HelpFile);
    if (!QFileInfo::exists(help)) {
        HelpMissingMessage(help, this).exec();
        return;
    }
    const QUrl page = QUrl::fromLocalFile(help);
    // A desktop without a browser still gets the help: the program shows it itself.
    if (openInBrowser(page))
        return;
    if (!m_help)
        m_help = new HelpWindow(this);
    m_help->showPage(page);
}

void TForm1::setPrinter(PagePrinter *printer)
{
    m_printer = printer;
}

void TForm1::N4Click()
{
    if (!m_printer)
        return;
    // The dialog changes the program's printer itself, and only when the trainee confirms.
    QPrintDialog dialog(&m_printer->printer(), this);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    dialog.setWindowTitle(QStringLiteral("プリンタ設定"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialog.exec();
}

void TForm1::N3Click()
{
    if (!ListBox3->currentItem() || !ListBox3->currentItem()->isSelected()) {
        showMessage(QStringLiteral("　問題を選択していないので印刷できません。　"));
        return;
    }
    if (!m_printer)
        return;
    showAnswerWindow();
    const std::optional<PrintOutcome> outcome = printAnswerSheet();
    closeAnswerWindow();
    if (outcome && PrintOutcomeMessage::needed(*outcome))
        PrintOutcomeMessage(*outcome, this).exec();
}

std::optional<PrintOutcome> TForm1::printAnswerSheet()
{
    QPrinter &printer = m_printer->printer();
    showMessage(QStringLiteral("　印刷しています。　"));
    pauseForDrawing(500);
    // Kept on the printer for later printouts, the grade report's included.
    const bool a4 = printer.setPageSize(QPageSize(QPageSize::A4)) &&
                    printer.pageLayout().pageSize().id() == QPageSize::A4;
    printer.setPageOrientation(QPageLayout::Portrait);
    if (!a4) {
        showMessage(QStringLiteral("　用紙サイズをA4に変更できないので印刷できません。　"));
        return std::nullopt;
    }

    // Read before the document begins, so a results file that cannot be read leaves no
    // half-printed sheet behind.
    TodayDate today(QDate::currentDate(), QLocale::system());
    today.written = todayText();
    const ResultsFile::Counts counts =
        ResultsFile::count(m_paths.relativeUserFile(UserId, QStringLiteral(".kek")), today);
    if (!counts.error.isEmpty()) {
        showError(counts.error);
        return std::nullopt;
    }

    const QString dateTime =
        AnswerSheet::dateTimeText(QDateTime::currentDateTime(), QLocale::system());
    return m_printer->print(QStringLiteral("QUELDO"), m_paths.programUserFolder(UserId),
                            QStringLiteral("解答欄"), [&](QPainter &painter, QSize page) {
                                drawAnswerSheet(painter, page, counts.records, counts.today,
                                                dateTime);
                            });
}

void TForm1::drawAnswerSheet(QPainter &painter, QSize page, int records, int today,
                             const QString &dateTime)
{
    auto compose = [&](QSize picture) {
        return AnswerSheet::compose(UserId, dateTime, records, today, m_flow.ElapsedSeconds,
                                    page.width(), picture);
    };
    QClipboard *clipboard = QGuiApplication::clipboard();
    for (const SheetLine &line : compose({}).lines) {
        // Each line stays on the clipboard for pasting elsewhere, as the picture does.
        clipboard->setText(line.text);
        drawSheetLine(painter, line);
    }
    // What the trainee sees below the menu: the answer beside their own karyogram.
    const QImage picture =
        InOutPanel->grab(QRect(0, 0, InOutPanel->width() - 5, InOutPanel->height())).toImage();
    clipboard->setImage(picture);
    pauseForDrawing(500);
    const AnswerSheet sheet = compose(picture.size());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(sheet.picture, picture);
    clipboard->setText(sheet.memo.text);
    drawSheetLine(painter, sheet.memo);
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::N1Click()
{
    m_settings.referenceMode = N1->isChecked();
    InOutPanel->setReferenceMode(N1->isChecked());
    InOutPanel->applyLabels(allPlaceLabels(board(), InOutPanel->isFemaleProblem(), N1->isChecked()),
                            true);
}

void TForm1::applySettingsDialog()
{
    N1->setChecked(m_settings.referenceMode);
    InOutPanel->setReferenceMode(m_settings.referenceMode);
    InOutPanel->applyLabels(settingsDialogLabels(board(), InOutPanel->isFemaleProblem(),
                                                 m_settings.referenceMode,
                                                 m_settings.alignmentMode),
                            true);
}

void TForm1::Button1Click()
{
    const SlotCodes codes = ScoreBoard(board(), InOutPanel->isFemaleProblem());
    const bool first = m_flow.ScoringCount == 0;
    if (first)
        closeAnswerWindow();
    m_flow.score(CorrectCount(codes), board());
    applyFlow();
    InOutPanel->showSlotResults(codes, m_settings.referenceMode);
    if (!first)
        return;
    const SavedAttempt attempt = saveAttempt(
        m_paths.relativeUserFile(UserId, QStringLiteral(".kek")),
        m_paths.relativeUserFile(UserId, QStringLiteral(".arr")), todayText(),
        m_library.problemNumber(m_flow.CurrentPosition), codes, m_flow.ElapsedSeconds, board());
    const AppendResult &saved = attempt.record;
    if (!attempt.rejectedNotes.isEmpty())
        showError(attempt.rejectedNotes.join(u'\n'));
    if (!attempt.arrangementError.isEmpty() && !m_arrangementErrorShown) {
        // Only the confusion view misses the attempt; saying so once is enough.
        m_arrangementErrorShown = true;
        showError(attempt.arrangementError);
    }
    if (!saved.saved()) {
        showError(saved.error);
    } else if (!saved.notice.isEmpty() && saved.damagedLines != m_reportedDamage) {
        // The attempt is kept either way; damage already reported is not reported again.
        m_reportedDamage = saved.damagedLines;
        showError(saved.notice);
    }
}

void TForm1::restoreRememberedPlacement()
{
    const auto remembered = readWindowMemory(m_paths.relativeUserFile(UserId, WindowFile));
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!remembered || !screen)
        return;
    const auto usable = usableOn(*remembered, screen->availableVirtualGeometry());
    if (!usable)
        return;
    setWindowState(windowState() & ~Qt::WindowMaximized);
    setGeometry(usable->geometry);
    if (usable->maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // Best effort: a window that cannot be remembered opens at its design size next time.
    if (!UserId.isEmpty())
        writeWindowMemory(m_paths.relativeUserFile(UserId, WindowFile),
                          {normalGeometry(), isMaximized()});
    event->accept();
    QCoreApplication::quit();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this) {
            // Only the vertical wheel turns; a tilt or a horizontal wheel does nothing.
            if (const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y(); delta != 0)
                InOutPanel->FormMouseWheel(delta);
            return true;
        }
    }
    if (event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Control)
        InOutPanel->hideLoupe();
    if (watched == ListBox3->viewport())
        followListPress(event);
    if (watched == ListBox3) {
        if (event->type() == QEvent::KeyPress)
            m_listKeyDown = true;
        else if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut)
            m_listKeyDown = false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::followListPress(QEvent *event)
{
    // A press on one row and a release on another (the pointer dragged along the list) moves the
    // highlight without a click. The row left highlighted is dealt, as a click would deal it, so
    // the list never shows one problem while the board holds another. A click on a single row
    // is the list's own itemClicked.
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (!press && event->type() != QEvent::MouseButtonRelease)
        return;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return;
    QListWidgetItem *under = ListBox3->itemAt(mouse->position().toPoint());
    if (press) {
        m_listPressedItem = under;
        return;
    }
    QListWidgetItem *pressed = std::exchange(m_listPressedItem, nullptr);
    QListWidgetItem *current = ListBox3->currentItem();
    if (pressed && under != pressed && current && current->isSelected())
        ListBox3Click();
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
    in.clockCaptionSize = Label57->sizeHint();
    in.secondsSize = QSize(std::max(Label58->sizeHint().width(), 60), Label58->sizeHint().height());
    in.unitSize = Label1->sizeHint();
    const BoardLayout l = computeBoardLayout(in);
    m_menuWidth = l.menuPanel.width();

    InOutPanel->setGeometry(l.inOutPanel);
    InOutPanel->applyLayout(l);
    MenuPanel->setGeometry(l.menuPanel);
    ListBox3->setGeometry(l.listBox3);
    Panel5->setGeometry(l.panel5);
    Button2->setGeometry(l.button2);
    Button4->setGeometry(l.button4);
    Button1->setGeometry(l.button1);
    Button5->setGeometry(l.button5);
    Button6->setGeometry(l.button6);
    Button3->setGeometry(l.button3);
    Label57->setGeometry(l.label57);
    Label58->setGeometry(l.label58);
    Label1->setGeometry(l.label1);
}

} // namespace queldo
