#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace queldo {

/// Tells the trainee that the two new passwords differ or are empty.
class TForm14 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm14(QWidget *parent = nullptr);

    std::array<QLabel *, 3> messageLines{}; // MessageLine1 .. MessageLine3
    QPushButton *okButton = nullptr;        // "OK"
};

} // namespace queldo
