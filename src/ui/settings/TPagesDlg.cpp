#include "ui/settings/TPagesDlg.h"

#include "core/app/AppPaths.h"
#include "core/app/Login.h"
#include "core/app/PasswordFile.h"
#include "core/app/TraineeSession.h"
#include "core/board/ChromosomeBitmapOps.h"
#include "core/board/PieceDisplay.h"
#include "core/settings/LiveSettings.h"
#include "core/settings/SettingsFile.h"
#include "ui/common/AccessibleNames.h"
#include "ui/common/DialogLook.h"
#include "ui/common/ScreenCentring.h"
#include "ui/settings/TForm14.h"

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>

namespace queldo {

namespace {

constexpr int ClientWidth = 319;
constexpr int ClientHeight = 404;
constexpr int BottomStripHeight = 34;
// The preview before any size has been chosen.
constexpr float FirstPreviewScale = 0.75f;
constexpr int PreviewColumnWidth = 128;

QLabel *placeLabel(QWidget *page, const char *name, const QString &text, int x, int y,
                   int wrapWidth = 0)
{
    auto *label = new QLabel(text, page);
    label->setObjectName(QLatin1String(name));
    if (wrapWidth > 0) {
        label->setWordWrap(true);
        label->setGeometry(x, y, wrapWidth, label->heightForWidth(wrapWidth));
    } else {
        label->move(x, y);
        label->adjustSize();
    }
    return label;
}

QLineEdit *passwordEdit(QWidget *page, const char *name, int y)
{
    auto *edit = new QLineEdit(page);
    edit->setObjectName(QLatin1String(name));
    setPasswordEcho(edit);
    edit->setGeometry(16, y, 257, 24);
    return edit;
}

} // namespace

TPagesDlg::TPagesDlg(AppPaths &paths, QWidget *parent) : QDialog(parent), m_paths(paths)
{
    setObjectName(QStringLiteral("PagesDlg"));
    setWindowTitle(QStringLiteral("設定"));
    setWindowFlags(FixedDialogFrame);
    setFixedSize(ClientWidth, ClientHeight);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    QFont pageFont = PageControl1->font();
    pageFont.setPixelSize(16);
    PageControl1->setFont(pageFont);
    PageControl1->setGeometry(0, 0, ClientWidth, ClientHeight - BottomStripHeight);
    createModePage();
    createSizePage();
    createPasswordPage();

    auto *bottomStrip = new QWidget(this);
    bottomStrip->setObjectName(QStringLiteral("BottomStrip"));
    bottomStrip->setGeometry(0, ClientHeight - BottomStripHeight, ClientWidth, BottomStripHeight);
    OKBtn = new QPushButton(QStringLiteral("OK"), bottomStrip);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(224, 2, 90, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TPagesDlg::OKBtnClick);

    m_mismatch = new TForm14(this);
    nameControlsForScreenReaders(this, {{QStringLiteral("TrackBar1"), QStringLiteral("倍率")},
                                        {QStringLiteral("Password"), Label9->text()},
                                        {QStringLiteral("rePassword"), Label10->text()}});

    loadSample();
    showPreview(FirstPreviewScale);
    centreOnEveryShow(this);
}

TPagesDlg::~TPagesDlg() = default;

LiveSettings &TPagesDlg::settings()
{
    return m_session ? m_session->settings() : m_beforeLogin;
}

void TPagesDlg::createModePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("ModeSheet"));
    PageControl1->addTab(page, QStringLiteral("モード"));

    Cheat = new QCheckBox(QStringLiteral("参考モード"), page);
    Cheat->setObjectName(QStringLiteral("Cheat"));
    Cheat->setGeometry(26, 25, 217, 25);
    Cheat->setChecked(settings().referenceMode);
    // Scoring reads the live value, so the box acts before OK is pressed.
    connect(Cheat, &QCheckBox::toggled, this, [this](bool on) { settings().referenceMode = on; });
    Label1 =
        placeLabel(page, "Label1",
                   QStringLiteral("解答した染色体の番号を採点前に見ることができる。"), 48, 64, 185);

    AnswerMode = new QCheckBox(QStringLiteral("整列モード"), page);
    AnswerMode->setObjectName(QStringLiteral("AnswerMode"));
    AnswerMode->setGeometry(26, 136, 256, 25);
    AnswerMode->setChecked(settings().alignmentMode);
    connect(AnswerMode, &QCheckBox::toggled, this,
            [this](bool on) { settings().alignmentMode = on; });
    Label2 = placeLabel(page, "Label2",
                        QStringLiteral("解答したとき、染色体が自動的に垂直に整列するかを決める。"),
                        48, 168, 171);
}

void TPagesDlg::createSizePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("SizeSheet"));
    PageControl1->addTab(page, QStringLiteral("画像サイズ"));

    Label4 = placeLabel(page, "Label4", settings().sizeCaption(), 72, 8);
    Label3 = placeLabel(page, "Label3", QStringLiteral("倍率"), 72, 32);
    Label5 = placeLabel(page, "Label5", QStringLiteral("0.7倍"), 24, 40);
    Label6 = placeLabel(page, "Label6", QStringLiteral("1.3倍"), 128, 40);

    TrackBar1 = new QSlider(Qt::Horizontal, page);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(24, 56, 129, 33);
    TrackBar1->setRange(LiveSettings::MinimumPosition, LiveSettings::MaximumPosition);
    TrackBar1->setValue(settings().trackBarPosition);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(1);
    // An arrow key jumps straight to an end; page keys and clicks beside the thumb go one step.
    TrackBar1->setSingleStep(10);
    TrackBar1->setPageStep(1);
    connect(TrackBar1, &QSlider::valueChanged, this, &TPagesDlg::TrackBar1Change);

    Button1 = new QPushButton(QStringLiteral("最適サイズ(1.0倍)"), page);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(32, 96, 129, 25);
    connect(Button1, &QPushButton::clicked, this, &TPagesDlg::Button1Click);

    Image2 = new QLabel(page);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->move(200, 40);
    Image2->resize(0, 0);

    // The preview has the right-hand column to itself: a chromosome 1 at the largest scale runs
    // far down, and the message for a missing sample must end within the page.
    Label8 = placeLabel(page, "Label8", QString(), 176, 96, PreviewColumnWidth);
    Label7 =
        placeLabel(page, "Label7", QStringLiteral("次の問題から倍率が変わります。"), 24, 168, 145);
}

void TPagesDlg::createPasswordPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("PasswordSheet"));
    PageControl1->addTab(page, QStringLiteral("パスワード"));

    Label9 = placeLabel(page, "Label9", QStringLiteral("新規パスワードの入力"), 16, 40);
    Password = passwordEdit(page, "Password", 80);
    Label10 =
        placeLabel(page, "Label10", QStringLiteral("確認のため新規パスワードの再入力"), 16, 152);
    rePassword = passwordEdit(page, "rePassword", 192);
    setTabOrder(Password, rePassword);

    Button3 = new QPushButton(QStringLiteral("パスワード変更"), page);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(88, 248, 120, 25);
    connect(Button3, &QPushButton::clicked, this, &TPagesDlg::Button3Click);

    Label11 = placeLabel(page, "Label11", QString(), 32, 296);
    QFont confirmationFont = Label11->font();
    confirmationFont.setPixelSize(21);
    Label11->setFont(confirmationFont);
}

void TPagesDlg::loadSample()
{
    const QString path =
        AppPaths::resolveCaseInsensitive(m_paths.imagesFolder(), {QStringLiteral("1-1.bmp")});
    BitmapDecodeResult decoded = readBitmapFile(path);
    if (!decoded.ok()) {
        Label8->setText(QStringLiteral("ファイルが読めません。"));
        Label8->resize(PreviewColumnWidth, Label8->heightForWidth(PreviewColumnWidth));
        return;
    }
    m_sample = std::move(decoded.image);
}

void TPagesDlg::showPreview(float scale)
{
    if (m_sample.isNull())
        return;
    // Drawn as the board draws pieces: a photograph's near-white background is seen through.
    const QImage picture = withNearWhiteTransparent(renderUpright(m_sample, scale));
    Image2->setPixmap(QPixmap::fromImage(picture));
    Image2->resize(picture.size());
}

void TPagesDlg::syncFromSettings()
{
    LiveSettings &live = settings();
    {
        // The settings are already what they should be: showing them must not recompute them.
        const QSignalBlocker referenceBlocker(Cheat);
        const QSignalBlocker alignmentBlocker(AnswerMode);
        const QSignalBlocker trackBarBlocker(TrackBar1);
        Cheat->setChecked(live.referenceMode);
        AnswerMode->setChecked(live.alignmentMode);
    }
    // The preview follows the track bar, not each problem's fit scale: only a position moved
    // behind the dialog's back (by the login or a problem load) redraws it, as the track bar's
    // own change would have then.
    if (TrackBar1->value() == live.trackBarPosition)
        return;
    {
        const QSignalBlocker trackBarBlocker(TrackBar1);
        TrackBar1->setValue(live.trackBarPosition);
    }
    Label4->setText(live.sizeCaption());
    Label4->adjustSize();
    showPreview(live.okScale());
}

void TPagesDlg::TrackBar1Change()
{
    LiveSettings &live = settings();
    live.trackBarChange(TrackBar1->value());
    Label4->setText(live.sizeCaption());
    Label4->adjustSize();
    showPreview(live.EffectiveScale);
}

void TPagesDlg::Button1Click()
{
    LiveSettings &live = settings();
    TrackBar1->setValue(LiveSettings::MiddlePosition);
    live.fitSize();
    Label4->setText(live.sizeCaption());
    Label4->adjustSize();
    showPreview(live.EffectiveScale);
}

void TPagesDlg::Button3Click()
{
    const QString password = Password->text();
    if (!isAcceptableNewPassword(password, rePassword->text())) {
        // QDialog::hide() would end the exec() the exercise window opened this dialog with, so
        // only the window is hidden while the message is up.
        QWidget::setVisible(false);
        centreOnScreen(m_mismatch);
        m_mismatch->exec();
        QWidget::setVisible(true);
        Password->clear();
        rePassword->clear();
        activateWindow();
        Password->setFocus();
        return;
    }
    if (!m_session) {
        reportFailure(QStringLiteral("ログインしていないため、パスワードを変更できません。"));
        return;
    }
    if (!m_session->writable()) {
        reportFailure(m_session->readOnlyRefusal(QStringLiteral("パスワードは変更できません")));
        return;
    }
    const QString error =
        writePasswordFile(m_session->files().program(UserFile::Password), password);
    if (!error.isEmpty()) {
        reportFailure(
            QStringLiteral("パスワードを変更できませんでした。以前のパスワードのままです。\n") +
            error);
        return;
    }
    Label11->setText(QStringLiteral("パスワードを変更しました。"));
    Label11->adjustSize();
}

void TPagesDlg::OKBtnClick()
{
    LiveSettings &live = settings();
    // The menu entry and the place labels follow the dialog whether or not the file can be
    // written; only then is the file written.
    emit settingsApplied();
    live.EffectiveScale = live.okScale();
    if (!m_session) {
        reportFailure(QStringLiteral("ログインしていないため、設定を保存できません。"));
        return;
    }
    if (!m_session->writable()) {
        // The settings hold for this run all the same.
        QMessageBox::information(this, QStringLiteral("設定"),
                                 m_session->readOnlyRefusal(
                                     QStringLiteral("設定はこの画面でだけ使われ、保存されません")));
        accept();
        return;
    }
    const StoredSettings stored{live.referenceMode, live.alignmentMode, live.CustomScale,
                                live.EffectiveScale, live.trackBarPosition};
    const QString error = SettingsFile::write(m_session->files().relative(UserFile::Settings),
                                              SettingsFile::dialogBytes(stored));
    if (!error.isEmpty()) {
        // The dialog stays open, so the trainee can try again; the saved file is untouched.
        reportFailure(error);
        return;
    }
    accept();
}

void TPagesDlg::reportFailure(const QString &message)
{
    QMessageBox::warning(this, QStringLiteral("設定"), message);
}

void TPagesDlg::keyPressEvent(QKeyEvent *event)
{
    // The dialog has no cancel button, so Esc does nothing; the close box closes it unsaved.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPagesDlg::showEvent(QShowEvent *event)
{
    // The board and the menu change the live settings while the dialog is hidden.
    syncFromSettings();
    QDialog::showEvent(event);
}

void TPagesDlg::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible)
        restoreDefaultButton(OKBtn);
}

} // namespace queldo
