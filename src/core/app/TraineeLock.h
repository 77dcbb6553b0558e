#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

namespace queldo {

/// What a program that holds a trainee writes into the trainee's session file: which computer
/// and which process, since when, when it last said it is still there, and a tag of its own
/// that no other program's session can carry.
struct TraineeLockInfo
{
    QString host;
    qint64 pid = 0;
    QDateTime started; ///< UTC, whole seconds
    QDateTime renewed; ///< UTC, whole seconds
    QByteArray tag;    ///< 16 hexadecimal digits
    bool operator==(const TraineeLockInfo &) const = default;
};

/// The session file's bytes: ASCII lines with CR LF, the host name percent-encoded. Every renewal
/// gives the same length, so that rewriting it in place never leaves a longer old tail behind.
QByteArray traineeLockBytes(const TraineeLockInfo &info);
/// Reads a session file; nothing when it is not one that traineeLockBytes() could have made (cut
/// short, edited, foreign). A plain function of bytes, for tests and fuzzing alike.
std::optional<TraineeLockInfo> parseTraineeLock(QByteArrayView bytes);
/// A new random tag.
QByteArray newTraineeLockTag();

/// What lay at the session file's place when it was looked at, without following a link.
struct TraineeLockSeen
{
    enum class Kind {
        Missing,
        Regular,
        Link,  ///< never made by this program; removing it never touches what it points to
        Other, ///< a folder or a device: cannot be removed or replaced
    };
    Kind kind = Kind::Missing;
    QByteArray bytes;   ///< a regular file's content
    QDateTime modified; ///< as the file system dates it, which may be another computer's clock
};

enum class LockVerdict {
    Free,     ///< nobody holds the trainee: take it
    Own,      ///< this program holds it already
    InUse,    ///< another program that is alive holds it: ask the trainee
    TakeOver, ///< left by a program that is gone: take it, and say so
    Unusable, ///< something that is no session file lies in its place: cannot be taken
};

enum class StaleReason {
    None,
    ProcessGone, ///< its computer is this one and its process has ended
    NotRenewed,  ///< silent for longer than any live program ever is
    Damaged,     ///< not readable as a session file
    Link,
};

struct LockDecision
{
    LockVerdict verdict = LockVerdict::Free;
    StaleReason reason = StaleReason::None;
    std::optional<TraineeLockInfo> holder; ///< who held it, when the file could be read
    bool sameHost = false;                 ///< the holder is on this computer
};

/// Decides what a program may do with a trainee's session file as it found it. The clock and
/// the question whether a process of this computer still runs come from outside, so that every
/// case can be tried without waiting or starting processes.
class TraineeLockJudge
{
public:
    /// A live holder rewrites its renewal time this often...
    static constexpr qint64 RenewSeconds = 60;
    /// ...so one silent for this long has gone: a program that hangs or a computer that slept
    /// longer than this loses the trainee to the next login.
    static constexpr qint64 StaleSeconds = 600;

    struct Self
    {
        QString host;
        qint64 pid = 0;
        QByteArray tag;
    };

    TraineeLockJudge(Self self, std::function<QDateTime()> clock,
                     std::function<bool(qint64 pid)> processRuns);

    LockDecision judge(const TraineeLockSeen &seen) const;

    const Self &self() const { return m_self; }
    QDateTime now() const { return m_clock(); }

private:
    bool silentTooLong(const TraineeLockInfo &info, const QDateTime &modified) const;

    Self m_self;
    std::function<QDateTime()> m_clock;
    std::function<bool(qint64)> m_processRuns;
};

} // namespace queldo
