#pragma once

#include "core/board/BandTable.h"
#include "core/board/Bgr24Image.h"
#include "core/board/Karyogram.h"
#include "core/exercise/AnswerLayout.h"

#include <QWidget>

#include <array>

class QLabel;

namespace queldo {

/// What the answer's places hold, for showing them large: the picture in each place, the
/// chromosome it shows (ChromosomeId, -1 for none) and, for a spare place holding a trisomy's
/// third chromosome, the first place of the pair it belongs with (-1 otherwise).
struct AnswerPlaceSources
{
    std::array<Bgr24Image, MostPlaces> pictures;
    std::array<int, MostPlaces> chromosome{};
    std::array<int, MostPlaces> pairOf{};
};

/// One pair of the correct answer shown large over the whole answer karyogram: both chromosomes
/// enlarged smoothly from their photographs (with a trisomy's third beside them), each with the
/// standard's ideogram of its chromosome beside it, so that the bands of a small photograph can
/// be compared with the standard.
/// The arrow keys step to the pair before or after; Esc or a click goes back to the karyogram.
class AnswerPairView : public QWidget
{
    Q_OBJECT
public:
    explicit AnswerPairView(QWidget *parent = nullptr);

    /// Shows the pair of the given place (either of its two places, or a spare place holding a
    /// third of the pair), covering the parent. table: where the ideograms come from; none are
    /// drawn without one. Nothing is shown for a spare place that holds nothing.
    void showPair(int place, const AnswerPlaceSources &sources, bool female,
                  const BandTable *table);
    /// Draws the shown pair again for the parent's present size.
    void refit();
    /// The first place of the pair shown.
    int pair() const { return m_place; }

    /// The i-th chromosome of the pair shown (PairPicture<i>) and its ideogram
    /// (PairIdeogram<i>), hidden when there is none.
    QLabel *picture(int i) const { return m_pictures.at(std::size_t(i)); }
    QLabel *ideogram(int i) const { return m_ideograms.at(std::size_t(i)); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // Found by their object names from outside.
    QLabel *PairHeading = nullptr;

    std::array<QLabel *, MostOfAClass> m_pictures{};
    std::array<QLabel *, MostOfAClass> m_ideograms{};

    void draw();

    const AnswerPlaceSources *m_sources = nullptr;
    const BandTable *m_table = nullptr;
    bool m_female = false;
    int m_place = 0;
};

} // namespace queldo
