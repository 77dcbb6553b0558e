#pragma once

#include "core/board/BandTable.h"
#include "core/board/Bgr24Image.h"
#include "core/board/Karyogram.h"

#include <QWidget>

#include <array>

class QLabel;

namespace queldo {

/// One pair of the correct answer shown large over the whole answer karyogram: both chromosomes
/// enlarged smoothly from their photographs, each with the standard's ideogram of its class
/// beside it, so that the bands of a small photograph can be compared with the standard.
/// The arrow keys step to the pair before or after; Esc or a click goes back to the karyogram.
class AnswerPairView : public QWidget
{
    Q_OBJECT
public:
    explicit AnswerPairView(QWidget *parent = nullptr);

    /// Shows the pair of the given place (either of its two places), covering the parent.
    /// table: where the ideograms come from; none are drawn without one.
    void showPair(int place, const std::array<Bgr24Image, PieceCount> &sources, bool female,
                  const BandTable *table);
    /// Draws the shown pair again for the parent's present size.
    void refit();
    /// The first place of the pair shown.
    int pair() const { return m_place; }

    QLabel *Heading = nullptr;
    std::array<QLabel *, 2> pictures{};
    std::array<QLabel *, 2> ideograms{};

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void draw();

    const std::array<Bgr24Image, PieceCount> *m_sources = nullptr;
    const BandTable *m_table = nullptr;
    bool m_female = false;
    int m_place = 0;
};

} // namespace queldo
