#pragma once

#include "core/board/Karyogram.h"

#include <QList>
#include <QString>

#include <array>

namespace queldo {

/// What each piece of the dealt cell is and which places its karyogram offers. A normal
/// problem's key follows from the piece numbers alone (piece n is of class n div 2 + 1); an
/// abnormal problem's from the classes its pictures are filed under, so a derivative goes
/// where its centromere puts it.
struct CellKey
{
    int pieceCount = PieceCount;
    /// The chromosome each piece shows (ChromosomeId: 0 to 21 the autosomes, X, Y).
    std::array<int, MostPieces> chromosome{};
    /// The cell has no Y: both sex places take either X.
    bool female = false;
    /// The board offers the spare places. Every abnormal problem has them, whatever its count,
    /// so that the board never tells the trainee how many chromosomes to look for.
    bool sparePlaces = false;

    /// A normal cell of 46: piece 44 an X, piece 45 an X or the Y.
    static CellKey normal(bool female);
    /// A cell whose pieces show the given chromosomes (ChromosomeId), in piece order.
    static CellKey abnormal(const QList<int> &chromosomes);

    int placeCount() const { return sparePlaces ? MostPlaces : SlotCount; }
    /// 1 to 22, 23 for either sex chromosome; 0 for a number that names no piece.
    int classOf(int piece) const;
    int piecesOfClass(int chromosomeClass) const;
    /// Pieces the spare place of a row is there for: those beyond two of each of its classes.
    int extraPiecesInRow(int row) const;
    bool operator==(const CellKey &) const = default;
};

/// Where each piece lies in the correct karyogram: the pieces of a class fill its two places
/// in piece order (in a male cell the X's the X place, the Y's the XY place) and a third goes
/// to the spare place of its row. -1 for a piece that has none.
std::array<int, MostPieces> answerPlaces(const CellKey &key);

/// Why a cell cannot be laid out on the board (a count out of range, or a piece with no place
/// of its own, as a second extra chromosome in one row would be); empty when it can.
QString cellKeyProblem(const CellKey &key);

} // namespace queldo
