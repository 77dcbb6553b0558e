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
        QTest::newRow("ID in another letter case") << hashed << "taro"
                                                   << "pw" << int(LoginResult::UnknownId);
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
        if (decision.result == LoginResult::Accepted)
            QVERIFY(decision.settings.referenceMode);
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
