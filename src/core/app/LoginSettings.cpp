#include "core/app/LoginSettings.h"

#include "core/settings/LiveSettings.h"
#include "core/settings/SettingsFile.h"

#include <algorithm>
#include <cmath>

namespace queldo {

namespace {

// Pieces are never drawn beyond this factor; a larger one can only come from a damaged file.
constexpr float LargestScale = 64.0f;

// Older files store only the absolute factor (fit scale of the problem then on screen times the
// chosen multiplier), while no problem is loaded yet at login: for them the position is only
// estimated against the initial fit scale, and the next problem load turns it into a multiplier.
int positionForFactor(float effectiveScale, float baseScale)
{
    const double estimate = 10.0 * double(effectiveScale) / double(baseScale) + 1.0;
    if (!std::isfinite(estimate))
        return LiveSettings::MiddlePosition;
    const double clamped = std::clamp(estimate, double(LiveSettings::MinimumPosition),
                                      double(LiveSettings::MaximumPosition));
    return int(clamped);
}

} // namespace

void applyStoredSettings(LiveSettings &live, const StoredSettings &stored)
{
    live.cheat = stored.referenceMode;
    live.answerMode = stored.alignmentMode;
    // Only 1 means a chosen multiplier anywhere in the program. A factor no picture can be drawn
    // at is taken for the settings of a new ID.
    const bool usable = std::isfinite(stored.effectiveScale) && stored.effectiveScale > 0.0f &&
                        stored.effectiveScale <= LargestScale;
    live.customScale = usable && stored.customScale == 1 ? 1 : 0;
    live.effectiveScale = usable ? stored.effectiveScale : StoredSettings().effectiveScale;

    const bool positionStored = stored.trackBarPosition >= LiveSettings::MinimumPosition &&
                                stored.trackBarPosition <= LiveSettings::MaximumPosition;
    int position = LiveSettings::MiddlePosition;
    if (live.customScale == 1)
        position = positionStored ? stored.trackBarPosition
                                  : positionForFactor(live.effectiveScale, live.baseScale);
    if (position != live.trackBarPosition)
        live.trackBarChange(position);
}

} // namespace queldo
