#include "TForm1.h"

#include "PieceImage.h"
#include "app/AppPaths.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>

namespace queldo {

TForm1::TForm1(AppPaths &paths, PieceRandom &random, QWidget *parent)
    : QMainWindow(parent), m_paths(paths), m_random(random)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QUELDO"));
    createControls();

    m_library = ProblemLibrary::probe(QDir(m_paths.imagesFolder()));
    ListBox3->addItems(m_library.numberTexts());

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(990, 780);
    move(screen.width() / 2 - 990 / 2, screen.height() / 2 - 780 / 2);
}

TForm1::~TForm1() = default;

void TForm1::createControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    InOutPanel = new QWidget(central);
    InOutPanel->setObjectName(QStringLiteral("InOutPanel"));
    InputPanel = new QWidget(InOutPanel);
    InputPanel->setObjectName(QStringLiteral("InputPanel"));
    InputPanel->setAutoFillBackground(true);
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
            placeLabels[std::size_t(place)] = label;
        }
    }

    for (int n = 0; n < PieceCount; ++n) {
        auto *piece = new PieceImage(n, InputPanel);
        piece->hide();
        pieces[std::size_t(n)] = piece;
    }

    MenuPanel = new QWidget(central);
    MenuPanel->setObjectName(QStringLiteral("MenuPanel"));
    ListBox3 = new QListWidget(MenuPanel);
    ListBox3->setObjectName(QStringLiteral("ListBox3"));
    Panel5 = new QFrame(MenuPanel);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Label57 = new QLabel(QStringLiteral("時間:"), Panel5);
    Label57->setObjectName(QStringLiteral("Label57"));
    Label58 = new QLabel(QStringLiteral("0"), Panel5);
    Label58->setObjectName(QStringLiteral("Label58"));
    Label1 = new QLabel(QStringLiteral("秒"), Panel5);
    Label1->setObjectName(QStringLiteral("Label1"));

    auto makeButton = [this](const char *name, const QString &caption) {
        auto *button = new QPushButton(caption, MenuPanel);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    Button2 = makeButton("Button2", QStringLiteral("次の問題"));
    Button4 = makeButton("Button4", QStringLiteral("スタート"));
    Button1 = makeButton("Button1", QStringLiteral("採点"));
    Button5 = makeButton("Button5", QStringLiteral("正解表示"));
    Button6 = makeButton("Button6", QStringLiteral("終了"));
    Button3 = makeButton("Button3", QStringLiteral("成績分析"));

    connect(Button2, &QPushButton::clicked, this, [this] {
        if (m_library.isEmpty()) {
            showError(QStringLiteral("問題がインストールされていません。"));
            return;
        }
        chooseProblem(m_random.bounded(0, m_library.count()));
    });
}

ScaleInputs TForm1::scaleInputs() const
{
    ScaleInputs in;
    in.firstRowHeight = rowPanels[0]->height();
    for (std::size_t row = 0; row < 4; ++row)
        in.rowReferenceWidths[row] = placePanels[std::size_t(RowFirstPlace[row])]->width();
    in.trackBarPosition = m_trackBarPosition;
    in.customScale = m_customScale;
    return in;
}

void TForm1::emptyBoard()
{
    for (int s = 0; s < SlotCount; ++s) {
        placePanels[std::size_t(s)]->setPalette(QPalette());
        placeLabels[std::size_t(s)]->setText(placeName(s));
    }
    m_board.clearSlots();
    for (PieceImage *piece : pieces)
        piece->setParent(InputPanel);
}

bool TForm1::chooseProblem(int position)
{
    const auto name = m_library.nameAtPosition(position);
    if (!name) {
        showError(QStringLiteral("問題を選んでください。"));
        return false;
    }
    emptyBoard();
    ListBox3->setCurrentRow(position);

    LoadProblemResult loaded = LoadProblem(QDir(m_paths.imagesFolder()), *name);
    if (!loaded.ok()) {
        // Nothing of the broken problem reaches the board: it stays empty until a problem loads.
        for (PieceImage *piece : pieces)
            piece->hide();
        m_problem = {};
        showError(loaded.error);
        return false;
    }
    m_problem = std::move(loaded.problem);
    const ScaleResult scale = computeScale(m_problem.sourceBitmaps, scaleInputs());
    m_baseScale = scale.baseScale;
    m_effectiveScale = scale.effectiveScale;
    if (scale.trackBarReset)
        m_trackBarPosition = 10;

    DealPieces(m_board, m_problem.sourceBitmaps, m_effectiveScale, InputPanel->size(), m_random);
    m_board.clearSlots();
    showBoard();
    return true;
}

void TForm1::showBoard()
{
    for (int n = 0; n < PieceCount; ++n) {
        PieceImage *piece = pieces[std::size_t(n)];
        piece->setPicture(m_board.piecePicture[std::size_t(n)]);
        piece->setGeometry(m_board.pieceRect[std::size_t(n)]);
        piece->setVisible(m_board.pieceVisible[std::size_t(n)]);
    }
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
