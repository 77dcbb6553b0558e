#include "ui/exercise/AnswerPairView.h"

#include "core/board/ChromosomeId.h"
#include "core/board/Ideogram.h"
#include "core/board/PieceDisplay.h"
#include "core/exercise/AnswerLayout.h"

#include <QKeyEvent>
#include <QLabel>

namespace queldo {

namespace {

// The sex chromosomes are the last pair: places 44 and 45.
int firstPlaceOfPair(int place)
{
    return std::clamp(place, 0, SlotCount - 1) / 2 * 2;
}

QString pairHeading(int first, bool female)
{
    const QString hint = QStringLiteral("　（←→: 前後の対　Esc・クリック: 戻る）");
    if (first == XPlace)
        return QStringLiteral("性染色体 X・%1")
                   .arg(female ? QStringLiteral("X") : QStringLiteral("Y")) +
               hint;
    return QStringLiteral("%1番染色体").arg(pairClass(first)) + hint;
}

} // namespace

AnswerPairView::AnswerPairView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PairView"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setFocusPolicy(Qt::StrongFocus);
    Heading = new QLabel(this);
    Heading->setObjectName(QStringLiteral("PairHeading"));
    Heading->move(8, 6);
    for (std::size_t i = 0; i < 2; ++i) {
        pictures[i] = new QLabel(this);
        pictures[i]->setObjectName(QStringLiteral("PairPicture%1").arg(i));
        ideograms[i] = new QLabel(this);
        ideograms[i]->setObjectName(QStringLiteral("PairIdeogram%1").arg(i));
    }
    hide();
}

void AnswerPairView::showPair(int place, const std::array<Bgr24Image, PieceCount> &sources,
                              bool female, const BandTable *table)
{
    m_sources = &sources;
    m_female = female;
    m_table = table;
    m_place = firstPlaceOfPair(place);
    show();
    raise();
    setFocus();
    refit();
}

void AnswerPairView::refit()
{
    if (!parentWidget() || !m_sources || isHidden())
        return;
    setGeometry(parentWidget()->rect());
    draw();
}

void AnswerPairView::draw()
{
    Heading->setText(pairHeading(m_place, m_female));
    Heading->adjustSize();
    std::array<QImage, 2> photographed;
    for (std::size_t i = 0; i < 2; ++i)
        photographed[i] = readablePicture((*m_sources)[std::size_t(m_place) + i], 0);
    const PairEnlargement at = enlargePair(size(), Heading->geometry().bottom() + 8,
                                           photographed[0].size(), photographed[1].size());
    for (std::size_t i = 0; i < 2; ++i) {
        ideograms[i]->hide();
        if (at.pictures[i].isEmpty() || photographed[i].isNull()) {
            pictures[i]->hide();
            continue;
        }
        // Smooth, so that the bands of a small photograph come out as bands, not as blocks; its
        // levels stretched as the loupe does, which brings out the bands of a pale photograph.
        const QImage large = photographed[i].scaled(at.pictures[i].size(), Qt::IgnoreAspectRatio,
                                                    Qt::SmoothTransformation);
        pictures[i]->setPixmap(QPixmap::fromImage(large));
        pictures[i]->setGeometry(at.pictures[i]);
        pictures[i]->show();
        if (!m_table)
            continue;
        const int chromosome = ChromosomeId::ofPiece(m_place + int(i), m_female);
        const ChromosomeSpan span =
            findChromosomeSpan(large, centromereSearchFor(*m_table, chromosome));
        if (!span.found)
            continue;
        const QImage ideogram =
            drawIdeogram(m_table->bands(chromosome), at.ideograms[i].width(), large.height(), span);
        ideograms[i]->setPixmap(QPixmap::fromImage(ideogram));
        ideograms[i]->setGeometry(at.ideograms[i]);
        ideograms[i]->show();
    }
}

void AnswerPairView::keyPressEvent(QKeyEvent *event)
{
    const int step = event->key() == Qt::Key_Right ? 2 : event->key() == Qt::Key_Left ? -2 : 0;
    if (step != 0) {
        // Round the karyogram: after the sex chromosomes comes pair 1 again.
        m_place = (m_place + step + SlotCount) % SlotCount;
        draw();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AnswerPairView::mousePressEvent(QMouseEvent *)
{
    hide();
}

} // namespace queldo
