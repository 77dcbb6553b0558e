#include "core/results/ClassOverview.h"

#include "core/app/AppPaths.h"
#include "core/app/UserFiles.h"
#include "core/results/ArrangementFile.h"
#include "core/results/GradeStatistics.h"
#include "core/results/ResultsFile.h"
#include "core/results/ResultsRecordLayout.h"
#include "core/text/Cp932Text.h"
#include "core/text/InPlaceAppend.h"
#include "core/text/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <numeric>
#include <optional>
#include <thread>

namespace queldo {

namespace {

// As large as the readers of the two files accept.
constexpr qint64 MaxFileBytes = qint64(1) << 30;
constexpr int TrendLength = 20;
constexpr int MostMissedCount = 3;

struct FinishedFile
{
    QByteArray bytes;
    QString error;
    bool missing = false;
    bool link = false;
};

FinishedFile readFinished(const QString &path)
{
    FinishedFile file;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        file.link = true;
        return file;
    }
    if (!info.exists()) {
        file.missing = true;
        return file;
    }
    try {
        FileBytes read = readRegularFile(path, MaxFileBytes);
        if (!read.ok())
            file.error = read.error;
        else
            file.bytes = finishedLines(path, std::move(read.bytes));
    } catch (const std::bad_alloc &) {
        file.error = QStringLiteral("ファイルが大きすぎます。");
    }
    return file;
}

// The date texts of this week's days in both forms, Monday first.
class WeekDates
{
public:
    explicit WeekDates(const OverviewDay &day)
    {
        if (!day.today.isValid())
            return;
        for (QDate d = day.today.addDays(1 - day.today.dayOfWeek()); d <= day.today;
             d = d.addDays(1))
            m_days.emplace_back(d, day.locale);
    }
    bool contains(QStringView date) const
    {
        return std::any_of(m_days.begin(), m_days.end(),
                           [date](const TodayDate &d) { return isRecordOfToday(date, d); });
    }

private:
    std::vector<TodayDate> m_days;
};

int placesRight(double percent)
{
    return int(std::lround(percent * SlotCount / 100));
}

QDate dateOf(const QString &text, const QLocale &locale)
{
    const QDate written = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
    return written.isValid() ? written : locale.toDate(text, QLocale::ShortFormat);
}

void summarise(TraineeSummary &summary, const QString &lastDate, const GradeStatistics &statistics,
               const QLocale &locale)
{
    const auto &accuracy = statistics.accuracyPerAttempt;
    summary.attempts = int(accuracy.size());
    if (statistics.linesLeftOut > 0)
        summary.note = QStringLiteral("%1行を読めませんでした").arg(statistics.linesLeftOut);
    if (summary.attempts == 0) {
        summary.state = TraineeFolderState::NoAttempts;
        if (summary.note.isEmpty())
            summary.note = QStringLiteral("まだ練習していません");
        return;
    }
    summary.state = TraineeFolderState::Practised;
    const int perfect = int(std::count_if(accuracy.begin(), accuracy.end(), [](const QPointF &p) {
        return placesRight(p.y()) == SlotCount;
    }));
    summary.perfectShare = double(perfect) / summary.attempts;
    const double seconds =
        std::accumulate(statistics.secondsPerAttempt.begin(), statistics.secondsPerAttempt.end(),
                        0.0, [](double sum, const QPointF &p) { return sum + p.y(); });
    summary.meanSeconds = seconds / summary.attempts;
    for (qsizetype i = std::max<qsizetype>(0, accuracy.size() - TrendLength); i < accuracy.size();
         ++i)
        summary.trend.push_back(placesRight(accuracy[i].y()));

    std::vector<int> pairs;
    for (const QPointF &p : statistics.accuracyPerPair)
        if (p.y() < 100 - 1e-9)
            pairs.push_back(int(p.x()));
    std::stable_sort(pairs.begin(), pairs.end(), [&](int a, int b) {
        return statistics.accuracyPerPair[a - 1].y() < statistics.accuracyPerPair[b - 1].y();
    });
    pairs.resize(std::min<std::size_t>(pairs.size(), MostMissedCount));
    summary.mostMissed = pairs;

    summary.lastDate = lastDate;
    summary.lastDay = dateOf(lastDate, locale);
}

// What the overview takes of each results record beside the grade statistics: the key its
// arrangement line is matched by, as matchAttempts() pairs them (a record read whole with a
// problem number), and the date of the last one.
class RecordScan
{
public:
    struct Key
    {
        int problemNumber = 0;
        QString date; ///< shared with the records before it of the same day
        bool attempt = false;
    };
    std::vector<Key> keys; ///< by record number
    int attempts = 0;
    QString lastDate;

    void addLine(QByteArrayView line, qsizetype lineNumber)
    {
        // The header is line 1, so the record on line l had l - 2 records before it; unreadable
        // lines keep their numbers.
        const auto number = std::size_t(lineNumber - 2);
        namespace Layout = ResultsRecordLayout;
        switch (m_fields.split(line)) {
        case Layout::PlainLine::Record:
            add(number, QLatin1StringView(m_fields[Layout::DateField]),
                m_fields.integer(Layout::ProblemField));
            return;
        case Layout::PlainLine::NotRecord:
            return;
        case Layout::PlainLine::Other:
            break;
        }
        const ResultsReadResult read = ResultsFile::parseLines(line, lineNumber - 1);
        if (!read.records.isEmpty() && read.records.fieldCount(0) == Layout::FieldCount) {
            bool ok = false;
            const int problem = read.records.field(0, Layout::ProblemField).toInt(&ok);
            add(number, read.records.field(0, Layout::DateField),
                ok ? std::optional(problem) : std::nullopt);
        }
    }

private:
    ResultsRecordLayout::PlainFields m_fields;

    static QString textOf(QLatin1StringView text) { return QString(text); }
    static QString textOf(QStringView text) { return text.toString(); }
    template <typename Text> void add(std::size_t number, Text date, std::optional<int> problem)
    {
        if (lastDate != date)
            lastDate = textOf(date);
        if (!problem)
            return;
        if (number >= keys.size())
            keys.resize(number + 1);
        keys[number] = {*problem, lastDate, true};
        ++attempts;
    }
};

// Counts a trainee's confusions while the arrangement lines are read, a line at a time and in
// place: a long history is never held line by line. A line is counted as soon as it matches its
// record; should a later line of the same number come, the last one wins, as it does for the
// trainee, and the earlier one is taken out again.
void countClassConfusions(ClassConfusions &out, const RecordScan &records,
                          const QString &arrangementPath, const QStringList &problemList,
                          const OverviewDay &day, const TodayDate &today)
{
    const std::vector<RecordScan::Key> &keys = records.keys;
    out.withoutArrangement = records.attempts;
    const FinishedFile file = readFinished(arrangementPath);
    // Without its arrangements a trainee's attempts still count everywhere but in the tables.
    if (file.link || file.missing || !file.error.isEmpty())
        return;

    const InstalledSexes sexes(problemList);
    const WeekDates week(day);
    ConfusionCounts counts;
    ConfusionCounts weekCounts;
    QString weekDate;
    bool inWeek = false;
    const auto add = [&](const ArrangementLine &line, int step) {
        countArrangement(counts, line, sexes, today, step);
        // A date holds for a few attempts in a row: looked up once for them.
        if (line.date != weekDate) {
            weekDate = line.date;
            inWeek = week.contains(line.date);
        }
        if (inWeek)
            countArrangement(weekCounts, line, sexes, today, step);
    };

    const QByteArrayView bytes(file.bytes);
    std::vector<qsizetype> counted(keys.size(), -1); // where each number's counted line begins
    ArrangementFile::LineReader reader;
    ArrangementFile::LineReader earlierReader;
    qsizetype lineNumber = 0;
    forEachLine(bytes, [&](QByteArrayView text) {
        if (++lineNumber == 1)
            return; // the header
        const ArrangementLine *line = reader.read(text);
        if (!line || std::size_t(line->recordNumber) >= keys.size())
            return; // damaged, or no record of this history can carry it
        const auto number = std::size_t(line->recordNumber);
        if (counted[number] >= 0) {
            qsizetype end = counted[number];
            while (bytes[end] != '\r' && bytes[end] != '\n')
                ++end; // the bytes end with a line end
            if (const ArrangementLine *taken =
                    earlierReader.read(bytes.sliced(counted[number], end - counted[number])))
                add(*taken, -1);
            counted[number] = -1;
            ++out.withoutArrangement;
        }
        const RecordScan::Key &key = keys[number];
        if (!key.attempt || key.problemNumber != line->problemNumber || key.date != line->date)
            return;
        add(*line, 1);
        counted[number] = text.data() - bytes.data();
        --out.withoutArrangement;
    });
    out.today = counts.today;
    out.all = counts.all;
    out.week = weekCounts.all;
    out.uninstalledProblems = counts.uninstalledProblems;
}

void addClassConfusions(ClassConfusions &sum, const ClassConfusions &one)
{
    addConfusions(sum.today, one.today);
    addConfusions(sum.week, one.week);
    addConfusions(sum.all, one.all);
    sum.withoutArrangement += one.withoutArrangement;
    sum.uninstalledProblems += one.uninstalledProblems;
}

} // namespace

QByteArray finishedLines(const QString &path, QByteArray bytes)
{
    bytes.truncate(qsizetype(finishedLength(path, bytes.size())));
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] != '\n' && bytes[end - 1] != '\r')
        --end;
    bytes.truncate(end);
    return bytes;
}

void addConfusions(ConfusionTable &sum, const ConfusionTable &table)
{
    for (std::size_t r = 0; r < sum.counts.size(); ++r) {
        for (std::size_t c = 0; c < sum.counts[r].size(); ++c)
            sum.counts[r][c] += table.counts[r][c];
        sum.turned[r] += table.turned[r];
    }
    sum.attempts += table.attempts;
}

TraineeReading readTrainee(const QString &resultFolder, const QString &name,
                           const QStringList &problemList, const OverviewDay &day)
{
    TraineeReading reading;
    TraineeSummary &summary = reading.summary;
    summary.id = name;
    const QString folder = QDir(resultFolder).filePath(name);
    const QFileInfo info(folder);
    if (info.isSymLink()) {
        summary.state = TraineeFolderState::Link;
        summary.note = QStringLiteral("リンクのため読みません");
        return reading;
    }
    if (!info.isDir()) {
        summary.state = TraineeFolderState::Damaged;
        summary.note = QStringLiteral("フォルダではありません");
        return reading;
    }
    if (!info.isReadable() || !info.isExecutable()) {
        summary.state = TraineeFolderState::Unreadable;
        summary.note = QStringLiteral("フォルダを開けません");
        return reading;
    }
    const FinishedFile results = readFinished(
        AppPaths::resolveCaseInsensitive(folder, {userFileName(name, UserFile::Results)}));
    if (results.link) {
        summary.state = TraineeFolderState::Link;
        summary.note = QStringLiteral("成績ファイルがリンクのため読みません");
        return reading;
    }
    if (results.missing) {
        summary.state = TraineeFolderState::Damaged;
        summary.note = QStringLiteral("成績ファイルがありません");
        return reading;
    }
    if (!results.error.isEmpty()) {
        summary.state = TraineeFolderState::Unreadable;
        summary.note = results.error;
        return reading;
    }
    // Straight from the bytes, as the grade analysis reads them, and the keys of the records in a
    // second look at the same bytes: nothing is held record by record.
    const TodayDate today(day.today, day.locale);
    GradeTally tally(today, problemList);
    tally.reserve(results.bytes.size() / 110);
    tally.addLines(results.bytes, 0);
    RecordScan records;
    qsizetype lineNumber = 0;
    forEachLine(results.bytes, [&](QByteArrayView line) {
        if (++lineNumber > 1)
            records.addLine(line, lineNumber);
    });
    summarise(summary, records.lastDate, tally.finish(true), day.locale);
    countClassConfusions(
        reading.confusions, records,
        AppPaths::resolveCaseInsensitive(folder, {userFileName(name, UserFile::Arrangements)}),
        problemList, day, today);
    return reading;
}

ClassOverview readClassOverview(const QString &resultFolder, const QStringList &problemList,
                                const OverviewDay &day, int threads)
{
    ClassOverviewReader reader;
    return reader.read(resultFolder, problemList, day, threads);
}

namespace {

// What tells that a file changed since it was read: appends change the size, rewrites the time.
// Taken before the file is read, so that an append racing the reading is read again next time.
struct FileStamp
{
    qint64 size = -1;
    qint64 modified = 0;
    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isSymLink())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

std::array<FileStamp, 2> stampsOf(const QString &resultFolder, const QString &name)
{
    const QString folder = QDir(resultFolder).filePath(name);
    return {
        stampOf(AppPaths::resolveCaseInsensitive(folder, {userFileName(name, UserFile::Results)})),
        stampOf(AppPaths::resolveCaseInsensitive(folder,
                                                 {userFileName(name, UserFile::Arrangements)}))};
}

QStringList traineeNames(const QString &resultFolder)
{
    // Links and broken links are listed too (System), so that they show as such.
    QStringList names =
        QDir(resultFolder)
            .entryList(QDir::Dirs | QDir::Files | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Unsorted);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString &n) { return n.startsWith(QLatin1Char('.')); }),
                names.end());
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

} // namespace

struct ClassOverviewReader::Cached
{
    std::array<FileStamp, 2> stamps;
    TraineeReading reading;
};

ClassOverviewReader::ClassOverviewReader() = default;
ClassOverviewReader::~ClassOverviewReader() = default;

ClassOverview ClassOverviewReader::read(const QString &resultFolder, const QStringList &problemList,
                                        const OverviewDay &day, int threads)
{
    // Another folder, another set of problems or another day changes every figure.
    if (resultFolder != m_folder || problemList != m_problemList || day.today != m_today) {
        m_cache.clear();
        m_folder = resultFolder;
        m_problemList = problemList;
        m_today = day.today;
    }
    const QStringList names = traineeNames(resultFolder);
    std::vector<Cached> readings(std::size_t(names.size()));
    std::atomic<qsizetype> next{0};
    auto work = [&] {
        for (qsizetype i = next++; i < names.size(); i = next++) {
            Cached &entry = readings[std::size_t(i)];
            entry.stamps = stampsOf(resultFolder, names[i]);
            const auto cached = m_cache.find(names[i]);
            if (cached != m_cache.end() && cached->second.stamps == entry.stamps) {
                entry.reading = cached->second.reading;
                continue;
            }
            try {
                entry.reading = readTrainee(resultFolder, names[i], problemList, day);
            } catch (const std::bad_alloc &) {
                TraineeSummary &s = entry.reading.summary;
                s.id = names[i];
                s.state = TraineeFolderState::Unreadable;
                s.note = QStringLiteral("ファイルが大きすぎます。");
            }
        }
    };
    const int count = std::max(1, threads > 0 ? threads : int(std::thread::hardware_concurrency()));
    std::vector<std::thread> workers;
    for (int t = 1; t < std::min<qsizetype>(count, names.size()); ++t)
        workers.emplace_back(work);
    work();
    for (std::thread &worker : workers)
        worker.join();

    ClassOverview overview;
    overview.trainees.reserve(readings.size());
    m_cache.clear();
    for (qsizetype i = 0; i < names.size(); ++i) {
        Cached &entry = readings[std::size_t(i)];
        addClassConfusions(overview.confusions, entry.reading.confusions);
        overview.trainees.push_back(entry.reading.summary);
        // A folder that could not be read is looked at afresh every time: it costs nothing.
        const auto state = entry.reading.summary.state;
        if (state == TraineeFolderState::Practised || state == TraineeFolderState::NoAttempts)
            m_cache.emplace(names[i], std::move(entry));
    }
    return overview;
}

} // namespace queldo
