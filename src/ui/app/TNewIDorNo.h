#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace queldo {

/// Asks whether to create a new ID for a login whose ID is unknown. Run with exec(): Accepted
/// for "はい"; "いいえ", Esc and the close box all give Rejected.
class TNewIDorNo : public QDialog
{
    Q_OBJECT
public:
    /// parent: the login dialog, which the question is centred over.
    explicit TNewIDorNo(QWidget *parent = nullptr);
    /// Each showing starts on "はい".
    void setVisible(bool visible) override;

    void OKBtnClick();
    void CancelBtnClick();

private:
    // Found by their object names from outside; the functions above are how the window is used.
    QLabel *Label1 = nullptr;
    QPushButton *OKBtn = nullptr;     // はい
    QPushButton *CancelBtn = nullptr; // いいえ
};

} // namespace queldo
