#pragma once

#include <QString>

#include <optional>

class QDir;

namespace queldo {

class BoardView;
class PieceRandom;
struct LiveSettings;

/// Empties the board, loads the named problem from images and deals it at the scale that fits
/// its board. Returns why nothing was dealt, or an empty string: nothing of a problem that
/// cannot be loaded reaches the board, which stays empty until one loads.
QString dealProblem(BoardView &view, LiveSettings &settings, PieceRandom &random,
                    const QDir &images, const std::optional<QString> &name);

} // namespace queldo
