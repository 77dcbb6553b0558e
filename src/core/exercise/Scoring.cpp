#include "core/exercise/Scoring.h"

#include "core/board/ChromosomeId.h"

#include <algorithm>

namespace queldo {

SlotCodes ScoreBoard(const BoardState &board, bool female)
{
    return scoreCell(board, CellKey::normal(female)).normalCodes();
}

int CorrectCount(const SlotCodes &codes)
{
    return int(std::count(codes.begin(), codes.end(), int(SlotCorrect)));
}

SlotCodes CellScore::normalCodes() const
{
    SlotCodes normal{};
    std::copy_n(codes.begin(), SlotCount, normal.begin());
    return normal;
}

CellScore scoreCell(const BoardState &board, const CellKey &cell)
{
    CellScore score;
    score.codes = cellVerdicts(board.SlotContents, board.RotationStep, cell);
    score.placeCount = cell.placeCount();
    score.correct = int(
        std::count(score.codes.begin(), score.codes.begin() + score.placeCount, int(SlotCorrect)));
    score.chromosomes = cell.pieceCount;
    return score;
}

SlotResultLook ShowSlotResults(int place, int code, int piece, bool female, bool referenceMode)
{
    return ShowSlotResults(place, code, piece, CellKey::normal(female), referenceMode);
}

SlotResultLook ShowSlotResults(int place, int code, int piece, const CellKey &cell,
                               bool referenceMode)
{
    SlotResultLook look;
    look.colour = code == SlotCorrect || code == SlotRightlyEmpty ? ColourCorrect
                  : code == SlotTurnedTooFar                      ? ColourMisoriented
                                                                  : ColourWrong;
    const QString times = QStringLiteral(" × ");
    if (place != XYPlace || code == SlotRightlyEmpty) {
        look.label = placeName(place);
        if (code == SlotWrong && referenceMode)
            look.label += times + pieceName(piece, cell);
        return look;
    }
    // The XY place names what belongs there in this cell, except when nothing is told.
    const QString belongs = ChromosomeId::name(ChromosomeId::ofPlace(XYPlace, cell.female));
    switch (code) {
    case SlotCorrect:
    case SlotTurnedTooFar:
        look.label = belongs;
        break;
    case SlotEmpty:
        look.label = referenceMode ? belongs : QStringLiteral("XY");
        break;
    default:
        look.label =
            referenceMode ? belongs + times + pieceName(piece, cell) : QStringLiteral("XY");
        break;
    }
    return look;
}

} // namespace queldo
