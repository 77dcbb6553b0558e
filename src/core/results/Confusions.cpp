#include "core/results/Confusions.h"

#include "core/board/AnswerKey.h"
#include "core/board/ChromosomeId.h"
#include "core/board/ProblemFolder.h"
#include "core/results/ResultsRecordLayout.h"

#include <algorithm>

namespace queldo {

namespace {

// Confusion classes are the chromosomes counted from 1: X and Y are ClassX and ClassY.
static_assert(ChromosomeId::X + 1 == ClassX && ChromosomeId::Y + 1 == ClassY);

// The class a place wants; the XY place wants X in a female cell.
int wantedClass(int place, bool female)
{
    return ChromosomeId::ofPlace(place, female) + 1;
}

int placedClass(int piece, bool female)
{
    return piece < 0 ? EmptyColumn : ChromosomeId::ofPiece(piece, female) + 1;
}

void count(ConfusionTable &table, const Arrangement &places, bool female, int step)
{
    // Made once: a long history counts tens of thousands of places.
    static const CellKey femaleKey = CellKey::normal(true);
    static const CellKey maleKey = CellKey::normal(false);
    const CellKey &key = female ? femaleKey : maleKey;
    table.attempts += step;
    for (int place = 0; place < SlotCount; ++place) {
        const PlacedPiece &placed = places[std::size_t(place)];
        const int wanted = wantedClass(place, female);
        // The verdict is scoring's own, so that what counts as upright agrees with the grades.
        if (!isUpright(placed.rotationStep) &&
            slotVerdict(place, placed.piece, placed.rotationStep, key) == SlotTurnedTooFar)
            table.turned[std::size_t(wanted - 1)] += step;
        else
            table.cell(wanted, placedClass(placed.piece, female)) += step;
    }
}

bool sameText(QStringView a, const QString &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

} // namespace

QString confusionClassName(int classNumber)
{
    if (classNumber == ClassX)
        return QStringLiteral("X");
    if (classNumber == ClassY)
        return QStringLiteral("Y");
    if (classNumber == EmptyColumn)
        return QStringLiteral("空");
    return QStringLiteral("%1番").arg(classNumber);
}

int ConfusionTable::largestConfusion() const
{
    int largest = 0;
    for (int wanted = 1; wanted <= ConfusionRows; ++wanted)
        for (int placed = 1; placed <= ConfusionRows; ++placed)
            if (placed != wanted)
                largest = std::max(largest, cell(wanted, placed));
    return largest;
}

std::vector<Confusion> topConfusions(const ConfusionTable &table, int limit)
{
    std::vector<Confusion> all;
    for (int wanted = 1; wanted <= ConfusionRows; ++wanted)
        for (int placed = 1; placed <= ConfusionRows; ++placed)
            if (placed != wanted && table.cell(wanted, placed) > 0)
                all.push_back({wanted, placed, table.cell(wanted, placed)});
    // Taken in class order, so a stable sort by count keeps ties in class order.
    std::stable_sort(all.begin(), all.end(),
                     [](const Confusion &a, const Confusion &b) { return a.count > b.count; });
    if (all.size() > std::size_t(std::max(0, limit)))
        all.resize(std::size_t(std::max(0, limit)));
    return all;
}

QString confusionSentence(const Confusion &confusion)
{
    return QStringLiteral("%1の位置に%2: %3回")
        .arg(confusionClassName(confusion.wanted), confusionClassName(confusion.placed))
        .arg(confusion.count);
}

void countArrangement(ConfusionCounts &counts, const ArrangementLine &line,
                      const InstalledSexes &sexes, const TodayDate &today, int step)
{
    const std::optional<bool> female = sexes.female(line.problemNumber);
    if (!female) {
        counts.uninstalledProblems += step;
        return;
    }
    count(counts.all, line.places, *female, step);
    if (isRecordOfToday(line.date, today))
        count(counts.today, line.places, *female, step);
}

ConfusionCounts countConfusions(const std::vector<ArrangementLine> &lines,
                                const InstalledSexes &sexes, const TodayDate &today)
{
    ConfusionCounts counts;
    for (const ArrangementLine &line : lines)
        countArrangement(counts, line, sexes, today);
    return counts;
}

std::vector<AttemptEntry> matchAttempts(const ResultsRecords &records,
                                        const std::vector<ArrangementLine> &lines)
{
    // The last line of a number wins: should an erase ever have left older lines behind, the
    // newer ones are those of the present history.
    // Unreadable lines are left out of the records but keep their numbers.
    const qsizetype lastNumber =
        records.isEmpty() ? -1 : records.lineNumber(records.size() - 1) - 2;
    std::vector<int> byNumber;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = lines[i].recordNumber;
        if (number > lastNumber)
            continue; // no record of this history can carry it
        if (std::size_t(number) >= byNumber.size())
            byNumber.resize(std::size_t(number) + 1, -1);
        byNumber[std::size_t(number)] = int(i);
    }

    std::vector<AttemptEntry> attempts;
    attempts.reserve(std::size_t(records.size()));
    for (qsizetype r = 0; r < records.size(); ++r) {
        if (records.fieldCount(r) != ResultsRecordLayout::FieldCount)
            continue;
        const ResultsRecords::Fields fields = records.fields(r);
        const QStringView date = fields[ResultsRecordLayout::DateField];
        AttemptEntry entry;
        // The header is line 1, so the record on line l had l - 2 records before it.
        entry.recordNumber = int(records.lineNumber(r) - 2);
        entry.date = date.toString();
        bool ok = false;
        entry.problemNumber = fields[ResultsRecordLayout::ProblemField].toInt(&ok);
        if (!ok)
            continue;
        for (int s = 0; s < SlotCount; ++s)
            entry.correctCount += fields[ResultsRecordLayout::placeField(s)] == u"1";
        if (std::size_t(entry.recordNumber) < byNumber.size()) {
            const int i = byNumber[std::size_t(entry.recordNumber)];
            if (i >= 0 && lines[std::size_t(i)].problemNumber == entry.problemNumber &&
                sameText(date, lines[std::size_t(i)].date))
                entry.arrangement = i;
        }
        attempts.push_back(std::move(entry));
    }
    return attempts;
}

std::vector<ArrangementLine> matchedLines(const std::vector<AttemptEntry> &attempts,
                                          const std::vector<ArrangementLine> &lines)
{
    std::vector<ArrangementLine> matched;
    matched.reserve(attempts.size());
    for (const AttemptEntry &attempt : attempts)
        if (attempt.arrangement >= 0)
            matched.push_back(lines[std::size_t(attempt.arrangement)]);
    return matched;
}

ConfusionData gatherConfusions(const ResultsReadResult &results,
                               ArrangementFile::ReadResult arrangements,
                               const QStringList &problemList, const TodayDate &today)
{
    ConfusionData data;
    data.resultsError = results.error;
    data.lines = std::move(arrangements.lines);
    data.damagedLines = std::move(arrangements.damagedLines);
    data.attempts = matchAttempts(results.records, data.lines);
    // Over the matched lines where they lie, oldest first as matchedLines() gives them.
    const InstalledSexes sexes(problemList);
    for (const AttemptEntry &attempt : data.attempts) {
        if (attempt.arrangement < 0)
            ++data.withoutArrangement;
        else
            countArrangement(data.counts, data.lines[std::size_t(attempt.arrangement)], sexes,
                             today);
    }
    return data;
}

QString confusionSummary(const ConfusionTable &table)
{
    QStringList lines;
    for (const Confusion &confusion : topConfusions(table))
        lines << confusionSentence(confusion);
    if (lines.isEmpty())
        lines << (table.attempts == 0 ? QStringLiteral("数えられる試行がありません。")
                                      : QStringLiteral("取り違えはありません。"));
    int turned = 0;
    for (int t : table.turned)
        turned += t;
    if (turned > 0)
        lines << QStringLiteral("番号は正しく向きが違うもの: %1回").arg(turned);
    return lines.join(u'\n');
}

QString confusionNotices(const ConfusionData &data)
{
    QStringList lines;
    if (!data.resultsError.isEmpty())
        lines << data.resultsError;
    if (data.withoutArrangement > 0)
        lines << QStringLiteral("配置の記録がない試行 %1回は数えていません。")
                     .arg(data.withoutArrangement);
    if (!data.damagedLines.empty())
        lines << QStringLiteral("配置の記録の壊れた行 %1行を読み飛ばしました。")
                     .arg(data.damagedLines.size());
    if (data.counts.uninstalledProblems > 0)
        lines << QStringLiteral("インストールされていない問題の試行 %1回は数えていません。")
                     .arg(data.counts.uninstalledProblems);
    return lines.join(u'\n');
}

QString replayRefusal(const AttemptEntry &attempt, int installedProblems)
{
    if (attempt.problemNumber < 1 || attempt.problemNumber > installedProblems)
        return QStringLiteral("問題 %1 はインストールされていないため、この試行は再現できません。")
            .arg(problemNumberText(attempt.problemNumber));
    if (attempt.arrangement < 0)
        return QStringLiteral("この試行は配置の記録がないため再現できません。");
    return {};
}

bool canReplay(const AttemptEntry &attempt, int installedProblems)
{
    return attempt.problemNumber >= 1 && attempt.problemNumber <= installedProblems &&
           attempt.arrangement >= 0;
}

QColor heatColour(int count, int largest)
{
    if (count <= 0 || largest <= 0)
        return QColor(0xFF, 0xFF, 0xFF);
    const double t = std::min(1.0, double(count) / double(largest));
    // From a pale yellow for a single mix-up to a deep red for the most frequent one.
    auto mix = [t](int from, int to) { return int(from + (to - from) * t + 0.5); };
    return QColor(mix(0xFF, 0xD0), mix(0xF0, 0x20), mix(0xB0, 0x20));
}

} // namespace queldo
