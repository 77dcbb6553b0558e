#pragma once

#include "core/board/BandTable.h"
#include "core/board/Bgr24Image.h"
#include "core/board/CellKey.h"
#include "core/board/Ideogram.h"
#include "core/board/Karyogram.h"
#include "core/exercise/AnswerViewOptions.h"
#include "ui/common/InnerWindow.h"
#include "ui/exercise/AnswerPairView.h"

#include <QImage>

#include <array>
#include <optional>

class QCheckBox;
class QLabel;

namespace queldo {

class BoardView;

/// The correct-answer window (正解表示): the 46 chromosomes of the current cell, upright, each in
/// its own place of a karyogram laid out like the exercise window's. It is shown inside the
/// spread of the exercise window, beside the trainee's own karyogram, and can be moved, resized
/// and closed there. Beside each chromosome it can stand the standard's ideogram of its class.
class TForm16 : public InnerWindow
{
    Q_OBJECT
public:
    explicit TForm16(QWidget *parent = nullptr);

    /// Builds the window from nothing for a spread of the given size: sizes it, lays out its
    /// rows and places, labels them and puts every picture, scaled by effectiveScale, upright in
    /// the place of its own number. The pictures are those in memory, whatever the files hold now.
    void prepare(QSize spread, const std::array<Bgr24Image, MostPieces> &SourceBitmap,
                 float EffectiveScale, bool female);
    /// As above for a cell of either kind: every picture in its place of the correct karyogram,
    /// on a board with the spare places when the cell's has them.
    void prepare(QSize spread, const std::array<Bgr24Image, MostPieces> &SourceBitmap,
                 float EffectiveScale, const CellKey &cell);
    /// Puts the window at the top left of the spread, over its pieces, and shows it.
    void showOver(QWidget *spread);
    /// The answer to the problem on board, prepared for and shown over its spread.
    void showOverBoard(BoardView &board, float EffectiveScale);

    /// The trainee's answer-window options: read now, written whenever the trainee changes them.
    void setOptionsFile(const QString &path);
    /// Changes from now on hold for this run only (a trainee opened read-only).
    void stopRememberingOptions() { m_optionsFile.clear(); }
    bool ideogramsShown() const;
    /// The band tables to draw ideograms from; the ones built into the program unless set.
    void useBandTable(const BandTable &table);

    /// Panel1 .. Panel4.
    QWidget *rowPanel(int row) const { return m_rowPanels.at(std::size_t(row)); }
    /// By place: Panel10 .. Panel55 and Label10 .. Label55 with the picture of place k in
    /// Image<k>, then the spare places SparePanel1 .. SparePanel4 with SpareLabel<n> and
    /// SpareImage<n>.
    QWidget *placePanel(int place) const { return m_placePanels.at(std::size_t(place)); }
    QLabel *placeLabel(int place) const { return m_placeLabels.at(std::size_t(place)); }
    QLabel *image(int place) const { return m_images.at(std::size_t(place)); }
    /// Beside the place's image, when chosen.
    QLabel *ideogram(int place) const { return m_ideograms.at(std::size_t(place)); }

    /// Shows the pair of a place large over the karyogram, as a click on the place does.
    void showPairLarge(int place);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Found by their object names from outside.
    QWidget *OutputPanel = nullptr;
    QCheckBox *IdeogramBox = nullptr;   // イデオグラム
    AnswerPairView *PairView = nullptr; // one pair large, over the karyogram

    std::array<QWidget *, RowCount> m_rowPanels{};
    std::array<QWidget *, MostPlaces> m_placePanels{};
    std::array<QLabel *, MostPlaces> m_placeLabels{};
    std::array<QLabel *, MostPlaces> m_images{};
    std::array<QLabel *, MostPlaces> m_ideograms{};

    void IdeogramBoxClick(bool on);
    /// Rows, places and pictures for the present size of OutputPanel.
    void layOutContent();
    void placePictures();
    const BandTable *bandTable();
    void tellOnceWhyNoIdeograms();

    std::array<QImage, MostPlaces> m_pictures; ///< by place
    std::array<Bgr24Image, MostPieces> m_sources;
    float m_scale = 1.0f;
    QSize m_laidOutFor;  ///< OutputPanel's size when prepared: the pictures at m_scale
    QSize m_contentSize; ///< OutputPanel's size the content was last laid out for
    CellKey m_cell = CellKey::normal(false);
    std::array<int, MostPlaces> m_pieceInPlace{};
    AnswerPlaceSources m_pairSources; ///< what each place holds, for showing a pair large
    QString m_optionsFile;
    AnswerViewOptions m_options;
    std::optional<BandTable> m_table;
    bool m_toldNoIdeograms = false;
};

} // namespace queldo
