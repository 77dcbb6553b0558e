#include "core/board/BoardLayout.h"

#include <algorithm>

namespace queldo {

std::array<QRect, 15> rowPlaces(int rowWidth, int rowHeight, int columns)
{
    std::array<QRect, 15> places{};
    const int c = rowWidth / columns;
    for (int i = 0; i < columns - 1; ++i)
        places[std::size_t(i)] = QRect(i * c, 0, c, rowHeight);
    const int lastLeft = (columns - 1) * c;
    places[std::size_t(columns - 1)] = QRect(lastLeft, 0, rowWidth - lastLeft - 2, rowHeight);
    return places;
}

int rowOfPlace(int place)
{
    for (int row = 3; row >= 0; --row) {
        if (place >= RowFirstPlace[std::size_t(row)])
            return row;
    }
    return 0;
}

void layOutPlaces(std::array<QRect, MostPlaces> &places, int rowWidth, int rowHeight,
                  bool sparePlaces)
{
    places.fill(QRect());
    for (int row = 0; row < RowCount; ++row) {
        const int columns = RowColumns[std::size_t(row)];
        const auto rects = rowPlaces(rowWidth, rowHeight, columns + (sparePlaces ? 1 : 0));
        for (int i = 0; i < columns; ++i)
            places[std::size_t(RowFirstPlace[std::size_t(row)] + i)] = rects[std::size_t(i)];
        if (sparePlaces)
            places[std::size_t(sparePlace(row))] = rects[std::size_t(columns)];
    }
}

BoardLayout computeBoardLayout(const LayoutInput &in)
{
    BoardLayout l;
    const int clientW = in.client.width();
    const int clientH = in.client.height();
    // The command column follows the width the left part had before this resize, as the
    // right-aligned panel and the client-aligned one settle against each other.
    const int menuW =
        in.windowWidth <= 1024 ? (clientW - in.previousMenuWidth) / 5 : CommandColumnWideWidth;
    const int inOutW = clientW - menuW;
    l.inOutPanel = QRect(0, 0, inOutW, clientH);
    l.menuPanel = QRect(inOutW, 0, menuW, clientH);

    const int half = clientH / 2;
    l.inputPanel = QRect(0, 0, inOutW, half);
    l.outputPanel = QRect(0, clientH - half, inOutW, half);

    const int rowH = half / 4;
    for (int row = 0; row < 4; ++row)
        l.rows[std::size_t(row)] = QRect(0, row * rowH, inOutW, rowH);
    layOutPlaces(l.places, inOutW, rowH, in.sparePlaces);

    l.listBox3 = QRect(0, 0, menuW, half);
    const int L = l.outputPanel.top();
    const int Q = half;
    const int bandH = Q / 6;
    l.panel5 = QRect(0, L, menuW, bandH);
    l.button2 = QRect(0, L + Q / 6, menuW, bandH);
    l.button4 = QRect(0, L + 2 * Q / 6, menuW, bandH);
    l.button1 = QRect(0, L + 3 * Q / 6, menuW / 2, bandH);
    l.button5 = QRect(menuW / 2, L + 3 * Q / 6, menuW / 2, bandH);
    l.button6 = QRect(0, L + 4 * Q / 6, menuW, bandH);
    l.button3 = QRect(0, L + 5 * Q / 6, menuW, bandH);

    const int P = menuW, V = bandH;
    l.label57 =
        QRect(QPoint(P / 20, V / 2 - in.clockCaptionSize.height() / 2), in.clockCaptionSize);
    l.label58 = QRect(
        QPoint(P / 20 + in.clockCaptionSize.width() + 10, V / 2 - in.secondsSize.height() / 2),
        in.secondsSize);
    l.label1 = QRect(QPoint(19 * P / 20 - in.unitSize.width(), V / 2 - in.unitSize.height() / 2),
                     in.unitSize);
    return l;
}

} // namespace queldo
