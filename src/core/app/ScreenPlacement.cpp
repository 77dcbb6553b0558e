#include "core/app/ScreenPlacement.h"

#include <algorithm>

namespace queldo {

bool screenNeedsMaximised(QSize screenSize)
{
    return screenSize.height() < 1024;
}

QPoint centredTopLeft(QSize outer, const QRect &available)
{
    return {
        std::max(available.left(), available.left() + available.width() / 2 - outer.width() / 2),
        std::max(available.top(), available.top() + available.height() / 2 - outer.height() / 2)};
}

QRect fittedInto(const QRect &outer, const QRect &available)
{
    QRect fitted(outer.topLeft(), outer.size().boundedTo(available.size()));
    fitted.moveLeft(std::clamp(fitted.left(), available.left(),
                               available.left() + available.width() - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), available.top(),
                              available.top() + available.height() - fitted.height()));
    return fitted;
}

QSize stackedToFit(QSize item, int count, int extraHeight, QSize room)
{
    const int roomHeight = std::max(1, (room.height() - extraHeight) / std::max(1, count));
    if (item.width() <= room.width() && item.height() <= roomHeight)
        return item;
    return item.scaled(std::min(item.width(), room.width()), std::min(item.height(), roomHeight),
                       Qt::KeepAspectRatio);
}

WindowStart exerciseWindowStart(QSize screenSize, const QRect &available, const QMargins &frame,
                                const std::optional<RememberedWindow> &remembered)
{
    const bool small = screenNeedsMaximised(screenSize);
    // Only what the trainee chose is carried over: a geometry and state the program forced on a
    // small screen say nothing about how they want the window on this one.
    std::optional<RememberedWindow> chosen;
    if (remembered && !remembered->maximisedForScreen)
        chosen = usableOn(*remembered, available);

    QRect outer;
    if (chosen)
        outer = chosen->geometry.marginsAdded(frame);
    else
        outer =
            QRect(centredTopLeft(ExerciseWindowDesignSize.boundedTo(available.size()), available),
                  ExerciseWindowDesignSize);
    // Whole on the screen even where the maximised state is not honoured (no window manager), and
    // as the size it goes back to when the trainee restores it.
    outer = fittedInto(outer, available);
    return {outer.marginsRemoved(frame), small || (chosen && chosen->maximised)};
}

RememberedWindow windowToRemember(const QRect &normalClient, bool maximised, QSize screenSize)
{
    RememberedWindow window{normalClient, maximised};
    window.maximisedForScreen = maximised && screenNeedsMaximised(screenSize);
    return window;
}

} // namespace queldo
