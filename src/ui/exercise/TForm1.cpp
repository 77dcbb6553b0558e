#include "ui/exercise/TForm1.h"

#include "core/app/AppPaths.h"
#include "core/board/ChromosomeBitmapOps.h"
#include "core/results/ResultsFile.h"
#include "ui/app/TAboutBox.h"
#include "ui/board/PieceImage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

namespace queldo {

TForm1::TForm1(AppPaths &paths, LiveSettings &settings, PieceRandom &random, QWidget *parent)
    : QMainWindow(parent), m_paths(paths), m_random(random), m_settings(settings)
{
    todayText = [] {
        return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    };
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QUELDO"));
    createControls();
    createMenu();

    m_library = ProblemLibrary::probe(QDir(m_paths.imagesFolder()));
    ListBox3->addItems(m_library.numberTexts());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    applyFlow();

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (QGuiApplication::primaryScreen()->geometry().height() < 1024) {
        setWindowState(Qt::WindowMaximized);
    } else {
        resize(990, 780);
        move(screen.left() + screen.width() / 2 - 990 / 2,
             screen.top() + screen.height() / 2 - 780 / 2);
    }
    qApp->installEventFilter(this);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
}

void TForm1::createControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    InOutPanel = new QWidget(central);
    InOutPanel->setObjectName(QStringLiteral("InOutPanel"));
    InputPanel = new QWidget(InOutPanel);
    InputPanel->setObjectName(QStringLiteral("InputPanel"));
    InputPanel->setAutoFillBackground(true);
    InputPanel->setMouseTracking(true);
    InputPanel->installEventFilter(this);
    QPalette white = InputPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    InputPanel->setPalette(white);
    OutputPanel = new QWidget(InOutPanel);
    OutputPanel->setObjectName(QStringLiteral("OutputPanel"));

    int place = 0;
    for (int row = 0; row < 4; ++row) {
        auto *rowPanel = new QWidget(OutputPanel);
        rowPanel->setObjectName(QStringLiteral("Panel%1").arg(row + 1));
        rowPanels[std::size_t(row)] = rowPanel;
        for (int i = 0; i < RowColumns[std::size_t(row)]; ++i, ++place) {
            auto *panel = new QFrame(rowPanel);
            panel->setObjectName(QStringLiteral("Panel%1").arg(10 + place));
            panel->setFrameShape(QFrame::Panel);
            panel->setFrameShadow(QFrame::Raised);
            panel->setAutoFillBackground(true);
            placePanels[std::size_t(place)] = panel;
            auto *label = new QLabel(placeName(place), panel);
            label->setObjectName(QStringLiteral("Label%1").arg(10 + place));
            label->move(PlaceLabelOffset, PlaceLabelOffset);
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            placeLabels[std::size_t(place)] = label;
        }
    }

    for (int n = 0; n < PieceCount; ++n) {
        auto *piece = new PieceImage(n, InputPanel);
        piece->hide();
        pieces[std::size_t(n)] = piece;
        connect(piece, &PieceImage::rightClicked, this, [this](int k) {
            if (k == 30)
                Image4ContextPopup5();
            else
                ImageContextPopup(k);
        });
        connect(piece, &PieceImage::hovered, this, &TForm1::ImageMouseMove);
        connect(piece, &PieceImage::pressed, this, &TForm1::piecePressed);
        connect(piece, &PieceImage::moved, this, &TForm1::pieceMoved);
        connect(piece, &PieceImage::released, this, &TForm1::pieceReleased);
    }

    MenuPanel = new QWidget(central);
    MenuPanel->setObjectName(QStringLiteral("MenuPanel"));
    ListBox3 = new QListWidget(MenuPanel);
    ListBox3->setObjectName(QStringLiteral("ListBox3"));
    connect(ListBox3, &QListWidget::itemClicked, this, &TForm1::ListBox3Click);
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

    auto makeButton = [this](const char *name) {
        auto *button = new QPushButton(MenuPanel);
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
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(Button3, &QPushButton::clicked, this, [this] {
        if (closeAnswerWindow)
            closeAnswerWindow();
        if (openGradeAnalysis)
            openGradeAnalysis();
    });

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
    auto action = [this](QMenu *menu, const char *name, const QString &text,
                         QKeySequence key = {}) {
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
    Setting1 = action(options, "Setting1", QStringLiteral("設定"), Qt::Key_F8);
    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    // F12 belongs to 成績分析, which comes first in the menu; here it is only shown.
    Contents1 = action(help, "Contents1", QStringLiteral("ヘルプ(&C)\tF12"));
    About1 = action(help, "About1", QStringLiteral("バージョン情報(&A)..."));

    connect(New1, &QAction::triggered, this, &TForm1::New1Click);
    connect(SaveAs1, &QAction::triggered, this, [this] {
        if (closeAnswerWindow)
            closeAnswerWindow();
        if (openGradeAnalysis)
            openGradeAnalysis();
    });
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);
    connect(Setting1, &QAction::triggered, this, [this] {
        if (openSettings)
            openSettings();
    });
    connect(Contents1, &QAction::triggered, this, &TForm1::Contents1Click);
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
}

QString TForm1::currentProblemName() const
{
    return m_library.nameAtPosition(m_flow.CurrentPosition).value_or(QString());
}

bool TForm1::referenceMode() const
{
    return N1->isChecked();
}

PlacementContext TForm1::placementContext() const
{
    return {IsFemaleProblem(currentProblemName()), referenceMode(), m_settings.alignmentMode,
            m_settings.EffectiveScale};
}

ScaleInputs TForm1::scaleInputs() const
{
    ScaleInputs in;
    in.firstRowHeight = rowPanels[0]->height();
    for (std::size_t row = 0; row < 4; ++row)
        in.rowReferenceWidths[row] = placePanels[std::size_t(RowFirstPlace[row])]->width();
    in.trackBarPosition = m_settings.trackBarPosition;
    in.CustomScale = m_settings.CustomScale;
    return in;
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
    if (m_flow.listSelection < 0)
        ListBox3->clearSelection();
    else
        ListBox3->setCurrentRow(m_flow.listSelection);
}

void TForm1::applyLabels(const std::vector<LabelUpdate> &labels)
{
    for (const LabelUpdate &label : labels) {
        placeLabels[std::size_t(label.place)]->setText(label.text);
        placeLabels[std::size_t(label.place)]->adjustSize();
    }
}

void TForm1::emptyBoard()
{
    for (int s = 0; s < SlotCount; ++s)
        placePanels[std::size_t(s)]->setPalette(QPalette());
    m_board.clearSlots();
    applyLabels(allPlaceLabels(m_board, false, false));
    for (PieceImage *piece : pieces)
        piece->setParent(InputPanel);
}

void TForm1::showPiece(int n)
{
    const auto i = std::size_t(n);
    PieceImage *piece = pieces[i];
    const int place = m_board.placeOf(n);
    QWidget *container = place >= 0 ? placePanels[std::size_t(place)] : InputPanel;
    if (piece->parentWidget() != container)
        piece->setParent(container);
    piece->setPicture(m_board.piecePicture[i]);
    piece->setGeometry(m_board.pieceRect[i]);
    piece->setVisible(m_board.pieceVisible[i]);
    if (m_board.pieceVisible[i])
        piece->raise();
}

bool TForm1::chooseProblem(int position)
{
    const auto name = m_library.nameAtPosition(position);
    emptyBoard();
    LoadProblemResult loaded = LoadProblem(QDir(m_paths.imagesFolder()), name.value_or(QString()));
    if (!name || !loaded.ok()) {
        // Nothing of a broken problem reaches the board: it stays empty until a problem loads.
        for (PieceImage *piece : pieces)
            piece->hide();
        m_board.pieceVisible.fill(false);
        m_problem = {};
        m_flow.problemLoadFailed();
        applyFlow();
        showError(name ? loaded.error : QStringLiteral("問題が選ばれていません。"));
        return false;
    }
    m_problem = std::move(loaded.problem);
    const ScaleResult scale = computeScale(m_problem.SourceBitmap, scaleInputs());
    m_settings.BaseScale = scale.BaseScale;
    if (scale.trackBarReset)
        m_settings.trackBarChange(LiveSettings::MiddlePosition);
    m_settings.EffectiveScale = scale.EffectiveScale;
    if (onProblemLoaded)
        onProblemLoaded();

    DealPieces(m_board, m_problem.SourceBitmap, m_settings.EffectiveScale, InputPanel->size(),
               m_random);
    m_board.clearSlots();
    for (int n = 0; n < PieceCount; ++n)
        showPiece(n);
    return true;
}

void TForm1::Button2Click()
{
    if (m_library.isEmpty()) {
        showError(QStringLiteral(
            "問題がインストールされていません。Images フォルダに問題を置いてください。"));
        return;
    }
    if (closeAnswerWindow)
        closeAnswerWindow();
    m_flow.nextProblem(m_random.bounded(0, m_library.count()), m_board);
    applyFlow();
    chooseProblem(m_flow.CurrentPosition);
    update();
}

void TForm1::ListBox3Click()
{
    const int position = ListBox3->currentRow();
    if (position < 0 || !ListBox3->currentItem() || !ListBox3->currentItem()->isSelected()) {
        showError(QStringLiteral("問題番号を選んでください。"));
        return;
    }
    m_flow.listProblem(position, m_board);
    applyFlow();
    chooseProblem(position);
    if (closeAnswerWindow)
        closeAnswerWindow();
}

void TForm1::Button4Click()
{
    m_flow.startOrPause(m_board);
    applyFlow();
    update();
}

void TForm1::Timer1Timer()
{
    m_flow.tick();
    applyFlow();
}

void TForm1::Button6Click()
{
    if (closeAnswerWindow)
        closeAnswerWindow();
    m_flow.endExercise();
    applyFlow();
    emptyBoard();
    m_board.pieceVisible.fill(false);
    for (PieceImage *piece : pieces)
        piece->hide();
    update();
}

void TForm1::New1Click()
{
    m_board.clearSlots();
    m_board.pieceVisible.fill(false);
    for (PieceImage *piece : pieces)
        piece->hide();
    for (int s = 0; s < SlotCount; ++s)
        placePanels[std::size_t(s)]->setPalette(QPalette());
    applyLabels(allPlaceLabels(m_board, false, false));
    m_flow.reset();
    applyFlow();
    Button2->setFocus();
}

void TForm1::About1Click()
{
    TAboutBox about(this);
    about.exec();
}

void TForm1::Contents1Click()
{
    const QString help = m_paths.programFolder() + QStringLiteral("/QUELDOHelp.chm");
    if (QFileInfo::exists(help))
        QDesktopServices::openUrl(QUrl::fromLocalFile(help));
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::N1Click()
{
    m_settings.referenceMode = referenceMode();
    if (onCheatChanged)
        onCheatChanged();
    applyLabels(allPlaceLabels(m_board, IsFemaleProblem(currentProblemName()), referenceMode()));
    resetLabelOffsets();
}

void TForm1::applySettingsDialog()
{
    N1->setChecked(m_settings.referenceMode);
    applyLabels(
        allPlaceLabels(m_board, IsFemaleProblem(currentProblemName()), m_settings.referenceMode));
    resetLabelOffsets();
    if (!m_settings.alignmentMode)
        applyLabels({{45, QStringLiteral("XY")}});
}

void TForm1::resetLabelOffsets()
{
    for (QLabel *label : placeLabels)
        label->move(PlaceLabelOffset, PlaceLabelOffset);
}

void TForm1::Button1Click()
{
    const bool female = IsFemaleProblem(currentProblemName());
    const SlotCodes codes = ScoreBoard(m_board, female);
    const int correct = CorrectCount(codes);
    const bool first = m_flow.ScoringCount == 0;
    if (first && closeAnswerWindow)
        closeAnswerWindow();
    m_flow.score(correct, m_board);
    applyFlow();
    for (int s = 0; s < SlotCount; ++s) {
        const SlotResultLook look =
            ShowSlotResults(s, codes[std::size_t(s)], m_board.SlotContents[std::size_t(s)], female,
                            m_settings.referenceMode);
        QPalette palette = placePanels[std::size_t(s)]->palette();
        palette.setColor(QPalette::Window, look.colour);
        placePanels[std::size_t(s)]->setPalette(palette);
        applyLabels({{s, look.label}});
    }
    if (!first)
        return;
    const QString error = ResultsFile::append(
        m_paths.relativeUserFile(UserId, QStringLiteral(".kek")), todayText(),
        m_library.problemNumber(m_flow.CurrentPosition), codes, m_flow.ElapsedSeconds);
    if (!error.isEmpty())
        showError(error);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    event->accept();
    QCoreApplication::quit();
}

void TForm1::ImageContextPopup(int piece)
{
    selectPiece(m_board, piece);
    if (m_board.PiecesMovable == 1)
        pieces[std::size_t(piece)]->setCursor(Qt::SizeAllCursor);
}

void TForm1::Image4ContextPopup5()
{
    ImageContextPopup(30);
}

void TForm1::ImageMouseMove(int piece)
{
    if (piece != m_board.SelectedPiece && !m_dragging)
        pieces[std::size_t(piece)]->unsetCursor();
}

void TForm1::InputPanelMouseMove(QPoint pos)
{
    pointerOverSpread(m_board, pos);
    InputPanel->unsetCursor();
}

void TForm1::FormMouseWheel(int wheelDelta)
{
    if (turnSelectedPiece(m_board, m_problem.SourceBitmap, wheelDelta, m_settings.EffectiveScale))
        showPiece(m_board.SelectedPiece);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        // The window takes every wheel turn inside it, wherever the pointer is.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this) {
            FormMouseWheel(static_cast<QWheelEvent *>(event)->angleDelta().y());
            return true;
        }
    }
    if (watched == InputPanel && event->type() == QEvent::MouseMove)
        InputPanelMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::piecePressed(int piece, QPoint globalPos)
{
    m_pressedPiece = m_board.dragAutomatic ? piece : -1;
    m_pressPos = globalPos;
    m_dragging = false;
}

void TForm1::pieceMoved(int piece, QPoint globalPos)
{
    if (piece != m_pressedPiece || m_dragging)
        return;
    if ((globalPos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragging = true;
        m_board.dragOrigin = pieces[std::size_t(piece)]->parentWidget()->objectName();
        pieces[std::size_t(piece)]->setCursor(Qt::DragMoveCursor);
    }
}

void TForm1::pieceReleased(int piece, QPoint globalPos)
{
    const bool wasDragging = m_dragging && piece == m_pressedPiece;
    m_pressedPiece = -1;
    m_dragging = false;
    if (!wasDragging)
        return;
    pieces[std::size_t(piece)]->unsetCursor();
    dropPiece(piece, globalPos);
}

void TForm1::dropPiece(int piece, QPoint globalPos)
{
    // Pieces and place labels are looked through: what lies under them takes the drop.
    QWidget *target = InOutPanel->childAt(InOutPanel->mapFromGlobal(globalPos));
    while (target && (qobject_cast<PieceImage *>(target) || qobject_cast<QLabel *>(target)))
        target = target->parentWidget();
    if (!target)
        return;

    if (target == InputPanel) {
        const QPoint pos = InputPanel->mapFromGlobal(globalPos);
        applyLabels(
            dropOnSpread(m_board, piece, pos, InputPanel->size(), placementContext()).labels);
        showPiece(piece);
        return;
    }
    const auto placeIt = std::find(placePanels.begin(), placePanels.end(), target);
    if (placeIt == placePanels.end() && target != OutputPanel)
        return; // a row panel takes nothing
    const int place = placeIt == placePanels.end() ? -1 : int(placeIt - placePanels.begin());
    const QSize placeSize = place >= 0 ? target->size() : QSize();
    const QString name = currentProblemName();
    const QDir images(m_paths.imagesFolder());
    const DropOutcome outcome =
        dropIntoPlace(m_board, m_problem.SourceBitmap, piece, place, placeSize, placementContext(),
                      [&](int p) { return reloadSourceBitmap(images, name, p); });
    if (!outcome.accepted) {
        QApplication::beep();
        return;
    }
    applyLabels(outcome.labels);
    showPiece(piece);
}

void TForm1::showError(const QString &message)
{
    QMessageBox::warning(this, QStringLiteral("QUELDO"), message);
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
    MenuPanel->setGeometry(l.menuPanel);
    InputPanel->setGeometry(l.inputPanel);
    OutputPanel->setGeometry(l.outputPanel);
    for (std::size_t row = 0; row < 4; ++row)
        rowPanels[row]->setGeometry(l.rows[row]);
    for (std::size_t s = 0; s < 46; ++s)
        placePanels[s]->setGeometry(l.places[s]);
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
