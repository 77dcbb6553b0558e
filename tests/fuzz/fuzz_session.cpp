// A trainee's session file, as a program logging in with the same ID reads and judges it.
#include "FuzzSupport.h"
#include "core/app/TraineeLock.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1796000000, Qt::UTC);
    const TraineeLockJudge judge(
        {QStringLiteral("pc-12"), 777, "00000000000000ff"}, [now] { return now; },
        [](qint64 pid) { return pid % 2 == 0; });
    const LockDecision decision =
        judge.judge({TraineeLockSeen::Kind::Regular, bytes, now.addSecs(-3600)});
    const std::optional<TraineeLockInfo> info = parseTraineeLock(bytes);
    fuzz::require(info.has_value() == decision.holder.has_value(),
                  "a holder is named exactly when the file reads");
    fuzz::require(info || decision.verdict == LockVerdict::TakeOver,
                  "a file that does not read is taken over");
    if (info) {
        // What reads is written back the same, so a renewal never changes its length.
        fuzz::require(parseTraineeLock(traineeLockBytes(*info)) == info, "a holder round-trips");
        fuzz::require(traineeLockBytes(*info).size() == bytes.size(), "the length is kept");
    }
    return 0;
}
