#pragma once

#include <QImage>
#include <QWidget>

namespace queldo {

/// One chromosome piece on the board: its picture drawn with white left out.
class PieceImage : public QWidget
{
    Q_OBJECT
public:
    PieceImage(int piece, QWidget *parent);

    int piece() const { return m_piece; }
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

signals:
    void rightClicked(int piece);
    void pressed(int piece, QPoint globalPos);
    void moved(int piece, QPoint globalPos);
    void released(int piece, QPoint globalPos);
    void hovered(int piece);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    int m_piece;
    QImage m_picture;
};

} // namespace queldo
