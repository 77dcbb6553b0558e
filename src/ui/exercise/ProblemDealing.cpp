#include "ui/exercise/ProblemDealing.h"

#include "core/board/AnyProblemLoader.h"
#include "core/settings/LiveSettings.h"
#include "ui/board/BoardView.h"

namespace queldo {

QString dealProblem(BoardView &view, LiveSettings &settings, PieceRandom &random,
                    const QDir &images, const std::optional<QString> &name)
{
    view.emptyBoard();
    LoadProblemResult loaded = loadProblemOfAnyKind(images, name.value_or(QString()));
    if (!name || !loaded.ok()) {
        view.clearProblem();
        return name ? loaded.error : QStringLiteral("問題が選ばれていません。");
    }
    // The scale fits the places the problem's board has.
    if (view.sparePlaces() != loaded.problem.key.sparePlaces)
        view.setSparePlaces(loaded.problem.key.sparePlaces);
    settings.applyScale(computeScale(
        loaded.problem.SourceBitmap,
        view.scaleInputs(settings.trackBarPosition, settings.CustomScale), loaded.problem.key));
    view.deal(std::move(loaded.problem), settings.EffectiveScale, random);
    return {};
}

} // namespace queldo
