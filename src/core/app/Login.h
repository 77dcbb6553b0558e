#pragma once

#include "core/settings/SettingsFile.h"

#include <QString>
#include <QStringList>

namespace queldo {

class AppPaths;
class UserList;

/// The one rule for a new or changed password: typed twice alike, and not empty.
bool isAcceptableNewPassword(const QString &password, const QString &again);

/// What an ID and a password typed into the login dialog lead to.
enum class LoginResult {
    UnknownId,              ///< not in the user list: ask whether to create it
    LookAlikeIds,           ///< not listed as typed, and several listed IDs look like it
    PasswordFileUnreadable, ///< missing, unreadable or empty password file
    WrongPassword,
    Accepted, ///< settings holds the trainee's stored settings
};

struct LoginDecision
{
    LoginResult result = LoginResult::UnknownId;
    /// The stored settings on acceptance. A missing or damaged settings file gives the settings
    /// of a new ID for what is missing: the trainee gets in rather than being stopped halfway.
    StoredSettings settings;
    /// The listed ID the trainee logs in as on acceptance: the typed one when it is listed,
    /// otherwise the one listed ID that looks like it. On LookAlikeIds, empty.
    QString id;
    QStringList lookAlikes; ///< on LookAlikeIds, the listed IDs that look like the typed one
};

/// Decides a login from the user list and the trainee's files. An ID typed in another letter
/// case or width, or with blanks around it, finds its trainee rather than a second one. A password
/// stored the old way is stored hashed on acceptance, unless `upgrade` is false: a program that may
/// open the trainee only read-only must not write it, and upgrades later with
/// upgradeStoredPassword().
LoginDecision decideLogin(const UserList &users, const AppPaths &paths, const QString &id,
                          const QString &password, bool upgrade = true);
/// Stores an accepted password hashed when it is still stored the old way.
void upgradeStoredPassword(const AppPaths &paths, const QString &id, const QString &password);

/// What the new-ID dialog's fields lead to, checked in this order: a taken ID costs the trainee
/// both passwords, so the ID is looked at before the passwords.
enum class NewIdResult {
    IdInUse,
    IdRefused, ///< refusal says why the ID cannot name a user folder
    PasswordsDiffer,
    Acceptable,
};

struct NewIdDecision
{
    NewIdResult result = NewIdResult::Acceptable;
    QString refusal;
};

NewIdDecision checkNewId(const UserList &users, const QString &id, const QString &password,
                         const QString &again);

} // namespace queldo
