#pragma once

#include "core/app/TraineeLock.h"

#include <QString>

namespace queldo {

/// The session file itself, in a folder that several computers may share over a network, where
/// the system's own file locks cannot be relied on: only creating a name that must not exist
/// yet, renaming and removing are. Nothing here follows a link.
class TraineeLockFile
{
public:
    explicit TraineeLockFile(QString path);

    const QString &path() const { return m_path; }

    /// What lies at the file's place now.
    TraineeLockSeen look() const;

    enum class Outcome {
        Taken,
        Beaten, ///< another program made or took the file first: look again
        Failed, ///< error says why
    };
    struct Result
    {
        Outcome outcome = Outcome::Failed;
        QString error;
    };

    /// Makes the file, only if nothing lies at its place.
    Result create(const TraineeLockInfo &info) const;
    /// Replaces what was judged left behind (`judged`, as look() gave it) by a file of ours.
    /// Should another program have replaced it meanwhile, its file is put back untouched and
    /// the outcome is Beaten.
    Result takeOver(const TraineeLockSeen &judged, const TraineeLockInfo &info) const;
    /// Rewrites the file in place with `info`, only while it still carries info.tag: Beaten
    /// when another program has taken it over or it is gone.
    Result renew(const TraineeLockInfo &info) const;
    /// Removes the file, only while it still carries `tag`.
    void remove(const QByteArray &tag) const;

private:
    QString m_path;
};

/// The judge for this program: this computer's name, this process, a fresh tag, the system
/// clock, and the system's word on whether a process of this computer runs.
TraineeLockJudge judgeForThisProgram();

} // namespace queldo
