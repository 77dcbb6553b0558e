#include "core/board/BoardState.h"

#include "core/board/ChromosomeBitmapOps.h"

namespace queldo {

int BoardState::placeOf(int piece) const
{
    for (int s = 0; s < placeCount; ++s) {
        if (SlotContents[std::size_t(s)] == piece)
            return s;
    }
    return -1;
}

int drawOffset(PieceRandom &random, int bound)
{
    if (bound > 0)
        return random.bounded(0, bound);
    if (bound < 0)
        return random.bounded(bound, 0);
    return 0;
}

void DealPieces(BoardState &board, const SourceBitmaps &sources, float scale, QSize spreadSize,
                PieceRandom &random)
{
    random.reseedFromTicks();
    for (int n = 0; n < board.pieceCount; ++n) {
        const auto i = std::size_t(n);
        board.pieceVisible[i] = true;
        board.RotationStep[i] = random.bounded(0, RotationStepCount - 1);
        QImage picture = renderPiece(sources[i], scale, board.RotationStep[i]);
        const int top = drawOffset(random, spreadSize.height() - picture.height() - 10);
        const int left = drawOffset(random, spreadSize.width() - picture.width() - 10);
        board.pieceRect[i] = QRect(left, top, picture.width(), picture.height());
        board.piecePicture[i] = std::move(picture);
    }
}

} // namespace queldo
