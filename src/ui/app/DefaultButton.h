#pragma once

#include <QPushButton>

namespace queldo {

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
