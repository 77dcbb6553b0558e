#include "core/app/AppPaths.h"
#include "core/app/Login.h"
#include "core/app/PasswordFile.h"
#include "core/app/UserList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;

namespace {

/// A program folder with Images and the user "Taro" (password "pw", reference mode on).
struct Folder
{
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};
    UserList users;

    Folder(const QByteArray &passwordFile)
    {
        QDir root(dir.path());
        root.mkpath("Images");
        root.mkpath("Result/Taro");
        if (!passwordFile.isNull())
            write("Result/Taro/Taro.pas", passwordFile);
        write("Result/Taro/Taro.set", "1\r\n0\r\n0\r\n0.699999988079071\r\n");
        users = UserList::read(paths.startResultFolder());
        paths.enterImagesFolder();
    }
    void write(const QString &relative, const QByteArray &bytes) const
    {
        QFile file(dir.filePath(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void loginDecision_data()
    {
        QTest::addColumn<QByteArray>("passwordFile"); // null: none at all
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("result");
        const QByteArray hashed = hashPassword("pw").toLatin1() + "\r\n";
        QTest::newRow("accepted, hashed") << hashed << "Taro"
                                          << "pw" << int(LoginResult::Accepted);
        QTest::newRow("accepted, plain text of an older installation")
            << QByteArray("pw\r\n") << "Taro"
            << "pw" << int(LoginResult::Accepted);
        QTest::newRow("wrong password") << hashed << "Taro"
                                        << "PW" << int(LoginResult::WrongPassword);
        QTest::newRow("ID in another letter case finds its trainee")
            << hashed << "taro"
            << "pw" << int(LoginResult::Accepted);
        QTest::newRow("unknown ID") << hashed << "Hanako"
                                    << "pw" << int(LoginResult::UnknownId);
        QTest::newRow("no password file") << QByteArray() << "Taro"
                                          << "pw" << int(LoginResult::PasswordFileUnreadable);
        QTest::newRow("empty password file, empty password")
            << QByteArray("") << "Taro"
            << "" << int(LoginResult::PasswordFileUnreadable);
    }
    void loginDecision()
    {
        QFETCH(QByteArray, passwordFile);
        QFETCH(QString, id);
        QFETCH(QString, password);
        QFETCH(int, result);
        Folder folder(passwordFile);
        const LoginDecision decision = decideLogin(folder.users, folder.paths, id, password);
        QCOMPARE(int(decision.result), result);
        if (decision.result == LoginResult::Accepted) {
            QVERIFY(decision.settings.referenceMode);
            QCOMPARE(decision.id, QStringLiteral("Taro"));
        }
    }

    // IDs a trainee cannot tell apart in a list: one of them typed, whichever form, stands for
    // the one listed, at login and when an ID is created. Different IDs stay different.
    void lookAlikesStandForTheListedId_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("listed"); // "" for none
        QTest::newRow("full-width") << "ｋｅｎｓｙｕ０７"
                                    << "kensyu07";
        QTest::newRow("upper case") << "KENSYU07"
                                    << "kensyu07";
        QTest::newRow("leading blank") << " kensyu07"
                                       << "kensyu07";
        QTest::newRow("trailing ideographic space") << "kensyu07\u3000"
                                                    << "kensyu07";
        QTest::newRow("Cyrillic е") << "k\u0435nsyu07"
                                    << "kensyu07";
        QTest::newRow("Cyrillic а") << "t\u0430n\u0430k\u0430"
                                    << "tanaka";
        QTest::newRow("Cyrillic о") << "sat\u043E"
                                    << "sato";
        QTest::newRow("Greek capitals") << "\u039A\u0395NSYU07"
                                        << "kensyu07";
        QTest::newRow("full-width kana of a half-width kana folder") << "タロウ"
                                                                     << "ﾀﾛｳ";
        QTest::newRow("half-width kana folder as listed") << "ﾀﾛｳ"
                                                          << "ﾀﾛｳ";
        QTest::newRow("kanji only code page 932 has, as listed") << "髙橋"
                                                                 << "髙橋";
        QTest::newRow("its common form is another name") << "高橋"
                                                         << "";
        QTest::newRow("kensyu08 is another trainee") << "kensyu08"
                                                     << "";
        QTest::newRow("hiragana is not katakana") << "たろう"
                                                  << "";
    }
    void lookAlikesStandForTheListedId()
    {
        QFETCH(QString, typed);
        QFETCH(QString, listed);
        Folder folder("pw\r\n");
        // Each with a password of its own, so that logging in shows whose files were read.
        const QStringList ids = {"kensyu07", "tanaka", "sato", "ﾀﾛｳ", "髙橋"};
        const auto passwordOf = [&](const QString &id) {
            return "pw" + QString::number(ids.indexOf(id));
        };
        for (const QString &id : ids) {
            QDir(folder.dir.path()).mkpath("Result/" + id);
            folder.write("Result/" + id + "/" + id + ".pas", passwordOf(id).toLatin1() + "\r\n");
        }
        folder.users = UserList::read(folder.dir.filePath("Result"));

        const NewIdDecision created = checkNewId(folder.users, typed, "a", "a");
        const LoginDecision login =
            decideLogin(folder.users, folder.paths, typed, passwordOf(listed));
        if (listed.isEmpty()) {
            QCOMPARE(int(created.result), int(NewIdResult::Acceptable));
            QCOMPARE(int(login.result), int(LoginResult::UnknownId));
            return;
        }
        if (typed == listed) {
            QCOMPARE(int(created.result), int(NewIdResult::IdInUse));
        } else {
            QCOMPARE(int(created.result), int(NewIdResult::IdRefused));
            QVERIFY2(created.refusal.contains("「" + listed + "」"), qPrintable(created.refusal));
        }
        QCOMPARE(int(login.result), int(LoginResult::Accepted));
        QCOMPARE(login.id, listed);
    }

    // Folders made before IDs were compared this way may differ only in case: each still logs
    // in as typed, and a third form is not guessed at.
    void olderLookAlikeFoldersKeepWorking()
    {
        Folder folder("pw\r\n");
        QDir(folder.dir.path()).mkpath("Result/taro");
        folder.write("Result/taro/taro.pas", "pw2\r\n");
        folder.users = UserList::read(folder.dir.filePath("Result"));
        QCOMPARE(decideLogin(folder.users, folder.paths, "Taro", "pw").id, QStringLiteral("Taro"));
        QCOMPARE(decideLogin(folder.users, folder.paths, "taro", "pw2").id, QStringLiteral("taro"));
        const LoginDecision third = decideLogin(folder.users, folder.paths, "TARO", "pw");
        QCOMPARE(int(third.result), int(LoginResult::LookAlikeIds));
        QCOMPARE(third.lookAlikes.size(), 2);
    }

    void newIdChecksComeInOrder_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("again");
        QTest::addColumn<int>("result");
        QTest::newRow("acceptable") << "Hanako"
                                    << "a"
                                    << "a" << int(NewIdResult::Acceptable);
        QTest::newRow("taken, passwords differ too") << "Taro"
                                                     << "a"
                                                     << "b" << int(NewIdResult::IdInUse);
        QTest::newRow("not a folder name, passwords differ too")
            << ".."
            << "a"
            << "b" << int(NewIdResult::IdRefused);
        QTest::newRow("passwords differ") << "Hanako"
                                          << "a"
                                          << "A" << int(NewIdResult::PasswordsDiffer);
        QTest::newRow("both empty") << "Hanako"
                                    << ""
                                    << "" << int(NewIdResult::PasswordsDiffer);
    }
    void newIdChecksComeInOrder()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        QFETCH(QString, again);
        QFETCH(int, result);
        Folder folder("pw\r\n");
        const NewIdDecision decision = checkNewId(folder.users, id, password, again);
        QCOMPARE(int(decision.result), result);
        QCOMPARE(decision.refusal.isEmpty(), decision.result != NewIdResult::IdRefused);
    }
};

QTEST_GUILESS_MAIN(TestLogin)
#include "test_login.moc"
