#include "ui/board/BoardView.h"

#include "core/board/PieceDisplay.h"
#include "core/board/ProblemFolder.h"
#include "core/results/Replay.h"
#include "core/settings/LiveSettings.h"
#include "ui/board/PieceImage.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

namespace queldo {

BoardView::BoardView(const QDir &imagesFolder, QWidget *parent)
    : QWidget(parent), m_imagesFolder(imagesFolder)
{
    setObjectName(QStringLiteral("InOutPanel"));
    InputPanel = new QWidget(this);
    InputPanel->setObjectName(QStringLiteral("InputPanel"));
    InputPanel->setAutoFillBackground(true);
    InputPanel->setMouseTracking(true);
    InputPanel->installEventFilter(this);
    QPalette white = InputPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    InputPanel->setPalette(white);
    OutputPanel = new QWidget(this);
    OutputPanel->setObjectName(QStringLiteral("OutputPanel"));

    for (int row = 0; row < RowCount; ++row) {
        auto *rowPanel = new QWidget(OutputPanel);
        rowPanel->setObjectName(QStringLiteral("Panel%1").arg(row + 1));
        m_rowPanels[std::size_t(row)] = rowPanel;
        QList<int> places;
        for (int place = RowFirstPlace[std::size_t(row)]; place < rowEndPlace(row); ++place)
            places << place;
        places << sparePlace(row);
        for (int place : places) {
            const bool spare = place >= SlotCount;
            auto *panel = new QFrame(rowPanel);
            // Label57 and Label58 are the clock's: the spare places take names of their own.
            panel->setObjectName(spare ? QStringLiteral("SparePanel%1").arg(row + 1)
                                       : QStringLiteral("Panel%1").arg(10 + place));
            panel->setVisible(!spare);
            panel->setFrameShape(QFrame::Panel);
            panel->setFrameShadow(QFrame::Raised);
            panel->setAutoFillBackground(true);
            m_placePanels[std::size_t(place)] = panel;
            // For the loupe over a place.
            panel->setMouseTracking(true);
            panel->installEventFilter(this);
            auto *label = new QLabel(placeName(place), panel);
            label->setObjectName(spare ? QStringLiteral("SpareLabel%1").arg(row + 1)
                                       : QStringLiteral("Label%1").arg(10 + place));
            label->move(PlaceLabelOffset, PlaceLabelOffset);
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            m_placeLabels[std::size_t(place)] = label;
        }
    }

    for (int n = 0; n < MostPieces; ++n) {
        auto *piece = new PieceImage(n, InputPanel);
        piece->hide();
        m_pieces[std::size_t(n)] = piece;
        connect(piece, &PieceImage::rightClicked, this, [this](int k) {
            if (k == 30)
                Image4ContextPopup5();
            else
                ImageContextPopup(k);
        });
        connect(piece, &PieceImage::hovered, this, &BoardView::ImageMouseMove);
        connect(piece, &PieceImage::loupeRequested, this, &BoardView::showLoupe);
        connect(piece, &PieceImage::loupeReleased, this, &BoardView::hideLoupe);
        connect(piece, &PieceImage::pressed, this, &BoardView::piecePressed);
        connect(piece, &PieceImage::moved, this, &BoardView::pieceMoved);
        connect(piece, &PieceImage::released, this, &BoardView::pieceReleased);
    }
}

bool BoardView::isFemaleProblem() const
{
    return m_problem.key.female;
}

void BoardView::setSparePlaces(bool shown)
{
    m_sparePlaces = shown;
    // Within the rows as they are: laying the window out again would move the command column.
    std::array<QRect, MostPlaces> places;
    layOutPlaces(places, m_rowPanels[0]->width(), m_rowPanels[0]->height(), shown);
    for (std::size_t s = 0; s < MostPlaces; ++s)
        m_placePanels[s]->setGeometry(places[s]);
    for (int row = 0; row < RowCount; ++row)
        m_placePanels[std::size_t(sparePlace(row))]->setVisible(shown);
}

PlacementContext BoardView::placementContext() const
{
    return {m_problem.key, m_referenceMode, m_settings->alignmentMode, m_settings->EffectiveScale};
}

ScaleInputs BoardView::scaleInputs(int trackBarPosition, int customScale) const
{
    ScaleInputs in;
    in.firstRowHeight = m_rowPanels[0]->height();
    for (std::size_t row = 0; row < RowCount; ++row)
        in.rowReferenceWidths[row] = m_placePanels[std::size_t(RowFirstPlace[row])]->width();
    in.trackBarPosition = trackBarPosition;
    in.CustomScale = customScale;
    return in;
}

void BoardView::applyLabels(const std::vector<LabelUpdate> &labels, bool resetOffsets)
{
    for (const LabelUpdate &label : labels) {
        m_placeLabels[std::size_t(label.place)]->setText(label.text);
        m_placeLabels[std::size_t(label.place)]->adjustSize();
    }
    if (!resetOffsets)
        return;
    for (QLabel *label : m_placeLabels)
        label->move(PlaceLabelOffset, PlaceLabelOffset);
}

void BoardView::showSlotResults(const SlotCodes &codes, bool referenceMode)
{
    CellScore score;
    std::copy(codes.begin(), codes.end(), score.codes.begin());
    showSlotResults(score, referenceMode);
}

void BoardView::showSlotResults(const CellScore &score, bool referenceMode)
{
    for (int s = 0; s < score.placeCount; ++s) {
        const auto i = std::size_t(s);
        const SlotResultLook look = ShowSlotResults(s, score.codes[i], m_board.SlotContents[i],
                                                    m_problem.key, referenceMode);
        QPalette palette = m_placePanels[i]->palette();
        palette.setColor(QPalette::Window, look.colour);
        m_placePanels[i]->setPalette(palette);
        applyLabels({{s, look.label}});
    }
}

void BoardView::emptyBoard()
{
    for (QWidget *place : m_placePanels)
        place->setPalette(QPalette());
    m_board.clearSlots();
    applyLabels(allPlaceLabels(m_board, false, false));
    for (PieceImage *piece : m_pieces)
        piece->setParent(InputPanel);
}

void BoardView::hidePieces()
{
    m_board.pieceVisible.fill(false);
    for (PieceImage *piece : m_pieces)
        piece->hide();
}

void BoardView::clearProblem()
{
    hidePieces();
    m_problem = {};
    if (m_sparePlaces)
        setSparePlaces(false);
}

void BoardView::deal(LoadedProblem problem, float scale, PieceRandom &random)
{
    m_problem = std::move(problem);
    m_board.pieceCount = m_problem.key.pieceCount;
    m_board.placeCount = m_problem.key.placeCount();
    // A larger cell dealt before leaves no piece behind.
    m_board.pieceVisible.fill(false);
    DealPieces(m_board, m_problem.SourceBitmap, scale, InputPanel->size(), random);
    m_board.clearSlots();
    for (int n = 0; n < MostPieces; ++n)
        showPiece(n);
}

void BoardView::showArrangement(LoadedProblem problem, float scale, const Arrangement &places)
{
    m_problem = std::move(problem);
    std::array<QSize, SlotCount> placeSizes;
    for (std::size_t s = 0; s < SlotCount; ++s)
        placeSizes[s] = m_placePanels[s]->size();
    m_board = replayBoard(places, m_problem.SourceBitmap, scale, placeSizes);
    for (int n = 0; n < MostPieces; ++n)
        showPiece(n);
    showSlotResults(ScoreBoard(m_board, isFemaleProblem()), false);
}

void BoardView::showPiece(int n)
{
    const auto i = std::size_t(n);
    PieceImage *piece = m_pieces[i];
    const int place = m_board.placeOf(n);
    QWidget *container = place >= 0 ? m_placePanels[std::size_t(place)] : InputPanel;
    if (piece->parentWidget() != container)
        piece->setParent(container);
    piece->setPicture(m_board.piecePicture[i]);
    piece->setGeometry(m_board.pieceRect[i]);
    piece->setVisible(m_board.pieceVisible[i]);
    if (!m_board.pieceVisible[i])
        return;
    piece->raise();
    // A window shown over the spread (the correct answer) stays above the pieces.
    for (QWidget *child : InputPanel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && !qobject_cast<PieceImage *>(child))
            child->raise();
    }
}

void BoardView::applyLayout(const BoardLayout &l)
{
    InputPanel->setGeometry(l.inputPanel);
    OutputPanel->setGeometry(l.outputPanel);
    for (std::size_t row = 0; row < RowCount; ++row)
        m_rowPanels[row]->setGeometry(l.rows[row]);
    for (std::size_t s = 0; s < MostPlaces; ++s)
        m_placePanels[s]->setGeometry(l.places[s]);
}

void BoardView::ImageContextPopup(int piece)
{
    selectPiece(m_board, piece);
    if (m_board.PiecesMovable == 1)
        m_pieces[std::size_t(piece)]->setCursor(Qt::SizeAllCursor);
}

void BoardView::Image4ContextPopup5()
{
    ImageContextPopup(30);
}

void BoardView::ImageMouseMove(int piece, QPoint globalPos)
{
    if (piece != m_board.SelectedPiece && !m_dragging)
        m_pieces[std::size_t(piece)]->unsetCursor();
    // Ctrl held over a piece shows it magnified, as the middle button does.
    if (QApplication::keyboardModifiers() & Qt::ControlModifier)
        showLoupe(piece, globalPos);
    else if (!(QApplication::mouseButtons() & Qt::MiddleButton))
        hideLoupe();
}

void BoardView::InputPanelMouseMove(QPoint pos)
{
    pointerOverSpread(m_board, pos);
    InputPanel->unsetCursor();
    if (!(QApplication::mouseButtons() & Qt::MiddleButton))
        hideLoupe();
}

void BoardView::FormMouseWheel(int wheelDelta)
{
    if (!m_settings)
        return;
    if (turnSelectedPiece(m_board, m_problem.SourceBitmap, wheelDelta, m_settings->EffectiveScale))
        showPiece(m_board.SelectedPiece);
}

bool BoardView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == InputPanel && event->type() == QEvent::MouseMove)
        InputPanelMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
    if (const auto place = std::find(m_placePanels.begin(), m_placePanels.end(), watched);
        place != m_placePanels.end())
        PlaceMouseEvent(int(place - m_placePanels.begin()), event);
    return QWidget::eventFilter(watched, event);
}

void BoardView::PlaceMouseEvent(int place, QEvent *event)
{
    // Ctrl held or the middle button down over a place shows the loupe, as over a piece.
    const auto *mouse = static_cast<QMouseEvent *>(event);
    switch (event->type()) {
    case QEvent::MouseMove:
        if (mouse->modifiers() & Qt::ControlModifier)
            showPlaceLoupe(place, mouse->globalPosition().toPoint());
        else if (!(mouse->buttons() & Qt::MiddleButton))
            hideLoupe();
        break;
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::MiddleButton)
            showPlaceLoupe(place, mouse->globalPosition().toPoint());
        break;
    case QEvent::MouseButtonRelease:
        if (mouse->button() == Qt::MiddleButton)
            hideLoupe();
        break;
    default:
        break;
    }
}

void BoardView::piecePressed(int piece, QPoint globalPos)
{
    m_pressedPiece = m_board.dragAutomatic ? piece : -1;
    m_pressPos = globalPos;
    m_dragging = false;
}

void BoardView::pieceMoved(int piece, QPoint globalPos)
{
    if (piece != m_pressedPiece)
        return;
    const QImage &picture = m_pieces[std::size_t(piece)]->screenPicture();
    if (!m_dragging) {
        if ((globalPos - m_pressPos).manhattanLength() < QApplication::startDragDistance())
            return;
        m_dragging = true;
        m_pieces[std::size_t(piece)]->setCursor(Qt::DragMoveCursor);
        if (!m_dragImage)
            m_dragImage = floatingLabel("DragImage");
        m_dragImage->setPixmap(QPixmap::fromImage(dragPicture(picture)));
        m_dragImage->resize(picture.size());
    }
    // Centred on the pointer, where a drop onto the spread puts the piece.
    placeFloating(m_dragImage, globalPos, -QPoint(picture.width() / 2, picture.height() / 2));
}

void BoardView::pieceReleased(int piece, QPoint globalPos)
{
    const bool wasDragging = m_dragging && piece == m_pressedPiece;
    m_pressedPiece = -1;
    m_dragging = false;
    if (m_dragImage)
        m_dragImage->hide();
    if (!wasDragging)
        return;
    m_pieces[std::size_t(piece)]->unsetCursor();
    dropPiece(piece, globalPos);
}

void BoardView::dropPiece(int piece, QPoint globalPos)
{
    if (!m_settings)
        return;
    // Pieces and place labels are looked through: what lies under them takes the drop.
    QWidget *target = childAt(mapFromGlobal(globalPos));
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
    const auto placeIt = std::find(m_placePanels.begin(), m_placePanels.end(), target);
    if (placeIt == m_placePanels.end() && target != OutputPanel)
        return; // a row panel takes nothing
    const int place = placeIt == m_placePanels.end() ? -1 : int(placeIt - m_placePanels.begin());
    const QSize placeSize = place >= 0 ? target->size() : QSize();
    const DropOutcome outcome =
        dropIntoPlace(m_board, m_problem.SourceBitmap, piece, place, placeSize, placementContext(),
                      [&](int p) { return reloadSourceBitmap(m_imagesFolder, m_problem, p); });
    if (!outcome.accepted) {
        QApplication::beep();
        return;
    }
    applyLabels(outcome.labels);
    showPiece(piece);
}

} // namespace queldo
