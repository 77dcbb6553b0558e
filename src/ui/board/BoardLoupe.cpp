#include "ui/board/BoardView.h"

#include "core/board/AnswerKey.h"
#include "core/board/ChromosomeId.h"
#include "core/board/Ideogram.h"
#include "core/board/Karyogram.h"
#include "core/board/PieceDisplay.h"
#include "ui/board/PieceImage.h"

#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPainter>

// The loupe of the board: what lies under the pointer, large enough to read.

namespace queldo {

namespace {

// The place's name above the standard's ideogram of each class it takes, on the spread's white:
// an empty place has no photograph to enlarge, but the trainee looking for what belongs there
// wants to see its bands.
QImage placeLoupePicture(const QString &name, const QList<int> &chromosomes, const BandTable *table)
{
    constexpr int Margin = 12, NameHeight = 40, IdeogramWidth = 36, Gap = 24;
    const int across = int(chromosomes.size());
    QImage picture(std::max(120, 2 * Margin + across * IdeogramWidth + (across - 1) * Gap),
                   table ? NameHeight + LoupeLongerSide + 2 * Margin : NameHeight + 2 * Margin,
                   QImage::Format_ARGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font = painter.font();
    font.setPixelSize(28);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(Margin, Margin, picture.width() - 2 * Margin, NameHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, name);
    if (!table)
        return picture;
    int left = (picture.width() - across * IdeogramWidth - (across - 1) * Gap) / 2;
    for (int chromosome : chromosomes) {
        painter.drawImage(left, Margin + NameHeight,
                          standingIdeogram(*table, chromosome, IdeogramWidth, LoupeLongerSide));
        left += IdeogramWidth + Gap;
    }
    return picture;
}

} // namespace

QLabel *BoardView::floatingLabel(const char *name)
{
    auto *label = new QLabel(window());
    label->setObjectName(QString::fromLatin1(name));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->hide();
    return label;
}

void BoardView::placeFloating(QLabel *label, QPoint globalPos, QPoint offset)
{
    // Kept inside the window, so that a piece near an edge is still seen whole.
    QWidget *top = window();
    QPoint at = top->mapFromGlobal(globalPos) + offset;
    at.setX(std::clamp(at.x(), 0, std::max(0, top->width() - label->width())));
    at.setY(std::clamp(at.y(), 0, std::max(0, top->height() - label->height())));
    label->move(at);
    label->show();
    label->raise();
}

void BoardView::showLoupe(int piece, QPoint globalPos)
{
    const auto i = std::size_t(piece);
    if (m_problem.SourceBitmap[i].isNull())
        return;
    makeLoupe();
    if (m_loupe->property("piece").toInt() != piece || !m_loupe->isVisible() ||
        m_loupe->property("stale").toBool()) {
        const int maxSide = std::max(64, window()->height() * 3 / 5);
        const QImage picture =
            loupePicture(m_problem.SourceBitmap[i], m_board.RotationStep[i], maxSide, m_loupeTone);
        m_loupe->setProperty("stale", false);
        m_loupe->setPixmap(QPixmap::fromImage(picture));
        m_loupe->resize(picture.size() + QSize(2, 2));
        m_loupe->setProperty("piece", piece);
    }
    m_loupe->setProperty("place", -1);
    placeFloating(m_loupe, globalPos, QPoint(24, 24));
}

bool BoardView::adjustLoupe(int brightnessSteps, int contrastSteps)
{
    if (!m_loupe || !m_loupe->isVisible())
        return false;
    m_loupeTone.brightness = std::clamp(m_loupeTone.brightness + brightnessSteps, -8, 8);
    m_loupeTone.contrast = std::clamp(m_loupeTone.contrast + contrastSteps, -3, 8);
    m_loupe->setProperty("stale", true);
    // The tone is for photographs: over an empty place it is kept for the next piece.
    if (const int piece = m_loupe->property("piece").toInt(); piece >= 0)
        showLoupe(piece, QCursor::pos());
    return true;
}

void BoardView::hideLoupe()
{
    if (m_loupe)
        m_loupe->hide();
}

void BoardView::showLoupeUnder(QPoint globalPos)
{
    QWidget *under = QApplication::widgetAt(globalPos);
    if (auto *piece = qobject_cast<PieceImage *>(under); piece && isAncestorOf(piece)) {
        showLoupe(piece->piece(), globalPos);
        return;
    }
    for (QWidget *w = under; w && w != this; w = w->parentWidget()) {
        const auto place = std::find(m_placePanels.begin(), m_placePanels.end(), w);
        if (place != m_placePanels.end()) {
            showPlaceLoupe(int(place - m_placePanels.begin()), globalPos);
            return;
        }
    }
    hideLoupe();
}

void BoardView::showPlaceLoupe(int place, QPoint globalPos)
{
    if (place < 0 || place >= MostPlaces)
        return;
    // A place holding a chromosome shows that chromosome, wherever in the place the pointer is.
    if (const int piece = m_board.SlotContents[std::size_t(place)];
        piece >= 0 && !m_problem.SourceBitmap[std::size_t(piece)].isNull()) {
        showLoupe(piece, globalPos);
        return;
    }
    // An empty spare place is for a chromosome of any class of its row: no one ideogram to show.
    if (place >= SlotCount) {
        hideLoupe();
        return;
    }
    makeLoupe();
    if (m_loupe->property("place").toInt() != place || !m_loupe->isVisible()) {
        QList<int> classes;
        if (place == XYPlace)
            classes = {ChromosomeId::X, ChromosomeId::Y};
        else
            classes = {ChromosomeId::ofPlace(place, false)};
        if (!m_bands)
            m_bands = BandTable::embedded();
        const QImage picture =
            placeLoupePicture(placeName(place), classes, m_bands->isValid() ? &*m_bands : nullptr);
        m_loupe->setPixmap(QPixmap::fromImage(picture));
        m_loupe->resize(picture.size() + QSize(2, 2));
    }
    m_loupe->setProperty("piece", -1);
    m_loupe->setProperty("place", place);
    placeFloating(m_loupe, globalPos, QPoint(24, 24));
}

void BoardView::makeLoupe()
{
    if (m_loupe)
        return;
    m_loupe = floatingLabel("Loupe");
    m_loupe->setAutoFillBackground(true);
    m_loupe->setFrameShape(QFrame::Box);
    m_loupe->setPalette(InputPanel->palette());
}

} // namespace queldo
