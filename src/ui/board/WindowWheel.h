#pragma once

#include <QObject>

class QWidget;

namespace queldo {

class BoardView;

/// Gives the board every wheel turn made anywhere in its window, wherever the pointer is, and
/// shows the board's loupe for the piece under the pointer while Ctrl is held.
class WindowWheel : public QObject
{
    Q_OBJECT
public:
    /// Watches the whole application for window's sake; becomes window's child.
    WindowWheel(QWidget *window, BoardView *board);
    ~WindowWheel() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    BoardView *m_board;
};

} // namespace queldo
