#include "core/app/LoginSettings.h"
#include "core/board/Karyogram.h"

#include "core/settings/LiveSettings.h"
#include "core/settings/SettingsFile.h"

#include <algorithm>
#include <cmath>

namespace queldo {

namespace {

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
    live.referenceMode = stored.referenceMode;
    live.alignmentMode = stored.alignmentMode;
    // Only 1 means a chosen multiplier anywhere in the program. A factor no picture can be drawn
    // at is taken for the settings of a new ID.
    const bool usable = std::isfinite(stored.EffectiveScale) && stored.EffectiveScale > 0.0f &&
                        stored.EffectiveScale <= LargestScale;
    live.CustomScale = usable && stored.CustomScale == 1 ? 1 : 0;
    live.EffectiveScale = usable ? stored.EffectiveScale : StoredSettings().EffectiveScale;

    const bool positionStored = stored.trackBarPosition >= LiveSettings::MinimumPosition &&
                                stored.trackBarPosition <= LiveSettings::MaximumPosition;
    int position = LiveSettings::MiddlePosition;
    if (live.CustomScale == 1)
        position = positionStored ? stored.trackBarPosition
                                  : positionForFactor(live.EffectiveScale, live.BaseScale);
    if (position != live.trackBarPosition)
        live.trackBarChange(position);
}

} // namespace queldo
