#include "ui/app/BadIdMessage.h"

namespace queldo {

BadIdMessage::BadIdMessage(QWidget *parent)
    : MessageWindow(QStringLiteral("再入力：ID"), {}, 24, QStringLiteral("はい"), parent)
{
    setObjectName(QStringLiteral("BadIdMessage"));
}

void BadIdMessage::setReason(const QString &reason)
{
    setLines(linesOf(reason) << QStringLiteral("IDを入力し直してください。"));
}

} // namespace queldo
