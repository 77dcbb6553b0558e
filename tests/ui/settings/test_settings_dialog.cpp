#include "core/app/AppPaths.h"
#include "core/app/PasswordFile.h"
#include "core/board/ChromosomeBitmapOps.h"
#include "core/settings/LiveSettings.h"
#include "core/settings/SettingsFile.h"
#include "ui/settings/TForm14.h"
#include "ui/settings/TPagesDlg.h"

#include "ModalAnswer.h"
#include "SettingsControls.h"
#include "TraineeFixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace queldo;
using queldo::test::ModalAnswer;
using queldo::test::SettingsControls;

namespace {

enum class Sample { Present, Missing, Broken };

/// A program folder with Images (and its sample picture) and the user folder of "u".
struct Fixture
{
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};
    QString userId = QStringLiteral("u");
    std::unique_ptr<TraineeSession> session;
    std::unique_ptr<TPagesDlg> dialog;

    explicit Fixture(Sample sample = Sample::Present)
    {
        QDir root(dir.path());
        root.mkpath("Images");
        root.mkpath("Result/u");
        const QString samplePath = root.filePath("Images/1-1.bmp");
        if (sample == Sample::Present) {
            QImage picture(24, 80, QImage::Format_RGB888);
            picture.fill(Qt::white);
            QPainter(&picture).fillRect(6, 4, 12, 72, QColor(60, 60, 60));
            picture.save(samplePath, "BMP");
        } else if (sample == Sample::Broken) {
            QFile file(samplePath);
            if (file.open(QIODevice::WriteOnly))
                file.write("BM this is not a bitmap");
        }
        paths.enterImagesFolder();
        session = test::loggedInTrainee(paths, userId);
        dialog = std::make_unique<TPagesDlg>(paths);
        dialog->setSession(session.get());
    }

    /// The trainee's live settings, which the dialog edits.
    LiveSettings &settings() { return session->settings(); }
    QString userFile(const char *extension) const
    {
        return dir.filePath(QStringLiteral("Result/u/u") + extension);
    }
    QByteArray settingsBytes() const
    {
        QFile file(userFile(".set"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QSize previewSizeAt(float scale) const
    {
        QFile file(dir.filePath("Images/1-1.bmp"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return renderUpright(decodeBitmap(file.readAll(), "1-1.bmp").image, scale).size();
    }
};

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT
private slots:
    void controlsSitWhereTheyBelong_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry"); // width or height 0: sized by its text
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("tab");
        QTest::newRow("Cheat") << "Cheat" << QRect(26, 25, 217, 25) << "参考モード" << 0;
        QTest::newRow("Label1") << "Label1" << QRect(48, 64, 185, 0)
                                << "解答した染色体の番号を採点前に見ることができる。" << 0;
        QTest::newRow("AnswerMode") << "AnswerMode" << QRect(26, 136, 256, 25) << "整列モード" << 0;
        QTest::newRow("Label2") << "Label2" << QRect(48, 168, 171, 0)
                                << "解答したとき、染色体が自動的に垂直に整列するかを決める。" << 0;
        QTest::newRow("Label4") << "Label4" << QRect(72, 8, 0, 0) << "1.0倍" << 1;
        QTest::newRow("Label3") << "Label3" << QRect(72, 32, 0, 0) << "倍率" << 1;
        QTest::newRow("Label5") << "Label5" << QRect(24, 40, 0, 0) << "0.7倍" << 1;
        QTest::newRow("Label6") << "Label6" << QRect(128, 40, 0, 0) << "1.3倍" << 1;
        QTest::newRow("TrackBar1") << "TrackBar1" << QRect(24, 56, 129, 33) << QString() << 1;
        QTest::newRow("Button1") << "Button1" << QRect(32, 96, 129, 25) << "最適サイズ(1.0倍)" << 1;
        QTest::newRow("Image2") << "Image2" << QRect(200, 40, 0, 0) << QString() << 1;
        QTest::newRow("Label8") << "Label8" << QRect(176, 96, 128, 0) << "" << 1;
        QTest::newRow("Label7") << "Label7" << QRect(24, 168, 145, 0)
                                << "次の問題から倍率が変わります。" << 1;
        QTest::newRow("Label9") << "Label9" << QRect(16, 40, 0, 0) << "新規パスワードの入力" << 2;
        QTest::newRow("Password") << "Password" << QRect(16, 80, 257, 24) << "" << 2;
        QTest::newRow("Label10") << "Label10" << QRect(16, 152, 0, 0)
                                 << "確認のため新規パスワードの再入力" << 2;
        QTest::newRow("rePassword") << "rePassword" << QRect(16, 192, 257, 24) << "" << 2;
        QTest::newRow("Button3") << "Button3" << QRect(88, 248, 120, 25) << "パスワード変更" << 2;
        QTest::newRow("Label11") << "Label11" << QRect(32, 296, 0, 0) << "" << 2;
        QTest::newRow("OKBtn") << "OKBtn" << QRect(224, 2, 90, 25) << "OK" << -1;
    }
    void controlsSitWhereTheyBelong()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(int, tab);
        Fixture f;
        auto *widget = f.dialog->findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(widget->pos(), geometry.topLeft());
        if (geometry.width() > 0)
            QCOMPARE(widget->width(), geometry.width());
        if (geometry.height() > 0)
            QCOMPARE(widget->height(), geometry.height());
        if (!text.isNull())
            QCOMPARE(widget->property("text").toString(), text);
        if (tab >= 0)
            QCOMPARE(widget->parentWidget(), SettingsControls(*f.dialog).PageControl1->widget(tab));
        else
            QCOMPARE(widget->parentWidget()->geometry(), QRect(0, 370, 319, 34));
    }

    void dialogFrameAndTrackBar()
    {
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        QCOMPARE(d.windowTitle(), "設定");
        QCOMPARE(d.size(), QSize(319, 404));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCOMPARE(ui.PageControl1->count(), 3);
        QCOMPARE(ui.PageControl1->tabText(0), "モード");
        QCOMPARE(ui.PageControl1->tabText(1), "画像サイズ");
        QCOMPARE(ui.PageControl1->tabText(2), "パスワード");
        QCOMPARE(ui.PageControl1->font().pixelSize(), 16);
        QCOMPARE(ui.Label11->font().pixelSize(), 21);
        QCOMPARE(ui.TrackBar1->orientation(), Qt::Horizontal);
        QCOMPARE(ui.TrackBar1->minimum(), 7);
        QCOMPARE(ui.TrackBar1->maximum(), 13);
        QCOMPARE(ui.TrackBar1->value(), 10);
        QCOMPARE(ui.TrackBar1->tickPosition(), QSlider::TicksBelow);
        QCOMPARE(ui.TrackBar1->tickInterval(), 1);
        QCOMPARE(ui.Password->echoMode(), QLineEdit::Password);
        QCOMPARE(ui.Password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                 ui.Password),
                 int('*'));
        QCOMPARE(ui.rePassword->echoMode(), QLineEdit::Password);
        QCOMPARE(ui.rePassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                   ui.rePassword),
                 int('*'));
        QVERIFY(ui.OKBtn->isDefault());
        QCOMPARE(f.paths.currentFolder(), f.dir.filePath("Images"));
    }

    void arrowKeysJumpToAnEndAndPageKeysStepOne()
    {
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        QTest::keyClick(ui.TrackBar1, Qt::Key_Right);
        QCOMPARE(ui.TrackBar1->value(), 13);
        QCOMPARE(ui.Label4->text(), "1.3倍");
        QCOMPARE(f.settings().CustomScale, 1);
        QCOMPARE(f.settings().EffectiveScale, float(13 * double(0.7f) * 0.1));
        QCOMPARE(ui.Image2->size(), f.previewSizeAt(f.settings().EffectiveScale));

        QTest::keyClick(ui.TrackBar1, Qt::Key_Left);
        QCOMPARE(ui.TrackBar1->value(), 7);
        QCOMPARE(ui.Label4->text(), "0.7倍");
        QTest::keyClick(ui.TrackBar1, Qt::Key_PageUp);
        QCOMPARE(ui.TrackBar1->value(), 8);
        QCOMPARE(ui.Label4->text(), "0.8倍");
        QCOMPARE(ui.Image2->size(), f.previewSizeAt(float(8 * double(0.7f) * 0.1)));

        QTest::keyClick(ui.TrackBar1, Qt::Key_PageUp);
        QTest::keyClick(ui.TrackBar1, Qt::Key_PageUp);
        QCOMPARE(ui.TrackBar1->value(), 10);
        QCOMPARE(ui.Label4->text(), "1.0倍");
        QCOMPARE(f.settings().CustomScale, 0);
        QCOMPARE(f.settings().EffectiveScale, 0.7f);
    }

    void okWritesTheSettingsAndTellsTheExerciseWindow_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("fitSize");
        QTest::addColumn<bool>("referenceMode");
        QTest::addColumn<bool>("alignmentMode");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("fit size after 1.2")
            << 12 << true << false << false << QByteArray("0\n0\n0\n0.699999988079071\r\n");
        QTest::newRow("1.3 with both modes")
            << 13 << false << true << true << QByteArray("1\n1\n1\n0.909999966621399\r\n13\r\n");
        QTest::newRow("0.7, reference mode")
            << 7 << false << true << false << QByteArray("1\n0\n1\n0.489999979734421\r\n7\r\n");
    }
    void okWritesTheSettingsAndTellsTheExerciseWindow()
    {
        QFETCH(int, position);
        QFETCH(bool, fitSize);
        QFETCH(bool, referenceMode);
        QFETCH(bool, alignmentMode);
        QFETCH(QByteArray, bytes);
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        d.show();
        QSignalSpy applied(&d, &TPagesDlg::settingsApplied);
        ui.TrackBar1->setValue(position);
        if (fitSize) {
            ui.Button1->click();
            QCOMPARE(ui.TrackBar1->value(), 10);
            QCOMPARE(ui.Label4->text(), "1.0倍");
        }
        ui.Cheat->setChecked(referenceMode);
        ui.AnswerMode->setChecked(alignmentMode);
        // The boxes act at once: scoring and drops read them before OK.
        QCOMPARE(f.settings().referenceMode, referenceMode);
        QCOMPARE(f.settings().alignmentMode, alignmentMode);

        ui.OKBtn->click();
        QCOMPARE(f.settingsBytes(), bytes);
        QCOMPARE(applied.count(), 1);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(!d.isVisible());
        QCOMPARE(SettingsFile::scaleText(f.settings().EffectiveScale),
                 QString::fromLatin1(bytes.split('\n').at(3).trimmed()));
    }

    void closeBoxWritesNothing()
    {
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        d.show();
        QSignalSpy applied(&d, &TPagesDlg::settingsApplied);
        QTest::keyClick(ui.TrackBar1, Qt::Key_Right);
        ui.Cheat->setChecked(true);
        d.close();
        QVERIFY(!QFile::exists(f.userFile(".set")));
        QCOMPARE(applied.count(), 0);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        // ... while the live settings already follow the controls.
        QCOMPARE(f.settings().trackBarPosition, 13);
        QVERIFY(f.settings().referenceMode);
    }

    void escapeDoesNotCloseTheDialog()
    {
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        QVERIFY(!QFile::exists(f.userFile(".set")));
    }

    void failedSaveKeepsTheDialogOpen()
    {
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        QVERIFY(QDir(f.dir.path()).mkpath("Result/u/u.set")); // a folder where the file belongs
        d.show();
        QSignalSpy applied(&d, &TPagesDlg::settingsApplied);
        ModalAnswer answer(ModalAnswer::defaultButton());
        ui.OKBtn->click();
        QCOMPARE(answer.className, "QMessageBox");
        QVERIFY(answer.lines.join('\n').contains("設定を保存できませんでした。"));
        // The labels and the menu entry were brought in line before the write.
        QCOMPARE(applied.count(), 1);
        QVERIFY(d.isVisible());
        QVERIFY(QFileInfo(f.userFile(".set")).isDir());
    }

    void passwordMismatchAsksAgain_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("different") << "secret"
                                   << "secreT";
        QTest::newRow("both empty") << ""
                                    << "";
        QTest::newRow("second empty") << "secret"
                                      << "";
        QTest::newRow("first empty") << ""
                                     << "secret";
    }
    void passwordMismatchAsksAgain()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        ui.PageControl1->setCurrentIndex(2);
        ui.Password->setText(first);
        ui.rePassword->setText(second);
        ui.Button3->setFocus();
        bool dialogHidden = false;
        QTimer::singleShot(0, [&] { dialogHidden = !d.isVisible(); });
        ModalAnswer answer(ModalAnswer::defaultButton());
        ui.Button3->click();

        QCOMPARE(answer.className, "queldo::TForm14");
        QCOMPARE(answer.title, "パスワード変更");
        QCOMPARE(answer.lines,
                 (QStringList{"２つのパスワードが異なっているか、",
                              "パスワードが設定されていません。", "再入力してください。"}));
        QVERIFY(dialogHidden);
        QVERIFY(d.isVisible());
        QVERIFY(ui.Password->text().isEmpty());
        QVERIFY(ui.rePassword->text().isEmpty());
        QTRY_VERIFY(ui.Password->hasFocus());
        QVERIFY(ui.Label11->text().isEmpty());
        QVERIFY(!QFile::exists(f.userFile(".pas")));
    }

    void mismatchMessageDoesNotEndTheModalDialog()
    {
        Fixture f;
        QPointer<TPagesDlg> d = f.dialog.get();
        const SettingsControls ui(*d);
        bool stillModalAfterMessage = false;
        QTimer::singleShot(0, [&] {
            ui.Password->setText("a");
            ui.rePassword->setText("b");
            ModalAnswer answer(ModalAnswer::defaultButton());
            ui.Button3->click();
            QTimer::singleShot(0, [&] {
                if (!d)
                    return;
                stillModalAfterMessage = QApplication::activeModalWidget() == d;
                d->reject();
            });
        });
        QCOMPARE(d->exec(), int(QDialog::Rejected));
        QVERIFY(stillModalAfterMessage);
    }

    void passwordChangeStoresAHash()
    {
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        d.show();
        ui.Password->setText("新しいpass");
        ui.rePassword->setText("新しいpass");
        ui.Button3->click();
        QCOMPARE(ui.Label11->text(), "パスワードを変更しました。");
        QCOMPARE(ui.Password->text(), "新しいpass");
        QCOMPARE(ui.rePassword->text(), "新しいpass");
        const StoredPassword stored = readPasswordFile(f.userFile(".pas"));
        QVERIFY(stored.ok());
        QVERIFY(!stored.line.contains("新しいpass"));
        QVERIFY(passwordMatches(stored.line, "新しいpass"));
        QVERIFY(!passwordMatches(stored.line, "新しいPASS"));
        // Closing without OK keeps the change, and writes no settings.
        d.close();
        QVERIFY(QFile::exists(f.userFile(".pas")));
        QVERIFY(!QFile::exists(f.userFile(".set")));
    }

    void failedPasswordChangeIsReported()
    {
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        QVERIFY(QDir(f.dir.path()).rmdir("Result/u"));
        d.show();
        ui.Password->setText("pw");
        ui.rePassword->setText("pw");
        ModalAnswer answer(ModalAnswer::defaultButton());
        ui.Button3->click();
        QCOMPARE(answer.className, "QMessageBox");
        QVERIFY(answer.lines.join('\n').contains("パスワードを変更できませんでした。"));
        QVERIFY(ui.Label11->text().isEmpty());
    }

    void samplePreview_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<QString>("message");
        QTest::newRow("present") << int(Sample::Present) << "";
        QTest::newRow("missing") << int(Sample::Missing) << "ファイルが読めません。";
        QTest::newRow("broken") << int(Sample::Broken) << "ファイルが読めません。";
    }
    void samplePreview()
    {
        QFETCH(int, sample);
        QFETCH(QString, message);
        Fixture f{Sample(sample)};
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        QCOMPARE(ui.Label8->text(), message);
        if (Sample(sample) == Sample::Present) {
            QVERIFY(d.hasSample());
            QCOMPARE(ui.Image2->size(), f.previewSizeAt(0.75f));
            QVERIFY(!ui.Image2->pixmap().isNull());
            // White is see-through, so the page shows around the chromosome.
            QVERIFY(ui.Image2->pixmap().toImage().pixelColor(0, 0).alpha() == 0);
        } else {
            QVERIFY(!d.hasSample());
            QVERIFY(ui.Image2->pixmap().isNull());
        }
        // The size still works without a sample.
        QTest::keyClick(ui.TrackBar1, Qt::Key_Left);
        ui.Button1->click();
        QCOMPARE(ui.Label4->text(), "1.0倍");

        // Nothing of the page is cut at its edge, and the largest preview leaves the note free.
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        ui.PageControl1->setCurrentIndex(1);
        const QRect page = ui.PageControl1->widget(1)->rect();
        QVERIFY(page.contains(ui.Label8->geometry()));
        QVERIFY(page.contains(ui.Label7->geometry()));
        if (!message.isEmpty())
            QCOMPARE(ui.Label8->height(), ui.Label8->heightForWidth(ui.Label8->width()));
        ui.TrackBar1->setValue(ui.TrackBar1->maximum());
        QVERIFY(!ui.Image2->geometry().intersects(ui.Label7->geometry()));
    }

    void showingTheDialogShowsTheLiveSettings()
    {
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        // The login, the board and the menu change the settings behind the dialog.
        f.settings().referenceMode = true;
        f.settings().alignmentMode = true;
        f.settings().trackBarPosition = 12;
        f.settings().CustomScale = 1;
        f.settings().EffectiveScale = 0.5f;
        d.syncFromSettings();
        QVERIFY(ui.Cheat->isChecked());
        QVERIFY(ui.AnswerMode->isChecked());
        QCOMPARE(ui.TrackBar1->value(), 12);
        QCOMPARE(ui.Label4->text(), "1.2倍");
        QCOMPARE(f.settings().EffectiveScale, 0.5f); // shown, not recomputed
        QCOMPARE(ui.Image2->size(), f.previewSizeAt(f.settings().okScale()));

        f.settings().referenceMode = false;
        f.settings().trackBarPosition = 10;
        f.settings().CustomScale = 0;
        d.show();
        QVERIFY(!ui.Cheat->isChecked());
        QCOMPARE(ui.TrackBar1->value(), 10);
        QCOMPARE(ui.Label4->text(), "1.0倍");
        QCOMPARE(f.settings().EffectiveScale, 0.5f);
        QCOMPARE(ui.Image2->size(), f.previewSizeAt(f.settings().okScale()));
    }

    void reopeningKeepsThePreviewOfTheChosenSize()
    {
        Fixture f;
        TPagesDlg &d = *f.dialog;
        const SettingsControls ui(d);
        d.show();
        QTest::keyClick(ui.TrackBar1, Qt::Key_Right); // 1.3
        const QSize chosen = ui.Image2->size();
        d.close();
        // Later problems change the fit scale but not the chosen size.
        f.settings().BaseScale = 0.35f;
        d.show();
        QCOMPARE(ui.TrackBar1->value(), 13);
        QCOMPARE(ui.Image2->size(), chosen);
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
