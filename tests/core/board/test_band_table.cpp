#include "core/board/BandTable.h"
#include "core/board/ChromosomeId.h"

#include <QtTest>

using namespace queldo;

namespace {

const QByteArray Header = "chromosome\tarm\tband\tstart_bp\tend_bp\tstain\tiscn_start\tiscn_end\n";
const QList<QByteArray> Names = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",
                                 "9",  "10", "11", "12", "13", "14", "15", "16",
                                 "17", "18", "19", "20", "21", "22", "X",  "Y"};

// Every chromosome as two bands: a dark short arm of 10 units and a pale long arm of 20.
QByteArray tinyLayout(const QByteArray &extraForChromosome1 = {})
{
    QByteArray tsv = Header;
    for (const QByteArray &c : Names) {
        tsv += c + "\tp\t" + c + "p11\t0\t100\tgpos100\t0\t10\n";
        tsv += c + "\tq\t" + c + "q11\t100\t300\tgneg\t10\t30\n";
        if (c == "1")
            tsv += extraForChromosome1;
    }
    return tsv;
}

// The finer level splits each short arm into a pale and a dark half.
QByteArray tinyFine()
{
    QByteArray tsv = Header;
    for (const QByteArray &c : Names) {
        tsv += c + "\tp\t" + c + "p11.2\t0\t50\tgneg\t0\t5\n";
        tsv += c + "\tp\t" + c + "p11.1\t50\t100\tgpos100\t5\t10\n";
        tsv += c + "\tq\t" + c + "q11\t100\t300\tgneg\t10\t30\n";
    }
    return tsv;
}

} // namespace

class TestBandTable : public QObject
{
    Q_OBJECT
private slots:
    void readsATinyTable()
    {
        const BandTable table = BandTable::fromTsv(tinyLayout(), tinyFine());
        QVERIFY2(table.isValid(), qPrintable(table.errorString()));
        const QList<ShadedBand> &one = table.bands(ChromosomeId::fromName("1"));
        QCOMPARE(one.size(), 2);
        QCOMPARE(one[0].band.name, QStringLiteral("1p11"));
        QVERIFY(one[0].band.shortArm);
        QCOMPARE(one[0].band.stain, BandStain::Gpos100);
        // Half pale and half dark at the finer level: a middle grey, not black.
        QCOMPARE(one[0].darkness, 0.5);
        QCOMPARE(one[1].darkness, 0.0);
        QCOMPARE(table.iscnLength(ChromosomeId::Y), 30);
        QCOMPARE(table.centromereIscn(ChromosomeId::X), 10);
        QCOMPARE(table.centromereIndex(0), 1.0 / 3.0);
        QVERIFY(table.bands(24).isEmpty());
        QVERIFY(table.bands(-1).isEmpty());
    }

    void refusesBrokenTables_data()
    {
        QTest::addColumn<QByteArray>("layout");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << QByteArray() << "missing";
        QTest::newRow("seven fields") << tinyLayout("1\tq\t1q12\t300\t400\tgneg\t30\n") << "line 4";
        QTest::newRow("unknown stain")
            << tinyLayout("1\tq\t1q12\t300\t400\tblack\t30\t40\n") << "line 4";
        QTest::newRow("number") << tinyLayout("1\tq\t1q12\t300\t400\tgneg\tthirty\t40\n")
                                << "line 4";
        QTest::newRow("backwards")
            << tinyLayout("1\tq\t1q12\t300\t400\tgneg\t40\t30\n") << "line 4";
        QTest::newRow("hole") << tinyLayout("1\tq\t1q12\t300\t400\tgneg\t31\t40\n") << "1q12";
        QTest::newRow("short arm after long arm")
            << tinyLayout("1\tp\t1p12\t300\t400\tgneg\t30\t40\n") << "p/q";
        QByteArray noY = tinyLayout();
        noY.truncate(noY.indexOf("Y\tp"));
        QTest::newRow("no Y") << noY << "chromosome Y";
    }
    void refusesBrokenTables()
    {
        QFETCH(QByteArray, layout);
        QFETCH(QString, says);
        const BandTable table = BandTable::fromTsv(layout, tinyFine());
        QVERIFY(!table.isValid());
        QVERIFY2(table.errorString().contains(says), qPrintable(table.errorString()));
        // Whatever was left unread, an invalid table answers questions without crashing.
        QVERIFY(table.centromereIndex(ChromosomeId::Y) >= 0.0);
    }

    void embeddedTablesAreWhole()
    {
        const BandTable table = BandTable::embedded();
        QVERIFY2(table.isValid(), qPrintable(table.errorString()));
        QCOMPARE(table.iscnLength(0), 15100); // chromosome 1 at every level
        QCOMPARE(table.bands(0).first().band.name, QStringLiteral("1p36.3"));
    }
};

QTEST_GUILESS_MAIN(TestBandTable)
#include "test_band_table.moc"
