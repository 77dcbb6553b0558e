// A trainee's folder as a crash, another computer or a hostile hand may leave it: results or
// arrangement bytes of any kind, an undo note (none, any bytes, one of the length alone, or one
// naming the file as an interrupted append leaves it, perhaps a field off), and temporary files
// of saves, old and new. On it run what the program runs: the cleanup of stale temporaries, the
// readers, then an append with its undo of what the note guards, then the readers again.
//
// Promises: readers leave out exactly what a note of this file guards; an append keeps every
// byte before that (all of them, when the note is not the file's), adds the bytes the pure
// composition gives and leaves no note; a note that is not the file's is moved aside and said;
// the cleanup never removes the trainee's files or a fresh temporary.
#include "FuzzSupport.h"
#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"
#include "core/text/InPlaceAppend.h"
#include "core/text/StaleTemporaries.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>

#include <algorithm>

using namespace queldo;

namespace {

const QString Today = QStringLiteral("2024/05/01");

QByteArray bytesOfFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    fuzz::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                      file.write(bytes) == bytes.size(),
                  "the scratch folder takes the fuzzed files");
}

// The checksum an append's note holds: FNV-1a over at most 4096 bytes before the cut.
quint64 checksumBefore(const QByteArray &bytes, qsizetype cut)
{
    quint64 sum = 14695981039346656037ull;
    for (qsizetype i = std::max<qsizetype>(0, cut - 4096); i < cut; ++i)
        sum = (sum ^ uchar(bytes.at(i))) * 1099511628211ull;
    return sum;
}

// A note as an append interrupted after `cut` bytes leaves it; `spoil` puts one field off.
QByteArray noteOf(const QString &path, const QByteArray &bytes, qsizetype cut, int spoil)
{
    struct stat info = {};
    fuzz::require(::stat(QFile::encodeName(path).constData(), &info) == 0, "the file is there");
    quint64 fields[4] = {quint64(cut), quint64(info.st_dev), quint64(info.st_ino),
                         checksumBefore(bytes, cut)};
    if (spoil >= 1 && spoil <= 4)
        fields[spoil - 1] += 1;
    return QByteArray::number(fields[0]) + ' ' + QByteArray::number(fields[1]) + ' ' +
           QByteArray::number(fields[2]) + ' ' + QByteArray::number(fields[3]) + '\n';
}

// Where an interrupted append began: after a line end, or (anyhow) anywhere.
qsizetype cutIn(const QByteArray &bytes, quint16 where, bool anyhow)
{
    const qsizetype wanted = qsizetype(where) % (bytes.size() + 1);
    if (anyhow)
        return wanted;
    const qsizetype end = bytes.indexOf('\n', wanted);
    return end < 0 ? bytes.size() : end + 1;
}

struct Temporary
{
    QString name;
    bool old = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool arrangement = in.ConsumeBool();
    const int noteKind = in.ConsumeIntegralInRange(0, 3); // none, any bytes, length alone, full
    // 1-4: that field of a full note off; 5: a note of the length alone cut short
    const int spoil = in.ConsumeIntegralInRange(0, 6);
    const quint16 where = in.ConsumeIntegral<quint16>();
    const bool anyhow = in.ConsumeBool();
    const QByteArray rawNote = QByteArray::fromStdString(in.ConsumeRandomLengthString(120));
    std::vector<Temporary> temporaries(in.ConsumeIntegralInRange(0, 3));
    for (Temporary &t : temporaries) {
        static const char *const targets[] = {"Taro.kek", "Taro.arr", "Taro.pas", "Other"};
        t.name = QLatin1String(targets[in.ConsumeIntegralInRange(0, 3)]) + QLatin1Char('.') +
                 QString::fromLatin1(in.ConsumeRandomLengthString(8))
                     .remove(QLatin1Char('/'))
                     .remove(QChar(0));
        t.old = in.ConsumeBool();
    }
    const std::vector<char> rest = in.ConsumeRemainingBytes<char>();
    const QByteArray contents(rest.data(), qsizetype(rest.size()));

    const QDir folder(fuzz::scratch().filePath(QStringLiteral("Taro")));
    QDir(folder).removeRecursively();
    fuzz::require(folder.mkpath(QStringLiteral(".")), "the scratch folder can be made");
    const QString path =
        folder.filePath(arrangement ? QStringLiteral("Taro.arr") : QStringLiteral("Taro.kek"));
    const QString notePath = unfinishedAppendNotePath(path);
    writeFile(path, contents);
    writeFile(folder.filePath(QStringLiteral("Taro.pas")), "pw\r\n");
    const qsizetype cut = cutIn(contents, where, anyhow);
    if (noteKind == 1)
        writeFile(notePath, rawNote);
    else if (noteKind == 2)
        writeFile(notePath, QByteArray::number(cut) + (spoil == 5 ? "" : "\n"));
    else if (noteKind == 3)
        writeFile(notePath, noteOf(path, contents, cut, spoil));

    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QStringList keep = {QFileInfo(path).fileName(), QStringLiteral("Taro.pas")};
    QStringList fresh;
    for (const Temporary &t : temporaries) {
        if (keep.contains(t.name) || t.name.startsWith(QFileInfo(notePath).fileName()))
            continue; // a fuzzed name that is one of the trainee's files or notes is no temporary
        QFile file(folder.filePath(t.name));
        if (!file.open(QIODevice::WriteOnly))
            continue; // a name the file system refuses
        if (t.old)
            file.setFileTime(now.addDays(-2), QFileDevice::FileModificationTime);
        else
            fresh << t.name;
    }
    const QStringList before = folder.entryList(QDir::Files | QDir::Hidden);
    const int removed = removeStaleTemporaries(folder.path(), now);
    const QStringList after = folder.entryList(QDir::Files | QDir::Hidden);
    fuzz::require(removed == before.size() - after.size(), "the cleanup counts what it removed");
    for (const QString &name : keep + fresh)
        fuzz::require(after.contains(name), "the cleanup keeps the trainee's files and fresh ones");

    // Readers leave out what a note of this very file guards, and only that.
    const qint64 finished = finishedLength(path, contents.size());
    fuzz::require(finished >= 0 && finished <= contents.size(), "a cut lies within the file");
    if (finished < contents.size())
        fuzz::require(noteKind >= 2 || (noteKind == 1 && !rawNote.contains(' ')),
                      "only a note naming a length cuts");
    const QByteArray kept = contents.left(finished);
    if (arrangement) {
        const auto read = ArrangementFile::read(path);
        const auto expected = ArrangementFile::parse(kept);
        fuzz::require(read.lines.size() == expected.lines.size(),
                      "the arrangement readers see the finished bytes");
    } else {
        const ResultsReadResult read = ResultsFile::read(path);
        const ResultsReadResult expected = ResultsFile::parse(kept);
        fuzz::require(read.records.size() == expected.records.size(),
                      "the results readers see the finished bytes");
    }

    // An append first undoes what the note guards, then adds exactly its own bytes.
    QByteArray wanted;
    QString rejected;
    bool saved = false;
    if (arrangement) {
        ArrangementLine line;
        line.recordNumber = 1 + int(contents.size() % 7);
        line.date = Today;
        line.problemNumber = 3;
        for (int s = 0; s < 46; ++s)
            line.places[std::size_t(s)] = {s, s % 24};
        wanted = ArrangementFile::appendToBytes(kept, line);
        saved = ArrangementFile::append(path, line, &rejected).isEmpty();
    } else {
        std::array<int, 46> codes{};
        codes[5] = 1;
        const AppendResult result = ResultsFile::appendRecord(path, Today, 3, codes, 95);
        wanted = ResultsFile::appendToBytes(kept, Today, 3, codes, 95).bytes;
        saved = result.saved();
        rejected = result.rejectedNote;
    }
    fuzz::require(saved, "an append to a plain file in a writable folder is saved");
    fuzz::require(bytesOfFile(path) == wanted,
                  "an append keeps every finished byte and adds its own");
    fuzz::require(!QFileInfo::exists(notePath), "no note is left after an append");
    const bool movedAside = QFileInfo::exists(rejectedNotePath(path));
    fuzz::require(movedAside == !rejected.isEmpty(), "a note moved aside is said, and only then");
    if (movedAside)
        fuzz::require(noteKind != 0, "only a note there is moved aside");
    return 0;
}
