#include "bandtable.h"
#include "karyotypecell.h"
#include "samplegenerator.h"
#include "samplegeneratoroptions.h"

#include "core/board/AbnormalProblemLoader.h"
#include "core/board/AnyProblemLoader.h"
#include "core/board/ChromosomeId.h"
#include "core/board/ProblemLibrary.h"
#include "core/exercise/Scoring.h"
#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;

namespace {

Karyotype karyotype(const QString &text)
{
    const KaryotypeReading reading = readKaryotype(text, BandNames::embedded());
    if (!reading.ok())
        qWarning() << text << reading.error;
    return reading.karyotype;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList bandNames(const CellChromosome &chromosome)
{
    QStringList names;
    for (const ShadedBand &shaded : chromosome.bands)
        names << shaded.band.name;
    return names;
}

QString shortArmEnd(const CellChromosome &chromosome)
{
    QString last;
    for (const ShadedBand &shaded : chromosome.bands) {
        if (shaded.band.shortArm)
            last = shaded.band.name;
    }
    return last;
}

} // namespace

class TestAbnormalCells : public QObject
{
    Q_OBJECT

private slots:
    // The derivative is the two tables' bands joined where the 850-band boundary falls: for
    // 9q34.1 between 9q34.11 and 9q34.12 (130.6 Mb, 7229 units into the layout's 9q34.1),
    // for 22q11.2 between 22q11.21 and 22q11.22 (21.7 Mb, 1645 units).
    void translocationJoinsTheTables()
    {
        QString error;
        const QList<CellChromosome> cell =
            KaryotypeCell(m_table, BandTable::embeddedFineBands())
                .build(karyotype("46,XY,t(9;22)(q34.1;q11.2)"), &error);
        QCOMPARE(cell.size(), 46);
        QList<CellChromosome> changed;
        for (const CellChromosome &chromosome : cell) {
            if (chromosome.changed)
                changed << chromosome;
        }
        QCOMPARE(changed.size(), 2);
        const CellChromosome &der9 = changed[0];
        const CellChromosome &der22 = changed[1];
        QCOMPARE(der9.chromosome, 8);
        QCOMPARE(der22.chromosome, 21);

        QCOMPARE(bandNames(der22), (QStringList{"22p13", "22p12", "22p11.2", "22p11.1", "22q11.1",
                                                "22q11.2", "9q34.1", "9q34.2", "9q34.3"}));
        QCOMPARE(der22.bands[5].band.iscnLength(), 274); // 1371..1645
        QCOMPARE(der22.bands[6].band.iscnLength(), 219); // 7229..7448
        QCOMPARE(der22.bands.last().band.iscnEnd, 1645 + 7950 - 7229);
        QCOMPARE(shortArmEnd(der22), QStringLiteral("22p11.1"));
        // A cut band is shaded from the fine rows it keeps: 22q11.21 alone is unstained,
        // 9q34.12 (gpos25, 85 units) with 9q34.13 (gneg, 141 units) a pale grey.
        // (The cut is rounded to a whole drawing unit, a few kilobases.)
        QVERIFY(der22.bands[5].darkness < 0.001);
        QVERIFY(std::abs(der22.bands[6].darkness - 0.25 * 85 / 226) < 0.01);

        const QStringList der9Names = bandNames(der9);
        QCOMPARE(der9Names.mid(der9Names.indexOf("9q33") - 1),
                 (QStringList{"9q32", "9q33", "9q34.1", "22q11.2", "22q12.1", "22q12.2", "22q12.3",
                              "22q13.1", "22q13.2", "22q13.3"}));
        QCOMPARE(der9Names.first(), QStringLiteral("9p24"));
        QCOMPARE(der9.bands.last().band.iscnEnd, 7229 + 3400 - 1645);
        QCOMPARE(shortArmEnd(der9), QStringLiteral("9p11"));
    }

    // Each change as a band sequence: what the changed chromosome shows from its top tip.
    void derivativeBands_data()
    {
        QTest::addColumn<QString>("karyotype");
        QTest::addColumn<QStringList>("start");
        QTest::addColumn<QString>("shortArmEnd");
        QTest::addColumn<int>("length");
        // 5p15.2 is one band at 850 as at 550: the cut is its edge towards the centromere.
        QTest::newRow("terminal deletion")
            << "46,XY,del(5)(p15.2)" << QStringList{"5p15.1", "5p14"} << "5p11" << 10600 - 815;
        QTest::newRow("Robertsonian") << "45,XX,rob(14;21)(q10;q10)"
                                      << QStringList{"21q22.3", "21q22.2", "21q22.1", "21q21",
                                                     "21q11.2", "21q11.1", "14q11.1", "14q11.2"}
                                      << "21q11.1" << (3200 - 1203) + (6300 - 1222);
        QTest::newRow("isochromosome")
            << "46,X,i(X)(q10)" << QStringList{"Xq28"} << "Xq11" << 2 * (8610 - 3241);
        QTest::newRow("pericentric inversion")
            << "46,XY,inv(9)(p12q13)" << QStringList{"9p24", "9p23", "9p22", "9p21", "9p13",
                                                     "9p12", "9q12", "9q11", "9p11", "9q13"}
            << "9q11" << 7950;
    }
    void derivativeBands()
    {
        QFETCH(QString, karyotype);
        QFETCH(QStringList, start);
        QFETCH(QString, shortArmEnd);
        QFETCH(int, length);
        QString error;
        const QList<CellChromosome> cell = KaryotypeCell(m_table, BandTable::embeddedFineBands())
                                               .build(::karyotype(karyotype), &error);
        QVERIFY2(!cell.isEmpty(), qPrintable(error));
        const auto changed = std::find_if(cell.begin(), cell.end(),
                                          [](const CellChromosome &c) { return c.changed; });
        QVERIFY(changed != cell.end());
        QCOMPARE(bandNames(*changed).mid(0, start.size()), start);
        QCOMPARE(::shortArmEnd(*changed), shortArmEnd);
        QCOMPARE(changed->bands.last().band.iscnEnd, length);
    }

    // How many chromosomes a cell has and which classes carry the change.
    void cellsOfTheSet_data()
    {
        QTest::addColumn<QString>("karyotype");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("changed");
        QTest::newRow("+21") << "47,XY,+21" << 47 << QStringList{"21"};
        QTest::newRow("45,X") << "45,X" << 45 << QStringList{};
        QTest::newRow("47,XXY") << "47,XXY" << 47 << QStringList{"X"};
        QTest::newRow("47,XYY") << "47,XYY" << 47 << QStringList{"Y"};
        QTest::newRow("47,XXX") << "47,XXX" << 47 << QStringList{"X"};
        QTest::newRow("rob") << "45,XX,rob(14;21)(q10;q10)" << 45 << QStringList{"14"};
        QTest::newRow("i(Xq)") << "46,X,i(X)(q10)" << 46 << QStringList{"X"};
        QTest::newRow("interstitial deletion")
            << "46,XX,del(11)(q14q23)" << 46 << QStringList{"11"};
        QTest::newRow("duplication") << "46,XY,dup(1)(q21q32)" << 46 << QStringList{"1"};
    }
    void cellsOfTheSet()
    {
        QFETCH(QString, karyotype);
        QFETCH(int, count);
        QFETCH(QStringList, changed);
        QString error;
        const QList<CellChromosome> cell = KaryotypeCell(m_table, BandTable::embeddedFineBands())
                                               .build(::karyotype(karyotype), &error);
        QVERIFY2(!cell.isEmpty(), qPrintable(error));
        QCOMPARE(cell.size(), count);
        QStringList got;
        for (const CellChromosome &chromosome : cell) {
            if (chromosome.changed)
                got << ChromosomeId::name(chromosome.chromosome);
        }
        QCOMPARE(got, changed);
    }

    void refusesWhatCannotBeDrawn_data()
    {
        QTest::addColumn<QString>("karyotype");
        QTest::addColumn<QString>("error");
        QTest::newRow("count disagrees") << "46,XY,+21"
                                         << "46,XY,+21 describes 47 chromosomes, not 46";
        QTest::newRow("no copy left") << "44,XY,-21,-21,-21"
                                      << "-21 has no normal chromosome 21 left to change";
        QTest::newRow("deletion of the centromere")
            << "46,XY,del(5)(p14q13)"
            << "a deletion across the centromere leaves no chromosome";
    }
    void refusesWhatCannotBeDrawn()
    {
        QFETCH(QString, karyotype);
        QFETCH(QString, error);
        QString got;
        QVERIFY(KaryotypeCell(m_table, BandTable::embeddedFineBands())
                    .build(::karyotype(karyotype), &got)
                    .isEmpty());
        QCOMPARE(got, error);
    }

    // A trisomy's folder: its third 21 after the pair, listed with its check value, and named
    // as the change beside the karyotype.
    void writesAnAbnormalProblemFolder()
    {
        QTemporaryDir dir;
        SampleGeneratorOptions options;
        QVERIFY(
            options
                .parse({"samplegen", "--out", dir.path(), "--size", "0.4", "--only", "47, XY, +21"})
                .ok);
        SampleGenerator generator(options);
        QVERIFY2(generator.run(), qPrintable(generator.errorString()));
        const QDir folder(dir.filePath(QStringLiteral("異常男性染色体核型no11")));
        QCOMPARE(readFile(folder.filePath("karyotype.txt")),
                 QByteArray("47,XY,+21\r\n21-3.bmp\r\n"));
        const QList<QByteArray> lines =
            readFile(folder.filePath(QStringLiteral("異常男性染色体核型no11.set"))).split('\n');
        QCOMPARE(lines.size(), 48); // 47 lines and what follows the last line end
        QVERIFY(lines[42].startsWith("21-3.bmp,"));
        const qint64 size = QFileInfo(folder.filePath("21-3.bmp")).size();
        QCOMPARE(lines[42],
                 QStringLiteral("21-3.bmp,%1,%2\r").arg(size).arg((size - 5) % 83).toLatin1());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("正常男性染色体核型no7"))));
    }

    // The program reads back what the generator wrote; a folder out of order is refused whole,
    // with a message that holds the text given.
    void programLoadsTheFolder_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("error");
        QTest::newRow("as written") << QString() << QString();
        QTest::newRow("bitmap missing") << "remove 21-3.bmp"
                                        << "/21-3.bmp を開けません。";
        QTest::newRow("change not listed")
            << "karyotype 47,XY,+21\r\n21-4.bmp\r\n"
            << "核型ファイル karyotype.txt が読めません。(2 行目が画像の名前ではありません)";
        QTest::newRow("changed bitmap not in the list")
            << "karyotype 47,XY,+21\r\n20-3.bmp\r\n"
            << "問題 異常男性染色体核型no11 の核型ファイルにある 20-3.bmp が一覧にありません。";
        QTest::newRow("a fourth copy")
            << "list 21-3.bmp,1,1\r\n"
            << "問題 異常男性染色体核型no11 の一覧に 21-3.bmp が二度あります。";
        QTest::newRow("48 pictures")
            << "list 20-3.bmp,1,1\r\n"
            << "問題 異常男性染色体核型no11 の染色体の数 (48) は扱えません。";
    }
    void programLoadsTheFolder()
    {
        QFETCH(QString, damage);
        QFETCH(QString, error);
        QTemporaryDir dir;
        SampleGeneratorOptions options;
        QVERIFY(options
                    .parse({"samplegen", "--out", dir.path(), "--size", "0.4", "--only", "11",
                            "--abnormal"})
                    .ok);
        SampleGenerator generator(options);
        QVERIFY2(generator.run(), qPrintable(generator.errorString()));
        const QString name = QStringLiteral("異常男性染色体核型no11");
        const QDir folder(dir.filePath(name));
        const QString what = damage.section(' ', 0, 0);
        const QString argument = damage.section(' ', 1);
        if (what == "remove")
            QVERIFY(QFile::remove(folder.filePath(argument)));
        const auto write = [&](const QString &file, const QByteArray &bytes, bool append) {
            QFile out(folder.filePath(file));
            QVERIFY(out.open(append ? QIODevice::Append : QIODevice::WriteOnly));
            out.write(bytes);
        };
        if (what == "karyotype")
            write("karyotype.txt", argument.toLatin1(), false);
        if (what == "list")
            write(name + ".set", argument.toLatin1(), true);

        QVERIFY(isAbnormalProblem(QDir(dir.path()), name));
        const LoadAbnormalProblemResult loaded = LoadAbnormalProblem(QDir(dir.path()), name);
        if (!error.isEmpty()) {
            QVERIFY2(loaded.error.contains(error), qPrintable(loaded.error));
            QVERIFY(loaded.problem.pieces.isEmpty());
            return;
        }
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.problem.karyotype.iscn(), QStringLiteral("47,XY,+21"));
        QCOMPARE(loaded.problem.pieces.size(), 47);
        QCOMPARE(loaded.problem.CheckValueList.size(), 47);
        const AbnormalPiece &third = loaded.problem.pieces[42];
        QCOMPARE(third.bitmapName, QStringLiteral("21-3.bmp"));
        QCOMPARE(third.bitmapClass, 21);
        QVERIFY(third.changed);
        QVERIFY(third.bitmap.width > 0);
        QCOMPARE(std::count_if(loaded.problem.pieces.cbegin(), loaded.problem.pieces.cend(),
                               [](const AbnormalPiece &piece) { return piece.changed; }),
                 1);
    }

    // Every cell of the set, read by the program, fits its board: laid out as the correct
    // karyogram it scores every chromosome right and every other place rightly empty, a
    // derivative counted in the class of its centromere and each sex picture as X or Y.
    void everyCellOfTheSetScoresWhole()
    {
        QTemporaryDir dir;
        SampleGeneratorOptions options;
        QVERIFY(
            options.parse({"samplegen", "--out", dir.path(), "--size", "0.3", "--abnormal"}).ok);
        SampleGenerator generator(options);
        QVERIFY2(generator.run(), qPrintable(generator.errorString()));
        const ProblemLibrary library = ProblemLibrary::probe(QDir(dir.path()));
        QCOMPARE(library.count(), 24); // the ten normal problems first
        for (const QString &name : library.ProblemList().mid(10)) {
            const LoadProblemResult loaded = loadProblemOfAnyKind(QDir(dir.path()), name);
            QVERIFY2(loaded.ok(), qPrintable(loaded.error));
            const CellKey &key = loaded.problem.key;
            const Karyotype &karyotype = *loaded.problem.karyotype;
            QCOMPARE(key.pieceCount, karyotype.count);
            QString sex;
            for (int piece = 0; piece < key.pieceCount; ++piece) {
                if (key.classOf(piece) == 23)
                    sex += ChromosomeId::name(key.chromosome[std::size_t(piece)]);
            }
            // i(Xq) is an X of its own, beyond the X the sex field counts.
            QVERIFY2(sex.startsWith(karyotype.sexChromosomes), qPrintable(name + " " + sex));
            BoardState board;
            board.pieceCount = key.pieceCount;
            board.placeCount = key.placeCount();
            const auto places = answerPlaces(key);
            for (int piece = 0; piece < key.pieceCount; ++piece)
                board.SlotContents[std::size_t(places[std::size_t(piece)])] = piece;
            const CellScore score = scoreCell(board, key);
            QCOMPARE(score.correct, karyotype.count);
            QCOMPARE(int(std::count(score.codes.begin(), score.codes.end(), int(SlotRightlyEmpty))),
                     50 - karyotype.count);
        }
    }

    void argumentsPickTheSet_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("set member by number")
            << QStringList{"--abnormal", "--only", "24"} << QString();
        QTest::newRow("past the set")
            << QStringList{"--abnormal", "--only", "25"}
            << "--only wants a problem number from 1 to 24 or a karyotype";
        QTest::newRow("abnormal number without --abnormal")
            << QStringList{"--only", "11"}
            << "--only wants a problem number from 1 to 10 or a karyotype";
        QTest::newRow("unreadable karyotype")
            << QStringList{"--only", "47,XY,+23"} << "--only: 「23」という染色体はありません。";
    }
    void argumentsPickTheSet()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        SampleGeneratorOptions options;
        const auto result = options.parse(QStringList{"samplegen", "--out", "o"} + arguments);
        QCOMPARE(result.ok, message.isEmpty());
        QCOMPARE(result.message, message);
    }

private:
    BandTable m_table = BandTable::embedded();
};

QTEST_GUILESS_MAIN(TestAbnormalCells)
#include "test_abnormal_cells.moc"
