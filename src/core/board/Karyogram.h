#pragma once

#include <array>

namespace queldo {

/// The numbers that shape a karyogram: how many pieces and places there are, how a piece turns
/// and how the places fall into rows.

/// Pieces of one cell: 22 autosome pairs and the two sex chromosomes.
inline constexpr int PieceCount = 46;
/// Places of the karyogram: piece n belongs in place n (the sex pieces by the problem's sex).
inline constexpr int SlotCount = 46;
/// One code per place of the 46, as scoring gives them and a results record keeps them.
using SlotCodes = std::array<int, SlotCount>;

/// The sex chromosomes' two places, the last of the 46: the X place takes an X, the XY place a
/// second X in a female cell and the Y in a male one.
inline constexpr int XPlace = 44;
inline constexpr int XYPlace = 45;
/// The pieces of a normal cell that belong there: piece 44 is an X, piece 45 an X or the Y.
inline constexpr int XPiece = XPlace;
inline constexpr int XYPiece = XYPlace;
/// Classes 1 to 22 are the autosome pairs; both sex chromosomes are of the last one.
inline constexpr int SexClass = 23;
/// The class of the pair that place n of the 46 belongs to, and so of piece n of a normal cell.
constexpr int pairClass(int placeOrPiece)
{
    return placeOrPiece / 2 + 1;
}
/// The first of the two places of a class.
constexpr int firstPlaceOfClass(int chromosomeClass)
{
    return 2 * (chromosomeClass - 1);
}
/// An abnormal cell holds 45 to 47 chromosomes: one more than a normal cell at most.
inline constexpr int FewestPieces = 45;
inline constexpr int MostPieces = 47;
/// A piece turns in steps of 15 degrees.
inline constexpr int RotationStepCount = 24;
inline constexpr int RowCount = 4;
/// Places in each karyogram row: 1-5, 6-12 with X, 13-18, 19-22 with XY.
inline constexpr std::array<int, RowCount> RowColumns = {10, 14, 12, 10};
/// The first place of each row; the row's pieces are the same numbers, as piece n belongs in
/// place n.
inline constexpr std::array<int, RowCount> RowFirstPlace = {0, 10, 24, 36};
/// One past the last place of a row.
constexpr int rowEndPlace(int row)
{
    return RowFirstPlace[std::size_t(row)] + RowColumns[std::size_t(row)];
}

/// The board of an abnormal cell has one spare place at the end of each row, for a chromosome
/// beyond the two of its class; they are numbered after the 46 places, row by row.
inline constexpr int SparePlaceCount = RowCount;
inline constexpr int MostPlaces = SlotCount + SparePlaceCount;
constexpr int sparePlace(int row)
{
    return SlotCount + row;
}
/// The row a chromosome class (1 to 22, 23 for the sex chromosomes) lies in.
constexpr int rowOfClass(int chromosomeClass)
{
    return chromosomeClass <= 5 ? 0 : chromosomeClass <= 12 ? 1 : chromosomeClass <= 18 ? 2 : 3;
}

/// The largest drawing scale the program accepts from anywhere (settings files, a computed
/// fit): beyond it a chromosome bitmap would fill the screen many times over.
inline constexpr float LargestScale = 64.0f;

} // namespace queldo
