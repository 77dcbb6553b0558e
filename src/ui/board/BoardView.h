#pragma once

#include "core/board/BandTable.h"
#include "core/board/BoardLayout.h"
#include "core/board/BoardState.h"
#include "core/board/PieceDisplay.h"
#include "core/board/Placement.h"
#include "core/board/ProblemLoader.h"
#include "core/exercise/Scoring.h"
#include "core/results/ArrangementFile.h"

#include <QDir>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QLabel;

namespace queldo {

class PieceImage;
struct LiveSettings;

/// The board of the exercise window (`InOutPanel`): the spread of pieces above, the karyogram
/// rows of places below. It owns the board model and the loaded problem, shows them, and handles
/// everything the pointer does to pieces: picking up, dropping, right-click choosing and the
/// wheel. The window above it decides when problems are dealt, scored or emptied.
class BoardView : public QWidget
{
    Q_OBJECT
public:
    /// imagesFolder: where a dropped piece's bitmap is read again.
    explicit BoardView(const QDir &imagesFolder, QWidget *parent = nullptr);

    /// The trainee's live settings, whose alignment mode and scale every drop and turn read;
    /// they outlive the board or are replaced first. A board given none only shows what it is
    /// given: nothing on it is dropped or turned.
    void setSettings(const LiveSettings *settings) { m_settings = settings; }

    BoardState &board() { return m_board; }
    const BoardState &board() const { return m_board; }
    const LoadedProblem &problem() const { return m_problem; }
    bool isFemaleProblem() const;
    /// What the pieces of the problem on the board are.
    const CellKey &cellKey() const { return m_problem.key; }

    /// Shows or hides the spare place at the end of each row, laying the places of the rows out
    /// again for it; a problem's scale is computed from the places afterwards.
    void setSparePlaces(bool shown);
    bool sparePlaces() const { return m_sparePlaces; }

    /// Whether the place labels follow reference mode (the menu entry's state).
    void setReferenceMode(bool on) { m_referenceMode = on; }
    bool referenceMode() const { return m_referenceMode; }

    /// Empties every place (colours and labels back to plain) and puts all pieces on the spread.
    void emptyBoard();
    /// Hides every piece: nothing is left to see or drag.
    void hidePieces();
    /// Forgets the loaded problem after a failed load.
    void clearProblem();
    /// Takes a freshly loaded problem and deals its pieces onto the spread at the given scale.
    void deal(LoadedProblem problem, float scale, PieceRandom &random);
    /// Shows a recorded attempt of a problem: every piece drawn into the place it lay in, as its
    /// drop drew it, and the places coloured by their verdicts as after scoring. Nothing lies on
    /// the spread and nothing can be moved.
    void showArrangement(LoadedProblem problem, float scale, const Arrangement &places);

    /// What the scale computation needs from the laid-out places.
    ScaleInputs scaleInputs(int trackBarPosition, int customScale) const;
    /// Colours and labels every place by its verdict; referenceMode as scoring reads it.
    void showSlotResults(const SlotCodes &codes, bool referenceMode);
    void showSlotResults(const CellScore &score, bool referenceMode);
    /// Rewrites place labels; offsets back at 2, 2 when resetOffsets.
    void applyLabels(const std::vector<LabelUpdate> &labels, bool resetOffsets = false);
    /// Lays out the spread, rows and places as the window's layout says.
    void applyLayout(const BoardLayout &layout);

    /// The spread (`InputPanel`), where the answer window is shown over the pieces.
    QWidget *spread() const { return InputPanel; }
    /// The karyogram (`OutputPanel`) with its rows and places, as the trainee sees it.
    QWidget *karyogram() const { return OutputPanel; }
    /// Panel1 .. Panel4.
    QWidget *rowPanel(int row) const { return m_rowPanels.at(std::size_t(row)); }
    /// Panel10 .. Panel55, then the spare places SparePanel1 .. SparePanel4.
    QWidget *placePanel(int place) const { return m_placePanels.at(std::size_t(place)); }
    /// Label10 .. Label55, then SpareLabel1 .. SpareLabel4.
    QLabel *placeLabel(int place) const { return m_placeLabels.at(std::size_t(place)); }
    /// Image0 .. Image46.
    PieceImage *piece(int k) const { return m_pieces.at(std::size_t(k)); }

    /// One wheel notch from anywhere in the window: turns the chosen piece.
    void FormMouseWheel(int wheelDelta);
    /// Shows a piece at twice its photographed size beside the pointer, until hideLoupe.
    void showLoupe(int piece, QPoint globalPos);
    void hideLoupe();
    /// The loupe for whatever lies under the pointer: a piece, the chromosome in a place, or
    /// for an empty place its name and the standard's ideogram of what belongs there; hidden
    /// over anything else.
    void showLoupeUnder(QPoint globalPos);
    void showPlaceLoupe(int place, QPoint globalPos);
    /// Changes the loupe's brightness and contrast by the given steps, for the picture shown
    /// and the ones after it; false when no loupe is shown.
    bool adjustLoupe(int brightnessSteps, int contrastSteps);
    /// The loupe and the picture that follows a dragged piece, for tests; null until first used.
    QLabel *loupe() const { return m_loupe; }
    QLabel *dragImage() const { return m_dragImage; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Found by their object names from outside, or through spread() and karyogram().
    QWidget *InputPanel = nullptr;
    QWidget *OutputPanel = nullptr;

    std::array<QWidget *, RowCount> m_rowPanels{};
    std::array<QWidget *, MostPlaces> m_placePanels{};
    std::array<QLabel *, MostPlaces> m_placeLabels{};
    std::array<PieceImage *, MostPieces> m_pieces{};

    void showPiece(int piece);
    PlacementContext placementContext() const;

    void ImageContextPopup(int piece);
    void Image4ContextPopup5();
    void InputPanelMouseMove(QPoint pos);
    void PlaceMouseEvent(int place, QEvent *event);
    void ImageMouseMove(int piece, QPoint globalPos);
    /// A label floating over the whole window, seen through where its picture is transparent.
    QLabel *floatingLabel(const char *name);
    void makeLoupe();
    void placeFloating(QLabel *label, QPoint globalPos, QPoint offset);

    void piecePressed(int piece, QPoint globalPos);
    void pieceMoved(int piece, QPoint globalPos);
    void pieceReleased(int piece, QPoint globalPos);
    void dropPiece(int piece, QPoint globalPos);

    const LiveSettings *m_settings = nullptr;
    QDir m_imagesFolder;
    BoardState m_board;
    LoadedProblem m_problem;
    bool m_referenceMode = false;
    bool m_sparePlaces = false;

    QLabel *m_loupe = nullptr;
    LoupeTone m_loupeTone;
    std::optional<BandTable> m_bands; ///< read when an empty place is first looked at
    QLabel *m_dragImage = nullptr;
    int m_pressedPiece = -1;
    QPoint m_pressPos;
    bool m_dragging = false;
};

} // namespace queldo
