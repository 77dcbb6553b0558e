#include "core/app/NewUserId.h"

#include "core/app/AppPaths.h"
#include "core/app/PasswordFile.h"
#include "core/app/UserFiles.h"
#include "core/app/UserIdForm.h"
#include "core/results/ResultsFile.h"
#include "core/settings/SettingsFile.h"
#include "core/text/Cp932Text.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace queldo {

namespace {

// Characters a Windows folder name cannot hold; '/' and '\' would also leave the Result folder.
const QString ForbiddenCharacters = QStringLiteral("<>:\"/\\|?*");

// Windows opens a device rather than a folder for these stems, whatever follows the first dot;
// current Windows also reserves the zero and the superscript digits.
bool isReservedDeviceName(const QString &id)
{
    static const QStringList reserved = [] {
        QStringList names = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                             QStringLiteral("NUL")};
        const QString digits = QStringLiteral("0123456789\u00B9\u00B2\u00B3");
        for (const QChar digit : digits)
            names << QStringLiteral("COM") + digit << QStringLiteral("LPT") + digit;
        return names;
    }();
    const QString stem = id.section(QLatin1Char('.'), 0, 0).trimmed();
    return reserved.contains(stem, Qt::CaseInsensitive);
}

// Characters the trainee could type but that have no place in code page 932, or that would come
// back as another character: on a Windows machine of that code page the folder would bear
// another name than the one typed. Private-use characters round-trip but look different on
// every machine, and invisible formatting characters cannot be seen in the user list at all.
bool isPlainCp932Text(const QString &id)
{
    for (qsizetype i = 0; i < id.size(); ++i) {
        const QChar c = id.at(i);
        if (c.isHighSurrogate() && i + 1 < id.size() && id.at(i + 1).isLowSurrogate())
            return false; // beyond the basic plane: nothing there is in code page 932
        switch (c.category()) {
        case QChar::Other_Surrogate:
        case QChar::Other_NotAssigned:
        case QChar::Other_PrivateUse:
        case QChar::Other_Format:
            return false;
        default:
            break;
        }
    }
    const auto bytes = encodeCp932(id);
    return bytes && decodeCp932(*bytes) == id;
}

// Blanks of any width, the ideographic one included, show as nothing in the user list.
bool looksEmpty(const QString &id)
{
    return std::all_of(id.begin(), id.end(), [](QChar c) { return c.isSpace(); });
}

// The entry of folder that a trainee could not tell from name: the same without regard to letter
// case (on the file systems the program was first written for, the very folder a new ID would
// create), or a look-alike. The user list may be older than the folder: another program on the
// same shared folder may have made it since.
QString existingEntry(const QString &folder, const QString &name)
{
    const QString key = userIdKey(name);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().compare(name, Qt::CaseInsensitive) == 0 ||
            userIdKey(it.fileName()) == key)
            return it.fileName();
    }
    return {};
}

} // namespace

QString lookAlikeRefusal(const QString &existing)
{
    return QStringLiteral("「%1」というIDが既にあります。\n見分けのつかないIDは作れません。")
        .arg(existing);
}

QString idRefusal(const QString &typed)
{
    if (typed.isEmpty())
        return QStringLiteral("IDが入力されていません。");
    // Looked at as typed: tidying would trim a tab or line feed at either end away unseen.
    for (const QChar c : typed) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
            return QStringLiteral("IDに制御文字は使えません。");
    }
    if (looksEmpty(typed))
        return QStringLiteral("空白だけのIDは使えません。");
    const QString id = tidyUserId(typed);
    if (id == u"." || id == u"..")
        return QStringLiteral("「.」と「..」はIDにできません。");
    for (const QChar c : id) {
        if (ForbiddenCharacters.contains(c))
            return QStringLiteral("IDに次の文字は使えません。\n< > : \" / \\ | ? *");
    }
    if (!isPlainCp932Text(id))
        return QStringLiteral("IDに使えない文字（絵文字、外字、記号の一部など）が含まれています。");
    // A blank inside splits the ID in two for the eye, and blanks of two widths look alike.
    if (std::any_of(id.begin(), id.end(), [](QChar c) { return c.isSpace(); }))
        return QStringLiteral("IDの途中に空白は使えません。");
    if (mixesAlphabets(id))
        return QStringLiteral("ローマ字、ギリシャ文字、ロシア文字は\n一つのIDに混ぜて使えません。");
    if (id.endsWith(QLatin1Char('.')))
        return QStringLiteral("IDの最後に「.」は使えません。");
    // Entries starting with a dot are hidden here and would be missing from the user list at
    // the next start, leaving the trainee unable to log in.
    if (id.startsWith(QLatin1Char('.')))
        return QStringLiteral("「.」で始まるIDは使えません。");
    if (isReservedDeviceName(id))
        return QStringLiteral("この名前はWindowsの装置名のため、IDにできません。");
    // The ID names the folder and the stem of every file in it, temporary ones included, and a
    // code page 932 byte takes up to one and a half bytes on disk (the tidy form holds no
    // half-width kana, which would take three).
    if (encodeCp932(id)->size() > MaximumIdBytes)
        return QStringLiteral("IDが長すぎます。\n半角%1文字（全角%2文字）までにしてください。")
            .arg(MaximumIdBytes)
            .arg(MaximumIdBytes / 2);
    return {};
}

CreateUserResult createUser(const AppPaths &paths, const QString &typed, const QString &password)
{
    const QString refusal = idRefusal(typed);
    if (!refusal.isEmpty())
        return {false, refusal};
    const QString id = tidyUserId(typed);

    const QString resultFolder = paths.programResultFolder();
    bool madeResultFolder = false;
    if (!QFileInfo::exists(resultFolder)) {
        if (!QDir().mkdir(resultFolder))
            return {false, QStringLiteral("フォルダ %1 を作成できません。")
                               .arg(QDir::toNativeSeparators(resultFolder))};
        madeResultFolder = true;
    }
    auto undoResultFolder = [&] {
        if (madeResultFolder)
            QDir().rmdir(resultFolder);
    };

    const QString existing = existingEntry(resultFolder, id);
    if (!existing.isEmpty()) {
        const QString error =
            existing == id
                ? QStringLiteral("「%1」という名前のフォルダが既にあります。").arg(existing)
                : lookAlikeRefusal(existing);
        return {false, error, true};
    }

    const QString userFolder = QDir(resultFolder).filePath(id);
    if (!QFileInfo(resultFolder).isDir() || !QDir(resultFolder).mkdir(id)) {
        undoResultFolder();
        return {false, QStringLiteral("フォルダ %1 を作成できません。")
                           .arg(QDir::toNativeSeparators(userFolder))};
    }

    const UserFiles files(paths, id);
    QString error = ResultsFile::create(files.program(UserFile::Results));
    if (error.isEmpty())
        error = writePasswordFile(files.program(UserFile::Password), password);
    if (error.isEmpty())
        error = SettingsFile::write(files.program(UserFile::Settings), SettingsFile::newIdBytes());
    if (!error.isEmpty()) {
        // The folder did not exist a moment ago, so everything in it is ours to take back: a
        // user folder without all its files could never log in, yet would block the ID.
        QDir(userFolder).removeRecursively();
        undoResultFolder();
        return {false, error};
    }
    return {true, {}, false, id};
}

} // namespace queldo
