#pragma once

#include <QObject>
#include <QString>

namespace queldo::test {

/// A window's control found by the name the window gives it, as a user's clicks and eyes reach
/// it: windows keep their controls private, and a test that names a control the window no
/// longer has stops at once with the name.
template <typename T> T *control(const QObject &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("%s has no %s", window.metaObject()->className(), name);
    return found;
}

} // namespace queldo::test
