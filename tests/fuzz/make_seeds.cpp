// Writes the seed corpus of every fuzz target, made by the same fixture code as the tests:
// the files the program writes itself, and the hostile ones the tests use.
//   fuzz_seeds OUT_FOLDER
#include "HostileFixture.h"
#include "ProblemFixture.h"
#include "bitmapencoder.h"
#include "cellgenerator.h"
#include "core/app/TraineeLock.h"
#include "core/board/ProblemFolder.h"
#include "core/results/AbnormalAttemptsFile.h"
#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"
#include "core/settings/SettingsFile.h"
#include "core/text/Cp932Text.h"
#include "samplegenerator.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <sodium.h>

#include <algorithm>
#include <cstdio>

using namespace queldo;
using namespace queldo::test;

namespace {

QString outFolder;

void seed(const char *target, const QString &name, const QByteArray &bytes)
{
    const QString folder = outFolder + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray qtBmp(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

void bitmaps()
{
    QRandomGenerator random(18);
    const Bgr24Image chromosome = makeChromosome(12, 30, random);
    seed("bmp", "chromosome-24bit.bmp", bmpBytes(chromosome));
    seed("bmp", "top-down.bmp", topDownBmpBytes(makeNoise(5, 4, random, false)));
    seed("bmp", "rle8-skipping-pixels.bmp", rle8WithSkippedPixels());
    seed("bmp", "rle8-bomb.bmp", rle8Bomb());
    seed("bmp", "indexed8.bmp",
         qtBmp(chromosome.toQImage().convertToFormat(QImage::Format_Indexed8)));
    seed("bmp", "mono.bmp", qtBmp(chromosome.toQImage().convertToFormat(QImage::Format_Mono)));
    seed("bmp", "argb32.bmp", qtBmp(chromosome.toQImage().convertToFormat(QImage::Format_ARGB32)));
    QByteArray truncated = bmpBytes(chromosome);
    truncated.chop(40);
    seed("bmp", "truncated.bmp", truncated);

    // Pictures of the size the problems hold, drawn by the problem generator, as it writes them
    // (24 bits) and as older problems came (8 bits with a grey palette): the decoder's real paths.
    const BandTable &table = BandTable::embedded();
    const CellGenerator generator(table, 1.0);
    const QList<ChromosomePicture> cell = generator.generateCell(
        SampleGenerator::cellSeed(SampleGeneratorOptions::DefaultSeed, 1), false);
    for (const int slot : {0, 17, 42, 44}) {
        const QImage &picture = cell.at(slot).image;
        QString error;
        const QString name = QStringLiteral("cell-slot%1").arg(slot);
        seed("bmp", name + "-24bit.bmp", BitmapEncoder::encode(picture, &error));
        seed("bmp", name + "-8bit.bmp", qtBmp(picture.convertToFormat(QImage::Format_Indexed8)));
    }
}

void problemSets(const QString &work)
{
    const QString name = knownProblemNames()[2];
    writeProblemFolder(work, name, {30, 8, 5});
    seed("problem_set", "as-installed.set",
         fileBytes(work + '/' + name + '/' + checkValueFileName(name)));
    QByteArray trisomy;
    for (int k = 1; k <= 23; ++k)
        trisomy += QStringLiteral("%1-1.bmp,812,3\r\n%1-2.bmp,812,3\r\n").arg(k).toLatin1();
    trisomy += "21-3.bmp,812,3\r\n";
    seed("problem_set", "trisomy.set", trisomy);
    seed("problem_set", "short-lines.set", *encodeCp932("1-1.bmp,812\r\n1-2.bmp\r\n,,\r\n\n"));
}

void results(const QString &work)
{
    const QString path = work + "/Taro.kek";
    ResultsFile::create(path);
    seed("results", "header-only.kek", fileBytes(path));
    std::array<int, 46> codes{};
    for (int attempt = 0; attempt < 3; ++attempt) {
        for (std::size_t i = 0; i < codes.size(); ++i)
            codes[i] = int((i + attempt) % 4) - 2;
        ResultsFile::append(path, "2024/05/01", attempt + 1, codes, 100 + attempt);
    }
    const QByteArray written = fileBytes(path);
    seed("results", "three-attempts.kek", written);
    // One byte code page 932 cannot decode, in an earlier record.
    QByteArray damaged = written;
    damaged.insert(damaged.indexOf("\r\n") + 2, "\x81\x20");
    seed("results", "undecodable-byte.kek", damaged);
    seed("results", "no-header.kek", written.mid(written.indexOf("\r\n") + 2));
    seed("results", "quoted-fields.kek",
         written + *encodeCp932("3,\"2024/05/02 朝\",\"0\"\"1\" 2 3,,\r\n"));
}

void arrangements(const QString &work)
{
    const QString path = work + "/Taro.arr";
    ArrangementFile::reset(path);
    seed("arrangement", "header-only.arr", fileBytes(path));
    for (int attempt = 0; attempt < 3; ++attempt) {
        ArrangementLine line;
        line.recordNumber = attempt;
        line.date = QStringLiteral("2024/05/01");
        line.problemNumber = attempt + 1;
        for (int s = 0; s < 46; ++s)
            line.places[std::size_t(s)] = {(s + attempt) % 46, (s * attempt) % 24};
        line.places[3] = {-1, 0};
        ArrangementFile::append(path, line);
    }
    const QByteArray written = fileBytes(path);
    seed("arrangement", "three-attempts.arr", written);
    QByteArray damaged = written;
    damaged.insert(damaged.indexOf("\r\n") + 2, "\x81\x20");
    seed("arrangement", "undecodable-byte.arr", damaged);
    seed("arrangement", "no-header.arr", written.mid(written.indexOf("\r\n") + 2));
    seed("arrangement", "quoted-date.arr",
         written + *encodeCp932("3,\"2024/05/02 朝\",001,0,0,1,1\r\n"));
}

// Inputs of the trainee-folder target, laid out as it takes them: strings and the file's bytes
// from the front, numbers and switches from the back, the first taken last.
struct UserFolderSeed
{
    bool arrangement = false;
    int noteKind = 0; // none, any bytes, length alone, full
    int spoil = 0;
    quint16 cut = 0;
    bool anywhere = true;
    QByteArray rawNote;
    QList<std::pair<QByteArray, bool>> temporaries; // name after "Taro.kek.", old
    QByteArray contents;

    QByteArray bytes() const
    {
        auto text = [](QByteArray t) { return t.replace("\\", "\\\\") + "\\x"; };
        QByteArray front = text(rawNote);
        QByteArray back;
        back += char(arrangement) + char(noteKind) + char(spoil) + char(cut >> 8) +
                char(cut & 0xff) + char(anywhere) + char(temporaries.size());
        for (const auto &[name, old] : temporaries) {
            back += char(0); // beside Taro.kek
            front += text(name);
            back += char(old);
        }
        std::reverse(back.begin(), back.end());
        return front + contents + back;
    }
};

void userFolders(const QString &work)
{
    const QString kek = work + "/Seed.kek";
    ResultsFile::create(kek);
    std::array<int, 46> codes{};
    for (int attempt = 0; attempt < 3; ++attempt)
        ResultsFile::append(kek, "2024/05/01", attempt + 1, codes, 100 + attempt);
    const QByteArray results = fileBytes(kek);
    const QString arr = work + "/Seed.arr";
    ArrangementFile::reset(arr);
    for (int attempt = 1; attempt < 3; ++attempt) {
        ArrangementLine line;
        line.recordNumber = attempt;
        line.date = QStringLiteral("2024/05/01");
        line.problemNumber = attempt;
        for (int s = 0; s < 46; ++s)
            line.places[std::size_t(s)] = {s, 0};
        ArrangementFile::append(arr, line);
    }
    const QByteArray arrangement = fileBytes(arr);
    const QByteArray halfRecord =
        results.mid(results.lastIndexOf("\r\n", results.size() - 3) + 2, 40);

    int n = 0;
    auto add = [&](const UserFolderSeed &s) {
        seed("user_files", QStringLiteral("folder-%1").arg(n++), s.bytes());
    };
    for (const bool arrangementFile : {false, true}) {
        const QByteArray sound = arrangementFile ? arrangement : results;
        UserFolderSeed s;
        s.arrangement = arrangementFile;
        s.contents = sound;
        add(s); // a sound file, no note
        s.contents = sound + halfRecord;
        s.cut = quint16(sound.size());
        for (const int kind : {2, 3}) { // interrupted, by a note of either form
            s.noteKind = kind;
            add(s);
        }
        s.noteKind = 3;
        s.spoil = 3; // another file's note
        add(s);
        s.spoil = 0;
        s.noteKind = 1; // a forged note
        s.rawNote = "400\n";
        s.temporaries = {{"AbCdEf", true}, {"GhIjKl", false}};
        add(s);
    }
}

void settings()
{
    seed("settings", "new-id.set", SettingsFile::newIdBytes());
    StoredSettings custom;
    custom.referenceMode = true;
    custom.alignmentMode = true;
    custom.CustomScale = 1;
    custom.EffectiveScale = 0.91f;
    custom.trackBarPosition = 13;
    seed("settings", "dialog-custom.set", SettingsFile::dialogBytes(custom));
    seed("settings", "dialog-middle.set", SettingsFile::dialogBytes(StoredSettings{}));
    seed("settings", "absurd-values.set", "1 \nx\n99999999999\nnan\n-3\n");
    seed("settings", "short.set", "1\r\n");
}

void passwords()
{
    seed("password", "legacy.pas", "secret\r\nother\r\n");
    seed("password", "own-hash.pas", passwordFileWithCost("pw", 65536, 2));
    seed("password", "4-gib.pas", passwordFileWithCost("pw", 4194304, 2));
    seed("password", "200-passes.pas", passwordFileWithCost("pw", 65536, 200));
    // A real hash cheap enough to be checked on every run.
    char cheap[crypto_pwhash_STRBYTES];
    if (sodium_init() < 0 || crypto_pwhash_str(cheap, "pw", 2, crypto_pwhash_OPSLIMIT_MIN,
                                               crypto_pwhash_MEMLIMIT_MIN) != 0)
        std::exit(1);
    seed("password", "cheap-hash.pas", QByteArray(cheap) + "\r\n");
}

void cp932Text()
{
    seed("cp932", "japanese.txt",
         *encodeCp932("正常女性染色体核型no52 C:\\Result ソ表 ﾀﾛｳ\r\n試行No,日時\n\r\r\n"));
    // NEC special characters, NEC-selected and IBM extensions, user-defined area.
    seed("cp932", "extensions.txt", QByteArray::fromHex("8740879fed40eefcfa40fc4bf040f9fc0d0a"));
    seed("cp932", "undecodable.txt", QByteArray::fromHex("6f6b0d0a81200d0a"));
}

void newIds()
{
    const QStringList ids = {
        "taro",        "山田 太郎", "COM\u00B9",        "LPT0.txt",       "\u3000",
        "a\U0001F600", "ﾀﾛｳ",       QString(80, 'a'),   QString(81, 'a'), "con?",
        "..",          "a\u00AC",   "ｋｅｎｓｙｕ０７", "k\u0435nsyu07",  " \u3000taro\u3000",
        "ﾔﾏﾀﾞ",        "髙橋07"};
    int n = 0;
    for (const QString &id : ids)
        seed("new_id", QStringLiteral("id-%1").arg(n++),
             QByteArray(reinterpret_cast<const char *>(id.utf16()), id.size() * 2));
    const QChar lone[] = {QChar(u'a'), QChar(0xD800)};
    seed("new_id", "lone-surrogate", QByteArray(reinterpret_cast<const char *>(lone), sizeof lone));
}

void commandLines()
{
    // Arguments separated by NUL bytes, as the target splits them.
    const QList<QByteArrayList> lines = {{},
                                         {"--version"},
                                         {"-h"},
                                         {"--folder", "."},
                                         {"--folder=..", "--help"},
                                         {"--folder", "nowhere", "--folder", "/"},
                                         {"--fast"},
                                         {"stray", "-v"}};
    int n = 0;
    for (const QByteArrayList &line : lines)
        seed("start_options", QStringLiteral("line-%1").arg(n++), line.join('\0'));
}

void karyotypes()
{
    seed("karyotype", "trisomy", "47,XY,+21");
    seed("karyotype", "every-kind",
         "46,XX,t(22;9)(q11.2;q34.1),del(5)(p15.2pter),dup(1)(q32q21),inv(9)(q13p12),"
         "der(14;21)(q10;q10),i(Xq),-21");
    seed("karyotype", "full-width", "\xef\xbc\x94\xef\xbc\x95\xef\xbc\x8c\xef\xbc\xb8");
    seed("karyotype", "problem-file", "46,XY,t(9;22)(q34.1;q11.2)\r\n9-2.bmp\r\n22-2.bmp\r\n");
    seed("karyotype", "mosaic", "47,XXY[12]/46,XY[8]");
}

void sessions()
{
    const QDateTime time = QDateTime::fromSecsSinceEpoch(1796000000, Qt::UTC);
    const QByteArray own = traineeLockBytes({"pc-30", 4242, time, time, "0123456789abcdef"});
    seed("session", "other-host.session", own);
    seed("session", "kanji-host.session",
         traineeLockBytes({"教室 PC", 12, time, time.addSecs(-700), "00000000000000aa"}));
    seed("session", "cut-short.session", own.chopped(9));
}

void abnormalAttempts(const QString &work)
{
    const QString path = work + "/Taro.kry";
    AbnormalAttempt attempt;
    attempt.dateTime = QStringLiteral("2024/05/01 10:20:30");
    attempt.problemNumber = 20;
    attempt.elapsedSeconds = 321;
    attempt.verdicts = {1, 0, -1, -2, 1};
    attempt.expected = QStringLiteral("46,XY,t(9;22)(q34.1;q11.2)");
    attempt.written = QStringLiteral("46,XY,t(9;22)(q34.1;q12)");
    attempt.parts = {{QStringLiteral("染色体数"), 1, {}},
                     {QStringLiteral("性染色体"), 1, {}},
                     {QStringLiteral("t(9;22)(q34.1;q11.2)"), 2.0 / 3.0, {}}};
    AbnormalAttemptsFile::append(path, attempt);
    attempt.expected = QStringLiteral("45,X");
    attempt.written.clear();
    attempt.parts = {{QStringLiteral("染色体数"), 0, {}}, {QStringLiteral("性染色体"), 0, {}}};
    AbnormalAttemptsFile::append(path, attempt);
    const QByteArray written = fileBytes(path);
    seed("abnormal_attempts", "two-attempts.kry", written);
    seed("abnormal_attempts", "no-header.kry", written.mid(written.indexOf("\r\n") + 2));
    seed("abnormal_attempts", "later-version.kry", "QUELDO-KRY\t2\r\n" + written);
    QByteArray damaged = written;
    damaged.insert(damaged.lastIndexOf("\t"), "\xff|x=2");
    seed("abnormal_attempts", "damaged-line.kry", damaged);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUT_FOLDER\n");
        return 2;
    }
    outFolder = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir work;
    bitmaps();
    problemSets(work.path());
    results(work.path());
    arrangements(work.path());
    userFolders(work.path());
    settings();
    passwords();
    cp932Text();
    newIds();
    commandLines();
    karyotypes();
    sessions();
    abnormalAttempts(work.path());
    return 0;
}
