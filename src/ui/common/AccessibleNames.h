#pragma once

#include <QHash>
#include <QList>
#include <QString>

class QWidget;

namespace queldo {

/// The controls of a window a screen reader has to name: buttons, check boxes, lists, fields
/// and sliders.
QList<QWidget *> namedControls(const QWidget *window);

/// The name a screen reader announces for a control.
QString accessibleNameOf(QWidget *control);

/// Gives every control of window that would be announced without a name the one given for its
/// object name in purposes (what it is for). Controls that show a caption keep the name the
/// toolkit takes from it, so a caption changed later is announced as it then reads.
void nameControlsForScreenReaders(QWidget *window, const QHash<QString, QString> &purposes);

} // namespace queldo
