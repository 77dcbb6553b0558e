#include "karyogramcomposer.h"

#include "bandtable.h"
#include "strokeglyphs.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

QList<QList<KaryogramComposer::Group>>
KaryogramComposer::rows(const QList<ChromosomePicture> &pictures)
{
    const auto members = [&](int chromosome) {
        QList<const ChromosomePicture *> found;
        for (const ChromosomePicture &picture : pictures) {
            if (picture.chromosome == chromosome)
                found.append(&picture);
        }
        return found;
    };
    const QList<QPair<int, int>> rowRanges = {{1, 5}, {6, 12}, {13, 18}, {19, 22}};
    QList<QList<Group>> result;
    for (const auto &[first, last] : rowRanges) {
        QList<Group> row;
        for (int number = first; number <= last; ++number)
            row.append({QString::number(number), members(number - 1)});
        result.append(row);
    }
    for (int sex : {ChromosomeId::X, ChromosomeId::Y}) {
        const QList<const ChromosomePicture *> found = members(sex);
        if (!found.isEmpty())
            result.last().append({ChromosomeId::name(sex), found});
    }
    return result;
}

QImage KaryogramComposer::compose(const QList<ChromosomePicture> &pictures)
{
    const QList<QList<Group>> layout = rows(pictures);
    const double unit = std::max(8.0, pictures.first().image.height() / 12.0);
    const int labelHeight = int(std::lround(std::clamp(unit * 0.7, 8.0, 22.0)));
    const int homologGap = int(std::lround(unit * 0.15));
    const int groupGap = int(std::lround(unit * 1.2));
    const int rowGap = int(std::lround(unit * 0.8));
    const int margin = int(std::lround(unit));

    struct RowMetrics
    {
        double above = 0.0;
        double below = 0.0;
        int width = 0;
    };
    QList<RowMetrics> metrics;
    int canvasWidth = 0;
    int canvasHeight = margin;
    for (const QList<Group> &row : layout) {
        RowMetrics m;
        for (const Group &group : row) {
            for (const ChromosomePicture *picture : group.members) {
                m.above = std::max(m.above, picture->centromere.y());
                m.below = std::max(m.below, picture->image.height() - picture->centromere.y());
                m.width += picture->image.width() + homologGap;
            }
            m.width += groupGap - homologGap;
        }
        m.width -= groupGap;
        metrics.append(m);
        canvasWidth = std::max(canvasWidth, m.width);
        canvasHeight += int(std::ceil(m.above + m.below)) + labelHeight * 2 + rowGap;
    }
    canvasWidth += 2 * margin;
    canvasHeight += margin - rowGap;

    QImage canvas(canvasWidth, canvasHeight, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen labelPen(QColor(40, 40, 40), std::max(1.0, labelHeight / 8.0), Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin);

    double top = margin;
    for (qsizetype r = 0; r < layout.size(); ++r) {
        const RowMetrics &m = metrics.at(r);
        const double centromereLine = top + m.above;
        const double baseline = centromereLine + m.below + labelHeight * 0.4;
        double x = (canvasWidth - m.width) / 2.0;
        for (const Group &group : layout.at(r)) {
            const double groupLeft = x;
            for (const ChromosomePicture *picture : group.members) {
                const QPointF at(std::round(x),
                                 std::round(centromereLine - picture->centromere.y()));
                // White margins of neighbours must not cover each other.
                painter.setCompositionMode(QPainter::CompositionMode_Darken);
                painter.drawImage(at, picture->image);
                x += picture->image.width() + homologGap;
            }
            const double groupRight = x - homologGap;
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.setPen(QPen(QColor(120, 120, 120), 1.0));
            painter.drawLine(QPointF(groupLeft + 2, baseline), QPointF(groupRight - 2, baseline));
            const double textWidth = StrokeGlyphs::advance(labelHeight) * group.label.size();
            const QPointF textAt((groupLeft + groupRight - textWidth) / 2.0,
                                 baseline + labelHeight * 0.3);
            painter.setPen(labelPen);
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(StrokeGlyphs::text(group.label, textAt, labelHeight));
            x += groupGap - homologGap;
        }
        top += std::ceil(m.above + m.below) + labelHeight * 2 + rowGap;
    }
    painter.end();
    return canvas;
}
