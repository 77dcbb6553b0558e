#include "core/app/WindowMemory.h"

#include "core/text/Cp932Text.h"

#include <algorithm>

namespace queldo {

std::optional<RememberedWindow> readWindowMemory(const QString &path)
{
    const TextReadResult text = readCp932Lines(path);
    if (!text.ok() || text.lines.isEmpty())
        return std::nullopt;
    const QStringList fields = text.lines.first().split(QLatin1Char(','));
    if (fields.size() != 5)
        return std::nullopt;
    int values[5];
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        values[i] = fields.at(i).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (values[2] < SmallestRememberedWindow.width() ||
        values[3] < SmallestRememberedWindow.height() || values[2] > 100000 || values[3] > 100000 ||
        values[4] < 0 || values[4] > 2)
        return std::nullopt;
    return RememberedWindow{QRect(values[0], values[1], values[2], values[3]), values[4] != 0,
                            values[4] == 2};
}

QString writeWindowMemory(const QString &path, const RememberedWindow &window)
{
    const QRect &g = window.geometry;
    return writeCp932Lines(path, {QStringLiteral("%1,%2,%3,%4,%5")
                                      .arg(g.x())
                                      .arg(g.y())
                                      .arg(g.width())
                                      .arg(g.height())
                                      .arg(window.maximisedForScreen ? 2
                                           : window.maximised        ? 1
                                                                     : 0)});
}

std::optional<RememberedWindow> usableOn(const RememberedWindow &window, const QRect &available)
{
    const QRect caption(window.geometry.topLeft(), QSize(window.geometry.width(), 30));
    const QRect seen = caption.intersected(available);
    if (seen.width() < 100 || seen.height() < 10)
        return std::nullopt;
    // Moved in as far as needed, so that a window left on a larger screen does not run off this
    // one; where it cannot fit, its top left corner stays on the screen.
    RememberedWindow moved = window;
    QRect &g = moved.geometry;
    g.moveLeft(std::max(available.left(), std::min(g.left(), available.right() + 1 - g.width())));
    g.moveTop(std::max(available.top(), std::min(g.top(), available.bottom() + 1 - g.height())));
    return moved;
}

} // namespace queldo
