#include "ui/common/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QWidget>

namespace queldo {

namespace {

bool isControl(const QWidget *widget)
{
    if (!widget)
        return false;
    // The scroll bars of lists and of the board are part of what they scroll; a tab bar's tabs
    // are named by their captions.
    if (qobject_cast<const QScrollBar *>(widget) || qobject_cast<const QTabBar *>(widget))
        return false;
    return qobject_cast<const QAbstractButton *>(widget) ||
           qobject_cast<const QAbstractItemView *>(widget) ||
           qobject_cast<const QLineEdit *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget) ||
           qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSlider *>(widget);
}

} // namespace

QList<QWidget *> namedControls(const QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *child : window->findChildren<QWidget *>()) {
        // A line edit inside a spin box or combo box is announced as part of it.
        if (isControl(child) && !isControl(child->parentWidget()))
            controls << child;
    }
    return controls;
}

QString accessibleNameOf(QWidget *control)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
    return accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
}

void nameControlsForScreenReaders(QWidget *window, const QHash<QString, QString> &purposes)
{
    for (QWidget *control : namedControls(window)) {
        // The menu bar's own button for the menus that do not fit comes without a name.
        const QString purpose = control->objectName() == QLatin1String("qt_menubar_ext_button")
                                    ? QStringLiteral("その他のメニュー")
                                    : purposes.value(control->objectName());
        if (!purpose.isEmpty() && accessibleNameOf(control).isEmpty())
            control->setAccessibleName(purpose);
    }
}

} // namespace queldo
