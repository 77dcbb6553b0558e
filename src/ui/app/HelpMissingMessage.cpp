#include "ui/app/HelpMissingMessage.h"

#include <QDir>

namespace queldo {

HelpMissingMessage::HelpMissingMessage(const QString &path, QWidget *parent)
    // The path may be long: a smaller font keeps the window on screen.
    : MessageWindow(QStringLiteral("ヘルプ"),
                    {QStringLiteral("ヘルプファイルが見つかりません。"),
                     QDir::toNativeSeparators(path),
                     QStringLiteral("プログラムのフォルダにヘルプを置いてください。")},
                    16, QStringLiteral("OK"), parent)
{
    setObjectName(QStringLiteral("HelpMissingMessage"));
}

} // namespace queldo
