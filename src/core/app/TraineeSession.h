#pragma once

#include "core/app/TraineeLock.h"
#include "core/app/TraineeLockFile.h"
#include "core/app/UserFiles.h"
#include "core/settings/LiveSettings.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace queldo {

/// One trainee held by this program from login to the end of the run, so that two computers
/// sharing the program folder never work on the same trainee's files at once. A program that
/// finds the trainee held by another opens it read-only: grades can be seen, nothing is written.
/// The windows used after login are given it: it says whose files they are, where they lie,
/// whether they may be written, and holds the trainee's settings as the login read them and the
/// settings dialog and the board change them.
class TraineeSession
{
public:
    /// The session file lies among the trainee's files.
    TraineeSession(UserFiles files, TraineeLockJudge judge);
    ~TraineeSession();
    TraineeSession(const TraineeSession &) = delete;
    TraineeSession &operator=(const TraineeSession &) = delete;

    struct Claim
    {
        LockDecision decision; ///< what was found at the session file's place
        bool taken = false;    ///< this program holds the trainee now
        QString error;         ///< the session file could not be made; not taken
    };
    /// Takes the trainee when nobody holds it, this program already does, or its holder is gone.
    /// Held by a live program, or blocked by something that is no session file: not taken, and
    /// the trainee chooses between openReadOnly() and giving up.
    Claim claim();
    /// Works on without holding the trainee, and without writing anything of theirs.
    void openReadOnly(const LockDecision &holder);
    /// Works on without holding the trainee when the session file cannot be made at all (a
    /// folder the program cannot write to): every write then says for itself what went wrong.
    void openUnmarked();

    bool writable() const { return !m_readOnly; }
    bool held() const { return m_held; }
    const QString &id() const { return m_files.id(); }
    const UserFiles &files() const { return m_files; }
    /// The trainee's live settings: a new ID's until the login reads the stored ones.
    LiveSettings &settings() { return m_settings; }
    const LiveSettings &settings() const { return m_settings; }

    enum class Renewal {
        Renewed,
        NotHeld, ///< nothing to renew
        Lost,    ///< another program took the trainee over: read-only from now on
        Failed,  ///< could not be written this time; tried again at the next renewal
    };
    /// Says that this program is still there; due every TraineeLockJudge::RenewSeconds.
    Renewal renew();
    /// Lets the trainee go (the end of the run).
    void release();

    /// The message when a live program holds the trainee, or the session file cannot be used.
    QStringList inUseLines(const LockDecision &decision) const;
    /// The message when a program that had gone is taken over from.
    QString takeOverText(const LockDecision &decision) const;
    /// The message when another program took the trainee while this one was silent.
    QString lostText() const;
    /// Why something is not written while read-only: `what` says what does not happen.
    QString readOnlyRefusal(const QString &what) const;

private:
    QString holderText(const LockDecision &decision) const;

    UserFiles m_files;
    LiveSettings m_settings;
    TraineeLockFile m_file;
    TraineeLockJudge m_judge;
    TraineeLockInfo m_info;
    std::optional<LockDecision> m_holder; ///< who holds the trainee while read-only
    bool m_held = false;
    bool m_readOnly = false;
};

/// A local time as the session messages show it.
QString sessionTimeText(const QDateTime &time);

} // namespace queldo
