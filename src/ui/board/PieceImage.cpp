#include "ui/board/PieceImage.h"

#include "core/board/PieceDisplay.h"

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
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    m_screenPicture = withNearWhiteTransparent(picture);
    // Clicks on the white around a bent chromosome go to what lies below it.
    const QRegion pickable = pickableRegion(m_screenPicture);
    if (pickable.isEmpty())
        clearMask();
    else
        setMask(pickable);
    update();
}

void PieceImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_screenPicture);
}

void PieceImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit pressed(m_piece, event->globalPosition().toPoint());
    else if (event->button() == Qt::MiddleButton)
        emit loupeRequested(m_piece, event->globalPosition().toPoint());
}

void PieceImage::mouseMoveEvent(QMouseEvent *event)
{
    emit hovered(m_piece, event->globalPosition().toPoint());
    if (event->buttons() & Qt::LeftButton)
        emit moved(m_piece, event->globalPosition().toPoint());
}

void PieceImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit released(m_piece, event->globalPosition().toPoint());
    else if (event->button() == Qt::MiddleButton)
        emit loupeReleased();
}

void PieceImage::contextMenuEvent(QContextMenuEvent *event)
{
    emit rightClicked(m_piece);
    event->accept();
}

} // namespace queldo
