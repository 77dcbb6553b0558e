#include "ui/results/TForm10.h"

#include "ui/common/DialogLook.h"
#include "ui/common/ScreenCentring.h"

#include <QLabel>
#include <QPushButton>

namespace queldo {

TForm10::TForm10(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("消去完了"));
    setWindowFlags(FixedDialogFrame);
    // It is up while the analysis window is hidden; closing it must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFontPixelSize(this, 12);

    Label1 = new QLabel(QStringLiteral("全成績消去しました。"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    setFontPixelSize(Label1, 27);
    Label1->move(40, 16);
    Label1->adjustSize();

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(104, 64, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);

    // 329 x 160 with the frame it was laid out for: 3-pixel borders and a 19-pixel caption.
    setFixedSize(323, 135);
    centreOnEveryShow(this);
}

void TForm10::Button1Click()
{
    accept();
}

} // namespace queldo
