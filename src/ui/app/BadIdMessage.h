#pragma once

#include "ui/common/MessageWindow.h"

namespace queldo {

/// The typed ID cannot be a folder name; the lines say why.
class BadIdMessage : public MessageWindow
{
    Q_OBJECT
public:
    explicit BadIdMessage(QWidget *parent = nullptr);
    void setReason(const QString &reason);
};

} // namespace queldo
