#pragma once

#include "ui/common/MessageWindow.h"

namespace queldo {

/// The new ID is already in the user list.
class TForm9 : public MessageWindow
{
    Q_OBJECT
public:
    explicit TForm9(QWidget *parent = nullptr);
};

/// The two new passwords differ, or one of them is empty.
class TForm11 : public MessageWindow
{
    Q_OBJECT
public:
    explicit TForm11(QWidget *parent = nullptr);
};

/// The new ID was created; shown over the login dialog, in the middle of the screen.
class TNewIDComplete : public MessageWindow
{
    Q_OBJECT
public:
    explicit TNewIDComplete(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
};

/// The typed ID cannot be a folder name; the lines say why.
class TFormBadId : public MessageWindow
{
    Q_OBJECT
public:
    explicit TFormBadId(QWidget *parent = nullptr);
    void setReason(const QString &reason);
};

/// The user folder or one of its files could not be made; nothing of the ID was kept.
class TFormIdNotCreated : public MessageWindow
{
    Q_OBJECT
public:
    explicit TFormIdNotCreated(QWidget *parent = nullptr);
    void setReason(const QString &reason);
};

} // namespace queldo
