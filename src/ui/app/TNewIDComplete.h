#pragma once

#include "ui/common/MessageWindow.h"

namespace queldo {

/// The new ID was created; shown over the login dialog, in the middle of the screen.
class TNewIDComplete : public MessageWindow
{
    Q_OBJECT
public:
    explicit TNewIDComplete(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
};

} // namespace queldo
