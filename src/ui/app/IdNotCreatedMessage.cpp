#include "ui/app/IdNotCreatedMessage.h"

namespace queldo {

IdNotCreatedMessage::IdNotCreatedMessage(QWidget *parent)
    // Reasons may be long (a path from the file system): a smaller font keeps the window on
    // screen.
    : MessageWindow(QStringLiteral("新規ID作成"), {}, 16, QStringLiteral("OK"), parent)
{
    setObjectName(QStringLiteral("IdNotCreatedMessage"));
}

void IdNotCreatedMessage::setReason(const QString &reason)
{
    setLines(QStringList{QStringLiteral("IDを作成できませんでした。")} << linesOf(reason));
}

} // namespace queldo
