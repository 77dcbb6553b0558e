#include "ui/app/TeacherPasswordDialog.h"

#include "core/app/TeacherPassword.h"
#include "ui/common/DialogLook.h"
#include "ui/common/ScreenCentring.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace queldo {

TeacherPasswordDialog::TeacherPasswordDialog(const QString &path, QWidget *parent)
    : QDialog(parent, FixedDialogFrame), m_path(path)
{
    setObjectName(QStringLiteral("TeacherPasswordDialog"));
    const TeacherPasswordStatus status = teacherPasswordStatus(path);
    m_setting = status.state == TeacherPasswordState::NotSet;
    setWindowTitle(m_setting ? QStringLiteral("指導者のパスワード設定")
                             : QStringLiteral("指導者のパスワード"));

    Prompt = new QLabel(m_setting ? QStringLiteral("指導者のパスワードを決めてください。\n"
                                                   "次からはこのパスワードでクラス一覧を開きます。")
                                  : QStringLiteral("指導者のパスワードを入力してください。"),
                        this);
    Prompt->setObjectName(QStringLiteral("Prompt"));
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    setPasswordEcho(Password);
    // Made before the buttons, so that Tab goes from the password to its repetition.
    if (m_setting) {
        Again = new QLineEdit(this);
        Again->setObjectName(QStringLiteral("Again"));
        setPasswordEcho(Again);
    }
    Message = new QLabel(this);
    Message->setObjectName(QStringLiteral("Message"));
    Message->setStyleSheet(QStringLiteral("color: #CC0000;"));
    Message->setWordWrap(true);
    // Takes room only when it has something to say: empty, it left a gap above the buttons.
    Message->hide();
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("パスワード"), Password);
    if (Again)
        fields->addRow(QStringLiteral("もう一度"), Again);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Prompt);
    layout->addLayout(fields);
    layout->addWidget(Message);
    layout->addLayout(buttons);
    setMinimumWidth(360);
    centreOnEveryShow(this);

    if (status.state == TeacherPasswordState::Unreadable) {
        // Nobody gets in through a file this program did not write; the teacher removes it and
        // sets the password again.
        showMessage(status.error);
        Password->setEnabled(false);
        OKBtn->setEnabled(false);
    }
    connect(OKBtn, &QPushButton::clicked, this, &TeacherPasswordDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TeacherPasswordDialog::OKBtnClick()
{
    if (m_setting) {
        const QString error = setTeacherPassword(m_path, Password->text(), Again->text());
        if (!error.isEmpty()) {
            Again->clear();
            showMessage(error);
            return;
        }
        accept();
        return;
    }
    if (!teacherPasswordMatches(m_path, Password->text())) {
        Password->clear();
        showMessage(QStringLiteral("パスワードが違います。"));
        return;
    }
    accept();
}

void TeacherPasswordDialog::showMessage(const QString &text)
{
    Message->setText(text);
    Message->setVisible(!text.isEmpty());
    adjustSize();
}

} // namespace queldo
