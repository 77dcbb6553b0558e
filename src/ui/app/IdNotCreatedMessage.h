#pragma once

#include "ui/common/MessageWindow.h"

namespace queldo {

/// The user folder or one of its files could not be made; nothing of the ID was kept.
class IdNotCreatedMessage : public MessageWindow
{
    Q_OBJECT
public:
    explicit IdNotCreatedMessage(QWidget *parent = nullptr);
    void setReason(const QString &reason);
};

} // namespace queldo
