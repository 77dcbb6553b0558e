// A trainee's first day, through the real windows as the program wires them: a new ID, a login,
// one exercise scored, the settings changed, and a second start that finds them kept.
#include "ExerciseControls.h"
#include "LoginFixture.h"
#include "ProblemFixture.h"
#include "SettingsControls.h"

#include "core/app/TraineeSession.h"
#include "core/board/ProblemLibrary.h"
#include "core/results/ResultsFile.h"
#include "ui/app/ProgramWindows.h"
#include "ui/exercise/TForm1.h"
#include "ui/settings/TPagesDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

const QString Trainee = QStringLiteral("新人01");

void logIn(ProgramWindows &windows, const QString &password)
{
    const LoginControls loginUi(windows.login());
    loginUi.Password->setText(password);
    loginUi.OKBtn->click();
}

} // namespace

class TestWalkthrough : public QObject
{
    Q_OBJECT
private slots:
    // A trainee quick enough to ask for a new ID before the login window is painted still gets
    // the new-ID windows, which the program otherwise makes only after that paint.
    void newIdBeforeTheLoginIsPainted_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("ID作成") << true;
        QTest::newRow("an unknown ID") << false;
    }
    void newIdBeforeTheLoginIsPainted()
    {
        QFETCH(bool, byButton);
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Images"));
        QDir(dir.path()).mkpath(QStringLiteral("Result"));
        ProgramWindows windows(dir.path(), dir.path(), 7);
        windows.start();
        LoginControls(windows.login()).ID->setText(Trainee);
        if (byButton) {
            LoginControls(windows.login()).Button1->click();
            QCOMPARE(NewIdControls(windows.newId()).ID->text(), Trainee);
        } else {
            ModalAnswer yes(ModalAnswer::click("OKBtn"));
            LoginControls(windows.login()).OKBtn->click();
            QCOMPARE(yes.className, QStringLiteral("queldo::TNewIDorNo"));
        }
        QVERIFY(windows.newId().isVisible());
        QVERIFY(!windows.login().isVisible());
    }

    // A trainee logging in after another in the same run works with their own settings: the
    // menu entry and the settings dialog follow them, OK saves to their file only.
    void laterLoginOfAnotherIdBringsItsOwnSettings()
    {
        LoginFixture f;
        const QByteArray taroSettings("1\r\n0\r\n0\r\n0.699999988079071\r\n");
        f.addUser("Taro", "pw\r\n", taroSettings);
        f.addUser("Hanako", "pw\r\n");
        ProgramWindows windows(f.dir.path(), f.dir.path(), 7);
        windows.start();
        const LoginControls login(windows.login());
        const auto logInAs = [&](const QString &id) {
            login.ID->setText(id);
            login.Password->setText("pw");
            login.OKBtn->click();
        };
        logInAs("Taro");
        QVERIFY(windows.exercise());
        const ExerciseControls ui(*windows.exercise());
        QVERIFY(ui.N1->isChecked());
        QVERIFY(SettingsControls(windows.pages()).Cheat->isChecked());

        windows.login().show();
        logInAs("Hanako");
        QCOMPARE(windows.session()->id(), "Hanako");
        QVERIFY(!windows.session()->settings().referenceMode);
        const SettingsControls settings(windows.pages());
        windows.pages().show();
        QVERIFY(!settings.Cheat->isChecked());
        settings.OKBtn->click();
        QVERIFY(!ui.N1->isChecked());
        QCOMPARE(f.read("Result/Hanako/Hanako.set"), QByteArray("0\n0\n0\n0.699999988079071\r\n"));
        QCOMPARE(f.read("Result/Taro/Taro.set"), taroSettings);
    }

    void newTraineeScoresAndFindsSettingsKeptAfterARestart()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Images"));
        QDir(dir.path()).mkpath(QStringLiteral("Result"));
        writeProblemFolder(QDir(dir.path()).filePath(QStringLiteral("Images")),
                           knownProblemNames()[0]);
        const QString stem = QDir(dir.path()).filePath(QStringLiteral("Result/%1/%1").arg(Trainee));

        {
            ProgramWindows windows(dir.path(), dir.path(), 7);
            windows.start();
            QVERIFY(QTest::qWaitForWindowExposed(&windows.login()));
            QVERIFY(!windows.exercise());

            // An unknown ID: yes to the question, then the new-ID dialog.
            LoginControls(windows.login()).ID->setText(Trainee);
            {
                ModalAnswer yes(ModalAnswer::click("OKBtn"));
                LoginControls(windows.login()).OKBtn->click();
                QCOMPARE(yes.className, QStringLiteral("queldo::TNewIDorNo"));
            }
            QVERIFY(windows.newId().isVisible());
            const NewIdControls newIdUi(windows.newId());
            newIdUi.ID->setText(Trainee);
            newIdUi.Password->setText(QStringLiteral("Kaku-46"));
            newIdUi.rePassword->setText(QStringLiteral("Kaku-46"));
            {
                ModalAnswer done(ModalAnswer::click("Button1"));
                NewIdControls(windows.newId()).OKBtn->click();
                QCOMPARE(done.className, QStringLiteral("queldo::TNewIDComplete"));
            }
            QVERIFY(!windows.newId().isVisible());
            QCOMPARE(LoginControls(windows.login()).ID->text(), Trainee);

            logIn(windows, QStringLiteral("kaku-46")); // case matters
            QVERIFY(!windows.exercise());
            logIn(windows, QStringLiteral("Kaku-46"));
            QVERIFY(windows.exercise());
            QVERIFY(!windows.login().isVisible());
            TForm1 &form = *windows.exercise();
            const ExerciseControls ui(form);
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QCOMPARE(form.UserId, Trainee);

            // Deal, start, place nothing and score: the attempt lands in the new results file.
            QTest::mouseClick(ui.Button2, Qt::LeftButton);
            QVERIFY(ui.Button4->isEnabled());
            QTest::mouseClick(ui.Button4, Qt::LeftButton);
            form.Timer1Timer();
            QTest::mouseClick(ui.Button1, Qt::LeftButton);
            const ResultsReadResult results = ResultsFile::read(stem + QStringLiteral(".kek"));
            QVERIFY(results.ok());
            QCOMPARE(int(results.records.size()), 1);
            QCOMPARE(results.records[0].fields[2], QStringLiteral("001"));
            QCOMPARE(results.records[0].fields[3], QStringLiteral("-1")); // an empty place

            // Reference mode on and a larger size, through the settings dialog.
            {
                ModalAnswer settings([](QWidget *modal) {
                    auto *pages = qobject_cast<TPagesDlg *>(modal);
                    const SettingsControls settingsUi(*pages);
                    settingsUi.Cheat->setChecked(true);
                    settingsUi.TrackBar1->setValue(12);
                    settingsUi.OKBtn->click();
                });
                ui.Setting1->trigger();
                QCOMPARE(settings.className, QStringLiteral("queldo::TPagesDlg"));
            }
            QVERIFY(ui.N1->isChecked());
        }

        ProgramWindows again(dir.path(), dir.path(), 8);
        again.start();
        LoginControls(again.login()).ID->setText(Trainee);
        logIn(again, QStringLiteral("Kaku-46"));
        QVERIFY(again.exercise());
        QVERIFY(ExerciseControls(*again.exercise()).N1->isChecked());
        QVERIFY(again.session()->settings().referenceMode);
        const SettingsControls settingsUi(again.pages());
        QCOMPARE(settingsUi.TrackBar1->value(), 12);
        QCOMPARE(settingsUi.Label4->text(), QStringLiteral("1.2倍"));
        QCOMPARE(int(ResultsFile::read(stem + QStringLiteral(".kek")).records.size()), 1);
    }
};

QTEST_MAIN(TestWalkthrough)
#include "test_walkthrough.moc"
