#include "ui/board/PieceImage.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

namespace queldo {

PieceImage::PieceImage(int piece, QWidget *parent) : QWidget(parent), m_piece(piece)
{
    setObjectName(QStringLiteral("Image%1").arg(piece));
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PieceImage::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void PieceImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void PieceImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit pressed(m_piece, event->globalPosition().toPoint());
}

void PieceImage::mouseMoveEvent(QMouseEvent *event)
{
    emit hovered(m_piece);
    if (event->buttons() & Qt::LeftButton)
        emit moved(m_piece, event->globalPosition().toPoint());
}

void PieceImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit released(m_piece, event->globalPosition().toPoint());
}

void PieceImage::contextMenuEvent(QContextMenuEvent *event)
{
    emit rightClicked(m_piece);
    event->accept();
}

} // namespace queldo
