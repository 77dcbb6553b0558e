#include "ui/settings/TForm14.h"

namespace queldo {

TForm14::TForm14(QWidget *parent)
    : MessageWindow(QStringLiteral("パスワード変更"),
                    {QStringLiteral("２つのパスワードが異なっているか、"),
                     QStringLiteral("パスワードが設定されていません。"),
                     QStringLiteral("再入力してください。")},
                    24, QStringLiteral("OK"), parent)
{
    setObjectName(QStringLiteral("Form14"));
}

} // namespace queldo
