#pragma once

#include <QFrame>
#include <QRect>

class QLabel;
class QToolButton;

namespace queldo {

/// A window that lives inside a panel of another window, as a form shown as a child does: a
/// caption bar with its title and a close box, moved by dragging the caption and resized by
/// dragging its edges and corners, always kept within reach inside its parent. Qt gives a child
/// widget no frame of its own, so this one draws it.
class InnerWindow : public QFrame
{
    Q_OBJECT
public:
    /// Width of the frame around the caption bar and the client area; the edges that resize.
    static constexpr int FrameWidth = 5;

    explicit InnerWindow(const QString &title, QWidget *parent = nullptr);

    /// The area below the caption bar that the window's content fills.
    QWidget *client() const { return m_client; }
    QWidget *captionBar() const { return m_captionBar; }
    QToolButton *closeBox() const { return m_closeBox; }
    /// Puts a control on the caption bar, between the title and the close box.
    void addCaptionWidget(QWidget *widget);

    /// The caption bar's height, which the client area is left below.
    int captionHeight() const;
    /// Lays out the caption bar and the client area for the window's present size. Called on
    /// every resize; call it directly to size the client area of a window not yet shown.
    void layoutFrame();

signals:
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Qt::Edges edgesAt(QPoint pos) const;
    void beginGesture(Qt::Edges edges, bool moving, QPoint globalPos);
    void followGesture(QPoint globalPos);
    QRect keptReachable(QRect geometry) const;

    QWidget *m_captionBar = nullptr;
    QLabel *m_title = nullptr;
    QWidget *m_captionWidgets = nullptr;
    QToolButton *m_closeBox = nullptr;
    QWidget *m_client = nullptr;

    bool m_moving = false;
    Qt::Edges m_resizing;
    QPoint m_gestureStart;
    QRect m_startGeometry;
};

} // namespace queldo
