#include "ui/app/NewIdMessages.h"

#include <QPushButton>
#include <QScreen>

namespace queldo {

namespace {

// Reasons may be long (a path from the file system): a smaller font keeps the window on screen.
constexpr int ReasonPixelSize = 16;

QStringList reasonLines(const QString &reason)
{
    return reason.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

TForm9::TForm9(QWidget *parent)
    : MessageWindow(
          QStringLiteral("再入力：ID"),
          {QStringLiteral("既に使われています。"), QStringLiteral("違うIDにしてください。")}, 24,
          QStringLiteral("はい"), parent)
{
    setObjectName(QStringLiteral("Form9"));
}

TForm11::TForm11(QWidget *parent)
    : MessageWindow(QStringLiteral("再入力：パスワード"),
                    {QStringLiteral("２つのパスワードが異なっているか、"),
                     QStringLiteral("パスワードが設定されていません。"),
                     QStringLiteral("再入力してください。")},
                    24, QStringLiteral("はい"), parent)
{
    setObjectName(QStringLiteral("Form11"));
}

TNewIDComplete::TNewIDComplete(QWidget *parent)
    : MessageWindow(QStringLiteral("新規ID作成完了しました。"),
                    {QStringLiteral("新規ID作成完了しました。")}, 21, QStringLiteral("OK"), parent)
{
    setObjectName(QStringLiteral("NewIDComplete"));
    // The login dialog it reports to stays above other windows; so must this.
    setWindowFlag(Qt::WindowStaysOnTopHint);
}

void TNewIDComplete::showEvent(QShowEvent *event)
{
    // Its parent, the new-ID dialog, has just closed: centre on the screen, not over it.
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    MessageWindow::showEvent(event);
}

TFormBadId::TFormBadId(QWidget *parent)
    : MessageWindow(QStringLiteral("再入力：ID"), {}, 24, QStringLiteral("はい"), parent)
{
    setObjectName(QStringLiteral("FormBadId"));
}

void TFormBadId::setReason(const QString &reason)
{
    setLines(reasonLines(reason) << QStringLiteral("IDを入力し直してください。"));
}

TFormIdNotCreated::TFormIdNotCreated(QWidget *parent)
    : MessageWindow(QStringLiteral("新規ID作成"), {}, ReasonPixelSize, QStringLiteral("OK"), parent)
{
    setObjectName(QStringLiteral("FormIdNotCreated"));
}

void TFormIdNotCreated::setReason(const QString &reason)
{
    setLines(QStringList{QStringLiteral("IDを作成できませんでした。")} << reasonLines(reason));
}

} // namespace queldo
