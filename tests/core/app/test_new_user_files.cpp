#include "FileBytes.h"
#include "core/app/AppPaths.h"
#include "core/app/LoginSettings.h"
#include "core/app/NewUserId.h"
#include "core/app/PasswordFile.h"
#include "core/app/UserList.h"
#include "core/settings/LiveSettings.h"
#include "core/settings/SettingsFile.h"
#include "core/text/Cp932Text.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace queldo;
using namespace queldo::test;

namespace {

QStringList snapshot(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        entries << QDir(root).relativeFilePath(it.filePath());
    }
    entries.sort();
    return entries;
}

enum class Layout { ResultFolder, LowerCaseResult, BothSpellings, NoResult };

} // namespace

class TestNewUserFiles : public QObject
{
    Q_OBJECT
private slots:
    void idRefusal_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("refused");
        QTest::newRow("plain") << "taro" << false;
        QTest::newRow("Japanese with a blank") << "山田 太郎" << true;
        QTest::newRow("leading blank") << " taro" << false;
        QTest::newRow("dot inside") << "ta.ro" << false;
        QTest::newRow("device name inside a longer one") << "console" << false;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("dot") << "." << true;
        QTest::newRow("dot dot") << ".." << true;
        QTest::newRow("parent path") << "../x" << true;
        QTest::newRow("slash") << "a/b" << true;
        QTest::newRow("backslash") << "a\\b" << true;
        QTest::newRow("question mark") << "con?" << true;
        QTest::newRow("angle bracket") << "a<b" << true;
        QTest::newRow("colon") << "c:x" << true;
        QTest::newRow("double quote") << "a\"b" << true;
        QTest::newRow("bar") << "a|b" << true;
        QTest::newRow("star") << "a*" << true;
        QTest::newRow("tab") << "a\tb" << true;
        QTest::newRow("line feed") << "a\nb" << true;
        QTest::newRow("trailing dot") << "taro." << true;
        QTest::newRow("trailing blank, trimmed") << "taro " << false;
        QTest::newRow("trailing ideographic space, trimmed") << "taro\u3000" << false;
        QTest::newRow("trailing dot under a blank") << "taro. " << true;
        QTest::newRow("tab at the end is not trimmed away") << "taro\t" << true;
        QTest::newRow("hidden here") << ".taro" << true;
        QTest::newRow("device name") << "CON" << true;
        QTest::newRow("device name, lower case, extension") << "nul.txt" << true;
        QTest::newRow("numbered device") << "Lpt1" << true;
        QTest::newRow("device numbered 0") << "COM0" << true;
        QTest::newRow("device numbered 0, extension") << "lpt0.txt" << true;
        QTest::newRow("device with superscript one") << "COM\u00B9" << true;
        QTest::newRow("device with superscript three") << "LPT\u00B3" << true;
        QTest::newRow("two digits are no device") << "COM10" << false;
        QTest::newRow("ideographic space alone") << "\u3000" << true;
        QTest::newRow("ideographic spaces") << "\u3000\u3000" << true;
        QTest::newRow("no-break space") << "\u00A0" << true;
        QTest::newRow("ideographic space inside") << "山田\u3000太郎" << true;
        QTest::newRow("kanji with a code page 932 only one, digits") << "髙橋07" << false;
        QTest::newRow("hiragana and a digit") << "やまだ2" << false;
        QTest::newRow("Latin and hiragana") << "Aさん" << false;
        QTest::newRow("Cyrillic alone") << "Иван" << false;
        QTest::newRow("Greek alone") << "Ωμεγα" << false;
        QTest::newRow("Cyrillic е inside a Latin word") << "k\u0435nsyu07" << true;
        QTest::newRow("Greek ο inside a Latin word") << "tar\u03BF" << true;
        QTest::newRow("Cyrillic and Greek") << "\u0418\u03A9" << true;
        QTest::newRow("full-width Latin") << "ｋｅｎｓｙｕ０７" << false;
        QTest::newRow("full-width slash is a slash") << "a／b" << true;
        QTest::newRow("full-width dots are dots") << "．．" << true;
        QTest::newRow("emoji") << "taro\U0001F600" << true;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "a" << true;
        QTest::newRow("unassigned") << "a\u0378" << true;
        QTest::newRow("right-to-left override") << "\u202Eorat" << true;
        QTest::newRow("private use, though code page 932 has it") << "a\uE000" << true;
        QTest::newRow("comes back as another character") << "a\u00AC" << true;
        QTest::newRow("half-width kana") << "ﾀﾛｳ" << false;
        QTest::newRow("80 bytes") << QString(80, 'a') << false;
        QTest::newRow("81 bytes") << QString(81, 'a') << true;
        QTest::newRow("40 full-width") << QString(40, u'字') << false;
        QTest::newRow("41 full-width") << QString(41, u'字') << true;
        QTest::newRow("300 characters") << QString(300, 'a') << true;
    }

    void idRefusal()
    {
        QFETCH(QString, id);
        QFETCH(bool, refused);
        QCOMPARE(!queldo::idRefusal(id).isEmpty(), refused);
    }

    void newUserGetsItsThreeFiles_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("folderOnDisk");
        QTest::newRow("Result") << int(Layout::ResultFolder) << "Result";
        QTest::newRow("result in lower case is the same folder")
            << int(Layout::LowerCaseResult) << "result";
        QTest::newRow("missing Result is made") << int(Layout::NoResult) << "Result";
        QTest::newRow("Result and result both present: one of them, by every path form")
            << int(Layout::BothSpellings) << "Result";
    }

    void newUserGetsItsThreeFiles()
    {
        QFETCH(int, layout);
        QFETCH(QString, folderOnDisk);
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath("Images");
        if (Layout(layout) == Layout::ResultFolder)
            root.mkpath("Result");
        else if (Layout(layout) == Layout::LowerCaseResult)
            root.mkpath("result");
        if (Layout(layout) == Layout::BothSpellings) {
            root.mkpath("Result");
            root.mkpath("result");
        }
        AppPaths paths(dir.path(), dir.path());
        paths.enterImagesFolder();

        const CreateUserResult result = createUser(paths, "山田", "Sakura");
        QVERIFY2(result.created, qPrintable(result.error));
        QStringList expected{"Images",
                             folderOnDisk,
                             folderOnDisk + "/山田",
                             folderOnDisk + "/山田/山田.kek",
                             folderOnDisk + "/山田/山田.pas",
                             folderOnDisk + "/山田/山田.set"};
        if (Layout(layout) == Layout::BothSpellings)
            expected.append("result");
        expected.sort();
        QCOMPARE(snapshot(dir.path()), expected);
        for (const char *extension : {".kek", ".pas", ".set"})
            QCOMPARE(QFileInfo(paths.relativeUserFile("山田", extension)).canonicalFilePath(),
                     QFileInfo(paths.programUserFile("山田", extension)).canonicalFilePath());

        const QString stem = root.filePath(folderOnDisk + "/山田/山田");
        const QByteArray header = *encodeCp932(
            " 試行No,日時,データファイル,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,"
            "22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,解答時間");
        QCOMPARE(fileBytes(stem + ".kek"), header + "\r\n");
        QCOMPARE(fileBytes(stem + ".set"), QByteArray("0\r\n0\r\n0\r\n0.699999988079071\r\n"));

        const QByteArray pas = fileBytes(stem + ".pas");
        QVERIFY(pas.endsWith("\r\n"));
        QCOMPARE(pas.count('\n'), 1);
        QVERIFY(!pas.contains("Sakura"));
        const QString line = QString::fromLatin1(pas.chopped(2));
        QVERIFY(passwordMatches(line, "Sakura"));
        QVERIFY(!passwordMatches(line, "sakura"));
    }

    void newIdIsStoredInItsTidyForm_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("full-width letters and digits") << "ｋｅｎｓｙｕ０７"
                                                       << "kensyu07";
        QTest::newRow("letter case kept") << "Taro"
                                          << "Taro";
        QTest::newRow("blanks of both widths around it") << " \u3000taro\u3000 "
                                                         << "taro";
        QTest::newRow("half-width kana with sound marks") << "ﾔﾏﾀﾞﾊﾟﾊﾟ"
                                                          << "ヤマダパパ";
        QTest::newRow("kanji only code page 932 has") << "髙橋07"
                                                      << "髙橋07";
    }
    void newIdIsStoredInItsTidyForm()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QTemporaryDir dir;
        AppPaths paths(dir.path(), dir.path());
        const CreateUserResult result = createUser(paths, typed, "pw");
        QVERIFY2(result.created, qPrintable(result.error));
        QCOMPARE(result.id, stored);
        QCOMPARE(UserList::read(paths.programResultFolder()).ids(), QStringList{stored});
        QVERIFY(QFileInfo::exists(paths.programUserFile(stored, ".pas")));
        // Typed again in any of its forms, it is the same ID, and nothing more is made.
        const CreateUserResult again = createUser(paths, typed, "pw");
        QVERIFY(!again.created);
        QVERIFY(again.idTaken);
        QCOMPARE(UserList::read(paths.programResultFolder()).ids(), QStringList{stored});
    }

    void nothingIsLeftOfARefusedUser_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("withResult");
        QTest::addColumn<QString>("obstacle"); // an entry in the program folder, "" for none
        QTest::addColumn<bool>("taken");       // another ID is the way out
        QTest::newRow("folder differing in letter case")
            << "taro" << true << "Result/Taro/" << true;
        QTest::newRow("plain file of that name") << "taro" << true << "Result/TARO" << true;
        QTest::newRow("full-width form of a folder")
            << "ｔａｒｏ" << true << "Result/Taro/" << true;
        QTest::newRow("half-width kana folder of an older installation")
            << "タロウ" << true << "Result/ﾀﾛｳ/" << true;
        QTest::newRow("katakana drawn like the kanji of a folder")
            << "カ丸" << true << "Result/力丸/" << true;
        QTest::newRow("Result is a plain file") << "taro" << false << "Result" << false;
        QTest::newRow("unsafe name") << "../Images" << true << "" << false;
        QTest::newRow("file names too long, Result existing")
            << QString(253, 'a') << true << "" << false;
        QTest::newRow("file names too long, Result made for it")
            << QString(253, 'a') << false << "" << false;
    }

    void nothingIsLeftOfARefusedUser()
    {
        QFETCH(QString, id);
        QFETCH(bool, withResult);
        QFETCH(QString, obstacle);
        QFETCH(bool, taken);
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath("Images");
        if (withResult)
            root.mkpath("Result");
        if (obstacle.endsWith('/')) {
            root.mkpath(obstacle);
            QFile keep(root.filePath(obstacle + "keep.kek"));
            QVERIFY(keep.open(QIODevice::WriteOnly));
            keep.write("old grades");
        } else if (!obstacle.isEmpty()) {
            QFile plain(root.filePath(obstacle));
            QVERIFY(plain.open(QIODevice::WriteOnly));
        }
        const QStringList before = snapshot(dir.path());
        AppPaths paths(dir.path(), dir.path());
        paths.enterImagesFolder();

        const CreateUserResult result = createUser(paths, id, "pw");
        QVERIFY(!result.created);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(result.idTaken, taken);
        if (taken) // named, so that the trainee knows which ID is there already
            QVERIFY2(result.error.contains("「" + obstacle.section('/', 1, 1) + "」"),
                     qPrintable(result.error));
        QCOMPARE(snapshot(dir.path()), before);
        if (obstacle.endsWith('/'))
            QCOMPARE(fileBytes(root.filePath(obstacle + "keep.kek")), QByteArray("old grades"));
    }

    // The longest IDs accepted must fit every file of their folder, the names of the atomic
    // writes' temporary files included: half-width kana take three bytes each on disk.
    void longestIdsLiveOnDisk_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("half-width kana, stored full-width") << QString(40, u'ｱ');
        QTest::newRow("full-width") << QString(40, u'漢');
        QTest::newRow("ASCII") << QString(80, 'a');
    }
    void longestIdsLiveOnDisk()
    {
        QFETCH(QString, typed);
        QVERIFY(queldo::idRefusal(typed).isEmpty());
        QTemporaryDir dir;
        AppPaths paths(dir.path(), dir.path());
        const CreateUserResult result = createUser(paths, typed, "pw");
        QVERIFY2(result.created, qPrintable(result.error));
        const QString id = result.id;
        // Every later save goes through a temporary file of a longer name.
        for (const QString extension : {".kek", ".pas", ".set"}) {
            QVERIFY(writeFileAtomically(paths.programUserFile(id, extension), "x\r\n").isEmpty());
            QVERIFY(QFileInfo::exists(paths.programUserFile(id, extension)));
        }
        QCOMPARE(UserList::read(paths.programResultFolder()).ids(), QStringList{id});
    }

    // An installation so deep that the user folder can just be made but not the files in it:
    // the folder must go again, or the ID would be blocked without being usable.
    void failedFilesTakeTheirFolderWithThem()
    {
        QTemporaryDir dir;
        const QString id = QString(80, 'i');
        QString program = dir.path();
        const int folderLength = 4060; // under the 4096 of a path, but not with a file name added
        while (program.size() + 8 + id.size() + 200 < folderLength)
            program += QLatin1Char('/') + QString(190, 'd');
        program +=
            QLatin1Char('/') + QString(folderLength - program.size() - 8 - id.size() - 1, 'p');
        QVERIFY(QDir().mkpath(program));
        QCOMPARE(QDir(program).filePath("Result/" + id).size(), folderLength);
        AppPaths paths(program, program);

        const CreateUserResult result = createUser(paths, id, "pw");
        QVERIFY(!result.created);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(snapshot(program), QStringList{});
    }

    void storedSettingsBecomeLive_data()
    {
        QTest::addColumn<int>("customScale");
        QTest::addColumn<float>("stored");
        QTest::addColumn<int>("startPosition");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("liveCustomScale");
        QTest::addColumn<float>("liveScale");
        const float base = 0.7f;
        const float at13 = float(13.0 * double(base) * 0.1);
        QTest::newRow("custom 0 from 13: back to the middle, fit scale")
            << 0 << 0.91f << 13 << 10 << 0 << base;
        QTest::newRow("custom 0 already in the middle: the stored factor stays")
            << 0 << 0.91f << 10 << 10 << 0 << 0.91f;
        QTest::newRow("custom 1 with 0.7 x 1.3: the top") << 1 << 0.91f << 10 << 13 << 1 << at13;
        QTest::newRow("custom 1 with 0.7 x 0.7 lands one above the bottom")
            << 1 << 0.49f << 10 << 8 << 1 << float(8.0 * double(base) * 0.1);
        QTest::newRow("custom 1, large factor: clamped to the top")
            << 1 << 20.0f << 10 << 13 << 1 << at13;
        QTest::newRow("custom 1, absurd factor: the new-ID values")
            << 1 << 1e30f << 13 << 10 << 0 << base;
        QTest::newRow("custom 1, tiny factor: clamped to the bottom")
            << 1 << 1e-30f << 10 << 7 << 1 << float(7.0 * double(base) * 0.1);
        QTest::newRow("custom 1, NaN: the new-ID values")
            << 1 << std::numeric_limits<float>::quiet_NaN() << 13 << 10 << 0 << base;
        QTest::newRow("custom 1, negative: the new-ID values")
            << 1 << -2.0f << 10 << 10 << 0 << 0.7f;
        QTest::newRow("custom 5 counts as 0") << 5 << 0.91f << 12 << 10 << 0 << base;
    }

    void storedSettingsBecomeLive()
    {
        QFETCH(int, customScale);
        QFETCH(float, stored);
        QFETCH(int, startPosition);
        QFETCH(int, position);
        QFETCH(int, liveCustomScale);
        QFETCH(float, liveScale);
        LiveSettings live;
        live.trackBarChange(startPosition);
        StoredSettings settings;
        settings.referenceMode = true;
        settings.CustomScale = customScale;
        settings.EffectiveScale = stored;

        applyStoredSettings(live, settings);
        QVERIFY(live.referenceMode);
        QVERIFY(!live.alignmentMode);
        QCOMPARE(live.trackBarPosition, position);
        QCOMPARE(live.CustomScale, liveCustomScale);
        QCOMPARE(live.EffectiveScale, liveScale);
        if (position == LiveSettings::MiddlePosition)
            QCOMPARE(live.sizeCaption(), QStringLiteral("1.0倍"));
    }

    void storedPositionWinsOverTheEstimate()
    {
        // Saved at 1.2 on a problem whose fit scale was 0.55: the factor alone would say 10.
        StoredSettings stored;
        stored.CustomScale = 1;
        stored.EffectiveScale = float(12 * double(0.55f) * 0.1);
        LiveSettings withoutPosition;
        applyStoredSettings(withoutPosition, stored);
        QCOMPARE(withoutPosition.trackBarPosition, 10);

        stored.trackBarPosition = 12;
        LiveSettings live;
        applyStoredSettings(live, stored);
        QCOMPARE(live.trackBarPosition, 12);
        QCOMPARE(live.CustomScale, 1);
        QCOMPARE(live.sizeCaption(), QStringLiteral("1.2倍"));

        stored.CustomScale = 0; // the flag decides: the middle size whatever line 5 says
        LiveSettings middle;
        applyStoredSettings(middle, stored);
        QCOMPARE(middle.trackBarPosition, 10);
    }

    void unusableFitScaleStillGivesATrackBarPosition()
    {
        LiveSettings live;
        live.BaseScale = 0.0f;
        StoredSettings settings;
        settings.CustomScale = 1;
        settings.EffectiveScale = 0.91f;
        applyStoredSettings(live, settings);
        QVERIFY(live.trackBarPosition >= LiveSettings::MinimumPosition);
        QVERIFY(live.trackBarPosition <= LiveSettings::MaximumPosition);
    }
};

QTEST_GUILESS_MAIN(TestNewUserFiles)
#include "test_new_user_files.moc"
