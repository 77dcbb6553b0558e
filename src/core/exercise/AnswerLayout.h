#pragma once

#include "core/board/CellKey.h"
#include "core/board/Karyogram.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <span>

namespace queldo {

/// The answer window's outer size, frame included: as wide as the spread less 20 pixels and as
/// high as the spread, so that it covers the spread and leaves the trainee's karyogram in view.
QSize answerWindowSize(QSize spread);

/// The rows and places of the answer karyogram for a given size of its OutputPanel.
struct AnswerLayout
{
    std::array<QRect, RowCount> rows{};     ///< in OutputPanel's coordinates
    std::array<QRect, MostPlaces> places{}; ///< each in its row's coordinates
};

/// Four rows at quarter-height steps across the whole width; in each row of c places every
/// place is Wr / c wide, and the last one reaches the row's right edge less 2 pixels. A panel
/// too small for the rows gives places 0 pixels wide, never negative ones. With the spare
/// places each row has one column more, the spare one last.
AnswerLayout answerLayout(QSize outputPanel, bool sparePlaces = false);

/// The caption of an answer place: the class number, "X" on place 44, and on place 45 "X" in a
/// female problem and "Y" in a male one (the place holds that cell's own second sex chromosome).
QString answerPlaceLabel(int place, bool female);
/// The same on the board of an abnormal cell, whose spare place names the chromosome the
/// answer puts there (piece, -1 for none), or reads "+" when it stays empty.
QString answerPlaceLabel(int place, const CellKey &cell, int piece);

/// Where a picture of size picture stands when centred in a place: half the difference, truncated
/// toward zero. A picture larger than its place gets a negative offset and is clipped by it.
QPoint centredOffset(QSize place, QSize picture);

/// The one factor, at most 1, by which every picture shrinks so that each fits its place whole;
/// the same for all, so the chromosomes keep their sizes relative to each other. Empty pictures
/// and places are left out.
double fitAllInPlaces(std::span<const QSize> pictures, std::span<const QSize> places);

/// How much a window's content is drawn larger or smaller once the trainee has resized it away
/// from the size it was laid out for: the smaller of the two ratios, so that the content keeps
/// its proportions and stays whole; exactly 1 at that size, and 1 while either size is empty.
double contentScale(QSize laidOutFor, QSize now);

/// A chromosome with its ideogram beside it, centred in a place as one group.
struct AnswerPicturePlacement
{
    QPoint picture;
    QPoint ideogram; ///< same top as the picture, so both share their rows
};

/// ideogramLeft: where the ideogram starts, measured from the picture's left edge (it may reach
/// into the picture's white margin).
AnswerPicturePlacement placeWithIdeogram(QSize place, QSize picture, int ideogramLeft,
                                         int ideogramWidth);

/// The most chromosomes of one class a cell may show: a pair and a third (a trisomy).
inline constexpr int MostOfAClass = 3;

/// One pair of the answer shown large, each chromosome with its ideogram on its right; a
/// trisomy's third chromosome after them.
struct PairEnlargement
{
    double factor = 0; ///< by which all the photographed pictures are enlarged
    std::array<QRect, MostOfAClass> pictures{};
    /// the room each ideogram may take, as high as its picture
    std::array<QRect, MostOfAClass> ideograms{};
};

/// The pictures (at their photographed size, at most MostOfAClass) enlarged alike, as much as
/// the area below top allows and at most twelve times, centred in it side by side. Each
/// ideogram is given room a little over half its picture's width, at most LargeIdeogramWidth.
inline constexpr int LargeIdeogramWidth = 48;
PairEnlargement enlargeGroup(QSize area, int top, const QList<QSize> &pictures);
PairEnlargement enlargePair(QSize area, int top, QSize first, QSize second);

} // namespace queldo
