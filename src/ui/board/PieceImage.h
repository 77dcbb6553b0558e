#pragma once

#include <QImage>
#include <QWidget>

namespace queldo {

/// One chromosome piece on the board: its picture drawn with white and near-white left out,
/// and taken hold of only where it shows chromosome.
class PieceImage : public QWidget
{
    Q_OBJECT
public:
    PieceImage(int piece, QWidget *parent);

    int piece() const { return m_piece; }
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    /// The picture as drawn: near-white made transparent.
    const QImage &screenPicture() const { return m_screenPicture; }

signals:
    void rightClicked(int piece);
    void pressed(int piece, QPoint globalPos);
    void moved(int piece, QPoint globalPos);
    void released(int piece, QPoint globalPos);
    void hovered(int piece, QPoint globalPos);
    /// The middle button went down over the piece, or up again.
    void loupeRequested(int piece, QPoint globalPos);
    void loupeReleased();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    int m_piece;
    QImage m_picture;
    QImage m_screenPicture;
};

} // namespace queldo
