#include "core/app/NewUserId.h"

#include "core/app/AppPaths.h"
#include "core/app/PasswordFile.h"
#include "core/results/ResultsFile.h"
#include "core/settings/SettingsFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace queldo {

namespace {

// Characters a Windows folder name cannot hold; '/' and '\' would also leave the Result folder.
const QString ForbiddenCharacters = QStringLiteral("<>:\"/\\|?*");

// Windows opens a device rather than a folder for these stems, whatever follows the first dot.
bool isReservedDeviceName(const QString &id)
{
    static const QStringList reserved = {
        QStringLiteral("CON"),  QStringLiteral("PRN"),  QStringLiteral("AUX"),
        QStringLiteral("NUL"),  QStringLiteral("COM1"), QStringLiteral("COM2"),
        QStringLiteral("COM3"), QStringLiteral("COM4"), QStringLiteral("COM5"),
        QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"),
        QStringLiteral("LPT3"), QStringLiteral("LPT4"), QStringLiteral("LPT5"),
        QStringLiteral("LPT6"), QStringLiteral("LPT7"), QStringLiteral("LPT8"),
        QStringLiteral("LPT9")};
    const QString stem = id.section(QLatin1Char('.'), 0, 0).trimmed();
    return reserved.contains(stem, Qt::CaseInsensitive);
}

// The entry of folder whose name equals name without regard to letter case: on the file systems
// the program was first written for, that entry is the very folder a new ID would create.
QString existingEntry(const QString &folder, const QString &name)
{
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return it.fileName();
    }
    return {};
}

} // namespace

QString idRefusal(const QString &id)
{
    if (id.isEmpty())
        return QStringLiteral("IDが入力されていません。");
    if (id == u"." || id == u"..")
        return QStringLiteral("「.」と「..」はIDにできません。");
    for (const QChar c : id) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
            return QStringLiteral("IDに制御文字は使えません。");
        if (ForbiddenCharacters.contains(c))
            return QStringLiteral("IDに次の文字は使えません。\n< > : \" / \\ | ? *");
    }
    if (id.endsWith(QLatin1Char('.')) || id.endsWith(QLatin1Char(' ')))
        return QStringLiteral("IDの最後に「.」や空白は使えません。");
    // Entries starting with a dot are hidden here and would be missing from the user list at
    // the next start, leaving the trainee unable to log in.
    if (id.startsWith(QLatin1Char('.')))
        return QStringLiteral("「.」で始まるIDは使えません。");
    if (isReservedDeviceName(id))
        return QStringLiteral("この名前はWindowsの装置名のため、IDにできません。");
    return {};
}

CreateUserResult createUser(const AppPaths &paths, const QString &id, const QString &password)
{
    const QString refusal = idRefusal(id);
    if (!refusal.isEmpty())
        return {false, refusal};

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
        return {false,
                QStringLiteral("「%1」という名前のフォルダが既にあります。\n違うIDにしてください。")
                    .arg(existing)};
    }

    const QString userFolder = QDir(resultFolder).filePath(id);
    if (!QFileInfo(resultFolder).isDir() || !QDir(resultFolder).mkdir(id)) {
        undoResultFolder();
        return {false, QStringLiteral("フォルダ %1 を作成できません。")
                           .arg(QDir::toNativeSeparators(userFolder))};
    }

    QString error = ResultsFile::create(paths.programUserFile(id, QStringLiteral(".kek")));
    if (error.isEmpty())
        error = writePasswordFile(paths.programUserFile(id, QStringLiteral(".pas")), password);
    if (error.isEmpty())
        error = SettingsFile::write(paths.programUserFile(id, QStringLiteral(".set")),
                                    SettingsFile::newIdBytes());
    if (!error.isEmpty()) {
        // The folder did not exist a moment ago, so everything in it is ours to take back: a
        // user folder without all its files could never log in, yet would block the ID.
        QDir(userFolder).removeRecursively();
        undoResultFolder();
        return {false, error};
    }
    return {true, {}};
}

} // namespace queldo
