#pragma once

#include "core/board/InstalledSexes.h"
#include "core/results/ArrangementFile.h"
#include "core/results/ResultsDate.h"
#include "core/results/ResultsFile.h"
#include "core/results/ResultsRecords.h"

#include <QColor>

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

struct ConfusionCounts
{
    ConfusionTable all;
    ConfusionTable today;
    /// Attempts of a problem no longer installed: without its sex the X and XY places cannot be
    /// judged, so they are left out and counted here.
    int uninstalledProblems = 0;
};

/// Counts one attempt into all and, when it is of today, today's; step -1 takes it out again.
void countArrangement(ConfusionCounts &counts, const ArrangementLine &line,
                      const InstalledSexes &sexes, const TodayDate &today, int step = 1);

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

/// Everything the confusion window shows, gathered from the two files.
struct ConfusionData
{
    std::vector<AttemptEntry> attempts;
    /// Gathered from lines already read (gatherConfusions()): those lines, which the attempts'
    /// `arrangement` indexes. Read from the files (readConfusions()): empty, and the attempts
    /// index lineOffsets instead.
    std::vector<ArrangementLine> lines;
    /// Where the counted attempts' lines begin in the arrangement file: read again only for the
    /// one attempt that is replayed, so that a long history is never held line by line.
    std::vector<qint64> lineOffsets;
    ConfusionCounts counts;
    int withoutArrangement = 0; ///< attempts the arrangement file has nothing for
    /// Lines of the arrangement file that were skipped as damaged.
    std::vector<qsizetype> damagedLines;
    QString resultsError; ///< the results file could not be read
};

/// Matches the records with the arrangement lines and counts the confusions over the matched
/// attempts. A missing or unreadable arrangement file only leaves every attempt without data.
/// The lines are taken over, not copied: a long history's are the largest part of it.
ConfusionData gatherConfusions(const ResultsReadResult &results,
                               ArrangementFile::ReadResult arrangements,
                               const QStringList &problemList, const TodayDate &today);

/// The five most frequent mix-ups, one sentence a line, then the turned places; a sentence of
/// its own when there is nothing to show.
QString confusionSummary(const ConfusionTable &table);
/// What the counts leave out and why, one line each; empty when nothing is left out.
QString confusionNotices(const ConfusionData &data);
/// Why an attempt cannot be replayed; empty when it can.
QString replayRefusal(const AttemptEntry &attempt, int installedProblems);
/// Whether replayRefusal() is empty, without making the message: the list asks for every row
/// it draws.
bool canReplay(const AttemptEntry &attempt, int installedProblems);

/// The colour of a heat-map cell: white for nothing, deepening towards red up to `largest`.
QColor heatColour(int count, int largest);

} // namespace queldo
