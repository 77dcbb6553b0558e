#pragma once

#include <QImage>

class QWidget;

namespace queldo {

/// A picture of a top-level window as it looks on the screen, frame and caption included. The
/// window's own contents are drawn rather than copied from the screen, so nothing lying over the
/// window gets into the picture; the frame is the window system's where it draws one, and else
/// (no window manager, an offscreen platform) a plain frame with the window's caption drawn here.
QImage windowPicture(QWidget *window);

/// The plain frame: a border and a caption bar with the title and a close box around contents.
QImage framedPicture(const QImage &contents, const QString &title);

} // namespace queldo
