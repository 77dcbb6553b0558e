#pragma once

#include <QRect>
#include <QString>

#include <optional>

namespace queldo {

/// Where a trainee last left the exercise window. Kept in a small file of its own in the user
/// folder, so that the settings, password and results files keep their exact bytes.
struct RememberedWindow
{
    QRect geometry; ///< the normal (not maximised) geometry, client area
    bool maximised = false;
    /// Maximised by the program because the screen was too small, not by the trainee ("2" in the
    /// file's last field).
    bool maximisedForScreen = false;
    bool operator==(const RememberedWindow &) const = default;
};

/// Smallest window worth restoring; anything smaller is taken for a damaged file.
inline constexpr QSize SmallestRememberedWindow{640, 480};

/// The remembered window, or nothing when the file is missing, malformed or too small.
std::optional<RememberedWindow> readWindowMemory(const QString &path);
/// Writes the file whole. Empty on success, else a message.
QString writeWindowMemory(const QString &path, const RememberedWindow &window);
/// The remembered geometry if enough of it lies on the available screen area to be grabbed
/// (its caption row), else nothing: a screen may have been taken away since. A usable geometry
/// comes back moved into the area as far as its size allows (a smaller screen now, say).
std::optional<RememberedWindow> usableOn(const RememberedWindow &window, const QRect &available);

} // namespace queldo
