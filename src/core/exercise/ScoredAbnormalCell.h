#pragma once

#include "core/board/BoardState.h"
#include "core/board/CellKey.h"
#include "core/exercise/Scoring.h"
#include "core/karyotype/Karyotype.h"

#include <QString>

#include <array>

namespace queldo {

/// The first scoring of an abnormal cell, with all a record of it and the question about its
/// karyotype need. It never goes into the results or arrangement files: their readers know
/// only cells of 46 places, and would take these verdicts for a normal attempt.
struct ScoredAbnormalCell
{
    QString problemName;   ///< the folder, "異常男性染色体核型no11"
    int problemNumber = 0; ///< as the number list shows it
    QString date;          ///< as the results file writes dates
    int elapsedSeconds = 0;
    /// The verdict of each place (SlotResultCode, SlotRightlyEmpty included), the
    /// chromosomes placed right and how many the cell has.
    CellScore score;
    std::array<int, MostPlaces> slotContents{}; ///< place -> piece, -1 empty
    std::array<int, MostPieces> rotationSteps{};
    CellKey cell;
    /// The cell's own karyotype, which the trainee is asked to name.
    Karyotype karyotype;
};

ScoredAbnormalCell scoredAbnormalCellOf(const BoardState &board, const CellKey &cell,
                                        const CellScore &score, const Karyotype &karyotype);

} // namespace queldo
