#pragma once

#include "ui/common/MessageWindow.h"

namespace queldo {

/// The two new passwords differ, or one of them is empty.
class TForm11 : public MessageWindow
{
    Q_OBJECT
public:
    explicit TForm11(QWidget *parent = nullptr);
};

} // namespace queldo
