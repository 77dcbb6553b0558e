#include "ui/settings/TForm14.h"

#include "ui/common/DialogLook.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace queldo {

TForm14::TForm14(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("パスワード変更"));
    setWindowFlags(FixedDialogFrame);

    QFont messageFont = font();
    messageFont.setPixelSize(24);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    const std::array<QString, 3> texts = {QStringLiteral("２つのパスワードが異なっているか、"),
                                          QStringLiteral("パスワードが設定されていません。"),
                                          QStringLiteral("再入力してください。")};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        auto *line = new QLabel(texts[i], this);
        line->setObjectName(QStringLiteral("MessageLine%1").arg(i + 1));
        line->setFont(messageFont);
        layout->addWidget(line);
        messageLines[i] = line;
    }

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setDefault(true);
    okButton->setFixedWidth(90);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    layout->addSpacing(12);
    layout->addWidget(okButton, 0, Qt::AlignHCenter);

    setFixedSize(sizeHint());
}

} // namespace queldo
