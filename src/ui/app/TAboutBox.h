#pragma once

#include <QDialog>

namespace queldo {

/// The version window.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
};

} // namespace queldo
