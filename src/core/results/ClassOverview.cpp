#include "core/results/ClassOverview.h"

#include "core/app/AppPaths.h"
#include "core/app/UserFiles.h"
#include "core/results/ArrangementFile.h"
#include "core/results/GradeStatistics.h"
#include "core/results/ResultsFile.h"
#include "core/results/ResultsRecordLayout.h"
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

void summarise(TraineeSummary &summary, const ResultsReadResult &read,
               const GradeStatistics &statistics, const QLocale &locale)
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

    // The last attempt the statistics could count: a damaged line after it has no usable date.
    const ResultsRecords &records = read.records;
    for (qsizetype r = records.size() - 1; r >= 0; --r) {
        if (records.fieldCount(r) == ResultsRecordLayout::FieldCount) {
            summary.lastDate = records.field(r, ResultsRecordLayout::DateField).toString();
            summary.lastDay = dateOf(summary.lastDate, locale);
            break;
        }
    }
}

void countClassConfusions(ClassConfusions &out, const ResultsReadResult &results,
                          const QString &arrangementPath, const QStringList &problemList,
                          const OverviewDay &day, const TodayDate &today)
{
    ArrangementFile::ReadResult arrangements;
    const FinishedFile file = readFinished(arrangementPath);
    // Without its arrangements a trainee's attempts still count everywhere but in the tables.
    if (file.link)
        arrangements.error = QStringLiteral("配置ファイルがリンクのため読みません");
    else if (file.missing)
        arrangements.error = QStringLiteral("配置ファイルがありません");
    else if (!file.error.isEmpty())
        arrangements.error = file.error;
    else
        arrangements = ArrangementFile::parse(file.bytes);
    ConfusionData data = gatherConfusions(results, std::move(arrangements), problemList, today);
    out.today = data.counts.today;
    out.all = data.counts.all;
    out.withoutArrangement = data.withoutArrangement;
    out.uninstalledProblems = data.counts.uninstalledProblems;

    const WeekDates week(day);
    std::vector<ArrangementLine> weekLines;
    for (const AttemptEntry &attempt : data.attempts)
        if (attempt.arrangement >= 0 && week.contains(attempt.date))
            weekLines.push_back(std::move(data.lines[std::size_t(attempt.arrangement)]));
    out.week = countConfusions(weekLines, InstalledSexes(problemList), today).all;
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
    const ResultsReadResult read = results.error.isEmpty()
                                       ? ResultsFile::parse(results.bytes)
                                       : ResultsReadResult{{}, {}, results.error};
    if (!read.ok()) {
        summary.state = TraineeFolderState::Unreadable;
        summary.note = read.error;
        return reading;
    }
    const TodayDate today(day.today, day.locale);
    summarise(summary, read, GradeStatistics::compute(read, today, problemList), day.locale);
    countClassConfusions(
        reading.confusions, read,
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
