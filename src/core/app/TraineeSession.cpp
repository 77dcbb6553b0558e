#include "core/app/TraineeSession.h"

namespace queldo {

namespace {

// Programs racing for the same session file each look again after losing; a few rounds settle
// any race, and more would only mean a folder that changes under every look.
constexpr int ClaimRounds = 5;

} // namespace

QString sessionTimeText(const QDateTime &time)
{
    return time.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

TraineeSession::TraineeSession(UserFiles files, TraineeLockJudge judge)
    : m_files(std::move(files)), m_file(m_files.relative(UserFile::SessionMark)),
      m_judge(std::move(judge))
{
}

TraineeSession::~TraineeSession()
{
    release();
}

TraineeSession::Claim TraineeSession::claim()
{
    Claim claim;
    for (int round = 0; round < ClaimRounds; ++round) {
        const TraineeLockSeen seen = m_file.look();
        claim.decision = m_judge.judge(seen);
        if (claim.decision.verdict == LockVerdict::Own) {
            claim.taken = m_held;
            if (m_held)
                return claim;
            // Our tag without our holding it: a copy of a file of ours; made afresh.
            claim.decision.verdict = LockVerdict::TakeOver;
            claim.decision.reason = StaleReason::Damaged;
        }
        if (claim.decision.verdict == LockVerdict::InUse ||
            claim.decision.verdict == LockVerdict::Unusable)
            return claim;
        const QDateTime now = m_judge.now().toUTC();
        const TraineeLockJudge::Self &self = m_judge.self();
        m_info = {self.host, self.pid, now, now, self.tag};
        const TraineeLockFile::Result result = claim.decision.verdict == LockVerdict::Free
                                                   ? m_file.create(m_info)
                                                   : m_file.takeOver(seen, m_info);
        if (result.outcome == TraineeLockFile::Outcome::Taken) {
            m_held = true;
            m_readOnly = false;
            m_holder.reset();
            claim.taken = true;
            return claim;
        }
        if (result.outcome == TraineeLockFile::Outcome::Failed) {
            claim.error = result.error;
            return claim;
        }
    }
    claim.decision = {LockVerdict::InUse, StaleReason::None, std::nullopt, false};
    return claim;
}

void TraineeSession::openReadOnly(const LockDecision &holder)
{
    m_holder = holder;
    m_readOnly = true;
}

void TraineeSession::openUnmarked()
{
    m_readOnly = false;
}

TraineeSession::Renewal TraineeSession::renew()
{
    if (!m_held)
        return Renewal::NotHeld;
    TraineeLockInfo renewed = m_info;
    renewed.renewed = m_judge.now().toUTC();
    const TraineeLockFile::Result result = m_file.renew(renewed);
    switch (result.outcome) {
    case TraineeLockFile::Outcome::Taken:
        m_info = renewed;
        return Renewal::Renewed;
    case TraineeLockFile::Outcome::Beaten: {
        // Merely removed (by hand, say): nobody else holds the trainee, so it is made again.
        const LockDecision found = m_judge.judge(m_file.look());
        if (found.verdict == LockVerdict::Free &&
            m_file.create(renewed).outcome == TraineeLockFile::Outcome::Taken) {
            m_info = renewed;
            return Renewal::Renewed;
        }
        m_held = false;
        openReadOnly(found);
        return Renewal::Lost;
    }
    case TraineeLockFile::Outcome::Failed:
        break;
    }
    return Renewal::Failed;
}

void TraineeSession::release()
{
    if (!m_held)
        return;
    m_file.remove(m_info.tag);
    m_held = false;
}

QString TraineeSession::holderText(const LockDecision &decision) const
{
    if (!decision.holder)
        return QStringLiteral("ID「%1」は別のプログラムが使用中です。").arg(id());
    const QString since = sessionTimeText(decision.holder->started);
    if (decision.sameHost)
        return QStringLiteral("ID「%1」は、このコンピュータの別の QUELDO で %2 から使用中です。")
            .arg(id(), since);
    return QStringLiteral("ID「%1」は、コンピュータ %2 で %3 から使用中です。")
        .arg(id(), decision.holder->host, since);
}

QStringList TraineeSession::inUseLines(const LockDecision &decision) const
{
    QStringList lines;
    if (decision.verdict == LockVerdict::Unusable)
        lines << QStringLiteral("ID「%1」の使用中の印 %2 が通常のファイルではないため、")
                     .arg(id(), m_file.path())
              << QStringLiteral("この ID を使用中にできません。");
    else
        lines << holderText(decision);
    lines << QStringLiteral("読み取り専用で開くと、成績を見ることはできますが、")
          << QStringLiteral("採点は記録されず、設定も保存されません。");
    return lines;
}

QString TraineeSession::takeOverText(const LockDecision &decision) const
{
    switch (decision.reason) {
    case StaleReason::Link:
        return QStringLiteral("ID「%1」の使用中の印 %2 がリンクだったため、リンクだけを取り除いて"
                              "作り直しました。")
            .arg(id(), m_file.path());
    case StaleReason::Damaged:
        return QStringLiteral("ID「%1」の使用中の印 %2 が壊れていたため、作り直しました。")
            .arg(id(), m_file.path());
    case StaleReason::ProcessGone:
    case StaleReason::NotRenewed:
    case StaleReason::None:
        break;
    }
    if (!decision.holder)
        return {};
    const QString since = sessionTimeText(decision.holder->started);
    const QString where = decision.sameHost
                              ? QStringLiteral("このコンピュータで")
                              : QStringLiteral("コンピュータ %1 で").arg(decision.holder->host);
    const QString what =
        decision.reason == StaleReason::ProcessGone
            ? QStringLiteral("ID「%1」は、%2 %3 から使われたまま、プログラムが終了していました。")
                  .arg(id(), where, since)
            : QStringLiteral("ID「%1」は、%2 %3 から使用中でしたが、%4 から応答がありません。")
                  .arg(id(), where, since, sessionTimeText(decision.holder->renewed));
    return what + QStringLiteral("\nこのコンピュータで使用を引き継ぎます。");
}

QString TraineeSession::lostText() const
{
    QString text = QStringLiteral("しばらく応答できなかったため、ID「%1」の使用は別のプログラムに"
                                  "引き継がれました。\nここからは読み取り専用になり、採点は記録"
                                  "されず、設定も保存されません。")
                       .arg(id());
    if (m_holder && m_holder->holder)
        text += u'\n' + holderText(*m_holder);
    return text;
}

QString TraineeSession::readOnlyRefusal(const QString &what) const
{
    QString text = QStringLiteral("読み取り専用で開いているため、%1。").arg(what);
    if (m_holder && m_holder->verdict == LockVerdict::InUse)
        text += u'\n' + holderText(*m_holder);
    return text;
}

} // namespace queldo
