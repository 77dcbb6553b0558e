#include "ui/app/TNewIDComplete.h"

#include <QScreen>

namespace queldo {

TNewIDComplete::TNewIDComplete(QWidget *parent)
    : MessageWindow(QStringLiteral("新規ID作成完了しました。"),
                    {QStringLiteral("新規ID作成完了しました。")}, 21, QStringLiteral("OK"), parent)
{
    setObjectName(QStringLiteral("NewIDComplete"));
    // The login dialog it reports to stays above other windows; so must this.
    setWindowFlag(Qt::WindowStaysOnTopHint);
}

void TNewIDComplete::showEvent(QShowEvent *event)
{
    // Its parent, the new-ID dialog, has just closed: centre on the screen, not over it.
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    MessageWindow::showEvent(event);
}

} // namespace queldo
