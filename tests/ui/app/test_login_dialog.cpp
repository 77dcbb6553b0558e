#include "LoginFixture.h"

#include "core/app/PasswordFile.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QStyle>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

const QString Prompt = QStringLiteral("パスワードの入力");
const QString WrongPassword =
    QStringLiteral("パスワードが間違ってます。\nもう一度入力してください。");

void typeAndPressOk(TPasswordDlg &login, const QString &id, const QString &password)
{
    const LoginControls ui(login);
    ui.ID->setText(id);
    ui.Password->setText(password);
    ui.OKBtn->click();
}

} // namespace

class TestLoginDialog : public QObject
{
    Q_OBJECT
private slots:
    void controlsSitWhereTheyBelong_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry"); // width 0: sized by its text
        QTest::addColumn<QString>("text");
        QTest::newRow("Label2") << "Label2" << QRect(32, 48, 0, 0) << "ID入力";
        QTest::newRow("ID") << "ID" << QRect(32, 64, 222, 20) << "";
        QTest::newRow("Label1") << "Label1" << QRect(32, 113, 0, 0) << Prompt;
        QTest::newRow("Password") << "Password" << QRect(32, 131, 222, 20) << "";
        QTest::newRow("OKBtn") << "OKBtn" << QRect(38, 160, 70, 20) << "OK";
        QTest::newRow("CancelBtn") << "CancelBtn" << QRect(110, 160, 70, 20) << "キャンセル";
        QTest::newRow("Button1") << "Button1" << QRect(182, 160, 70, 20) << "ID作成";
    }

    void controlsSitWhereTheyBelong()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        LoginFixture f;
        f.start();
        QCOMPARE(f.login->windowTitle(), QStringLiteral("QUELDOＩＤとパスワード入力"));
        QCOMPARE(f.login->size(), QSize(283, 227));
        QVERIFY(f.login->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(f.ui().OKBtn->isDefault());
        QCOMPARE(f.ui().Password->echoMode(), QLineEdit::Password);
        QCOMPARE(f.ui().Password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                     f.ui().Password),
                 int('*'));

        auto *control = f.login->findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->pos(), geometry.topLeft());
        if (geometry.width() > 0)
            QCOMPARE(control->size(), geometry.size());
        if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), text);
        else if (auto *button = qobject_cast<QPushButton *>(control))
            QCOMPARE(button->text(), text);
    }

    void userListIsReadFromTheStartFolder()
    {
        LoginFixture f;
        f.addUser("Taro", "pw\r\n");
        f.write("Result/note.txt", "a plain file is listed too");
        f.start();
        QStringList users = f.users.ids();
        users.sort();
        QCOMPARE(users, (QStringList{"Taro", "note.txt"}));
    }

    void unknownIdAsksWhetherToCreateOne_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("answer"); // the button clicked, or "close" for the close box
        QTest::newRow("empty ID, いいえ") << ""
                                          << "CancelBtn";
        QTest::newRow("another ID, いいえ") << "Hanako"
                                            << "CancelBtn";
        QTest::newRow("another ID, close box") << "Hanako"
                                               << "close";
        QTest::newRow("empty ID, はい") << ""
                                        << "OKBtn";
    }

    void unknownIdAsksWhetherToCreateOne()
    {
        QFETCH(QString, id);
        QFETCH(QString, answer);
        LoginFixture f;
        f.addUser("Taro", "pw\r\n");
        f.start();
        QSignalSpy loggedIn(f.login.get(), &TPasswordDlg::loggedIn);
        QSignalSpy quit(f.login.get(), &TPasswordDlg::quitRequested);
        bool loginHiddenMeanwhile = false;
        ModalAnswer reply([&](QWidget *modal) {
            loginHiddenMeanwhile = !f.login->isVisible();
            if (answer == u"close")
                modal->close();
            else
                ModalAnswer::click(answer == u"OKBtn" ? "OKBtn" : "CancelBtn")(modal);
        });

        typeAndPressOk(*f.login, id, "pw");
        QCOMPARE(reply.className, QStringLiteral("queldo::TNewIDorNo"));
        QCOMPARE(reply.title, QStringLiteral("新しいIDを作成"));
        QVERIFY(loginHiddenMeanwhile);
        QCOMPARE(loggedIn.count(), 0);
        QCOMPARE(quit.count(), 0);

        if (answer == u"OKBtn") {
            QVERIFY(f.newId->isVisible());
            QVERIFY(!f.login->isVisible());
            return;
        }
        QVERIFY(f.login->isVisible());
        QVERIFY(!f.newId->isVisible());
        QCOMPARE(f.ui().ID->text(), QString());
        QCOMPARE(f.ui().Password->text(), QString());
        QCOMPARE(f.login->focusWidget(), f.ui().ID);
        QCOMPARE(f.ui().Label1->text(), Prompt);
    }

    void wrongPasswordIsReportedInTheDialog()
    {
        LoginFixture f;
        f.addUser("Taro", "Secret\r\n");
        f.start();
        QSignalSpy loggedIn(f.login.get(), &TPasswordDlg::loggedIn);

        // Letter case counts; the label moves up once however often the password is wrong.
        for (int attempt = 0; attempt < 3; ++attempt) {
            typeAndPressOk(*f.login, "Taro", "secret");
            QCOMPARE(f.ui().Label1->text(), WrongPassword);
            QCOMPARE(f.ui().Label1->pos(), QPoint(32, 101));
            QVERIFY(f.ui().Label1->height() >= 2 * f.login->fontMetrics().height());
            QCOMPARE(f.ui().Password->text(), QString());
            QCOMPARE(f.login->focusWidget(), f.ui().Password);
            QCOMPARE(f.ui().ID->text(), QStringLiteral("Taro"));
            QVERIFY(f.login->isVisible());
        }
        QCOMPARE(loggedIn.count(), 0);

        // "いいえ" to the new-ID question restores the prompt but not the position.
        ModalAnswer reply(ModalAnswer::click("CancelBtn"));
        typeAndPressOk(*f.login, "Nobody", "x");
        QCOMPARE(f.ui().Label1->text(), Prompt);
        QCOMPARE(f.ui().Label1->pos(), QPoint(32, 101));
    }

    // A look-alike of a listed ID logs in as that ID and shows it; several look-alikes of
    // an older installation are not guessed between.
    void lookAlikeIdFindsItsTrainee()
    {
        LoginFixture f;
        f.addUser("kensyu07", "pw\r\n");
        f.addUser("Taro", "pw\r\n");
        f.addUser("taro", "pw2\r\n");
        f.start();
        QSignalSpy loggedIn(f.login.get(), &TPasswordDlg::loggedIn);
        ModalAnswer noQuestion([](QWidget *modal) { modal->close(); });

        typeAndPressOk(*f.login, "TARO", "pw");
        QCOMPARE(f.ui().Label1->text(),
                 QStringLiteral("似たIDが複数あります。\nIDを正確に入力してください。"));
        QCOMPARE(f.ui().Label1->pos(), QPoint(32, 101));
        QCOMPARE(f.login->focusWidget(), f.ui().ID);
        QCOMPARE(loggedIn.count(), 0);

        typeAndPressOk(*f.login, "ｋｅｎｓｙｕ０７\u3000", "pw");
        QCOMPARE(noQuestion.className, QString());
        QCOMPARE(loggedIn.count(), 1);
        QCOMPARE(loggedIn.at(0).at(0).toString(), QStringLiteral("kensyu07"));
        QCOMPARE(f.ui().ID->text(), QStringLiteral("kensyu07"));
        QCOMPARE(QDir(f.filePath("Result")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);
    }

    void passwordFileDecidesTheLogin_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: no password file at all
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("outcome"); // "in", "wrong" or "unreadable"
        const QByteArray hash = hashPassword("pw").toLatin1() + "\r\n";
        QTest::newRow("plain text of an older installation") << QByteArray("pw\r\n") << "pw"
                                                             << "in";
        QTest::newRow("plain text, bare LF, further lines ignored")
            << QByteArray("pw\nother\n") << "pw"
            << "in";
        QTest::newRow("plain text, wrong") << QByteArray("pw\r\n") << "pW"
                                           << "wrong";
        QTest::newRow("hash") << hash << "pw"
                              << "in";
        QTest::newRow("hash, letter case differs") << hash << "PW"
                                                   << "wrong";
        QTest::newRow("missing") << QByteArray() << "pw"
                                 << "unreadable";
        QTest::newRow("empty file, empty password") << QByteArray("") << ""
                                                    << "unreadable";
        QTest::newRow("not code page 932") << QByteArray("\x81\x20\r\n") << "pw"
                                           << "unreadable";
        QTest::newRow("hash demanding 4 GiB")
            << QByteArray(hash).replace("m=65536,", "m=4194304,") << "pw"
            << "unreadable";
        QTest::newRow("hash demanding 200 passes")
            << QByteArray(hash).replace("t=2,", "t=200,") << "pw"
            << "unreadable";
    }

    void passwordFileDecidesTheLogin()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, typed);
        QFETCH(QString, outcome);
        LoginFixture f;
        f.addUser("Taro", file);
        f.start();
        QSignalSpy loggedIn(f.login.get(), &TPasswordDlg::loggedIn);

        typeAndPressOk(*f.login, "Taro", typed);
        const bool admitted = outcome == u"in";
        QCOMPARE(loggedIn.count(), admitted ? 1 : 0);
        QCOMPARE(f.login->isVisible(), !admitted);
        const QByteArray stored = f.read("Result/Taro/Taro.pas");
        if (admitted) {
            QCOMPARE(loggedIn.at(0).at(0).toString(), QStringLiteral("Taro"));
            QCOMPARE(f.ui().ID->text(), QStringLiteral("Taro"));
            // A plain-text password is stored hashed once it has logged in, and still logs in.
            QVERIFY(stored.startsWith("$argon2id$"));
            QVERIFY(passwordMatches(QString::fromLatin1(stored.trimmed()), typed));
            if (file.startsWith("$argon2id$"))
                QCOMPARE(stored, file);
        } else {
            QCOMPARE(f.ui().Label1->text(),
                     outcome == u"wrong" ? WrongPassword
                                         : QStringLiteral("パスワードファイルが読めません。"));
            QCOMPARE(stored, file.isNull() ? QByteArray() : file);
        }
    }

    // Without an Images folder the login must still find the trainee's files beside the user list
    // it was shown, rather than "..\Result" of a folder outside the installation.
    void existingTraineeLogsInWithoutImages()
    {
        LoginFixture f;
        QVERIFY(QDir(f.filePath("Images")).removeRecursively());
        f.addUser("Taro", "pw\r\n", "1\r\n1\r\n0\r\n0.699999988079071\r\n");
        f.start();
        QSignalSpy loggedIn(f.login.get(), &TPasswordDlg::loggedIn);
        typeAndPressOk(*f.login, "Taro", "pw");
        QCOMPARE(loggedIn.count(), 1);
        QVERIFY(f.session->settings().referenceMode);
        QVERIFY(f.session->settings().alignmentMode);
    }

    void settingsFileBecomesLive_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: no settings file at all
        QTest::addColumn<int>("startPosition");
        QTest::addColumn<bool>("referenceMode");
        QTest::addColumn<bool>("alignmentMode");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("caption");
        QTest::newRow("new ID") << QByteArray("0\r\n0\r\n0\r\n0.699999988079071\r\n") << 10 << false
                                << false << 10 << "1.0倍";
        QTest::newRow("all on, CR LF")
            << QByteArray("1\r\n1\r\n1\r\n0.91\r\n") << 10 << true << true << 13 << "1.3倍";
        QTest::newRow("all on, bare LF")
            << QByteArray("1\n1\n1\n0.91\n") << 10 << true << true << 13 << "1.3倍";
        QTest::newRow("as the dialog writes it")
            << QByteArray("1\n1\n1\n0.91\r\n") << 10 << true << true << 13 << "1.3倍";
        QTest::newRow("blank after the 1 of line 1")
            << QByteArray("1 \r\n1\r\n0\r\n0.7\r\n") << 10 << false << true << 10 << "1.0倍";
        QTest::newRow("custom 0 ignores line 4")
            << QByteArray("0\r\n0\r\n0\r\n0.91\r\n") << 13 << false << false << 10 << "1.0倍";
        QTest::newRow("line 3 not a number")
            << QByteArray("0\r\n0\r\nx\r\n0.91\r\n") << 7 << false << false << 10 << "1.0倍";
        QTest::newRow("short file") << QByteArray("1\r\n") << 12 << true << false << 10 << "1.0倍";
        QTest::newRow("missing") << QByteArray() << 12 << false << false << 10 << "1.0倍";
    }

    void settingsFileBecomesLive()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, startPosition);
        QFETCH(bool, referenceMode);
        QFETCH(bool, alignmentMode);
        QFETCH(int, position);
        QFETCH(QString, caption);
        LoginFixture f;
        f.addUser("Taro", "pw\r\n", file);
        f.start();
        // Another login of the same ID keeps its session, whatever its settings were then.
        f.session = test::loggedInTrainee(f.paths, "Taro");
        f.session->settings().trackBarChange(startPosition);
        QSignalSpy loggedIn(f.login.get(), &TPasswordDlg::loggedIn);
        // The session's settings are complete by the time the exercise window is told.
        LiveSettings seen;
        connect(f.login.get(), &TPasswordDlg::loggedIn, [&] { seen = f.session->settings(); });

        typeAndPressOk(*f.login, "Taro", "pw");
        QCOMPARE(loggedIn.count(), 1);
        QVERIFY(!f.login->isVisible());
        QCOMPARE(seen.referenceMode, referenceMode);
        QCOMPARE(seen.alignmentMode, alignmentMode);
        QCOMPARE(seen.trackBarPosition, position);
        QCOMPARE(seen.sizeCaption(), caption);
    }

    void closingTheDialogEndsTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("キャンセル") << "button";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("close box") << "close";
    }

    void closingTheDialogEndsTheProgram()
    {
        QFETCH(QString, how);
        LoginFixture f;
        f.start();
        QSignalSpy quit(f.login.get(), &TPasswordDlg::quitRequested);
        if (how == u"button")
            f.ui().CancelBtn->click();
        else if (how == u"escape")
            QTest::keyClick(f.ui().ID, Qt::Key_Escape);
        else
            f.login->close();
        QCOMPARE(quit.count(), 1);
        QVERIFY(!f.login->isVisible());
    }
};

QTEST_MAIN(TestLoginDialog)
#include "test_login_dialog.moc"
