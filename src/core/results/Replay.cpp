#include "core/results/Replay.h"

#include "core/board/Placement.h"

namespace queldo {

BoardState replayBoard(const Arrangement &places, const SourceBitmaps &sources, float scale,
                       const std::array<QSize, SlotCount> &placeSizes)
{
    BoardState board;
    // Drops re-read nothing here (no reloader): a drop keeps the pictures it is given.
    SourceBitmaps pictures = sources;
    PlacementContext context;
    context.scale = scale;
    for (int place = 0; place < SlotCount; ++place) {
        const PlacedPiece &placed = places[std::size_t(place)];
        if (placed.piece < 0 || placed.piece >= PieceCount)
            continue;
        board.RotationStep[std::size_t(placed.piece)] = placed.rotationStep;
        dropIntoPlace(board, pictures, placed.piece, place, placeSizes[std::size_t(place)], context,
                      {});
        board.pieceVisible[std::size_t(placed.piece)] = true;
    }
    return board;
}

BoardLayout karyogramLayout(QSize karyogram)
{
    BoardLayout l;
    l.inOutPanel = QRect(QPoint(0, 0), karyogram);
    l.inputPanel = QRect(0, 0, karyogram.width(), 0);
    l.outputPanel = QRect(QPoint(0, 0), karyogram);
    const int rowH = karyogram.height() / 4;
    for (int row = 0; row < RowCount; ++row)
        l.rows[std::size_t(row)] = QRect(0, row * rowH, karyogram.width(), rowH);
    layOutPlaces(l.places, karyogram.width(), rowH, false);
    return l;
}

} // namespace queldo
