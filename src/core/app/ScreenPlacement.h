#pragma once

#include "core/app/WindowMemory.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace queldo {

/// The exercise window as designed: outer size, frame and menu bar included.
inline constexpr QSize ExerciseWindowDesignSize{990, 780};

/// A screen under 1024 pixels high has no room for the designed window: it is maximised there.
bool screenNeedsMaximised(QSize screenSize);

/// Where a top-level window goes. The geometry is the client area (what Qt's setGeometry takes),
/// worked out from the outer rectangle and the frame the window manager adds.
struct WindowStart
{
    QRect client;
    bool maximised = false;
    bool operator==(const WindowStart &) const = default;
};

/// Where the exercise window opens. frame: the margins the window manager adds (none without
/// one). A remembered window is honoured where it is usable, but never left running off the
/// available area; a maximised state the program forced on a small screen is not carried to a
/// large one, nor is the geometry it had there.
WindowStart exerciseWindowStart(QSize screenSize, const QRect &available, const QMargins &frame,
                                const std::optional<RememberedWindow> &remembered);

/// What is written on closing: a maximised state on a screen that forces it is marked as forced.
RememberedWindow windowToRemember(const QRect &normalClient, bool maximised, QSize screenSize);

/// Top left of a window's outer rectangle centred on the available area, never above or left of
/// it, so that a caption bar always stays reachable.
QPoint centredTopLeft(QSize outer, const QRect &available);

/// The size of each of count pictures stacked one above the other, with extraHeight of
/// captions and margins, so that the whole fits within room: item itself where it fits, else
/// shrunk keeping its proportions.
QSize stackedToFit(QSize item, int count, int extraHeight, QSize room);

/// outer moved and shrunk as little as needed to lie wholly within the available area.
QRect fittedInto(const QRect &outer, const QRect &available);

} // namespace queldo
