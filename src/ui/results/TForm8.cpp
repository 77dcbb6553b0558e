#include "ui/results/TForm8.h"

#include "core/app/TraineeSession.h"
#include "core/results/AbnormalAttemptsFile.h"
#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"
#include "ui/common/DialogLook.h"
#include "ui/common/ScreenCentring.h"
#include "ui/results/EraseFailedMessage.h"
#include "ui/results/TForm10.h"

#include <QLabel>
#include <QPushButton>

namespace queldo {

TForm8::TForm8(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("成績消去"));
    setWindowFlags(FixedDialogFrame);
    // It is up while the analysis window is hidden; closing it must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFontPixelSize(this, 12);

    const auto label = [this](const char *name, const QString &text, QPoint at) {
        auto *line = new QLabel(text, this);
        line->setObjectName(QString::fromLatin1(name));
        setFontPixelSize(line, 27);
        line->move(at);
        line->adjustSize();
        return line;
    };
    Label1 = label("Label1", QStringLiteral("全成績を消去しますか？"), {72, 24});
    Label2 = label("Label2", QStringLiteral("一度消去すると復活できません。"), {40, 64});

    Button1 = new QPushButton(QStringLiteral("消去"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(104, 112, 83, 25);
    connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);

    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(216, 112, 75, 25);
    connect(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);

    // 459 x 204 with the frame it was laid out for: 3-pixel borders and a 19-pixel caption.
    setFixedSize(453, 179);
    centreOnEveryShow(this);
}

void TForm8::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible) {
        restoreDefaultButton(Button2);
        Button2->setFocus();
    }
}

void TForm8::Button1Click()
{
    // Nobody logged in has no grades to erase.
    if (!m_session) {
        reject();
        return;
    }
    if (!m_session->writable()) {
        EraseFailedMessage(m_session->readOnlyRefusal(QStringLiteral("成績は消去できません")), this)
            .exec();
        return;
    }
    // The attempts at abnormal cells are grades too. They go first: should that fail, nothing
    // is erased yet and the message that every grade is still there holds.
    const UserFiles &files = m_session->files();
    QString error = AbnormalAttemptsFile::reset(files.program(UserFile::AbnormalAttempts));
    // The header alone, written aside and renamed over the old file: a failure leaves every
    // grade in place.
    if (error.isEmpty())
        error = ResultsFile::create(files.program(UserFile::Results));
    if (!error.isEmpty()) {
        EraseFailedMessage(error, this).exec();
        return;
    }
    // What lay where goes with the grades. Should this write fail, the next first record (number
    // 0) starts the file afresh anyway, and no old line is ever matched to a new record.
    ArrangementFile::reset(files.program(UserFile::Arrangements));
    if (m_completion)
        m_completion->exec();
    accept();
}

void TForm8::Button2Click()
{
    reject();
}

} // namespace queldo
