#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace queldo {

/// Says that every grade was erased. Shown modally by the erase confirmation.
class TForm10 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm10(QWidget *parent = nullptr);

    void Button1Click();

private:
    // Found by their object names from outside.
    QLabel *Label1 = nullptr;
    QPushButton *Button1 = nullptr; // OK
};

} // namespace queldo
