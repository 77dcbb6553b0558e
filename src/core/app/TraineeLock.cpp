#include "core/app/TraineeLock.h"

#include <QList>
#include <QRandomGenerator>
#include <QUrl>

namespace queldo {

namespace {

const QByteArray FirstLine = QByteArrayLiteral("QUELDO session");
constexpr qsizetype TagDigits = 16;
// Far beyond any computer's name, even percent-encoded; a longer one is no file of ours.
constexpr qsizetype MaximumHostBytes = 1024;

QByteArray timeText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODate).toLatin1();
}

// Exactly the form timeText() writes, so that every renewal has the same length.
std::optional<QDateTime> readTime(QByteArrayView text)
{
    static const QByteArray Pattern = QByteArrayLiteral("dddd-dd-ddTdd:dd:ddZ");
    if (text.size() != Pattern.size())
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (Pattern[i] == 'd' ? !digit : text[i] != Pattern[i])
            return std::nullopt;
    }
    QDateTime time = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    if (!time.isValid())
        return std::nullopt;
    return time.toUTC();
}

std::optional<qint64> readPid(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 10 || text[0] == '0')
        return std::nullopt;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value <= 0x7fffffff ? std::optional<qint64>(value) : std::nullopt;
}

bool isTag(QByteArrayView text)
{
    if (text.size() != TagDigits)
        return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

// The value of a line "key=value", or nothing when the line is not that key's.
std::optional<QByteArrayView> valueOf(QByteArrayView line, QByteArrayView key)
{
    if (line.size() <= key.size() || !line.startsWith(key) || line[key.size()] != '=')
        return std::nullopt;
    return line.sliced(key.size() + 1);
}

} // namespace

QByteArray traineeLockBytes(const TraineeLockInfo &info)
{
    const QByteArray host = QUrl::toPercentEncoding(info.host);
    return FirstLine + "\r\nhost=" + host + "\r\npid=" + QByteArray::number(info.pid) +
           "\r\nstarted=" + timeText(info.started) + "\r\nrenewed=" + timeText(info.renewed) +
           "\r\ntag=" + info.tag + "\r\n";
}

std::optional<TraineeLockInfo> parseTraineeLock(QByteArrayView bytes)
{
    if (!bytes.endsWith("\r\n"))
        return std::nullopt; // cut short while it was written
    QList<QByteArrayView> lines;
    for (qsizetype start = 0; start < bytes.size();) {
        const qsizetype end = bytes.indexOf("\r\n", start);
        lines << bytes.sliced(start, end - start);
        start = end + 2;
    }
    if (lines.size() != 6 || lines[0] != FirstLine)
        return std::nullopt;
    const auto host = valueOf(lines[1], "host");
    const auto pid = valueOf(lines[2], "pid");
    const auto started = valueOf(lines[3], "started");
    const auto renewed = valueOf(lines[4], "renewed");
    const auto tag = valueOf(lines[5], "tag");
    if (!host || !pid || !started || !renewed || !tag || host->size() > MaximumHostBytes)
        return std::nullopt;
    TraineeLockInfo info;
    info.host = QUrl::fromPercentEncoding(host->toByteArray());
    // Only the spelling this program writes: a host name that does not decode to the same bytes
    // (bytes that are no UTF-8, another way of escaping) would change the file's length at the
    // next renewal, and is no file of ours anyway.
    if (QUrl::toPercentEncoding(info.host) != *host)
        return std::nullopt;
    const auto pidValue = readPid(*pid);
    const auto startedTime = readTime(*started);
    const auto renewedTime = readTime(*renewed);
    if (info.host.isEmpty() || !pidValue || !startedTime || !renewedTime || !isTag(*tag))
        return std::nullopt;
    info.pid = *pidValue;
    info.started = *startedTime;
    info.renewed = *renewedTime;
    info.tag = tag->toByteArray();
    return info;
}

QByteArray newTraineeLockTag()
{
    return QByteArray::number(QRandomGenerator::system()->generate64(), 16)
        .rightJustified(TagDigits, '0');
}

TraineeLockJudge::TraineeLockJudge(Self self, std::function<QDateTime()> clock,
                                   std::function<bool(qint64)> processRuns)
    : m_self(std::move(self)), m_clock(std::move(clock)), m_processRuns(std::move(processRuns))
{
}

bool TraineeLockJudge::silentTooLong(const TraineeLockInfo &info, const QDateTime &modified) const
{
    // Either date vouches for a live holder: the holder's clock may be behind ours, and the file
    // server's, which dates the file, behind or ahead of both. A date ahead of ours is fresh.
    const QDateTime now = m_clock();
    const auto fresh = [&](const QDateTime &time) {
        return time.isValid() && time.secsTo(now) < StaleSeconds;
    };
    return !fresh(info.renewed) && !fresh(modified);
}

LockDecision TraineeLockJudge::judge(const TraineeLockSeen &seen) const
{
    switch (seen.kind) {
    case TraineeLockSeen::Kind::Missing:
        return {LockVerdict::Free, StaleReason::None, std::nullopt, false};
    case TraineeLockSeen::Kind::Link:
        return {LockVerdict::TakeOver, StaleReason::Link, std::nullopt, false};
    case TraineeLockSeen::Kind::Other:
        return {LockVerdict::Unusable, StaleReason::None, std::nullopt, false};
    case TraineeLockSeen::Kind::Regular:
        break;
    }
    const std::optional<TraineeLockInfo> info = parseTraineeLock(seen.bytes);
    if (!info)
        return {LockVerdict::TakeOver, StaleReason::Damaged, std::nullopt, false};
    LockDecision decision{LockVerdict::InUse, StaleReason::None, info, false};
    if (info->tag == m_self.tag) {
        decision.verdict = LockVerdict::Own;
        return decision;
    }
    decision.sameHost = info->host.compare(m_self.host, Qt::CaseInsensitive) == 0;
    // Our own process number under another tag can only be a program that ended before this one
    // began: process numbers come round again, in a container at every start.
    if (decision.sameHost && (info->pid == m_self.pid || !m_processRuns(info->pid))) {
        decision.verdict = LockVerdict::TakeOver;
        decision.reason = StaleReason::ProcessGone;
    } else if (silentTooLong(*info, seen.modified)) {
        decision.verdict = LockVerdict::TakeOver;
        decision.reason = StaleReason::NotRenewed;
    }
    return decision;
}

} // namespace queldo
