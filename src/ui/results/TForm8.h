#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace queldo {

class TForm10;
class TraineeSession;

/// Asks before erasing every grade of the logged-in trainee. Run with exec(): Accepted once the
/// results file is back to its header line; "キャンセル", Esc and the close box give Rejected and
/// leave the file as it was. A reset that fails is reported and the question stays open.
class TForm8 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm8(QWidget *parent = nullptr);
    /// The message shown after erasing, made after this window.
    void setCompletionMessage(TForm10 *completion) { m_completion = completion; }
    /// Each showing starts on "キャンセル": Enter alone never erases.
    void setVisible(bool visible) override;
    /// The logged-in trainee, whose grades are erased; while read-only, nothing is erased.
    void setSession(const TraineeSession *session) { m_session = session; }

    void Button1Click();
    void Button2Click();

private:
    // Found by their object names from outside.
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr; // 消去
    QPushButton *Button2 = nullptr; // キャンセル

    TForm10 *m_completion = nullptr;
    const TraineeSession *m_session = nullptr;
};

} // namespace queldo
