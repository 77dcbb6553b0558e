#pragma once

#include <QMargins>

class QScreen;
class QWidget;

namespace queldo {

/// The screen a window is on, or the primary one before it has any.
QScreen *screenOf(const QWidget *window);

/// What the window manager adds around the window's client area; nothing before it is framed or
/// without a window manager.
QMargins frameMargins(const QWidget *window);

/// Moves a top-level window so that its outer rectangle, frame included, is centred on the
/// available area of its screen.
void centreOnScreen(QWidget *window);

/// Centres the window on its screen each time it is shown. Without a window manager Qt would
/// place it by a guess, and a dialog shown again would come back wherever its last showing left
/// it. The frame is known only once the window manager has framed the window, so it is centred
/// again then.
void centreOnEveryShow(QWidget *window);

/// Runs adjust once the window manager has framed the window just shown, when the frame it
/// added differs from the one adjust last saw (never without a window manager), however long
/// the window manager takes, up to a few seconds.
void whenFramed(QWidget *window, void (*adjust)(QWidget *));

} // namespace queldo
