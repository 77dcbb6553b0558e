#include "core/board/Placement.h"

#include "core/board/ChromosomeBitmapOps.h"

#include <algorithm>

namespace queldo {

DropOutcome dropIntoPlace(BoardState &board, SourceBitmaps &sources, int piece, int place,
                          QSize placeSize, const PlacementContext &context,
                          const BitmapReloader &reload)
{
    DropOutcome outcome;
    board.SelectedPiece = -1;
    if (piece < 0 || piece >= board.pieceCount || place < 0 || place >= board.placeCount ||
        board.SlotContents[std::size_t(place)] != -1)
        return outcome;
    outcome.accepted = true;

    const int oldPlace = board.placeOf(piece);
    if (oldPlace >= 0) {
        board.SlotContents[std::size_t(oldPlace)] = -1;
        if (context.referenceMode)
            outcome.labels.push_back({oldPlace, placeName(oldPlace)});
    }

    const auto p = std::size_t(piece);
    if (reload) {
        BitmapDecodeResult fresh = reload(piece);
        if (fresh.ok())
            sources[p] = std::move(fresh.image);
    }
    if (context.alignmentMode) {
        board.RotationStep[p] = 0;
        board.piecePicture[p] = renderUpright(sources[p], context.scale);
    } else {
        board.piecePicture[p] = renderPiece(sources[p], context.scale, board.RotationStep[p]);
    }
    const QSize size = board.piecePicture[p].size();
    board.pieceRect[p] =
        QRect((placeSize.width() - size.width()) / 2,
              (placeSize.height() - size.height()) / 2 + RowMargin, size.width(), size.height());
    board.SlotContents[std::size_t(place)] = piece;
    if (context.referenceMode)
        outcome.labels.push_back({place, ReferenceLabel(place, piece, context.cell)});
    return outcome;
}

DropOutcome dropOnSpread(BoardState &board, int piece, QPoint pos, QSize spread,
                         const PlacementContext &context)
{
    DropOutcome outcome;
    if (piece >= 0 && piece < board.pieceCount) {
        outcome.accepted = true;
        QRect &rect = board.pieceRect[std::size_t(piece)];
        const int h = rect.height(), w = rect.width();
        const int top = pos.y() < spread.height() - h ? pos.y() - h / 2 : spread.height() - h;
        const int left = pos.x() < spread.width() - w ? pos.x() - w / 2 : spread.width() - w;
        rect.moveTo(left, top);
        const int oldPlace = board.placeOf(piece);
        if (oldPlace >= 0) {
            board.SlotContents[std::size_t(oldPlace)] = -1;
            if (context.referenceMode)
                outcome.labels.push_back({oldPlace, placeName(oldPlace)});
        }
    }
    board.SelectedPiece = -1;
    return outcome;
}

void selectPiece(BoardState &board, int piece)
{
    if (piece < 0 || piece >= board.pieceCount)
        return;
    board.SelectedPiece = piece;
    const QRect &r = board.pieceRect[std::size_t(piece)];
    board.PieceCentre[std::size_t(piece)] =
        QPoint(r.left() + r.width() / 2, r.top() + r.height() / 2);
}

bool turnSelectedPiece(BoardState &board, const SourceBitmaps &sources, int wheelDelta, float scale)
{
    const int piece = board.SelectedPiece;
    if (board.PiecesMovable != 1 || piece < 0 || piece >= board.pieceCount)
        return false;
    const auto p = std::size_t(piece);
    int &step = board.RotationStep[p];
    step += wheelDelta >= 0 ? 1 : -1;
    if (step > RotationStepCount - 1)
        step = 0;
    if (step < 0)
        step = RotationStepCount - 1;
    board.piecePicture[p] = renderPiece(sources[p], scale, step);
    const QSize size = board.piecePicture[p].size();
    const QPoint centre = board.PieceCentre[p];
    board.pieceRect[p] = QRect(centre.x() - size.width() / 2, centre.y() - size.height() / 2,
                               size.width(), size.height());
    return true;
}

void pointerOverSpread(BoardState &board, QPoint pos)
{
    const int piece = board.SelectedPiece;
    if (piece < 0 || piece >= board.pieceCount)
        return;
    // The piece's own coordinates are compared as they are, also for a piece lying in a place.
    const QRect &r = board.pieceRect[std::size_t(piece)];
    const int side = std::max(r.width(), r.height());
    const bool inside = r.left() < pos.x() && pos.x() < r.left() + side && r.top() < pos.y() &&
                        pos.y() < r.top() + side;
    if (!inside)
        board.SelectedPiece = -1;
}

std::vector<LabelUpdate> allPlaceLabels(const BoardState &board, bool female, bool referenceMode)
{
    return allPlaceLabels(board, CellKey::normal(female), referenceMode);
}

std::vector<LabelUpdate> allPlaceLabels(const BoardState &board, const CellKey &cell,
                                        bool referenceMode)
{
    std::vector<LabelUpdate> labels;
    for (int s = 0; s < board.placeCount; ++s) {
        const int piece = board.SlotContents[std::size_t(s)];
        labels.push_back({s, referenceMode ? ReferenceLabel(s, piece, cell) : placeName(s)});
    }
    return labels;
}

std::vector<LabelUpdate> settingsDialogLabels(const BoardState &board, bool female,
                                              bool referenceMode, bool alignmentMode)
{
    return settingsDialogLabels(board, CellKey::normal(female), referenceMode, alignmentMode);
}

std::vector<LabelUpdate> settingsDialogLabels(const BoardState &board, const CellKey &cell,
                                              bool referenceMode, bool alignmentMode)
{
    std::vector<LabelUpdate> labels = allPlaceLabels(board, cell, referenceMode);
    if (!alignmentMode)
        labels[XYPlace].text = QStringLiteral("XY");
    return labels;
}

} // namespace queldo
