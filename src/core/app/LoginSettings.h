#pragma once

namespace queldo {

struct LiveSettings;
struct StoredSettings;

/// Makes a trainee's stored settings the live ones at login, and brings the image size track
/// bar to the position the stored factor stands for.
void applyStoredSettings(LiveSettings &live, const StoredSettings &stored);

} // namespace queldo
