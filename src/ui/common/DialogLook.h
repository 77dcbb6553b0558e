#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace queldo {

/// The frame every dialog of the program has: a title and a close box, no resizing.
inline constexpr Qt::WindowFlags FixedDialogFrame =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

/// Sizes are laid out in pixels, so fonts are given in pixels too.
inline void setFontPixelSize(QWidget *widget, int pixelSize)
{
    QFont font = widget->font();
    font.setPixelSize(pixelSize);
    widget->setFont(font);
}

/// Password fields show one asterisk per character typed, whatever the style's own mask is.
inline void setPasswordEcho(QLineEdit *edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

/// Showing a dialog again sends a focus-in to the widget that last had the focus, without that
/// widget getting the real focus. When it was a push button (clicked with the mouse before the
/// dialog hid), that button becomes the one Enter presses, and stays so, because the matching
/// focus-out never comes. Called right after showing, this gives Enter back to the dialog's own
/// default button; a button the user then tabs to takes it over as usual.
inline void restoreDefaultButton(QPushButton *button)
{
    button->setDefault(true);
}

} // namespace queldo
