#pragma once

#include "core/app/WindowMemory.h"

#include <QObject>

#include <optional>

class QWidget;

namespace queldo {

/// Where the exercise window lies on its screen: placed by the rules of the core when made, again
/// once the window manager has framed it, and from where the trainee last left it.
class ExerciseWindowPlacement : public QObject
{
    Q_OBJECT
public:
    /// Places window at once; becomes its child.
    explicit ExerciseWindowPlacement(QWidget *window);

    /// Places the window where the file says the trainee left it, when that still suits.
    void restoreFrom(const QString &path);
    /// Best effort: a window that cannot be remembered opens at its design size next time.
    void saveTo(const QString &path) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();
    void keepWholeOnScreen();

    QWidget *m_window;
    std::optional<RememberedWindow> m_remembered;
    bool m_shownBefore = false;
};

} // namespace queldo
