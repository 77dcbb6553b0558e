#include "ui/exercise/TForm16.h"

#include "ui/board/BoardView.h"
#include "ui/exercise/AnswerPairView.h"

#include "core/board/ChromosomeBitmapOps.h"
#include "core/board/ChromosomeId.h"
#include "core/exercise/AnswerLayout.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QResizeEvent>

namespace queldo {

namespace {

// Between the chromosome and its ideogram.
constexpr int IdeogramGap = 3;

} // namespace

TForm16::TForm16(QWidget *parent) : InnerWindow(QStringLiteral("正解表示"), parent)
{
    setObjectName(QStringLiteral("Form16"));
    OutputPanel = client();
    OutputPanel->setObjectName(QStringLiteral("OutputPanel"));

    IdeogramBox = new QCheckBox(QStringLiteral("イデオグラム"));
    IdeogramBox->setObjectName(QStringLiteral("IdeogramBox"));
    IdeogramBox->setToolTip(QStringLiteral(
        "各染色体の横に、その番号の標準イデオグラム（550バンド）を並べて表示します。"));
    IdeogramBox->setFocusPolicy(Qt::NoFocus);
    addCaptionWidget(IdeogramBox);
    connect(IdeogramBox, &QCheckBox::toggled, this, &TForm16::IdeogramBoxClick);

    for (int row = 0; row < RowCount; ++row) {
        auto *rowPanel = new QWidget(OutputPanel);
        rowPanel->setObjectName(QStringLiteral("Panel%1").arg(row + 1));
        m_rowPanels[std::size_t(row)] = rowPanel;
        QList<int> places;
        for (int k = RowFirstPlace[std::size_t(row)]; k < rowEndPlace(row); ++k)
            places << k;
        places << sparePlace(row);
        for (int k : places) {
            const auto i = std::size_t(k);
            const bool spare = k >= SlotCount;
            const auto name = [&](const char *what, int number) {
                return spare ? QStringLiteral("Spare%1%2").arg(QLatin1String(what)).arg(row + 1)
                             : QStringLiteral("%1%2").arg(QLatin1String(what)).arg(number);
            };
            auto *panel = new QFrame(rowPanel);
            panel->setObjectName(name("Panel", 10 + k));
            panel->setVisible(!spare);
            panel->setFrameShape(QFrame::Panel);
            panel->setFrameShadow(QFrame::Raised);
            panel->setAutoFillBackground(true);
            QPalette white = panel->palette();
            white.setColor(QPalette::Window, QColor(0xFFFFFF));
            panel->setPalette(white);
            m_placePanels[i] = panel;
            m_images[i] = new QLabel(panel);
            m_images[i]->setObjectName(name("Image", k));
            m_ideograms[i] = new QLabel(panel);
            m_ideograms[i]->setObjectName(name("Ideogram", k));
            m_ideograms[i]->hide();
            // The caption stays readable over a chromosome that reaches up to it.
            m_placeLabels[i] = new QLabel(panel);
            m_placeLabels[i]->setObjectName(name("Label", 10 + k));
        }
    }
    PairView = new AnswerPairView(OutputPanel);
    hide();
}

void TForm16::prepare(QSize spread, const std::array<Bgr24Image, MostPieces> &SourceBitmap,
                      float EffectiveScale, bool female)
{
    prepare(spread, SourceBitmap, EffectiveScale, CellKey::normal(female));
}

void TForm16::prepare(QSize spread, const std::array<Bgr24Image, MostPieces> &SourceBitmap,
                      float EffectiveScale, const CellKey &cell)
{
    m_cell = cell;
    m_sources = SourceBitmap;
    m_scale = EffectiveScale;
    m_pieceInPlace.fill(-1);
    const std::array<int, MostPieces> answer = answerPlaces(cell);
    for (int piece = 0; piece < cell.pieceCount; ++piece) {
        if (answer[std::size_t(piece)] >= 0)
            m_pieceInPlace[std::size_t(answer[std::size_t(piece)])] = piece;
    }
    // The pair view keeps these while it shows, and steps through the places with the keys.
    for (std::size_t k = 0; k < MostPlaces; ++k) {
        const int piece = m_pieceInPlace[k];
        const bool lying = piece >= 0 && piece < cell.pieceCount;
        m_pairSources.pictures[k] = lying ? m_sources[std::size_t(piece)] : Bgr24Image();
        m_pairSources.chromosome[k] = lying ? cell.chromosome[std::size_t(piece)] : -1;
        // A spare place's chromosome is shown with the pair of its class.
        const int chromosomeClass = lying ? cell.classOf(piece) : 0;
        m_pairSources.pairOf[k] =
            k >= std::size_t(SlotCount) && chromosomeClass > 0 ? (chromosomeClass - 1) * 2 : -1;
    }
    m_laidOutFor = QSize();
    PairView->hide();
    resize(answerWindowSize(spread));
    // Not necessarily shown yet, so no resize event has laid the frame out.
    layoutFrame();
    m_laidOutFor = OutputPanel->size();
    layOutContent();
}

void TForm16::layOutContent()
{
    const AnswerLayout layout = answerLayout(OutputPanel->size(), m_cell.sparePlaces);
    for (std::size_t row = 0; row < RowCount; ++row)
        m_rowPanels[row]->setGeometry(layout.rows[row]);
    // At the size it was prepared for the pictures are drawn at the exercise's own scale; a
    // window the trainee has made smaller (or larger) draws them smaller (or larger) alike.
    const float scale = float(m_scale * contentScale(m_laidOutFor, OutputPanel->size()));
    const auto render = [&](std::size_t place, float at) {
        const int piece = m_pieceInPlace[place];
        return piece >= 0 ? renderUpright(m_sources[std::size_t(piece)], at) : QImage();
    };
    std::array<QSize, MostPlaces> places{};
    std::array<QSize, MostPlaces> sizes{};
    for (int k = 0; k < MostPlaces; ++k) {
        const auto i = std::size_t(k);
        m_placePanels[i]->setVisible(k < m_cell.placeCount());
        m_placePanels[i]->setGeometry(layout.places[i]);
        m_placeLabels[i]->setText(answerPlaceLabel(k, m_cell, m_pieceInPlace[i]));
        m_placeLabels[i]->adjustSize();
        m_placeLabels[i]->move(2, 2);
        m_pictures[i] = render(i, scale);
        places[i] = layout.places[i].size();
        sizes[i] = m_pictures[i].size();
    }
    // The window is shorter than the spread by its caption bar, so at the larger sizes the longest
    // chromosomes would be cut at top and bottom: all of them shrink alike until each fits.
    if (const double fit = fitAllInPlaces(sizes, places); fit < 1.0) {
        for (std::size_t i = 0; i < m_pictures.size(); ++i)
            m_pictures[i] = render(i, float(scale * fit));
    }
    for (std::size_t i = 0; i < m_pictures.size(); ++i) {
        m_images[i]->setPixmap(QPixmap::fromImage(m_pictures[i]));
        m_images[i]->resize(m_pictures[i].size());
    }
    m_contentSize = OutputPanel->size();
    placePictures();
    PairView->refit();
}

void TForm16::showPairLarge(int place)
{
    if (place < 0 || place >= m_cell.placeCount())
        return;
    PairView->showPair(place, m_pairSources, m_cell.female, bandTable());
}

void TForm16::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        for (QWidget *w = childAt(event->position().toPoint()); w && w != this;
             w = w->parentWidget()) {
            const auto place = std::find(m_placePanels.begin(), m_placePanels.end(), w);
            if (place != m_placePanels.end()) {
                raise();
                showPairLarge(int(place - m_placePanels.begin()));
                return;
            }
        }
    }
    InnerWindow::mousePressEvent(event);
}

void TForm16::resizeEvent(QResizeEvent *event)
{
    InnerWindow::resizeEvent(event);
    if (!m_laidOutFor.isEmpty() && OutputPanel->size() != m_contentSize)
        layOutContent();
}

void TForm16::showOver(QWidget *spread)
{
    if (parentWidget() != spread) {
        if (parentWidget())
            parentWidget()->removeEventFilter(this);
        setParent(spread);
        spread->installEventFilter(this);
    }
    move(0, 0);
    show();
    raise();
    if (ideogramsShown() && !bandTable())
        tellOnceWhyNoIdeograms();
}

bool TForm16::eventFilter(QObject *watched, QEvent *event)
{
    // The spread shrinks or grows with the exercise window: an answer still at the size it was
    // shown at follows it, and one the trainee has resized is kept within it.
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) {
        const auto *resize = static_cast<QResizeEvent *>(event);
        const QSize room = answerWindowSize(resize->size());
        if (resize->oldSize().isValid() && size() == answerWindowSize(resize->oldSize()))
            this->resize(room);
        else
            this->resize(size().boundedTo(QSize(resize->size().width(), room.height())));
    }
    return InnerWindow::eventFilter(watched, event);
}

void TForm16::showOverBoard(BoardView &board, float EffectiveScale)
{
    prepare(board.spread()->size(), board.problem().SourceBitmap, EffectiveScale, board.cellKey());
    showOver(board.spread());
}

void TForm16::setOptionsFile(const QString &path)
{
    m_optionsFile = path;
    const AnswerViewOptionsRead read = AnswerViewOptionsFile::read(path);
    m_options = read.options;
    const QSignalBlocker quiet(IdeogramBox);
    IdeogramBox->setChecked(m_options.ideograms);
}

bool TForm16::ideogramsShown() const
{
    return m_options.ideograms;
}

void TForm16::useBandTable(const BandTable &table)
{
    m_table = table;
}

const BandTable *TForm16::bandTable()
{
    if (!m_table)
        m_table = BandTable::embedded();
    return m_table->isValid() ? &*m_table : nullptr;
}

void TForm16::tellOnceWhyNoIdeograms()
{
    if (m_toldNoIdeograms)
        return;
    m_toldNoIdeograms = true;
    QMessageBox::information(
        this, windowTitle(),
        QStringLiteral("イデオグラムを表示できません。バンドの表が読めませんでした。\n（%1）")
            .arg(m_table ? m_table->errorString() : QString()));
}

void TForm16::IdeogramBoxClick(bool on)
{
    m_options.ideograms = on;
    placePictures();
    if (on && isVisible() && !bandTable())
        tellOnceWhyNoIdeograms();
    if (m_optionsFile.isEmpty())
        return;
    const QString error = AnswerViewOptionsFile::change(
        m_optionsFile, [on](AnswerViewOptions &options) { options.ideograms = on; });
    if (!error.isEmpty())
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("イデオグラムの設定を保存できませんでした。\n") +
                                 error);
}

void TForm16::placePictures()
{
    const BandTable *table = ideogramsShown() ? bandTable() : nullptr;
    for (int k = 0; k < MostPlaces; ++k) {
        const auto i = std::size_t(k);
        const QImage &picture = m_pictures[i];
        const QSize place = m_placePanels[i]->size();
        m_images[i]->move(centredOffset(place, picture.size()));
        m_ideograms[i]->hide();
        if (!table || picture.isNull())
            continue;
        // A derivative stands beside the ideogram of the chromosome whose centromere it has.
        const int chromosome = m_cell.chromosome[std::size_t(m_pieceInPlace[i])];
        const ChromosomeSpan span =
            findChromosomeSpan(picture, centromereSearchFor(*table, chromosome));
        if (!span.found)
            continue;
        const int width = ideogramWidthFor(span);
        const QImage ideogram =
            drawIdeogram(table->bands(chromosome), width, picture.height(), span);
        const int left = std::min(picture.width(), span.right + IdeogramGap);
        const AnswerPicturePlacement at = placeWithIdeogram(place, picture.size(), left, width);
        m_images[i]->move(at.picture);
        m_ideograms[i]->setPixmap(QPixmap::fromImage(ideogram));
        m_ideograms[i]->setGeometry(QRect(at.ideogram, ideogram.size()));
        m_ideograms[i]->show();
    }
}

} // namespace queldo
