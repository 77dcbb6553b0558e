#include "core/app/Login.h"

#include "core/app/AppPaths.h"
#include "core/app/NewUserId.h"
#include "core/app/PasswordFile.h"
#include "core/app/UserList.h"

namespace queldo {

bool isAcceptableNewPassword(const QString &password, const QString &again)
{
    return !password.isEmpty() && password == again;
}

LoginDecision decideLogin(const UserList &users, const AppPaths &paths, const QString &id,
                          const QString &password, bool upgrade)
{
    if (!users.contains(id))
        return {LoginResult::UnknownId, {}};
    const QString passwordPath = paths.relativeUserFile(id, QStringLiteral(".pas"));
    const StoredPassword stored = readPasswordFile(passwordPath);
    // The program never stores an empty password, so an empty file is as good as a lost one;
    // taking it as "no password" would let anybody in.
    if (!stored.ok() || stored.line.isEmpty())
        return {LoginResult::PasswordFileUnreadable, {}};
    if (!passwordMatches(stored.line, password))
        return {LoginResult::WrongPassword, {}};
    // A plain-text password from an older installation is stored hashed from now on; should
    // that fail, the old file still logs in, so the trainee is not bothered with it.
    if (upgrade)
        upgradeLegacyPassword(passwordPath, stored.line, password);
    const SettingsReadResult settings =
        SettingsFile::read(paths.relativeUserFile(id, QStringLiteral(".set")));
    return {LoginResult::Accepted, settings.settings};
}

void upgradeStoredPassword(const AppPaths &paths, const QString &id, const QString &password)
{
    const QString passwordPath = paths.relativeUserFile(id, QStringLiteral(".pas"));
    const StoredPassword stored = readPasswordFile(passwordPath);
    if (stored.ok())
        upgradeLegacyPassword(passwordPath, stored.line, password);
}

NewIdDecision checkNewId(const UserList &users, const QString &id, const QString &password,
                         const QString &again)
{
    if (users.contains(id))
        return {NewIdResult::IdInUse, {}};
    if (const QString refusal = idRefusal(id); !refusal.isEmpty())
        return {NewIdResult::IdRefused, refusal};
    if (!isAcceptableNewPassword(password, again))
        return {NewIdResult::PasswordsDiffer, {}};
    return {NewIdResult::Acceptable, {}};
}

} // namespace queldo
