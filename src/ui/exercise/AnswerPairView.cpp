#include "ui/exercise/AnswerPairView.h"

#include "core/board/ChromosomeId.h"
#include "core/board/Ideogram.h"
#include "core/board/PieceDisplay.h"

#include <QKeyEvent>
#include <QLabel>
#include <QStringList>

namespace queldo {

namespace {

// The sex chromosomes are the last pair: places 44 and 45.
int firstPlaceOfPair(int place)
{
    return std::clamp(place, 0, SlotCount - 1) / 2 * 2;
}

// The places shown for the pair whose first place is given: its two, then any spare place
// holding a third of it.
QList<int> placesOfPair(int first, const AnswerPlaceSources &sources)
{
    QList<int> places{first, first + 1};
    for (int place = SlotCount; place < MostPlaces && places.size() < MostOfAClass; ++place) {
        if (sources.pairOf[std::size_t(place)] == first)
            places << place;
    }
    return places;
}

QString pairHeading(int first, const QList<int> &places, const AnswerPlaceSources &sources,
                    bool female)
{
    const QString hint = QStringLiteral("　（←→: 前後の対　Esc・クリック: 戻る）");
    if (first != XPlace)
        return QStringLiteral("%1番染色体").arg(pairClass(first)) + hint;
    // The sex chromosomes as the cell has them: X・Y, X・X, or with a third, X・X・Y.
    QStringList names;
    for (int place : places) {
        const int chromosome = sources.chromosome[std::size_t(place)];
        if (chromosome >= 0)
            names << ChromosomeId::name(chromosome);
    }
    if (names.isEmpty())
        names << QStringLiteral("X") << (female ? QStringLiteral("X") : QStringLiteral("Y"));
    return QStringLiteral("性染色体 ") + names.join(QStringLiteral("・")) + hint;
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
    PairHeading = new QLabel(this);
    PairHeading->setObjectName(QStringLiteral("PairHeading"));
    PairHeading->move(8, 6);
    for (std::size_t i = 0; i < MostOfAClass; ++i) {
        m_pictures[i] = new QLabel(this);
        m_pictures[i]->setObjectName(QStringLiteral("PairPicture%1").arg(i));
        m_ideograms[i] = new QLabel(this);
        m_ideograms[i]->setObjectName(QStringLiteral("PairIdeogram%1").arg(i));
    }
    hide();
}

void AnswerPairView::showPair(int place, const AnswerPlaceSources &sources, bool female,
                              const BandTable *table)
{
    if (place >= SlotCount) {
        if (place >= MostPlaces || sources.pairOf[std::size_t(place)] < 0)
            return;
        place = sources.pairOf[std::size_t(place)];
    }
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
    const QList<int> places = placesOfPair(m_place, *m_sources);
    PairHeading->setText(pairHeading(m_place, places, *m_sources, m_female));
    PairHeading->adjustSize();
    std::array<QImage, MostOfAClass> photographed;
    QList<QSize> sizes;
    for (std::size_t i = 0; i < std::size_t(places.size()); ++i) {
        photographed[i] =
            readablePicture(m_sources->pictures[std::size_t(places[qsizetype(i)])], 0);
        sizes << photographed[i].size();
    }
    const PairEnlargement at = enlargeGroup(size(), PairHeading->geometry().bottom() + 8, sizes);
    for (std::size_t i = 0; i < MostOfAClass; ++i) {
        m_ideograms[i]->hide();
        if (i >= std::size_t(places.size()) || at.pictures[i].isEmpty() ||
            photographed[i].isNull()) {
            m_pictures[i]->hide();
            continue;
        }
        // Smooth, so that the bands of a small photograph come out as bands, not as blocks; its
        // levels stretched as the loupe does, which brings out the bands of a pale photograph.
        const QImage large = photographed[i].scaled(at.pictures[i].size(), Qt::IgnoreAspectRatio,
                                                    Qt::SmoothTransformation);
        m_pictures[i]->setPixmap(QPixmap::fromImage(large));
        m_pictures[i]->setGeometry(at.pictures[i]);
        m_pictures[i]->show();
        const int chromosome = m_sources->chromosome[std::size_t(places[qsizetype(i)])];
        if (!m_table || chromosome < 0)
            continue;
        const ChromosomeSpan span =
            findChromosomeSpan(large, centromereSearchFor(*m_table, chromosome));
        if (!span.found)
            continue;
        const QImage ideogram =
            drawIdeogram(m_table->bands(chromosome), at.ideograms[i].width(), large.height(), span);
        m_ideograms[i]->setPixmap(QPixmap::fromImage(ideogram));
        m_ideograms[i]->setGeometry(at.ideograms[i]);
        m_ideograms[i]->show();
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
