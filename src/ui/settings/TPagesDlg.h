#pragma once

#include "core/board/Bgr24Image.h"
#include "core/settings/LiveSettings.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;

namespace queldo {

class AppPaths;
class TForm14;
class TraineeSession;

/// The settings dialog: reference and alignment mode, image size, password change. Its check
/// boxes and track bar act on the logged-in trainee's live settings at once; only OK saves them
/// and tells the exercise window to bring its labels up to date.
class TPagesDlg : public QDialog
{
    Q_OBJECT
public:
    /// Reads the size preview's sample from the Images folder.
    explicit TPagesDlg(AppPaths &paths, QWidget *parent = nullptr);
    /// Showing the dialog again leaves Enter on OK, whichever button was clicked last.
    void setVisible(bool visible) override;
    ~TPagesDlg() override;

    /// Shows the live settings in the controls without changing them (after the login applied a
    /// settings file, or after the board or the menu changed them behind the dialog's back).
    void syncFromSettings();
    /// The logged-in trainee, whose settings the dialog edits and whose files it saves; none
    /// until the login, and nothing saved while read-only. The controls show the new settings
    /// at the next syncFromSettings().
    void setSession(TraineeSession *session) { m_session = session; }

    void TrackBar1Change();
    void Button1Click();
    void Button3Click();
    void OKBtnClick();

    /// Whether the sample picture for the size preview could be read.
    bool hasSample() const { return !m_sample.isNull(); }

signals:
    /// OK was pressed: the exercise window brings its menu entry and labels in line (also when
    /// the file then cannot be written).
    void settingsApplied();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Found by their object names from outside; the functions above are how the window is used.
    QTabWidget *PageControl1 = nullptr;
    QCheckBox *Cheat = nullptr; // 参考モード
    QLabel *Label1 = nullptr;
    QCheckBox *AnswerMode = nullptr; // 整列モード
    QLabel *Label2 = nullptr;
    QLabel *Label4 = nullptr; // the chosen size, "1.0倍"
    QLabel *Label3 = nullptr; // 倍率
    QLabel *Label5 = nullptr; // 0.7倍
    QLabel *Label6 = nullptr; // 1.3倍
    QSlider *TrackBar1 = nullptr;
    QPushButton *Button1 = nullptr; // 最適サイズ(1.0倍)
    QLabel *Image2 = nullptr;       // the size preview
    QLabel *Label8 = nullptr;       // says when the sample cannot be read
    QLabel *Label7 = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *Password = nullptr;
    QLabel *Label10 = nullptr;
    QLineEdit *rePassword = nullptr;
    QPushButton *Button3 = nullptr; // パスワード変更
    QLabel *Label11 = nullptr;      // confirms a password change
    QPushButton *OKBtn = nullptr;

    void createModePage();
    void createSizePage();
    void createPasswordPage();
    void loadSample();
    void showPreview(float scale);
    void reportFailure(const QString &message);
    LiveSettings &settings();

    AppPaths &m_paths;
    TraineeSession *m_session = nullptr;
    /// What the controls act on until a trainee logs in; never saved.
    LiveSettings m_beforeLogin;
    Bgr24Image m_sample;
    TForm14 *m_mismatch = nullptr;
};

} // namespace queldo
