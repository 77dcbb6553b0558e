#pragma once

#include "ui/common/MessageWindow.h"

namespace queldo {

/// The help file is not where the program looks for it.
class HelpMissingMessage : public MessageWindow
{
    Q_OBJECT
public:
    explicit HelpMissingMessage(const QString &path, QWidget *parent = nullptr);
};

} // namespace queldo
