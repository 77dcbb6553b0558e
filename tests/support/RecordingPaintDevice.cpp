#include "RecordingPaintDevice.h"

#include <QFontMetricsF>
#include <QPixmap>
#include <QTextItem>

namespace queldo::test {

namespace {

class RecordingEngine : public QPaintEngine
{
public:
    explicit RecordingEngine(QList<PaintedItem> &items)
        : QPaintEngine(QPaintEngine::AllFeatures), m_items(items)
    {
    }
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    Type type() const override { return QPaintEngine::User; }
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &) override
    {
        m_items.append({PaintedItem::Picture, {}, {}, {}, mapped(r), pm.toImage()});
    }
    void drawImage(const QRectF &r, const QImage &image, const QRectF &,
                   Qt::ImageConversionFlags) override
    {
        m_items.append({PaintedItem::Picture, {}, {}, {}, mapped(r), image});
    }
    void drawTextItem(const QPointF &p, const QTextItem &textItem) override
    {
        // A line of mixed scripts arrives in runs: runs on one baseline are one line.
        const QPointF at = state->transform().map(p);
        if (!m_items.isEmpty() && m_items.last().kind == PaintedItem::Text &&
            m_items.last().baseline.y() == at.y() && m_items.last().font == textItem.font()) {
            m_items.last().text += textItem.text();
            return;
        }
        m_items.append({PaintedItem::Text, textItem.text(), at, textItem.font(), {}, {}});
    }

private:
    QRectF mapped(const QRectF &r) const { return state->transform().mapRect(r); }
    QList<PaintedItem> &m_items;
};

} // namespace

RecordingPaintDevice::RecordingPaintDevice(QSize size, int dpi)
    : m_size(size), m_dpi(dpi), m_engine(std::make_unique<RecordingEngine>(items))
{
}

RecordingPaintDevice::~RecordingPaintDevice() = default;

QPaintEngine *RecordingPaintDevice::paintEngine() const
{
    return m_engine.get();
}

qreal RecordingPaintDevice::textTop(const PaintedItem &item) const
{
    return item.baseline.y() - QFontMetricsF(item.font, this).ascent();
}

int RecordingPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return int(m_size.width() * 25.4 / m_dpi);
    case PdmHeightMM:
        return int(m_size.height() * 25.4 / m_dpi);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_dpi;
    case PdmDepth:
        return 32;
    case PdmNumColors:
        return INT_MAX;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace queldo::test
