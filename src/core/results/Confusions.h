#pragma once

#include "core/results/ArrangementFile.h"
#include "core/results/ResultsDate.h"
#include "core/results/ResultsRecords.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace queldo {

/// Classes as the confusion table counts them: 1 to 22, then X and Y.
inline constexpr int ClassX = 23;
inline constexpr int ClassY = 24;
inline constexpr int ConfusionRows = 24;
/// The last column counts places left empty.
inline constexpr int ConfusionColumns = 25;
inline constexpr int EmptyColumn = 25;

/// "9番", "X" or "Y" for a class 1 to 24; "空" for the empty column.
QString confusionClassName(int classNumber);

/// Which chromosome was put where, over a set of attempts.
struct ConfusionTable
{
    /// cell(wanted, placed): places wanting class `wanted` (1 to 24) that held class `placed`
    /// (1 to 24, or EmptyColumn). The diagonal counts the right class standing upright.
    std::array<std::array<int, ConfusionColumns>, ConfusionRows> counts{};
    /// Places holding their right class turned too far (scored -2), by wanted class: not a mix-up
    /// of chromosomes, so kept out of the table.
    std::array<int, ConfusionRows> turned{};
    int attempts = 0;

    int cell(int wanted, int placed) const
    {
        return counts[std::size_t(wanted - 1)][std::size_t(placed - 1)];
    }
    int &cell(int wanted, int placed)
    {
        return counts[std::size_t(wanted - 1)][std::size_t(placed - 1)];
    }
    /// The largest count off the diagonal and outside the empty column: the top of a heat scale.
    int largestConfusion() const;
};

struct Confusion
{
    int wanted;
    int placed;
    int count;
};

/// The most frequent mix-ups (a wrong class in a place; empty places are not mix-ups), most
/// frequent first, ties by the lower wanted class, then the lower placed class.
std::vector<Confusion> topConfusions(const ConfusionTable &table, int limit = 5);
/// "9番の位置に10番: 4回"
QString confusionSentence(const Confusion &confusion);

/// The sex of each installed problem, by problem number (1 up), from the problem list.
class InstalledSexes
{
public:
    explicit InstalledSexes(const QStringList &problemList);
    /// 1 female, 0 male, -1 not installed.
    int femaleOf(int problemNumber) const
    {
        return problemNumber >= 1 && problemNumber <= int(m_female.size())
                   ? m_female[std::size_t(problemNumber - 1)]
                   : -1;
    }

private:
    std::vector<signed char> m_female;
};

struct ConfusionCounts
{
    ConfusionTable all;
    ConfusionTable today;
    /// Attempts of a problem no longer installed: without its sex the X and XY places cannot be
    /// judged, so they are left out and counted here.
    int uninstalledProblems = 0;
};

/// Counts the attempts place by place. Today's are those dated today in either form.
ConfusionCounts countConfusions(const std::vector<ArrangementLine> &lines,
                                const InstalledSexes &sexes, const TodayDate &today);

/// One scored attempt as the trainee's list shows it: the results record, and its arrangement
/// when the arrangement file has it.
struct AttemptEntry
{
    int recordNumber = 0; ///< 0 for the first record of the history
    QString date;
    int problemNumber = 0;
    int correctCount = 0;
    /// Index into the arrangement lines, -1 when they hold nothing for this record.
    int arrangement = -1;
};

/// The results records matched with the arrangement lines by record number, date and problem
/// number. A record's number is its place in the file, as it was written.
std::vector<AttemptEntry> matchAttempts(const ResultsRecords &records,
                                        const std::vector<ArrangementLine> &lines);

/// The arrangement lines that belong to a record of the results file, oldest first: the ones
/// the confusions are counted over.
std::vector<ArrangementLine> matchedLines(const std::vector<AttemptEntry> &attempts,
                                          const std::vector<ArrangementLine> &lines);

} // namespace queldo
