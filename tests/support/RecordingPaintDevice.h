#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <memory>

namespace queldo::test {

/// What was painted, in the order it was painted.
struct PaintedItem
{
    enum Kind { Text, Picture } kind = Text;
    QString text;     ///< for Text: the runs drawn on one baseline, joined
    QPointF baseline; ///< for Text: the left end of the text's baseline
    QFont font;       ///< for Text
    QRectF target;    ///< for Picture: where the picture was stretched to
    QImage picture;   ///< for Picture
};

/// A page of a given size and resolution that records what a painter draws on it instead of
/// drawing it, so a test can read texts and picture rectangles in device units.
class RecordingPaintDevice : public QPaintDevice
{
public:
    RecordingPaintDevice(QSize size, int dpi);
    ~RecordingPaintDevice() override;

    QPaintEngine *paintEngine() const override;
    QList<PaintedItem> items;
    /// The top of a recorded text: its baseline less the ascent of its font on this device.
    qreal textTop(const PaintedItem &item) const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    int m_dpi;
    std::unique_ptr<QPaintEngine> m_engine;
};

} // namespace queldo::test
