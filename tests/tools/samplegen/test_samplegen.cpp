#include "bandtable.h"
#include "cellgenerator.h"
#include "core/board/Ideogram.h"
#include "samplegenerator.h"
#include "samplegeneratoroptions.h"
#include "sampleproblem.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <dirent.h>

namespace {

constexpr quint64 Seed = 7;

// Written out again here on purpose: the program looks problems up by these
// exact names, so a typo in the generator must fail.
const QStringList ExpectedFolders = {
    QStringLiteral("正常男性染色体核型no7"),  QStringLiteral("正常男性染色体核型no18"),
    QStringLiteral("正常女性染色体核型no52"), QStringLiteral("正常女性染色体核型no33"),
    QStringLiteral("正常男性染色体核型no45"), QStringLiteral("正常女性染色体核型no26"),
    QStringLiteral("正常女性染色体核型no46"), QStringLiteral("正常男性染色体核型no55"),
    QStringLiteral("正常男性染色体核型no29"), QStringLiteral("正常女性染色体核型no49"),
};

QStringList bitmapNamesInOrder()
{
    QStringList names;
    for (int k = 1; k <= 23; ++k)
        for (int j = 1; j <= 2; ++j)
            names.append(QStringLiteral("%1-%2.bmp").arg(k).arg(j));
    return names;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct BmpHeader
{
    bool valid = false;
    quint32 fileSize = 0;
    qint32 width = 0;
    qint32 height = 0;
    int bitsPerPixel = 0;
    quint32 compression = 0;
};

BmpHeader parseBmpHeader(const QByteArray &bytes)
{
    BmpHeader header;
    if (bytes.size() < 54 || !bytes.startsWith("BM"))
        return header;
    const char *data = bytes.constData();
    header.valid = true;
    header.fileSize = qFromLittleEndian<quint32>(data + 2);
    header.width = qFromLittleEndian<qint32>(data + 18);
    header.height = qFromLittleEndian<qint32>(data + 22);
    header.bitsPerPixel = qFromLittleEndian<quint16>(data + 28);
    header.compression = qFromLittleEndian<quint32>(data + 30);
    return header;
}

// Raw names as the file system stores them, without Qt decoding them.
QList<QByteArray> rawEntries(const QString &folder)
{
    QList<QByteArray> names;
    if (DIR *dir = opendir(QFile::encodeName(folder).constData())) {
        while (const dirent *entry = readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.append(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

int grey(const QImage &image, int x, int y)
{
    return qRed(image.pixel(x, y));
}

// Clearly chromosome, leaving out the faint blurred rim.
constexpr int BodyLevel = 250;

struct RowSpan
{
    int top = -1;
    int bottom = -1;
    int height() const { return bottom - top + 1; }
};

RowSpan chromosomeRows(const QImage &image)
{
    RowSpan span;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (grey(image, x, y) < BodyLevel) {
                if (span.top < 0)
                    span.top = y;
                span.bottom = y;
                break;
            }
        }
    }
    return span;
}

QList<int> widthProfile(const QImage &image)
{
    QList<int> widths(image.height(), 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            widths[y] += grey(image, x, y) < BodyLevel ? 1 : 0;
    return widths;
}

// Where the primary constriction is, read from the picture alone: the
// narrowest row away from the tips.
double measuredCentromereIndex(const QImage &image)
{
    const RowSpan rows = chromosomeRows(image);
    const QList<int> widths = widthProfile(image);
    const int from = rows.top + rows.height() / 8;
    const int to = rows.bottom - rows.height() / 8;
    double narrowest = 1e9;
    int first = from, last = from;
    for (int y = from; y <= to; ++y) {
        const double smoothed = (widths[y - 1] + widths[y] + widths[y + 1]) / 3.0;
        if (smoothed < narrowest - 1e-9) {
            narrowest = smoothed;
            first = last = y;
        } else if (std::abs(smoothed - narrowest) < 1e-9 && last == y - 1) {
            last = y;
        }
    }
    return ((first + last) / 2.0 + 0.5 - rows.top) / rows.height();
}

// The centromere's place between the tips as the generator reports it.
double reportedCentromereIndex(const ChromosomePicture &picture)
{
    const QPointF axis = picture.bottomTip - picture.topTip;
    const QPointF toCentromere = picture.centromere - picture.topTip;
    return QPointF::dotProduct(toCentromere, axis) / QPointF::dotProduct(axis, axis);
}

double pearson(const QList<double> &a, const QList<double> &b)
{
    const double n = a.size();
    double meanA = 0, meanB = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        meanA += a[i] / n;
        meanB += b[i] / n;
    }
    double covariance = 0, varianceA = 0, varianceB = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        covariance += (a[i] - meanA) * (b[i] - meanB);
        varianceA += (a[i] - meanA) * (a[i] - meanA);
        varianceB += (b[i] - meanB) * (b[i] - meanB);
    }
    return covariance / std::sqrt(varianceA * varianceB);
}

double tableDarknessAt(const BandTable &table, int chromosome, double iscn)
{
    for (const ShadedBand &shaded : table.bands(chromosome))
        if (iscn < shaded.band.iscnEnd)
            return shaded.darkness;
    return table.bands(chromosome).last().darkness;
}

// How well the drawn bands follow the ideogram: row darkness against the
// table's band darkness at the same fraction of the length.
double bandCorrelation(const BandTable &table, const ChromosomePicture &picture, bool upsideDown)
{
    const QImage &image = picture.image;
    const RowSpan rows = chromosomeRows(image);
    const double total = table.iscnLength(picture.chromosome);
    QList<double> drawn, expected;
    for (int y = rows.top; y <= rows.bottom; ++y) {
        double ink = 0;
        int count = 0;
        for (int x = 0; x < image.width(); ++x) {
            const int level = grey(image, x, y);
            if (level < BodyLevel) {
                ink += 255 - level;
                ++count;
            }
        }
        if (count == 0)
            continue;
        double fraction = (y + 0.5 - rows.top) / rows.height();
        if (upsideDown)
            fraction = 1.0 - fraction;
        drawn.append(ink / count);
        expected.append(tableDarknessAt(table, picture.chromosome, fraction * total));
    }
    return pearson(drawn, expected);
}

} // namespace

class TestSampleGen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void writesTenProblemFoldersOfTwentyFourBitBitmaps();
    void setFileListsEveryBitmapWithItsCheckValue();
    void sameSeedGivesSameBytes();
    void picturesAreGreyOnPureWhite();
    void sexChromosomesFollowFolderName();
    void writesKaryograms();

    void heightsFollowTable();
    void chromosomesStandUprightAndVary();
    void centromereIndexFollowsTable_data();
    void centromereIndexFollowsTable();
    void bandsFollowTable_data();
    void bandsFollowTable();
    void heterochromatinVaries_data();
    void heterochromatinVaries();
    void answerIdeogramsFindTheCentromere_data();
    void answerIdeogramsFindTheCentromere();

    void parsesArguments();
    void rejectsBadArguments_data();
    void rejectsBadArguments();
    void reportsUnwritableFolder_data();
    void reportsUnwritableFolder();
    void executableExitStatus();

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString plainFile() const;
    QList<const ChromosomePicture *> picturesOf(int chromosome) const;
    bool generate(const QString &out, quint64 seed, int only, QString *error) const;

    QTemporaryDir m_dir;
    BandTable m_table = BandTable::embedded();
    QString m_images;                        // all ten problems at a small size
    QString m_karyograms;                    // and their karyograms
    QList<QList<ChromosomePicture>> m_cells; // the same cells, full size, in memory
};

bool TestSampleGen::generate(const QString &out, quint64 seed, int only, QString *error) const
{
    SampleGeneratorOptions options;
    options.outputFolder = out;
    options.seed = seed;
    options.size = 0.4;
    options.onlyProblem = only;
    SampleGenerator generator(options);
    const bool ok = generator.run();
    *error = generator.errorString();
    return ok;
}

// A folder cannot be made inside a regular file, even by root.
QString TestSampleGen::plainFile() const
{
    const QString file = path(QStringLiteral("plain-file"));
    QFile plain(file);
    if (plain.open(QIODevice::WriteOnly))
        plain.close();
    return file;
}

void TestSampleGen::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(m_table.isValid(), qPrintable(m_table.errorString()));

    m_images = path(QStringLiteral("images"));
    m_karyograms = path(QStringLiteral("karyograms"));
    SampleGeneratorOptions options;
    options.outputFolder = m_images;
    options.karyogramFolder = m_karyograms;
    options.seed = Seed;
    options.size = 0.4;
    SampleGenerator generator(options);
    QVERIFY2(generator.run(), qPrintable(generator.errorString()));

    const CellGenerator cells(m_table, 1.0);
    for (const SampleProblem &problem : SampleProblem::all())
        m_cells.append(cells.generateCell(SampleGenerator::cellSeed(Seed, problem.number),
                                          problem.isFemale()));
}

QList<const ChromosomePicture *> TestSampleGen::picturesOf(int chromosome) const
{
    QList<const ChromosomePicture *> pictures;
    for (const QList<ChromosomePicture> &cell : m_cells)
        for (const ChromosomePicture &picture : cell)
            if (picture.chromosome == chromosome)
                pictures.append(&picture);
    return pictures;
}

void TestSampleGen::writesTenProblemFoldersOfTwentyFourBitBitmaps()
{
    QList<QByteArray> expectedRaw;
    for (const QString &name : ExpectedFolders)
        expectedRaw.append(name.toUtf8());
    expectedRaw.append("1-1.bmp");
    std::sort(expectedRaw.begin(), expectedRaw.end());
    QCOMPARE(rawEntries(m_images), expectedRaw);

    QStringList bitmaps = bitmapNamesInOrder();
    QStringList allBitmapPaths{QDir(m_images).filePath(QStringLiteral("1-1.bmp"))};
    for (const QString &folder : ExpectedFolders) {
        const QDir dir(QDir(m_images).filePath(folder));
        QStringList expected = bitmaps;
        expected.append(folder + QStringLiteral(".set"));
        expected.sort();
        QStringList actual = dir.entryList(QDir::Files);
        actual.sort();
        QCOMPARE(actual, expected);
        for (const QString &bitmap : bitmaps)
            allBitmapPaths.append(dir.filePath(bitmap));
    }

    for (const QString &bitmapPath : allBitmapPaths) {
        const QByteArray bytes = readFile(bitmapPath);
        const BmpHeader header = parseBmpHeader(bytes);
        QVERIFY2(header.valid, qPrintable(bitmapPath));
        QCOMPARE(header.bitsPerPixel, 24);
        QCOMPARE(header.compression, 0u);
        QCOMPARE(qsizetype(header.fileSize), bytes.size());
        QVERIFY2(header.height > 0, "rows must be stored bottom-up");
        const qsizetype stride = (header.width * 3 + 3) / 4 * 4;
        QCOMPARE(bytes.size(), 54 + stride * header.height);
    }
}

void TestSampleGen::setFileListsEveryBitmapWithItsCheckValue()
{
    const QStringList bitmaps = bitmapNamesInOrder();
    for (const QString &folder : ExpectedFolders) {
        const QDir dir(QDir(m_images).filePath(folder));
        const QByteArray bytes = readFile(dir.filePath(folder + QStringLiteral(".set")));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\n'), 46);
        QCOMPARE(bytes.count('\r'), 46);
        QVERIFY(std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; }));

        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 47); // the last one empty
        for (qsizetype n = 0; n < 46; ++n) {
            QVERIFY(lines.at(n).endsWith('\r'));
            const QList<QByteArray> fields = lines.at(n).chopped(1).split(',');
            QCOMPARE(fields.size(), 3);
            QCOMPARE(QString::fromLatin1(fields.at(0)), bitmaps.at(n));
            const qint64 size = QFileInfo(dir.filePath(bitmaps.at(n))).size();
            QCOMPARE(fields.at(1).toLongLong(), size);
            QCOMPARE(fields.at(2).toLongLong(), (size - 5) % 83);
        }
    }
}

void TestSampleGen::sameSeedGivesSameBytes()
{
    // Problem 3 alone must come out exactly as within the full run: each cell
    // depends on the base seed and its own number only.
    const QString again = path(QStringLiteral("again"));
    const QString reseeded = path(QStringLiteral("reseeded"));
    QString error;
    QVERIFY2(generate(again, Seed, 3, &error), qPrintable(error));
    QVERIFY2(generate(reseeded, Seed + 1, 3, &error), qPrintable(error));

    const QString folder = ExpectedFolders.at(2);
    QCOMPARE(QDir(again).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{folder});

    QStringList files = bitmapNamesInOrder();
    files.append(folder + QStringLiteral(".set"));
    int unchangedByNewSeed = 0;
    for (const QString &file : files) {
        const QByteArray original = readFile(QDir(m_images).filePath(folder + '/' + file));
        QVERIFY(!original.isEmpty());
        QCOMPARE(readFile(QDir(again).filePath(folder + '/' + file)), original);
        if (readFile(QDir(reseeded).filePath(folder + '/' + file)) == original)
            ++unchangedByNewSeed;
    }
    QCOMPARE(unchangedByNewSeed, 0);
    QCOMPARE(readFile(QDir(again).filePath(QStringLiteral("1-1.bmp"))),
             readFile(QDir(m_images).filePath(QStringLiteral("1-1.bmp"))));
}

void TestSampleGen::picturesAreGreyOnPureWhite()
{
    const int border = 3;
    for (const QString &folder : ExpectedFolders) {
        const QDir dir(QDir(m_images).filePath(folder));
        for (const QString &bitmap : bitmapNamesInOrder()) {
            const QImage image(dir.filePath(bitmap));
            QVERIFY(!image.isNull());
            const QByteArray where = (folder + '/' + bitmap).toUtf8();
            int darkest = 255;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb pixel = image.pixel(x, y);
                    QVERIFY2(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel),
                             where.constData());
                    darkest = std::min(darkest, qRed(pixel));
                    const bool onBorder = x < border || y < border || x >= image.width() - border ||
                                          y >= image.height() - border;
                    if (onBorder)
                        QVERIFY2(qRed(pixel) == 255, where.constData());
                }
            }
            QVERIFY2(darkest < 200, where.constData());
        }
    }

    // White is the background's alone: no pale band may punch a hole of 255
    // into the chromosome. The tips are left out, where the sister chromatids
    // end in separate rounded lobes with background between them.
    const double tip = 8.0;
    for (const QList<ChromosomePicture> &cell : std::as_const(m_cells)) {
        for (const ChromosomePicture &picture : cell) {
            const ChromosomeLayout &layout = picture.layout;
            const double from = (layout.bodyStart() + tip) / layout.length();
            const double to = 1.0 - tip / layout.length();
            for (double f = from; f <= to; f += 0.01) {
                const QPointF at = picture.topTip + f * (picture.bottomTip - picture.topTip);
                QVERIFY2(grey(picture.image, int(at.x()), int(at.y())) < 255,
                         qPrintable(QStringLiteral("chromosome %1 at %2")
                                        .arg(ChromosomeId::name(picture.chromosome))
                                        .arg(f)));
            }
        }
    }
}

void TestSampleGen::sexChromosomesFollowFolderName()
{
    for (const QString &folder : ExpectedFolders) {
        const QDir dir(QDir(m_images).filePath(folder));
        const double first =
            chromosomeRows(QImage(dir.filePath(QStringLiteral("23-1.bmp")))).height();
        const double second =
            chromosomeRows(QImage(dir.filePath(QStringLiteral("23-2.bmp")))).height();
        const double ratio = second / first;
        if (folder.contains(QStringLiteral("女")))
            QVERIFY2(ratio > 0.8 && ratio < 1.25, qPrintable(folder)); // X and X
        else
            QVERIFY2(ratio < 0.6, qPrintable(folder)); // X, then the much shorter Y
    }
}

void TestSampleGen::writesKaryograms()
{
    QStringList expected{QStringLiteral("ideogram-comparison.png")};
    for (qsizetype i = 0; i < ExpectedFolders.size(); ++i)
        expected.append(QStringLiteral("%1-%2.png")
                            .arg(i + 1, 2, 10, QLatin1Char('0'))
                            .arg(ExpectedFolders.at(i)));
    expected.sort();
    QCOMPARE(QDir(m_karyograms).entryList(QDir::Files, QDir::Name), expected);

    for (const QString &file : expected) {
        const QImage image(QDir(m_karyograms).filePath(file));
        QVERIFY2(!image.isNull(), qPrintable(file));
        // Two homologs of chromosome 1 alone are wider than one bitmap.
        QVERIFY(image.width() >
                2 * QImage(QDir(m_images).filePath(QStringLiteral("1-1.bmp"))).width());
    }
}

void TestSampleGen::heightsFollowTable()
{
    QList<double> meanHeight(ChromosomeId::Count, 0.0);
    for (int chromosome = 0; chromosome < ChromosomeId::Count; ++chromosome) {
        const QList<const ChromosomePicture *> pictures = picturesOf(chromosome);
        QVERIFY(!pictures.isEmpty());
        for (const ChromosomePicture *picture : pictures)
            meanHeight[chromosome] += chromosomeRows(picture->image).height();
        meanHeight[chromosome] /= pictures.size();
    }

    const auto autosomesEnd = meanHeight.cbegin() + 22;
    QCOMPARE(std::max_element(meanHeight.cbegin(), meanHeight.cend()) - meanHeight.cbegin(), 0);
    QCOMPARE(std::min_element(meanHeight.cbegin(), autosomesEnd) - meanHeight.cbegin(),
             ChromosomeId::fromName(QStringLiteral("21")));

    // Chromosome 1 is about 200 px at size 1, and every other one in the
    // table's proportion to it.
    QVERIFY2(meanHeight[0] > 180 && meanHeight[0] < 225,
             qPrintable(QString::number(meanHeight[0])));
    for (int chromosome = 1; chromosome < ChromosomeId::Count; ++chromosome) {
        const double drawn = meanHeight[chromosome] / meanHeight[0];
        const double table = double(m_table.iscnLength(chromosome)) / m_table.iscnLength(0);
        QVERIFY2(std::abs(drawn / table - 1.0) < 0.1,
                 qPrintable(QStringLiteral("chromosome %1: %2 of chromosome 1, table says %3")
                                .arg(ChromosomeId::name(chromosome))
                                .arg(drawn)
                                .arg(table)));
    }
}

void TestSampleGen::chromosomesStandUprightAndVary()
{
    for (const QList<ChromosomePicture> &cell : std::as_const(m_cells)) {
        for (const ChromosomePicture &picture : cell) {
            const QImage &image = picture.image;
            QVERIFY2(image.width() <= 80, qPrintable(QString::number(image.width())));
            // Compare where the top and bottom fifths of the body lie sideways.
            const RowSpan rows = chromosomeRows(image);
            const int fifth = rows.height() / 5;
            double topX = 0, topCount = 0, bottomX = 0, bottomCount = 0;
            for (int y = rows.top; y <= rows.bottom; ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (grey(image, x, y) >= BodyLevel)
                        continue;
                    if (y < rows.top + fifth) {
                        topX += x;
                        ++topCount;
                    } else if (y > rows.bottom - fifth) {
                        bottomX += x;
                        ++bottomCount;
                    }
                }
            }
            const double lean = (bottomX / bottomCount - topX / topCount) / (rows.height() - fifth);
            QVERIFY2(std::abs(std::atan(lean)) < 6.0 * M_PI / 180.0,
                     qPrintable(QStringLiteral("chromosome %1 leans %2 degrees")
                                    .arg(ChromosomeId::name(picture.chromosome))
                                    .arg(std::atan(lean) * 180.0 / M_PI)));
        }
    }

    // Cells condense to different degrees, and homologs are not copies.
    QList<int> heights;
    for (const ChromosomePicture *picture : picturesOf(0))
        heights.append(chromosomeRows(picture->image).height());
    const auto [shortest, tallest] = std::minmax_element(heights.cbegin(), heights.cend());
    QVERIFY2(double(*tallest) / *shortest > 1.1,
             qPrintable(QStringLiteral("%1 to %2 px").arg(*shortest).arg(*tallest)));
    for (const QList<ChromosomePicture> &cell : std::as_const(m_cells))
        QVERIFY(cell.at(0).image != cell.at(1).image);
}

void TestSampleGen::centromereIndexFollowsTable_data()
{
    QTest::addColumn<int>("chromosome");
    for (int chromosome = 0; chromosome < ChromosomeId::Count; ++chromosome)
        QTest::newRow(qPrintable(ChromosomeId::name(chromosome))) << chromosome;
}

void TestSampleGen::answerIdeogramsFindTheCentromere_data()
{
    centromereIndexFollowsTable_data();
}

// The answer window stands each chromosome beside its ideogram with the centromeres level; it
// finds the centromere in the picture, where the generator knows it.
void TestSampleGen::answerIdeogramsFindTheCentromere()
{
    QFETCH(int, chromosome);
    const queldo::CentromereSearch search = queldo::centromereSearchFor(m_table, chromosome);
    for (const ChromosomePicture *picture : picturesOf(chromosome)) {
        const queldo::ChromosomeSpan span = queldo::findChromosomeSpan(picture->image, search);
        QVERIFY(span.found);
        // Within one twentieth of the length: two pixels on the smallest chromosomes.
        const double off = std::abs(span.centromere + 0.5 - picture->centromere.y());
        QVERIFY2(off < 0.05 * (span.bottom - span.top),
                 qPrintable(QStringLiteral("found row %1, drawn at %2, chromosome rows %3 to %4")
                                .arg(span.centromere)
                                .arg(picture->centromere.y())
                                .arg(span.top)
                                .arg(span.bottom)));
    }
}

void TestSampleGen::centromereIndexFollowsTable()
{
    QFETCH(int, chromosome);
    const double table = m_table.centromereIndex(chromosome);
    const QList<const ChromosomePicture *> pictures = picturesOf(chromosome);

    // Heterochromatin and satellites vary in size, so single copies stray a
    // little; the place the generator reports must stay close.
    for (const ChromosomePicture *picture : pictures) {
        const double reported = reportedCentromereIndex(*picture);
        QVERIFY2(std::abs(reported - table) < 0.04,
                 qPrintable(QStringLiteral("reported %1, table %2").arg(reported).arg(table)));
    }

    // On the acrocentrics the stalk and the slim short arm are narrower than
    // the constriction itself, so only the others are read from the picture.
    if (ChromosomeId::isAcrocentric(chromosome))
        return;
    QList<double> measured;
    for (const ChromosomePicture *picture : pictures) {
        measured.append(measuredCentromereIndex(picture->image));
        QVERIFY2(
            std::abs(measured.last() - table) < 0.08,
            qPrintable(QStringLiteral("measured %1, table %2").arg(measured.last()).arg(table)));
    }
    std::sort(measured.begin(), measured.end());
    const double median = measured.at(measured.size() / 2);
    QVERIFY2(std::abs(median - table) < 0.04,
             qPrintable(QStringLiteral("median measured %1, table %2").arg(median).arg(table)));
}

void TestSampleGen::bandsFollowTable_data()
{
    QTest::addColumn<int>("chromosome");
    for (const char *name : {"1", "2", "4", "6", "9", "11", "13", "X"})
        QTest::newRow(name) << ChromosomeId::fromName(QString::fromLatin1(name));
}

void TestSampleGen::bandsFollowTable()
{
    QFETCH(int, chromosome);
    double upright = 0, flipped = 0;
    const QList<const ChromosomePicture *> pictures = picturesOf(chromosome);
    for (const ChromosomePicture *picture : pictures) {
        upright += bandCorrelation(m_table, *picture, false) / pictures.size();
        flipped += bandCorrelation(m_table, *picture, true) / pictures.size();
    }
    // Bands in place and the p arm on top: the drawing must match the
    // ideogram clearly better than the same drawing turned over.
    QVERIFY2(upright > 0.6, qPrintable(QString::number(upright)));
    QVERIFY2(upright > flipped + 0.3,
             qPrintable(QStringLiteral("%1 vs %2").arg(upright).arg(flipped)));
}

void TestSampleGen::heterochromatinVaries_data()
{
    QTest::addColumn<QString>("band");
    for (const char *band : {"1q12", "9q12", "16q11.2", "Yq12"})
        QTest::newRow(band) << QString::fromLatin1(band);
}

void TestSampleGen::heterochromatinVaries()
{
    QFETCH(QString, band);
    const int chromosome =
        ChromosomeId::fromName(band.left(band.indexOf(QRegularExpression("[pq]"))));
    QList<double> shares;
    for (const ChromosomePicture *picture : picturesOf(chromosome)) {
        for (const ChromosomeLayout::Segment &segment : picture->layout.segments())
            if (segment.bandName == band)
                shares.append((segment.end - segment.start) / picture->layout.length());
    }
    QVERIFY(shares.size() >= 5);
    const auto [smallest, largest] = std::minmax_element(shares.cbegin(), shares.cend());
    QVERIFY2(*largest / *smallest > 1.25,
             qPrintable(QStringLiteral("%1 to %2 of the length").arg(*smallest).arg(*largest)));
}

void TestSampleGen::parsesArguments()
{
    SampleGeneratorOptions options;
    const auto result = options.parse(
        {QStringLiteral("samplegen"), QStringLiteral("--out"), QStringLiteral("/x/Images"),
         QStringLiteral("--seed"), QStringLiteral("42"), QStringLiteral("--size"),
         QStringLiteral("0.5"), QStringLiteral("--karyograms"), QStringLiteral("/x/k"),
         QStringLiteral("--only"), QStringLiteral("10")});
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(options.outputFolder, QStringLiteral("/x/Images"));
    QCOMPARE(options.seed, 42u);
    QCOMPARE(options.size, 0.5);
    QCOMPARE(options.karyogramFolder, QStringLiteral("/x/k"));
    QCOMPARE(options.onlyProblem, 10);
}

void TestSampleGen::rejectsBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no --out") << QStringList{};
    QTest::newRow("size zero") << QStringList{"--out", "o", "--size", "0"};
    QTest::newRow("size text") << QStringList{"--out", "o", "--size", "big"};
    QTest::newRow("only 0") << QStringList{"--out", "o", "--only", "0"};
    QTest::newRow("only 11") << QStringList{"--out", "o", "--only", "11"};
    QTest::newRow("negative seed") << QStringList{"--out", "o", "--seed", "-1"};
    QTest::newRow("unknown option") << QStringList{"--out", "o", "--colour"};
    QTest::newRow("stray argument") << QStringList{"--out", "o", "extra"};
}

void TestSampleGen::rejectsBadArguments()
{
    QFETCH(QStringList, arguments);
    arguments.prepend(QStringLiteral("samplegen"));
    SampleGeneratorOptions options;
    const auto result = options.parse(arguments);
    QVERIFY(!result.ok);
    QVERIFY(!result.message.isEmpty());
}

void TestSampleGen::reportsUnwritableFolder_data()
{
    QTest::addColumn<bool>("karyograms");
    QTest::newRow("images folder") << false;
    QTest::newRow("karyogram folder") << true;
}

void TestSampleGen::reportsUnwritableFolder()
{
    QFETCH(bool, karyograms);
    const QString file = plainFile();

    SampleGeneratorOptions options;
    options.outputFolder =
        karyograms ? path(QStringLiteral("fine")) : file + QStringLiteral("/images");
    if (karyograms)
        options.karyogramFolder = file + QStringLiteral("/karyograms");
    options.size = 0.4;
    options.onlyProblem = 1;
    SampleGenerator generator(options);
    QVERIFY(!generator.run());
    QVERIFY2(generator.errorString().contains(QStringLiteral("plain-file")),
             qPrintable(generator.errorString()));
}

void TestSampleGen::executableExitStatus()
{
    QProcess process;
    process.start(QStringLiteral(QUELDO_SAMPLEGEN_EXECUTABLE),
                  {QStringLiteral("--out"), plainFile() + QStringLiteral("/images"),
                   QStringLiteral("--only"), QStringLiteral("1")});
    QVERIFY(process.waitForFinished(30000));
    QVERIFY(process.exitCode() != 0);
    QVERIFY(process.readAllStandardError().contains("plain-file"));

    const QString out = path(QStringLiteral("from-executable"));
    process.start(QStringLiteral(QUELDO_SAMPLEGEN_EXECUTABLE),
                  {QStringLiteral("--out"), out, QStringLiteral("--only"), QStringLiteral("2"),
                   QStringLiteral("--size"), QStringLiteral("0.4"), QStringLiteral("--seed"),
                   QString::number(Seed)});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QString folder = ExpectedFolders.at(1) + QStringLiteral("/1-1.bmp");
    QCOMPARE(readFile(QDir(out).filePath(folder)), readFile(QDir(m_images).filePath(folder)));
}

QTEST_GUILESS_MAIN(TestSampleGen)
#include "test_samplegen.moc"
