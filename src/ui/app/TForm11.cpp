#include "ui/app/TForm11.h"

namespace queldo {

TForm11::TForm11(QWidget *parent)
    : MessageWindow(QStringLiteral("再入力：パスワード"),
                    {QStringLiteral("２つのパスワードが異なっているか、"),
                     QStringLiteral("パスワードが設定されていません。"),
                     QStringLiteral("再入力してください。")},
                    24, QStringLiteral("はい"), parent)
{
    setObjectName(QStringLiteral("Form11"));
}

} // namespace queldo
