#include "core/results/GradeStatistics.h"

#include "core/board/InstalledSexes.h"
#include "core/board/Karyogram.h"
#include "core/board/ProblemFolder.h"
#include "core/results/ResultsBlocks.h"
#include "core/results/ResultsRecordLayout.h"
#include "core/text/Cp932Text.h"

#include <QFileInfo>

#include <QtAlgorithms>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace queldo {

using namespace ResultsRecordLayout;

namespace {

std::optional<int> integerValue(QStringView text)
{
    return wholeNumber(text.utf16(), text.size());
}

// One record's figures, once its fields have been checked. Places are read two ways because the
// reports do: some count a place as correct when its text is "1", others when its value is 1.
struct CheckedRecord
{
    // Bit s stands for field 3 + s.
    quint64 text1 = 0;
    quint64 value1 = 0;
    int problem = 0;
    int seconds = 0;

    bool text1At(int field) const { return text1 >> (field - FirstPlaceField) & 1; }
    // The two places of pair k (fields 2k+1 and 2k+2) as two bits.
    static unsigned pair(quint64 mask, int k) { return unsigned(mask >> (2 * k - 2)) & 3; }
    static int pairCount(quint64 mask, int k)
    {
        const unsigned bits = pair(mask, k);
        return int((bits & 1) + (bits >> 1));
    }
};

// Slot codes are one digit, or a minus and one digit; anything else takes the general road.
// (A plain bool and an out value: an optional returned through memory stalled the hot loop.)
bool slotValue(const char16_t *text, qsizetype length, int *value)
{
    if (length == 1 && text[0] >= u'0' && text[0] <= u'9') {
        *value = text[0] - u'0';
        return true;
    }
    if (length == 2 && text[0] == u'-' && text[1] >= u'0' && text[1] <= u'9') {
        *value = -(text[1] - u'0');
        return true;
    }
    const auto parsed = integerValue(QStringView(text, length));
    *value = parsed.value_or(0);
    return parsed.has_value();
}

std::optional<CheckedRecord> check(const ResultsRecords::Fields &fields)
{
    if (fields.count != FieldCount)
        return std::nullopt;
    CheckedRecord checked;
    for (int s = 0; s < SlotCount; ++s) {
        const char16_t *text = fields.text + fields.start[placeField(s)];
        const qsizetype length =
            qsizetype(fields.start[placeField(s) + 1] - fields.start[placeField(s)]);
        int value;
        if (!slotValue(text, length, &value))
            return std::nullopt;
        checked.value1 |= quint64(value == 1) << s;
        checked.text1 |= quint64(length == 1 && text[0] == u'1') << s;
    }
    const auto problem = integerValue(fields[ProblemField]);
    const auto seconds = integerValue(fields[SecondsField]);
    if (!problem || !seconds)
        return std::nullopt;
    checked.problem = *problem;
    checked.seconds = *seconds;
    return checked;
}

std::optional<CheckedRecord> checkPlain(const PlainFields &fields)
{
    CheckedRecord checked;
    // Nearly always every place holds one digit; then its text is "1" exactly when its value is.
    bool digits = true;
    quint64 ones = 0;
    for (int s = 0; s < SlotCount; ++s) {
        const char c = *fields.at(placeField(s));
        digits &= fields.length(placeField(s)) == 1 && c >= '0' && c <= '9';
        ones |= quint64(c == '1') << s;
    }
    if (digits) {
        checked.text1 = checked.value1 = ones;
    } else {
        for (int s = 0; s < SlotCount; ++s) {
            const auto value = fields.integer(placeField(s));
            if (!value)
                return std::nullopt;
            checked.value1 |= quint64(*value == 1) << s;
            checked.text1 |= quint64(fields[placeField(s)] == "1") << s;
        }
    }
    const auto problem = fields.integer(ProblemField);
    const auto seconds = fields.integer(SecondsField);
    if (!problem || !seconds)
        return std::nullopt;
    checked.problem = *problem;
    checked.seconds = *seconds;
    return checked;
}

// Halves go upward; five significant digits print every time below 100000 seconds as a plain
// integer, and larger ones in the exponent form that fixed-point falls back to.
QString averageText(double seconds)
{
    const double rounded = std::floor(seconds + 0.5);
    if (std::fabs(rounded) < 100000)
        return QString::number(qint64(rounded));
    QString text = QString::number(rounded, 'E', 4); // e.g. 1.2346E+05
    const qsizetype e = text.indexOf(u'E');
    qsizetype digits = e + 2;
    while (digits < text.size() - 1 && text.at(digits) == u'0')
        text.remove(digits, 1);
    return text;
}

// Sex-chromosome places: totals, misses and correct ones, X and Y.
struct SexCounts
{
    qint64 xTotal = 0, yTotal = 0, xMisses = 0, yMisses = 0, xCorrect = 0, yCorrect = 0;

    void add(const CheckedRecord &record, bool female)
    {
        const bool x = record.text1At(XField);
        const bool xy = record.text1At(XYField);
        if (female) {
            xTotal += 2;
            xMisses += !x + !xy;
            xCorrect += x + xy;
        } else {
            xTotal += 1;
            yTotal += 1;
            xMisses += !x;
            yMisses += !xy;
            xCorrect += x;
            yCorrect += xy;
        }
    }
};

struct ProblemTally
{
    qint64 records = 0;
    qint64 correct = 0; // places whose value is 1
};

// Everything the reports need, gathered in one pass over the records.
struct Figures
{
    qint64 n = 0;
    std::array<qint64, 23> pairCorrect{};
    qint64 secondsSum = 0;
    qint64 perfect = 0;
    std::array<int, 22> overallMisses{}; // per record
    SexCounts overallSex;
    qint64 todayCount = 0;
    qint64 todaySeconds = 0;
    std::array<int, 22> todayMisses{}; // per place
    SexCounts todaySex;
    // By the text of field 2; the records come a part at a time, so the keys are copies.
    std::map<std::u16string, ProblemTally> tallies;

    ProblemTally &tallyOf(QStringView value)
    {
        // Histories hold a handful of problem numbers, often in runs: the last one is tried first.
        const std::u16string_view key(value.utf16(), std::size_t(value.size()));
        if (!m_lastTally || key != m_lastValue) {
            m_lastTally = &tallies[std::u16string(key)];
            m_lastValue = key;
        }
        return *m_lastTally;
    }

    ProblemTally &tallyOf(QLatin1StringView value)
    {
        const auto same = [&] {
            if (std::size_t(value.size()) != m_lastValue.size())
                return false;
            for (qsizetype i = 0; i < value.size(); ++i)
                if (char16_t(uchar(value[i].toLatin1())) != m_lastValue[std::size_t(i)])
                    return false;
            return true;
        };
        if (!m_lastTally || !same()) {
            std::u16string key;
            for (qsizetype i = 0; i < value.size(); ++i)
                key += char16_t(uchar(value[i].toLatin1()));
            m_lastTally = &tallies[key];
            m_lastValue = std::move(key);
        }
        return *m_lastTally;
    }

private:
    std::u16string m_lastValue;
    ProblemTally *m_lastTally = nullptr;
};

QString todayReport(const Figures &f)
{
    if (f.todayCount == 0)
        return QStringLiteral("〇本日の成績はありません。\n\nまだ練習していません。");
    const QString average = averageText(double(f.todaySeconds) / double(f.todayCount));
    const int most = *std::max_element(f.todayMisses.begin(), f.todayMisses.end());
    const SexCounts &sex = f.todaySex;
    const QString list = WeakChromosomeList(f.todayMisses, WeakListVariant::Today) +
                         QStringLiteral("\n\n○性染色体　X(誤答") + QString::number(sex.xMisses) +
                         QStringLiteral("個/全") + QString::number(sex.xTotal) +
                         QStringLiteral("個中),") + QStringLiteral("Y(誤答") +
                         QString::number(sex.yMisses) + QStringLiteral("個/全") +
                         QString::number(sex.yTotal) + QStringLiteral("個中)\n\n");
    if (most != 0)
        return QStringLiteral("○本日の苦手染色体 (") + QStringLiteral("誤答回数 ") +
               QString::number(most) + QStringLiteral("個/練習") + QString::number(f.todayCount) +
               QStringLiteral("回中)\n\n") + list + QStringLiteral("\n○本日の平均解答時間は、") +
               average + QStringLiteral("秒です。\n");
    if (sex.xMisses != 0 || sex.yMisses != 0)
        return list; // no average line in this case
    return QStringLiteral("☆全問正解でした。\n") + QStringLiteral("\n☆本日の平均解答時間は、") +
           average + QStringLiteral("秒です。\n");
}

// The number text of the most-missed problem, followed by its sex when it is installed.
QString mostMissedProblem(const Figures &f, const InstalledSexes &sexes)
{
    // The lowest ratio wins; on ties the later number, as the values are taken in order.
    double best = 1.0;
    std::u16string_view chosen;
    for (const auto &[value, tally] : f.tallies) {
        const double ratio = double(tally.correct) / double(tally.records * SlotCount);
        if (ratio <= best) {
            best = ratio;
            chosen = value;
        }
    }
    // Every ratio is at most 1, so one value was chosen, and every value is a checked integer.
    const int number = *integerValue(QStringView(chosen.data(), qsizetype(chosen.size())));
    const auto female = sexes.female(number);
    QString text = problemNumberText(number);
    if (female)
        text += QStringLiteral(" (") + (*female ? QStringLiteral("女性") : QStringLiteral("男性")) +
                QStringLiteral(")");
    return text;
}

QString overallReport(Figures &f, const InstalledSexes &sexes)
{
    const int most = *std::max_element(f.overallMisses.begin(), f.overallMisses.end());
    SexCounts &sex = f.overallSex;
    sex.xMisses = sex.xTotal - sex.xCorrect;
    sex.yMisses = sex.yTotal - sex.yCorrect;
    const bool sexAllCorrect = sex.xMisses == 0 && sex.yMisses == 0;

    QString report = QStringLiteral("○正答 ") + QString::number(f.perfect) +
                     QStringLiteral("回/全練習") + QString::number(f.n) +
                     QStringLiteral("回中\n\n\n");
    report += QStringLiteral("○平均解答時間:  ") + averageText(double(f.secondsSum) / double(f.n)) +
              QStringLiteral("秒\n\n\n");
    report += QStringLiteral("○最も間違えやすい染色体(性染色体以外)\n\n");
    report += most != 0 ? WeakChromosomeList(f.overallMisses, WeakListVariant::AllRecords)
                        : QStringLiteral("   全問正解のため無し\n");
    report += QStringLiteral("\n  　(誤答回数") + QString::number(most) +
              QStringLiteral("回 / 全練習") + QString::number(f.n) + QStringLiteral("回中)\n\n");
    if (sexAllCorrect) {
        report +=
            QStringLiteral("○性染色体の間違い:\n\n") + QStringLiteral("   全問正解のため無し\n");
    } else {
        report += QStringLiteral("○性染色体の間違い:\n\n    X (誤答") +
                  QString::number(sex.xMisses) + QStringLiteral("個/全") +
                  QString::number(sex.xTotal) + QStringLiteral("個中)  Y (誤答") +
                  QString::number(sex.yMisses) + QStringLiteral("個/全") +
                  QString::number(sex.yTotal) + QStringLiteral("個中)");
    }
    report += QStringLiteral("\n\n");
    report += QStringLiteral("\n○最も間違えやすい画像番号(複数ある場合は代表)は、\n\n　　");
    if (most != 0 || !sexAllCorrect)
        report += mostMissedProblem(f, sexes) + QStringLiteral("\n\n　です。");
    else
        report += QStringLiteral("全問正解のためありません。") + QStringLiteral("\n\n");
    return report;
}

} // namespace

QString WeakChromosomeList(const std::array<int, 22> &misses, WeakListVariant variant)
{
    const bool today = variant == WeakListVariant::Today;
    const int most = *std::max_element(misses.begin(), misses.end());
    QString list = today ? QStringLiteral("　") : QStringLiteral("　　");
    int entries = 0;
    for (int k = 1; k <= 22; ++k) {
        const int m = misses[std::size_t(k - 1)];
        if (m == 0 || m != most)
            continue;
        list +=
            (today ? QStringLiteral("　") : QString()) + QString::number(k) + QStringLiteral("番");
        ++entries;
        if (entries == 6) {
            // Also when no further chromosome shares the count.
            list +=
                today ? QStringLiteral("\n    他たくさん！") : QStringLiteral("　他たくさん！\n");
            break;
        }
        if (entries == 3)
            list += today ? QStringLiteral("\n　") : QStringLiteral("\n  ");
        else
            list += QStringLiteral(", ");
    }
    return list;
}

struct GradeTally::Sums
{
    Sums(const TodayDate &today, const QStringList &problemList) : today(today), sexes(problemList)
    {
    }
    template <typename ProblemText>
    void take(const CheckedRecord &record, ProblemText problemText, bool ofToday);

    TodayDate today;
    InstalledSexes sexes;
    Figures f;
    GradeStatistics stats;
};

GradeTally::GradeTally(const TodayDate &today, const QStringList &problemList)
    : m(std::make_unique<Sums>(today, problemList))
{
}

GradeTally::~GradeTally() = default;

void GradeTally::reserve(qsizetype records)
{
    m->stats.accuracyPerAttempt.reserve(records);
    m->stats.secondsPerAttempt.reserve(records);
}

template <typename ProblemText>
void GradeTally::Sums::take(const CheckedRecord &record, ProblemText problemText, bool ofToday)
{
    ++f.n;
    const int correctText = qPopulationCount(record.text1);
    stats.accuracyPerAttempt.append(QPointF(double(f.n), correctText * 100 * (1.0 / SlotCount)));
    stats.secondsPerAttempt.append(QPointF(double(f.n), record.seconds));
    f.secondsSum += record.seconds;
    if (correctText == SlotCount)
        ++f.perfect;

    for (int k = 1; k <= 23; ++k)
        f.pairCorrect[std::size_t(k - 1)] += CheckedRecord::pairCount(record.value1, k);
    for (int k = 1; k <= 22; ++k)
        f.overallMisses[std::size_t(k - 1)] += CheckedRecord::pair(record.value1, k) != 3;

    // Records of a problem that is no longer installed have no sex: they stay out of the sex
    // figures and count everywhere else.
    const auto female = sexes.female(record.problem);
    if (female)
        f.overallSex.add(record, *female);

    ProblemTally &tally = f.tallyOf(problemText);
    ++tally.records;
    tally.correct += qPopulationCount(record.value1);

    if (ofToday) {
        ++f.todayCount;
        f.todaySeconds += record.seconds;
        for (int k = 1; k <= 22; ++k)
            f.todayMisses[std::size_t(k - 1)] += 2 - CheckedRecord::pairCount(record.text1, k);
        if (female)
            f.todaySex.add(record, *female);
    }
}

void GradeTally::add(const ResultsReadResult &part)
{
    const ResultsRecords &records = part.records;
    m->stats.linesLeftOut += int(part.unreadableLines.size());
    for (qsizetype r = 0; r < records.size(); ++r) {
        const ResultsRecords::Fields fields = records.fields(r);
        const auto checked = check(fields);
        if (!checked)
            ++m->stats.linesLeftOut;
        else
            m->take(*checked, fields[ProblemField], isRecordOfToday(fields[DateField], m->today));
    }
}

void GradeTally::addLines(QByteArrayView lines, qsizetype linesBefore)
{
    qsizetype lineNumber = linesBefore;
    PlainFields fields;
    forEachLine(lines, [&](QByteArrayView line) {
        if (++lineNumber == 1)
            return;
        const PlainLine form = fields.split(line);
        if (form == PlainLine::Other) {
            add(ResultsFile::parseLines(line, lineNumber - 1));
            return;
        }
        const auto checked = form == PlainLine::Record ? checkPlain(fields) : std::nullopt;
        if (!checked) {
            ++m->stats.linesLeftOut;
            return;
        }
        const QLatin1StringView date(fields.at(DateField), fields.length(DateField));
        m->take(*checked, QLatin1StringView(fields.at(ProblemField), fields.length(ProblemField)),
                m->today.written == date || m->today.localised == date);
    });
}

void GradeTally::addUnreadableLine()
{
    ++m->stats.linesLeftOut;
}

GradeStatistics GradeTally::finish(bool fileRead)
{
    GradeStatistics stats = std::move(m->stats);
    Figures &f = m->f;
    if (f.n == 0 || !fileRead) {
        // Also a file without even its header, or one whose every line was left out. A file that
        // could not be read at all says nothing about whether the trainee has practised.
        const int leftOut = fileRead ? stats.linesLeftOut : 0;
        stats = GradeStatistics();
        stats.linesLeftOut = leftOut;
        stats.TodayReport =
            fileRead ? QStringLiteral("〇成績はありません。\n\nまだ練習していないか、\n\n"
                                      "練習記録をクリアしたばかりです。")
                     : QStringLiteral("〇成績を表示できません。\n\n成績ファイルを読めません"
                                      "でした。\n\n理由は上の赤い文字のとおりです。");
        stats.OverallReport = QStringLiteral("正答 0 回 / 全トライアル 0 回中");
        return stats;
    }
    stats.noRecords = false;
    stats.accuracyPerPair.reserve(23);
    for (int k = 1; k <= 23; ++k)
        stats.accuracyPerPair.append(
            QPointF(k, double(f.pairCorrect[std::size_t(k - 1)]) * 100 / (2.0 * double(f.n))));
    stats.TodayReport = todayReport(f);
    stats.OverallReport = overallReport(f, m->sexes);
    return stats;
}

GradeStatistics GradeStatistics::compute(const ResultsReadResult &read, const TodayDate &today,
                                         const QStringList &problemList)
{
    GradeTally tally(today, problemList);
    tally.reserve(read.records.size());
    tally.add(read);
    return tally.finish(read.ok());
}

GradeStatistics gradeStatisticsOfFile(const QString &path, const TodayDate &today,
                                      const QStringList &problemList, QString *error)
{
    GradeTally tally(today, problemList);
    // A record line takes at least this many bytes: room reserved past the real count is never
    // touched, so costs nothing, while growing the series as they fill would copy them.
    constexpr qint64 ShortestRecordBytes = 110;
    const qint64 size = QFileInfo(path).size();
    if (size > 0 && size <= ResultsFile::MaxBlockReadBytes)
        tally.reserve(qsizetype(size / ShortestRecordBytes));
    *error = ResultsFile::readLineRuns(
        path,
        [&](QByteArrayView lines, qsizetype linesBefore) { tally.addLines(lines, linesBefore); },
        [&](qsizetype lineNumber) {
            if (lineNumber > 1)
                tally.addUnreadableLine();
        },
        256 << 10);
    return tally.finish(error->isEmpty());
}

} // namespace queldo
