#pragma once

#include "core/board/Karyogram.h"

#include <QRect>
#include <QSize>

#include <array>

namespace queldo {

inline constexpr int CommandColumnWideWidth = 202;
inline constexpr int PlaceLabelOffset = 2;

/// Geometry of one row of places, each rectangle in the row's coordinates.
std::array<QRect, 14> rowPlaces(int rowWidth, int rowHeight, int columns);

struct LayoutInput
{
    QSize client;        ///< the window's client area, below the menu bar
    int windowWidth = 0; ///< outer width of the window
    int previousMenuWidth = 0;
    QSize clockCaptionSize; ///< "時間:"
    QSize secondsSize;
    QSize unitSize; ///< "秒"
};

/// Where everything of the exercise window lies for a given size. Rectangles are in their
/// parent's coordinates: panels of InOutPanel, rows of OutputPanel, places of their row,
/// column controls of MenuPanel, clock labels of the clock panel.
struct BoardLayout
{
    QRect inOutPanel, inputPanel, outputPanel, menuPanel;
    std::array<QRect, 4> rows;
    std::array<QRect, 46> places;
    QRect listBox3, panel5;
    QRect button2, button4, button1, button5, button6, button3;
    QRect label57, label58, label1;
};

BoardLayout computeBoardLayout(const LayoutInput &in);

/// Row of a place (0 to 3) and its column within the row.
int rowOfPlace(int place);

} // namespace queldo
