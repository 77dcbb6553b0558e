#pragma once

#include "ui/common/MessageWindow.h"

namespace queldo {

/// Tells the trainee that the two new passwords differ or are empty.
class TForm14 : public MessageWindow
{
    Q_OBJECT
public:
    explicit TForm14(QWidget *parent = nullptr);
};

} // namespace queldo
