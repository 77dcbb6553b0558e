#pragma once

#include "core/board/Karyogram.h"

#include <QRect>
#include <QSize>

#include <array>

namespace queldo {

inline constexpr int CommandColumnWideWidth = 202;
inline constexpr int PlaceLabelOffset = 2;

/// Geometry of one row of places, each rectangle in the row's coordinates.
std::array<QRect, 15> rowPlaces(int rowWidth, int rowHeight, int columns);

struct LayoutInput
{
    QSize client;        ///< the window's client area, below the menu bar
    int windowWidth = 0; ///< outer width of the window
    int previousMenuWidth = 0;
    QSize clockCaptionSize; ///< "時間:"
    QSize secondsSize;
    QSize unitSize; ///< "秒"
    /// The karyogram of an abnormal cell: each row ends in a spare place, one column more.
    bool sparePlaces = false;
};

/// Where everything of the exercise window lies for a given size. Rectangles are in their
/// parent's coordinates: panels of InOutPanel, rows of OutputPanel, places of their row,
/// column controls of MenuPanel, clock labels of the clock panel.
struct BoardLayout
{
    QRect inOutPanel, inputPanel, outputPanel, menuPanel;
    std::array<QRect, 4> rows;
    std::array<QRect, MostPlaces> places; ///< the spare ones empty when not shown
    QRect listBox3, panel5;
    QRect button2, button4, button1, button5, button6, button3;
    QRect label57, label58, label1;
};

BoardLayout computeBoardLayout(const LayoutInput &in);

/// Lays the places of the four rows out across a karyogram of the given row width and height,
/// each row's spare place (when shown) as its last column.
void layOutPlaces(std::array<QRect, MostPlaces> &places, int rowWidth, int rowHeight,
                  bool sparePlaces);

/// Row of a place (0 to 3) and its column within the row.
int rowOfPlace(int place);

} // namespace queldo
