#include "ui/results/EraseFailedMessage.h"

namespace queldo {

EraseFailedMessage::EraseFailedMessage(const QString &reason, QWidget *parent)
    // Reasons may carry a long path: a smaller font keeps the window on screen.
    : MessageWindow(QStringLiteral("成績消去"),
                    QStringList{QStringLiteral("成績を消去できませんでした。"),
                                QStringLiteral("これまでの成績はそのまま残っています。")}
                        << linesOf(reason),
                    16, QStringLiteral("OK"), parent)
{
    setObjectName(QStringLiteral("EraseFailedMessage"));
}

} // namespace queldo
