#include "ui/app/TNewIDorNo.h"

#include "ui/common/DialogLook.h"
#include "ui/common/ScreenCentring.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace queldo {

TNewIDorNo::TNewIDorNo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("NewIDorNo"));
    setWindowTitle(QStringLiteral("新しいIDを作成"));
    setWindowFlags(FixedDialogFrame);
    // It is up while the login dialog is hidden; answering must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFontPixelSize(this, 12);

    Label1 = new QLabel(QStringLiteral("新しいIDを作成しますか？"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont questionFont = font();
    questionFont.setPixelSize(32);
    // The 32-pixel question fills the window's width with the proportional Japanese font it was
    // laid out for; a wider font is narrowed to fit rather than cut off at both ends.
    const int room = 372 - 8;
    const int needed = QFontMetrics(questionFont).horizontalAdvance(Label1->text());
    if (needed > room)
        questionFont.setStretch(std::max(50, 100 * room / needed));
    Label1->setFont(questionFont);
    Label1->setGeometry(0, 12, 372, 40);
    Label1->setAlignment(Qt::AlignCenter);

    OKBtn = new QPushButton(QStringLiteral("はい"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(96, 66, 80, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TNewIDorNo::OKBtnClick);

    CancelBtn = new QPushButton(QStringLiteral("いいえ"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(196, 66, 80, 25);
    connect(CancelBtn, &QPushButton::clicked, this, &TNewIDorNo::CancelBtnClick);

    setFixedSize(372, 104);
    centreOnEveryShow(this);
}

void TNewIDorNo::OKBtnClick()
{
    accept();
}

void TNewIDorNo::CancelBtnClick()
{
    reject();
}

void TNewIDorNo::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    // Each question starts on "はい", whichever button answered the last one.
    if (visible) {
        restoreDefaultButton(OKBtn);
        OKBtn->setFocus();
    }
}

} // namespace queldo
