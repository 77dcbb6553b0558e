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

} // namespace queldo
