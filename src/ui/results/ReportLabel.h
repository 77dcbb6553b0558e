#pragma once

#include <QLabel>

namespace queldo {

/// A label for the advice texts: plain text, one line per line feed, each line one em tall. The
/// reports were laid out for faces whose lines are one em apart; the free faces that stand in
/// for them space their lines wider, and the longest report would no longer fit its frame.
class ReportLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ReportLabel(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    /// The distance from one line's top to the next: the font's size in pixels.
    int lineHeight() const;
    /// Lines wider than width are broken, after a comma where there is one, the rest indented;
    /// 0 leaves every line whole.
    void setWrapWidth(int width);
    /// The lines as drawn.
    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_wrapWidth = 0;
};

} // namespace queldo
