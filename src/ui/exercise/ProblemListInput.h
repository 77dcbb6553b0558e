#pragma once

#include <QObject>

class QEvent;
class QListWidget;
class QListWidgetItem;

namespace queldo {

/// The ways the number list chooses a problem besides a click on a row, which is the list's own
/// itemClicked: an arrow key moving the choice, and a press on one row released on another.
class ProblemListInput : public QObject
{
    Q_OBJECT
public:
    /// Watches list, whose child it becomes.
    explicit ProblemListInput(QListWidget *list);

signals:
    /// The highlighted row is the trainee's choice, as a click on it would make it.
    void chosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followPress(QEvent *event);

    QListWidget *m_list;
    bool m_keyDown = false; ///< a key in the list is being handled
    /// The row a left press landed on, until its release; null otherwise.
    QListWidgetItem *m_pressed = nullptr;
};

} // namespace queldo
