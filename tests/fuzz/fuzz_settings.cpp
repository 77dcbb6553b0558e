// A trainee's settings file, made live at login and written back by the settings dialog.
#include "FuzzSupport.h"
#include "core/app/LoginSettings.h"
#include "core/settings/LiveSettings.h"
#include "core/settings/SettingsFile.h"
#include "core/text/Cp932Text.h"

#include <cmath>

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto text = decodeCp932(fuzz::bytesOf(data, size));
    if (!text)
        return 0;
    const SettingsReadResult read = SettingsFile::fromLines(splitLines(*text));
    fuzz::require(read.defaultedLines >= 0, "a count of lines");

    LiveSettings live;
    applyStoredSettings(live, read.settings);
    fuzz::require(live.trackBarPosition >= LiveSettings::MinimumPosition &&
                      live.trackBarPosition <= LiveSettings::MaximumPosition,
                  "the track bar stays on its scale");
    fuzz::require(std::isfinite(live.EffectiveScale) && live.EffectiveScale > 0.0f,
                  "pieces get a factor they can be drawn at");

    // What the dialog writes back reads as what it was given.
    StoredSettings stored;
    stored.referenceMode = live.referenceMode;
    stored.alignmentMode = live.alignmentMode;
    stored.CustomScale = live.CustomScale;
    stored.EffectiveScale = live.EffectiveScale;
    stored.trackBarPosition = live.trackBarPosition;
    const auto again = decodeCp932(SettingsFile::dialogBytes(stored));
    fuzz::require(again.has_value(), "the dialog writes code page 932");
    const SettingsReadResult reread = SettingsFile::fromLines(splitLines(*again));
    fuzz::require(reread.defaultedLines == 0, "the dialog's file reads whole");
    fuzz::require(reread.settings.referenceMode == stored.referenceMode &&
                      reread.settings.alignmentMode == stored.alignmentMode &&
                      reread.settings.CustomScale == stored.CustomScale,
                  "the dialog's file keeps the modes");
    return 0;
}
