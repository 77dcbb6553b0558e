#include "ui/app/TForm9.h"

namespace queldo {

TForm9::TForm9(QWidget *parent)
    : MessageWindow(
          QStringLiteral("再入力：ID"),
          {QStringLiteral("既に使われています。"), QStringLiteral("違うIDにしてください。")}, 24,
          QStringLiteral("はい"), parent)
{
    setObjectName(QStringLiteral("Form9"));
}

} // namespace queldo
