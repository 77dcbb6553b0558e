#pragma once

#include "core/board/BoardLayout.h"
#include "core/board/BoardState.h"
#include "core/results/ArrangementFile.h"

#include <QSize>

#include <array>

namespace queldo {

/// A board holding a recorded arrangement, every piece drawn into its place exactly as a drop
/// draws it there (the same rendering and centring), so that a past attempt looks as it did.
/// Pieces that lay on the spread are not shown.
BoardState replayBoard(const Arrangement &places, const SourceBitmaps &sources, float scale,
                       const std::array<QSize, SlotCount> &placeSizes);

/// The karyogram alone, at the given size, laid out in rows and places as the exercise window
/// lays out its own: no spread, no command column.
BoardLayout karyogramLayout(QSize karyogram);

} // namespace queldo
