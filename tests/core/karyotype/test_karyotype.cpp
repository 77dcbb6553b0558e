#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeReader.h"
#include "core/karyotype/KaryotypeScore.h"
#include "core/karyotype/ProblemKaryotype.h"

#include <QtTest>

using namespace queldo;

namespace {

Karyotype read(const QString &text)
{
    const KaryotypeReading reading = readKaryotype(text, BandNames::embedded());
    if (!reading.ok())
        qWarning() << text << reading.error;
    return reading.karyotype;
}

} // namespace

class TestKaryotype : public QObject
{
    Q_OBJECT
private slots:
    // What is typed, and the one spelling it is normalised to.
    void normalises_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("normal");
        QTest::newRow("normal male") << "46,XY"
                                     << "46,XY";
        QTest::newRow("spaces") << " 47, XY, +21 "
                                << "47,XY,+21";
        QTest::newRow("full-width input") << u"４７，ＸＹ，＋２１"_qs << "47,XY,+21";
        QTest::newRow("minus sign") << u"45,XY,−21"_qs << "45,XY,-21";
        QTest::newRow("long-vowel mark") << u"45,XY,ー21"_qs << "45,XY,-21";
        QTest::newRow("half-width long-vowel mark") << u"45,XY,ｰ21"_qs << "45,XY,-21";
        QTest::newRow("Klinefelter") << "47,XXY"
                                     << "47,XXY";
        QTest::newRow("Y before X") << "47,XYX"
                                    << "47,XXY";
        QTest::newRow("Turner") << "45,X"
                                << "45,X";
        QTest::newRow("terminal deletion") << "46,XY,del(5)(p15.2)"
                                           << "46,XY,del(5)(p15.2)";
        QTest::newRow("terminal deletion to pter") << "46,XY,del(5)(p15.2pter)"
                                                   << "46,XY,del(5)(p15.2)";
        QTest::newRow("interstitial deletion, bands reversed") << "46,XX,del(11)(q23q14)"
                                                               << "46,XX,del(11)(q14q23)";
        QTest::newRow("short-arm bands run from the tip") << "46,XX,dup(1)(p21p32)"
                                                          << "46,XX,dup(1)(p32p21)";
        QTest::newRow("translocation, chromosomes reversed") << "46,XY,t(22;9)(q11.2;q34.1)"
                                                             << "46,XY,t(9;22)(q34.1;q11.2)";
        QTest::newRow("translocation with X goes first") << "46,XX,t(1;X)(p13;q22)"
                                                         << "46,XX,t(X;1)(q22;p13)";
        QTest::newRow("Robertsonian as derivative") << "45,XX,der(14;21)(q10;q10)"
                                                    << "45,XX,rob(14;21)(q10;q10)";
        QTest::newRow("Robertsonian without breakpoints") << "45,XX,rob(21;14)"
                                                          << "45,XX,rob(14;21)(q10;q10)";
        QTest::newRow("older isochromosome") << "46,X,i(Xq)"
                                             << "46,X,i(X)(q10)";
        QTest::newRow("pericentric inversion, bands reversed") << "46,XY,inv(9)(q13p12)"
                                                               << "46,XY,inv(9)(p12q13)";
        QTest::newRow("abnormalities in ISCN order")
            << "48,XY,t(9;22)(q34.1;q11.2),+21,del(5)(p15),+8"
            << "48,XY,del(5)(p15),+8,t(9;22)(q34.1;q11.2),+21";
        QTest::newRow("numerical before structural on one chromosome") << "47,XX,i(21)(q10),+21"
                                                                       << "47,XX,+21,i(21)(q10)";
    }
    void normalises()
    {
        QFETCH(QString, typed);
        QFETCH(QString, normal);
        const KaryotypeReading reading = readKaryotype(typed, BandNames::embedded());
        QVERIFY2(reading.ok(), qPrintable(reading.error));
        QCOMPARE(reading.karyotype.iscn(), normal);
        QCOMPARE(read(normal), reading.karyotype);
    }

    // Refused with a sentence naming what is wrong.
    void refuses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << "  "
                               << "核型が書かれていません。";
        QTest::newRow("count alone")
            << "46"
            << "染色体数と性染色体をカンマで区切って書きます (例: 46,XY)。";
        QTest::newRow("trailing comma") << "47,XY,+21,"
                                        << "カンマの間に何も書かれていない欄があります。";
        QTest::newRow("sex first") << "XY,46"
                                   << "最初の欄は染色体数です (回答: XY)。";
        QTest::newRow("lower-case sex")
            << "46,xy"
            << "2 番目の欄は性染色体です (例: XY, XX, X, XXY。回答: xy)。";
        QTest::newRow("gain of X") << "47,XY,+X"
                                   << "性染色体の増減は 2 番目の欄に書きます (例: 47,XXY)。";
        QTest::newRow("chromosome 23") << "47,XY,+23"
                                       << "「23」という染色体はありません。";
        QTest::newRow("no such band") << "46,XY,del(5)(p16)"
                                      << "5p16 という領域はありません。";
        QTest::newRow("band of another chromosome") << "46,XY,t(9;22)(q34.1;q34.1)"
                                                    << "22q34.1 という領域はありません。";
        QTest::newRow("band unreadable") << "46,XY,del(5)(15.2)"
                                         << "切断点「15.2」が読めません (例: p15.2, q34.1)。";
        QTest::newRow("unknown kind")
            << "46,XY,r(5)(p15q35)"
            << "「r」は扱える異常ではありません (扱えるもの: +, -, del, dup, inv, t, "
               "rob, i)。";
        QTest::newRow("translocation of one chromosome")
            << "46,XY,t(9)(q34)"
            << "t には染色体を二つ、; で区切って書きます。";
        QTest::newRow("translocation bands unseparated")
            << "46,XY,t(9;22)(q34q11.2)"
            << "「t(9;22)(q34q11.2)」の切断点は染色体ごとに ; で区切って書きます。";
        QTest::newRow("inversion with one break") << "46,XY,inv(9)(p12)"
                                                  << "「inv(9)(p12)」の切断点の数が合いません。";
        QTest::newRow("isochromosome off the centromere")
            << "46,X,i(X)(q13)"
            << "同腕染色体の切断点は p10 か q10 です。";
        QTest::newRow("Robertsonian off the centromere")
            << "45,XX,rob(14;21)(q11;q11)"
            << "ロバートソン転座の切断点は q10;q10 です (回答: q11;q11)。";
        QTest::newRow("same chromosome twice")
            << "46,XY,t(9;9)(p12;q34)"
            << "「t(9;9)(p12;q34)」に同じ染色体が二度書かれています。";
        QTest::newRow("mosaic") << "47,XY,+21[10]/46,XY[10]"
                                << "核型に使えない文字「[」があります。";
        QTest::newRow("unbalanced parenthesis") << "46,XY,del(5(p15)"
                                                << "「del(5(p15)」が読めません。";
        QTest::newRow("too long") << "46,XY" + QString(",+21").repeated(60) << "核型が長すぎます。";
    }
    void refuses()
    {
        QFETCH(QString, typed);
        QFETCH(QString, error);
        QCOMPARE(readKaryotype(typed, BandNames::embedded()).error, error);
    }

    void coarserBandNamesAreKnown()
    {
        const BandNames &names = BandNames::embedded();
        QVERIFY(names.contains({4, true, "15.2"}));
        QVERIFY(names.contains({4, true, "15"}));
        QVERIFY(names.contains({8, false, "34.1"})); // only 34.11..34.13 are in the fine table
        QVERIFY(names.contains({8, false, "34.11"}));
        QVERIFY(!names.contains({8, false, "34.4"}));
        QVERIFY(!names.contains({4, false, "15.2"}));
    }

    // Cell's karyotype, what was written, the credit of each part, and what the trainee is told.
    void scores_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QList<double>>("credits");
        QTest::addColumn<QStringList>("feedback");
        QTest::newRow("trisomy named") << "47,XY,+21"
                                       << "47, XY, +21" << QList<double>{1, 1, 1} << QStringList{};
        QTest::newRow("trisomy missed")
            << "47,XY,+21"
            << "46,XY" << QList<double>{0, 1, 0}
            << QStringList{"染色体数は 47 です (回答: 46)", "+21 を見落としました"};
        QTest::newRow("wrong sex")
            << "47,XXY"
            << "47,XYY" << QList<double>{1, 0} << QStringList{"性染色体は XXY です (回答: XYY)"};
        QTest::newRow("normal cell given a trisomy")
            << "46,XX"
            << "47,XX,+18" << QList<double>{0, 1, 0}
            << QStringList{"染色体数は 46 です (回答: 47)", "+18 はこの細胞にはありません"};
        QTest::newRow("wrong band") << "46,XY,del(5)(p15.2)"
                                    << "46,XY,del(5)(p14)" << QList<double>{1, 1, 0.5}
                                    << QStringList{"切断点は 5p15.2 です (回答: 5p14)"};
        QTest::newRow("right band, no sub-band")
            << "46,XY,del(5)(p15.2)"
            << "46,XY,del(5)(p15)" << QList<double>{1, 1, 0.75}
            << QStringList{"切断点は 5p15.2 です (回答: 5p15)"};
        QTest::newRow("right band, wrong sub-band")
            << "46,XY,del(5)(p15.2)"
            << "46,XY,del(5)(p15.3)" << QList<double>{1, 1, 0.75}
            << QStringList{"切断点は 5p15.2 です (回答: 5p15.3)"};
        QTest::newRow("one translocation breakpoint wrong")
            << "46,XY,t(9;22)(q34.1;q11.2)"
            << "46,XY,t(9;22)(q34.1;q12)" << QList<double>{1, 1, 2.0 / 3.0}
            << QStringList{"切断点は 22q11.2 です (回答: 22q12)"};
        QTest::newRow("translocation written the other way round")
            << "46,XY,t(9;22)(q34.1;q11.2)"
            << "46,XY,t(22;9)(q11.2;q34.1)" << QList<double>{1, 1, 1} << QStringList{};
        QTest::newRow("Robertsonian as derivative")
            << "45,XX,rob(14;21)(q10;q10)"
            << "45,XX,der(14;21)(q10;q10)" << QList<double>{1, 1, 1} << QStringList{};
        QTest::newRow("kind confused on the right chromosome")
            << "46,XX,del(5)(p15.2)"
            << "46,XX,dup(5)(p14p15.2)" << QList<double>{1, 1, 0}
            << QStringList{"5 番染色体の異常は del(5)(p15.2) です (回答: dup(5)(p15.2p14))"};
        QTest::newRow("two gains, one named")
            << "48,XXY,+21"
            << "47,XXY" << QList<double>{0, 1, 0}
            << QStringList{"染色体数は 48 です (回答: 47)", "+21 を見落としました"};
        QTest::newRow("isochromosome, older spelling")
            << "46,X,i(X)(q10)"
            << "46,X,i(Xq)" << QList<double>{1, 1, 1} << QStringList{};
        QTest::newRow("isochromosome of the wrong arm")
            << "46,X,i(X)(q10)"
            << "46,X,i(X)(p10)" << QList<double>{1, 1, 0.5}
            << QStringList{"切断点は Xq10 です (回答: Xp10)"};
    }
    void scores()
    {
        QFETCH(QString, cell);
        QFETCH(QString, written);
        QFETCH(QList<double>, credits);
        QFETCH(QStringList, feedback);
        const KaryotypeScore score = scoreKaryotype(read(cell), read(written));
        QList<double> got;
        for (const KaryotypePart &part : score.parts)
            got << part.credit;
        QCOMPARE(got.size(), credits.size());
        for (qsizetype i = 0; i < got.size(); ++i)
            QVERIFY2(qFuzzyCompare(got[i] + 1, credits[i] + 1),
                     qPrintable(QString::number(got[i])));
        QCOMPARE(score.feedback(), feedback);
        QCOMPARE(score.right(), feedback.isEmpty());
    }

    // A problem folder's karyotype file: read whole or refused with the reason.
    void problemKaryotypeFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("karyotype");
        QTest::addColumn<QStringList>("changed");
        QTest::addColumn<QString>("error");
        QTest::newRow("as written") << QByteArray("47,XY,+21\r\n21-3.bmp\r\n") << "47,XY,+21"
                                    << QStringList{"21-3.bmp"} << QString();
        QTest::newRow("line feeds, nothing changed")
            << QByteArray("45,X\n") << "45,X" << QStringList{} << QString();
        QTest::newRow("two changed")
            << QByteArray("46,XY,t(9;22)(q34.1;q11.2)\r\n9-2.bmp\r\n22-2.bmp")
            << "46,XY,t(9;22)(q34.1;q11.2)" << QStringList{"9-2.bmp", "22-2.bmp"} << QString();
        QTest::newRow("empty") << QByteArray("\r\n") << QString() << QStringList{}
                               << "核型ファイル karyotype.txt が読めません。(空のファイルです)";
        QTest::newRow("unreadable karyotype")
            << QByteArray("47,XY,+23\r\n") << QString() << QStringList{}
            << "核型ファイル karyotype.txt が読めません。(「23」という染色体はありません。)";
        QTest::newRow("no class 24")
            << QByteArray("47,XY,+21\r\n24-1.bmp\r\n") << QString() << QStringList{}
            << "核型ファイル karyotype.txt が読めません。(2 行目が画像の名前ではありません)";
        QTest::newRow("a bitmap twice")
            << QByteArray("46,XY,t(9;22)(q34.1;q11.2)\r\n9-2.bmp\r\n9-2.bmp\r\n") << QString()
            << QStringList{}
            << "核型ファイル karyotype.txt が読めません。(3 行目の画像は既に書かれています)";
        QTest::newRow("undecodable")
            << QByteArray("46,XY\r\n\x81\x20") << QString() << QStringList{}
            << "核型ファイル karyotype.txt が読めません。(文字コードが違います)";
    }
    void problemKaryotypeFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, karyotype);
        QFETCH(QStringList, changed);
        QFETCH(QString, error);
        const ProblemKaryotype read = readProblemKaryotype(bytes, BandNames::embedded());
        QCOMPARE(read.error, error);
        QCOMPARE(read.ok() ? read.karyotype.iscn() : QString(), karyotype);
        QCOMPARE(read.changedBitmaps, changed);
    }
};

QTEST_GUILESS_MAIN(TestKaryotype)
#include "test_karyotype.moc"
