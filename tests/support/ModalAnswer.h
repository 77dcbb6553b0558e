#pragma once

#include "ui/common/MessageWindow.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace queldo::test {

/// Answers the next modal window by the given action and records what it showed. Destroying it
/// before a modal window came up cancels the answer.
struct ModalAnswer
{
    QString className;
    QString title;
    /// A message window's lines, or else the texts of all labels of the modal window.
    QStringList lines;
    QSize size; ///< the modal window's frame
    QTimer timer;
    int attempts = 0;

    explicit ModalAnswer(std::function<void(QWidget *)> action)
    {
        timer.setSingleShot(true);
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this, action] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal) {
                if (++attempts < 200)
                    timer.start(10);
                return;
            }
            className = QString::fromLatin1(modal->metaObject()->className());
            title = modal->windowTitle();
            size = modal->frameGeometry().size();
            if (auto *message = qobject_cast<MessageWindow *>(modal)) {
                lines = message->lines();
            } else {
                for (const QLabel *label : modal->findChildren<QLabel *>())
                    if (!label->text().isEmpty())
                        lines << label->text();
            }
            action(modal);
        });
        timer.start();
    }

    static std::function<void(QWidget *)> click(const char *buttonName)
    {
        return [buttonName](QWidget *modal) {
            if (auto *button = modal->findChild<QPushButton *>(QString::fromLatin1(buttonName)))
                button->click();
        };
    }
    static std::function<void(QWidget *)> closeBox()
    {
        return [](QWidget *modal) { modal->close(); };
    }
    /// The button Enter would press.
    static std::function<void(QWidget *)> defaultButton()
    {
        return [](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                box->accept();
                return;
            }
            for (QPushButton *button : modal->findChildren<QPushButton *>()) {
                if (button->isDefault()) {
                    button->click();
                    return;
                }
            }
        };
    }
};

} // namespace queldo::test
