#include "core/app/TeacherPassword.h"

#include "core/app/Login.h"
#include "core/app/PasswordFile.h"

#include <QDir>
#include <QFileInfo>

namespace queldo {

namespace {

bool isSetOrPresent(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString teacherPasswordPath(const QString &resultFolder)
{
    return QDir(resultFolder).filePath(QStringLiteral(".teacher.pas"));
}

TeacherPasswordStatus teacherPasswordStatus(const QString &path)
{
    if (!isSetOrPresent(path))
        return {};
    const StoredPassword stored = readPasswordFile(path);
    if (!stored.ok())
        return {TeacherPasswordState::Unreadable, stored.error};
    if (!hashCost(stored.line))
        return {TeacherPasswordState::Unreadable,
                QStringLiteral("指導者のパスワードファイルが壊れています。\n%1").arg(path)};
    return {TeacherPasswordState::Set, {}};
}

bool teacherPasswordMatches(const QString &path, const QString &typed)
{
    const StoredPassword stored = readPasswordFile(path);
    return stored.ok() && hashCost(stored.line) && passwordMatches(stored.line, typed);
}

QString setTeacherPassword(const QString &path, const QString &password, const QString &again)
{
    if (!isAcceptableNewPassword(password, again))
        return password.isEmpty() ? QStringLiteral("パスワードが入力されていません。")
                                  : QStringLiteral("２つのパスワードが一致しません。");
    if (isSetOrPresent(path))
        return QStringLiteral("指導者のパスワードはすでに設定されています。");
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("フォルダを作れません。\n%1").arg(folder);
    return writePasswordFile(path, password);
}

} // namespace queldo
