#pragma once

#include "ui/common/MessageWindow.h"

namespace queldo {

/// The results file could not be reset; the grades are still there.
class EraseFailedMessage : public MessageWindow
{
    Q_OBJECT
public:
    explicit EraseFailedMessage(const QString &reason, QWidget *parent = nullptr);
};

} // namespace queldo
