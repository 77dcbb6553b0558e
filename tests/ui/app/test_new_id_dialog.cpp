#include "LoginFixture.h"

#include "core/app/PasswordFile.h"
#include "ui/app/IdNotCreatedMessage.h"

#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

void typeNewId(TNewID &dialog, const QString &id, const QString &password, const QString &again)
{
    const NewIdControls ui(dialog);
    ui.ID->setText(id);
    ui.Password->setText(password);
    ui.rePassword->setText(again);
}

int screenWidth()
{
    return QGuiApplication::primaryScreen()->availableGeometry().width();
}

} // namespace

class TestNewIdDialog : public QObject
{
    Q_OBJECT
private slots:
    void windowsShowTheirTexts()
    {
        LoginFixture f;
        f.start();
        QCOMPARE(f.question->windowTitle(), QStringLiteral("新しいIDを作成"));
        QCOMPARE(f.question->size(), QSize(372, 104));
        QCOMPARE(f.questionUi().Label1->text(), QStringLiteral("新しいIDを作成しますか？"));
        QCOMPARE(f.questionUi().Label1->font().pixelSize(), 32);
        QCOMPARE(f.questionUi().OKBtn->text(), QStringLiteral("はい"));
        QVERIFY(f.questionUi().OKBtn->isDefault());
        QCOMPARE(f.questionUi().CancelBtn->text(), QStringLiteral("いいえ"));

        QCOMPARE(f.newId->windowTitle(), QStringLiteral("新規ID作成"));
        QCOMPARE(f.newId->size(), QSize(238, 224));
        QCOMPARE(f.newIdUi().Label2->text(), QStringLiteral("新規ID入力"));
        QCOMPARE(f.newIdUi().Label1->text(), QStringLiteral("新規パスワードの入力 :"));
        QCOMPARE(f.newIdUi().Label3->text(), QStringLiteral("確認のため新規パスワードの再入力 :"));
        QCOMPARE(f.newIdUi().Password->echoMode(), QLineEdit::Password);
        QCOMPARE(f.newIdUi().Password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                          nullptr, f.newIdUi().Password),
                 int('*'));
        QCOMPARE(f.newIdUi().rePassword->echoMode(), QLineEdit::Password);
        QCOMPARE(f.newIdUi().rePassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                            nullptr, f.newIdUi().rePassword),
                 int('*'));
        QCOMPARE(f.newIdUi().OKBtn->text(), QStringLiteral("ＩＤ作成"));
        QVERIFY(f.newIdUi().OKBtn->isDefault());
        QCOMPARE(f.newIdUi().CancelBtn->text(), QStringLiteral("ＩＤ作成をやめる"));
    }

    void newIdCanLogInAtOnce()
    {
        // No Result folder yet: the first ID of an installation makes it.
        LoginFixture f(false);
        f.start();
        f.login->Button1Click();
        QVERIFY(f.newId->isVisible());
        QVERIFY(!f.login->isVisible());
        QCOMPARE(f.newId->focusWidget(), f.newIdUi().ID);

        typeNewId(*f.newId, "Hanako", "Sakura", "Sakura");
        {
            bool loginReady = false;
            ModalAnswer done([&](QWidget *modal) {
                loginReady = f.login->isVisible() && !f.newId->isVisible();
                ModalAnswer::click("Button1")(modal);
            });
            f.newIdUi().OKBtn->click();
            QCOMPARE(done.className, QStringLiteral("queldo::TNewIDComplete"));
            QCOMPARE(done.title, QStringLiteral("新規ID作成完了しました。"));
            QCOMPARE(done.lines, QStringList{"新規ID作成完了しました。"});
            QVERIFY(loginReady);
        }
        QCOMPARE(f.ui().ID->text(), QStringLiteral("Hanako"));
        QCOMPARE(f.login->focusWidget(), f.ui().Password);
        QVERIFY(f.users.ids().contains("Hanako"));
        QCOMPARE(f.read("Result/Hanako/Hanako.set"),
                 QByteArray("0\r\n0\r\n0\r\n0.699999988079071\r\n"));
        const QByteArray pas = f.read("Result/Hanako/Hanako.pas");
        QVERIFY(passwordMatches(QString::fromLatin1(pas.chopped(2)), "Sakura"));
        QVERIFY(f.read("Result/Hanako/Hanako.kek").startsWith(" "));

        // Taken now, without a restart: refused before the (differing) passwords are looked at.
        f.login->Button1Click();
        QCOMPARE(f.newIdUi().ID->text(), QStringLiteral("Hanako"));
        QCOMPARE(f.newId->focusWidget(), f.newIdUi().Password);
        QCOMPARE(f.ui().ID->text(), QString());
        f.newIdUi().Password->setText("one");
        f.newIdUi().rePassword->setText("two");
        const QStringList before = f.snapshot();
        {
            ModalAnswer taken(ModalAnswer::click("Button1"));
            f.newIdUi().OKBtn->click();
            QCOMPARE(taken.className, QStringLiteral("queldo::TForm9"));
            QCOMPARE(taken.title, QStringLiteral("再入力：ID"));
            QCOMPARE(taken.lines, (QStringList{"既に使われています。", "違うIDにしてください。"}));
        }
        QCOMPARE(f.newIdUi().ID->text(), QString());
        QCOMPARE(f.newIdUi().Password->text(), QString());
        QCOMPARE(f.newIdUi().rePassword->text(), QString());
        QCOMPARE(f.newId->focusWidget(), f.newIdUi().ID);
        QVERIFY(f.newId->isVisible());
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(f.users.ids().count("Hanako"), 1);

        f.newIdUi().CancelBtn->click();
        QSignalSpy loggedIn(f.login.get(), &TPasswordDlg::loggedIn);
        f.ui().ID->setText("Hanako");
        f.ui().Password->setText("Sakura");
        f.ui().OKBtn->click();
        QCOMPARE(loggedIn.count(), 1);
        QVERIFY(!f.session->settings().referenceMode);
        QVERIFY(!f.session->settings().alignmentMode);
        QCOMPARE(f.session->settings().trackBarPosition, 10);
        QCOMPARE(f.session->settings().sizeCaption(), QStringLiteral("1.0倍"));
    }

    void passwordsMustAgree_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("again");
        QTest::newRow("differ in letter case") << "Sakura"
                                               << "sakura";
        QTest::newRow("both empty") << ""
                                    << "";
        QTest::newRow("second empty") << "Sakura"
                                      << "";
        QTest::newRow("first empty") << ""
                                     << "Sakura";
    }

    void enterLogsInAfterTheIdButtonHadTheFocus()
    {
        // A mouse click on ID作成 leaves it the login dialog's focus widget; showing the dialog
        // again must not turn it into the button Enter presses.
        LoginFixture f;
        f.start();
        QVERIFY(QTest::qWaitForWindowActive(f.login.get()));
        f.ui().ID->setText("Hanako");
        f.ui().Button1->setFocus(Qt::MouseFocusReason);
        f.ui().Button1->click();
        f.newIdUi().Password->setText("Sakura");
        f.newIdUi().rePassword->setText("Sakura");
        {
            ModalAnswer done(ModalAnswer::click("Button1"));
            f.newIdUi().OKBtn->click();
        }
        QVERIFY(f.ui().OKBtn->isDefault());
        QVERIFY(!f.ui().Button1->isDefault());

        QSignalSpy loggedIn(f.login.get(), &TPasswordDlg::loggedIn);
        f.ui().Password->setText("Sakura");
        QTest::keyClick(f.ui().Password, Qt::Key_Return);
        QCOMPARE(loggedIn.size(), 1);
        QVERIFY(!f.newId->isVisible());
    }

    void passwordsMustAgree()
    {
        QFETCH(QString, password);
        QFETCH(QString, again);
        LoginFixture f;
        f.start();
        f.login->Button1Click();
        typeNewId(*f.newId, "Hanako", password, again);
        const QStringList before = f.snapshot();
        {
            ModalAnswer mismatch(ModalAnswer::click("Button1"));
            f.newIdUi().OKBtn->click();
            QCOMPARE(mismatch.className, QStringLiteral("queldo::TForm11"));
            QCOMPARE(mismatch.title, QStringLiteral("再入力：パスワード"));
            QCOMPARE(mismatch.lines,
                     (QStringList{"２つのパスワードが異なっているか、",
                                  "パスワードが設定されていません。", "再入力してください。"}));
        }
        QCOMPARE(f.newIdUi().ID->text(), QStringLiteral("Hanako"));
        QCOMPARE(f.newIdUi().Password->text(), QString());
        QCOMPARE(f.newIdUi().rePassword->text(), QString());
        QCOMPARE(f.newId->focusWidget(), f.newIdUi().Password);
        QVERIFY(f.newId->isVisible());
        QCOMPARE(f.snapshot(), before);
        QVERIFY(!f.users.ids().contains("Hanako"));
    }

    void idThatCannotBeAFolderIsRefused_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("parent path") << "../x";
        QTest::newRow("slash") << "a/b";
        QTest::newRow("question mark") << "con?";
        QTest::newRow("dot") << ".";
        QTest::newRow("empty") << "";
        QTest::newRow("device numbered 0") << "COM0";
        QTest::newRow("ideographic space") << "\u3000";
        QTest::newRow("emoji") << "\U0001F600";
        // Its folder could be made but not the temporary files of its saves.
        QTest::newRow("too long for its files") << QString(247, 'a');
        QTest::newRow("300 characters") << QString(300, u'あ');
    }

    void idThatCannotBeAFolderIsRefused()
    {
        QFETCH(QString, id);
        LoginFixture f;
        f.start();
        const QStringList users = f.users.ids();
        f.login->Button1Click();
        typeNewId(*f.newId, id, "pw", "pw");
        const QStringList before = f.snapshot();
        {
            ModalAnswer refused(ModalAnswer::click("Button1"));
            f.newIdUi().OKBtn->click();
            QCOMPARE(refused.className, QStringLiteral("queldo::BadIdMessage"));
            QCOMPARE(refused.title, QStringLiteral("再入力：ID"));
            QVERIFY(refused.lines.size() >= 2);
            QVERIFY(refused.size.width() <= screenWidth());
        }
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(f.users.ids(), users);
        QVERIFY(f.newId->isVisible());
        QVERIFY(!f.login->isVisible());
        QCOMPARE(f.newId->focusWidget(), f.newIdUi().ID);
    }

    // Typed in another form, a listed ID is named, so that the trainee knows it is theirs.
    void lookAlikeOfAListedIdIsNamed_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("full-width") << "ｋｅｎｓｙｕ０７";
        QTest::newRow("trailing ideographic space") << "kensyu07\u3000";
        QTest::newRow("Cyrillic е") << "k\u0435nsyu07";
    }
    void lookAlikeOfAListedIdIsNamed()
    {
        QFETCH(QString, id);
        LoginFixture f;
        f.addUser("kensyu07", "pw\r\n");
        f.start();
        f.login->Button1Click();
        typeNewId(*f.newId, id, "pw", "pw");
        const QStringList before = f.snapshot();
        {
            ModalAnswer refused(ModalAnswer::click("Button1"));
            f.newIdUi().OKBtn->click();
            QCOMPARE(refused.className, QStringLiteral("queldo::BadIdMessage"));
            QCOMPARE(refused.lines, (QStringList{"「kensyu07」というIDが既にあります。",
                                                 "見分けのつかないIDは作れません。",
                                                 "IDを入力し直してください。"}));
        }
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(f.users.ids(), QStringList{"kensyu07"});
        QCOMPARE(f.newId->focusWidget(), f.newIdUi().ID);
    }

    void folderThatCannotBeMadeIsReported_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("resultIsAFile");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("firstLine");
        // A folder that is there already, made by another program on the same folder since the
        // start, asks for another ID, as the other ID messages do.
        QTest::newRow("folder differing in letter case")
            << "taro" << false << "queldo::BadIdMessage"
            << "「Taro」というIDが既にあります。";
        QTest::newRow("folder of a full-width look-alike")
            << "ｔａｒｏ" << false << "queldo::BadIdMessage"
            << "「Taro」というIDが既にあります。";
        QTest::newRow("folder of that very name") << "Taro" << false << "queldo::BadIdMessage"
                                                  << "「Taro」という名前のフォルダが既にあります。";
        QTest::newRow("Result is a plain file") << "taro" << true << "queldo::IdNotCreatedMessage"
                                                << "IDを作成できませんでした。";
    }

    void folderThatCannotBeMadeIsReported()
    {
        QFETCH(QString, id);
        QFETCH(bool, resultIsAFile);
        QFETCH(QString, message);
        QFETCH(QString, firstLine);
        LoginFixture f(!resultIsAFile);
        if (resultIsAFile)
            f.write("Result", "not a folder");
        f.start();
        if (!resultIsAFile)
            f.addUser("Taro", "pw\r\n");
        const QStringList users = f.users.ids();
        f.login->Button1Click();
        typeNewId(*f.newId, id, "pw", "pw");
        const QStringList before = f.snapshot();
        {
            ModalAnswer failed(ModalAnswer::click("Button1"));
            f.newIdUi().OKBtn->click();
            QCOMPARE(failed.className, message);
            QCOMPARE(failed.lines.value(0), firstLine);
        }
        // Closing the failure message brings no completion message after it.
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(f.users.ids(), users);
        QVERIFY(f.newId->isVisible());
        QVERIFY(!f.login->isVisible());
    }

    // A reason may quote a path of any length, without a blank to break at: the window must
    // still fit on the screen, the text kept whole.
    void longReasonsAreWrapped()
    {
        LoginFixture f;
        f.start();
        const QString path = "/" + QString(300, 'x') + "/Result/" + QString(80, u'字');
        const QString reason = QStringLiteral("フォルダ %1 を作成できません。").arg(path);
        ModalAnswer shown(ModalAnswer::click("Button1"));
        IdNotCreatedMessage message(f.newId);
        message.setReason(reason);
        message.exec();
        QCOMPARE(shown.lines, (QStringList{"IDを作成できませんでした。", reason}));
        QVERIFY2(shown.size.width() <= screenWidth(),
                 qPrintable(QString::number(shown.size.width())));
        const QStringList shownTexts = [&] {
            QStringList texts;
            for (const QLabel *label : message.findChildren<QLabel *>())
                texts << label->text().remove('\n');
            return texts;
        }();
        QVERIFY(shownTexts.contains(reason));
    }

    void everyWayOutLeadsBackToTheLogin()
    {
        LoginFixture f;
        f.start();
        f.ui().ID->setText("abc");
        f.ui().Password->setText("typed");
        f.login->Button1Click();
        QCOMPARE(f.newIdUi().ID->text(), QStringLiteral("abc"));
        QCOMPARE(f.ui().ID->text(), QString());

        // Abandoning empties both dialogs.
        typeNewId(*f.newId, "abc", "x", "x");
        f.newIdUi().CancelBtn->click();
        QVERIFY(!f.newId->isVisible());
        QVERIFY(f.login->isVisible());
        QCOMPARE(f.ui().ID->text(), QString());
        QCOMPARE(f.ui().Password->text(), QString());
        QCOMPARE(f.login->focusWidget(), f.ui().ID);
        QCOMPARE(f.newIdUi().ID->text(), QString());
        QCOMPARE(f.newIdUi().Password->text(), QString());

        // Esc is the same as abandoning.
        f.login->Button1Click();
        typeNewId(*f.newId, "abc", "x", "x");
        QTest::keyClick(f.newIdUi().ID, Qt::Key_Escape);
        QVERIFY(!f.newId->isVisible());
        QVERIFY(f.login->isVisible());
        QCOMPARE(f.newIdUi().ID->text(), QString());

        // The close box only goes back; what was typed stays for next time.
        f.login->Button1Click();
        typeNewId(*f.newId, "abc", "x", "x");
        f.newId->close();
        QVERIFY(f.login->isVisible());
        QCOMPARE(f.newIdUi().ID->text(), QStringLiteral("abc"));

        // "はい" shows the dialog as it was left.
        ModalAnswer yes(ModalAnswer::click("OKBtn"));
        f.ui().ID->setText("unknown");
        f.ui().OKBtn->click();
        QVERIFY(f.newId->isVisible());
        QCOMPARE(f.newIdUi().ID->text(), QStringLiteral("abc"));
    }
};

QTEST_MAIN(TestNewIdDialog)
#include "test_new_id_dialog.moc"
