#pragma once

#include "core/board/ProblemLoader.h"

#include <QDir>
#include <QString>

namespace queldo {

/// Loads a problem of either kind: a folder with a karyotype file as an abnormal cell (its
/// pictures in the order of its check-value list), any other as a normal one, exactly as
/// LoadProblem reads it. The sex pictures of an abnormal cell are its X's first, then its Y's,
/// as the karyotype counts them. A cell the board cannot lay out is refused with the reason.
LoadProblemResult loadProblemOfAnyKind(const QDir &imagesFolder, const QString &name);

} // namespace queldo
