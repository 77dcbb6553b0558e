#include "core/app/Login.h"

#include "core/app/AppPaths.h"
#include "core/app/NewUserId.h"
#include "core/app/PasswordFile.h"
#include "core/app/UserFiles.h"
#include "core/app/UserList.h"

namespace queldo {

bool isAcceptableNewPassword(const QString &password, const QString &again)
{
    return !password.isEmpty() && password == again;
}

namespace {

LoginDecision decided(LoginResult result)
{
    LoginDecision decision;
    decision.result = result;
    return decision;
}

} // namespace

LoginDecision decideLogin(const UserList &users, const AppPaths &paths, const QString &id,
                          const QString &password, bool upgrade)
{
    QString listed = id;
    if (!users.contains(id)) {
        const QStringList alike = users.lookAlikes(id);
        if (alike.isEmpty())
            return decided(LoginResult::UnknownId);
        // Folders made before IDs were compared this way may differ only in case or width;
        // which one was meant is the trainee's to say, not ours to guess.
        if (alike.size() > 1) {
            LoginDecision decision = decided(LoginResult::LookAlikeIds);
            decision.lookAlikes = alike;
            return decision;
        }
        listed = alike.first();
    }
    const UserFiles files(paths, listed);
    const QString passwordPath = files.relative(UserFile::Password);
    const StoredPassword stored = readPasswordFile(passwordPath);
    // The program never stores an empty password, so an empty file is as good as a lost one;
    // taking it as "no password" would let anybody in.
    if (!stored.ok() || stored.line.isEmpty())
        return decided(LoginResult::PasswordFileUnreadable);
    if (!passwordMatches(stored.line, password))
        return decided(LoginResult::WrongPassword);
    // A plain-text password from an older installation is stored hashed from now on; should
    // that fail, the old file still logs in, so the trainee is not bothered with it.
    if (upgrade)
        upgradeLegacyPassword(passwordPath, stored.line, password);
    const SettingsReadResult settings = SettingsFile::read(files.relative(UserFile::Settings));
    LoginDecision decision = decided(LoginResult::Accepted);
    decision.settings = settings.settings;
    decision.id = listed;
    return decision;
}

void upgradeStoredPassword(const AppPaths &paths, const QString &id, const QString &password)
{
    const QString passwordPath = UserFiles(paths, id).relative(UserFile::Password);
    const StoredPassword stored = readPasswordFile(passwordPath);
    if (stored.ok())
        upgradeLegacyPassword(passwordPath, stored.line, password);
}

NewIdDecision checkNewId(const UserList &users, const QString &id, const QString &password,
                         const QString &again)
{
    if (users.contains(id))
        return {NewIdResult::IdInUse, {}};
    // Before the other refusals: naming the ID it passes for says more than naming the letter
    // that makes it pass.
    if (const QStringList alike = users.lookAlikes(id); !alike.isEmpty())
        return {NewIdResult::IdRefused, lookAlikeRefusal(alike.first())};
    if (const QString refusal = idRefusal(id); !refusal.isEmpty())
        return {NewIdResult::IdRefused, refusal};
    if (!isAcceptableNewPassword(password, again))
        return {NewIdResult::PasswordsDiffer, {}};
    return {NewIdResult::Acceptable, {}};
}

} // namespace queldo
