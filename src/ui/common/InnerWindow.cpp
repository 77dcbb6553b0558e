#include "ui/common/InnerWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <qdrawutil.h>

#include <algorithm>

namespace queldo {

namespace {

// The smallest size a drag leaves; a window given a smaller size by its owner keeps it.
constexpr QSize SmallestDragged(120, 60);
// How much of the caption bar stays inside the parent, so the window can always be taken back.
constexpr int ReachableCaption = 40;
// Along an edge this close to a corner, a drag resizes both ways.
constexpr int CornerReach = 16;

Qt::CursorShape cursorFor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = (edges & Qt::LeftEdge && edges & Qt::TopEdge) ||
                             (edges & Qt::RightEdge && edges & Qt::BottomEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal)
        return Qt::SizeHorCursor;
    if (vertical)
        return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

} // namespace

InnerWindow::InnerWindow(const QString &title, QWidget *parent) : QFrame(parent)
{
    setWindowTitle(title);
    setAutoFillBackground(true);
    setMouseTracking(true);

    m_captionBar = new QWidget(this);
    m_captionBar->setObjectName(QStringLiteral("CaptionBar"));
    m_captionBar->setAutoFillBackground(true);
    QPalette caption = m_captionBar->palette();
    caption.setColor(QPalette::Window, caption.color(QPalette::Active, QPalette::Highlight));
    caption.setColor(QPalette::WindowText,
                     caption.color(QPalette::Active, QPalette::HighlightedText));
    m_captionBar->setPalette(caption);
    m_captionBar->installEventFilter(this);

    auto *row = new QHBoxLayout(m_captionBar);
    row->setContentsMargins(4, 0, 1, 0);
    row->setSpacing(8);
    m_title = new QLabel(title, m_captionBar);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_title->setAttribute(Qt::WA_TransparentForMouseEvents);
    row->addWidget(m_title);
    row->addStretch(1);
    m_captionWidgets = new QWidget(m_captionBar);
    auto *extras = new QHBoxLayout(m_captionWidgets);
    extras->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_captionWidgets);
    m_closeBox = new QToolButton(m_captionBar);
    m_closeBox->setObjectName(QStringLiteral("CloseBox"));
    m_closeBox->setText(QStringLiteral("×"));
    m_closeBox->setToolTip(QStringLiteral("閉じる"));
    m_closeBox->setAutoRaise(false);
    m_closeBox->setFocusPolicy(Qt::NoFocus);
    row->addWidget(m_closeBox);
    connect(m_closeBox, &QToolButton::clicked, this, &QWidget::close);

    m_client = new QWidget(this);
    layoutFrame();
}

void InnerWindow::addCaptionWidget(QWidget *widget)
{
    widget->setParent(m_captionWidgets);
    m_captionWidgets->layout()->addWidget(widget);
}

int InnerWindow::captionHeight() const
{
    return std::max(22, fontMetrics().height() + 8);
}

void InnerWindow::layoutFrame()
{
    const int inner = std::max(width() - 2 * FrameWidth, 0);
    const int caption = std::min(captionHeight(), std::max(height() - 2 * FrameWidth, 0));
    m_captionBar->setGeometry(FrameWidth, FrameWidth, inner, caption);
    const int box = std::max(caption - 4, 0);
    m_closeBox->setFixedSize(box, box);
    m_client->setGeometry(FrameWidth, FrameWidth + caption, inner,
                          std::max(height() - 2 * FrameWidth - caption, 0));
}

void InnerWindow::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutFrame();
}

void InnerWindow::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
}

void InnerWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

Qt::Edges InnerWindow::edgesAt(QPoint pos) const
{
    Qt::Edges edges;
    const bool onFrame = pos.x() < FrameWidth || pos.y() < FrameWidth ||
                         pos.x() >= width() - FrameWidth || pos.y() >= height() - FrameWidth;
    if (!onFrame)
        return edges;
    if (pos.x() < CornerReach)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - CornerReach)
        edges |= Qt::RightEdge;
    if (pos.y() < CornerReach)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - CornerReach)
        edges |= Qt::BottomEdge;
    return edges;
}

void InnerWindow::beginGesture(Qt::Edges edges, bool moving, QPoint globalPos)
{
    raise();
    m_moving = moving;
    m_resizing = edges;
    m_gestureStart = globalPos;
    m_startGeometry = geometry();
}

void InnerWindow::followGesture(QPoint globalPos)
{
    const QPoint delta = globalPos - m_gestureStart;
    if (m_moving) {
        setGeometry(keptReachable(m_startGeometry.translated(delta)));
        return;
    }
    QRect r = m_startGeometry;
    const QSize least(std::min(SmallestDragged.width(), r.width()),
                      std::min(SmallestDragged.height(), r.height()));
    if (m_resizing & Qt::LeftEdge)
        r.setLeft(std::min(r.left() + delta.x(), r.right() + 1 - least.width()));
    if (m_resizing & Qt::RightEdge)
        r.setRight(std::max(r.right() + delta.x(), r.left() + least.width() - 1));
    if (m_resizing & Qt::TopEdge)
        r.setTop(std::min(r.top() + delta.y(), r.bottom() + 1 - least.height()));
    if (m_resizing & Qt::BottomEdge)
        r.setBottom(std::max(r.bottom() + delta.y(), r.top() + least.height() - 1));
    if (parentWidget() && r.top() < 0)
        r.setTop(0); // the caption bar never goes above the parent
    setGeometry(r);
}

QRect InnerWindow::keptReachable(QRect geometry) const
{
    if (!parentWidget())
        return geometry;
    const QSize area = parentWidget()->size();
    const int left =
        std::clamp(geometry.left(), ReachableCaption - geometry.width(),
                   std::max(area.width() - ReachableCaption, ReachableCaption - geometry.width()));
    const int top = std::clamp(geometry.top(), 0, std::max(area.height() - captionHeight(), 0));
    return QRect(QPoint(left, top), geometry.size());
}

bool InnerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_captionBar) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton) {
                beginGesture({}, true, mouse->globalPosition().toPoint());
                return true;
            }
            break;
        }
        case QEvent::MouseMove: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (m_moving && (mouse->buttons() & Qt::LeftButton)) {
                followGesture(mouse->globalPosition().toPoint());
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            if (m_moving) {
                m_moving = false;
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void InnerWindow::mousePressEvent(QMouseEvent *event)
{
    const Qt::Edges edges = edgesAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && edges) {
        beginGesture(edges, false, event->globalPosition().toPoint());
        return;
    }
    raise();
    QFrame::mousePressEvent(event);
}

void InnerWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_resizing && (event->buttons() & Qt::LeftButton)) {
        followGesture(event->globalPosition().toPoint());
        return;
    }
    setCursor(cursorFor(edgesAt(event->position().toPoint())));
    QFrame::mouseMoveEvent(event);
}

void InnerWindow::mouseReleaseEvent(QMouseEvent *event)
{
    m_resizing = {};
    QFrame::mouseReleaseEvent(event);
}

void InnerWindow::leaveEvent(QEvent *event)
{
    if (!m_resizing)
        unsetCursor();
    QFrame::leaveEvent(event);
}

} // namespace queldo
