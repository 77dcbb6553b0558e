#include "core/results/ResultsFile.h"
#include "core/results/ResultsRecordLayout.h"

#include <QtTest>

#include <optional>

using namespace queldo;
using namespace queldo::ResultsRecordLayout;

Q_DECLARE_METATYPE(queldo::ResultsRecordLayout::PlainLine)

namespace {

// Every place a different code where a digit allows, so that a field taken from its neighbour
// shows.
std::array<int, 46> varied()
{
    std::array<int, 46> codes;
    for (int s = 0; s < 46; ++s)
        codes[std::size_t(s)] = s % 11 - 1;
    return codes;
}

} // namespace

class TestResultsRecordLayout : public QObject
{
    Q_OBJECT
private slots:
    // The writer puts each figure where the readers take it from.
    void writtenLineReadsBackByTheLayout()
    {
        const std::array<int, 46> codes = varied();
        const QByteArray line =
            ResultsFile::recordLine(7, QStringLiteral("2026/12/10"), 12, codes, 345).toLatin1();
        PlainFields fields;
        QCOMPARE(fields.split(line), PlainLine::Record);
        QCOMPARE(fields[NumberField], "7");
        QCOMPARE(fields[DateField], "2026/12/10");
        QCOMPARE(fields[ProblemField], "012");
        for (int s = 0; s < 46; ++s)
            QCOMPARE(fields.integer(placeField(s)), std::optional<int>(s % 11 - 1));
        QCOMPARE(fields[XField], "-1"); // place 44
        QCOMPARE(fields[XYField], "0"); // place 45
        QCOMPARE(fields.integer(SecondsField), std::optional<int>(345));
    }

    // The split at commas alone gives the fields of the file's reading rule, or says the line is
    // one it cannot judge.
    void plainSplitAgreesWithTheReadingRule_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<PlainLine>("form");
        const QByteArray record =
            ResultsFile::recordLine(3, QStringLiteral("2026/12/10"), 1, varied(), 90).toLatin1();
        QTest::newRow("written record") << record << PlainLine::Record;
        QTest::newRow("one field short")
            << record.left(record.lastIndexOf(',')) << PlainLine::NotRecord;
        QTest::newRow("one field more") << record + ",5" << PlainLine::NotRecord;
        QTest::newRow("empty fields") << QByteArray(49, ',') << PlainLine::Record;
        QTest::newRow("empty line") << QByteArray() << PlainLine::NotRecord;
        QTest::newRow("blank separates")
            << QByteArray(record).replace(0, 2, "3 ") << PlainLine::Other;
        QTest::newRow("quoted field") << "\"3\"" + record.mid(1) << PlainLine::Other;
        QTest::newRow("code page 932")
            << QByteArray(record).replace(1, 0, "\x82\xa0") << PlainLine::Other;
        QTest::newRow("carriage return") << record + '\r' << PlainLine::Other;
    }
    void plainSplitAgreesWithTheReadingRule()
    {
        QFETCH(QByteArray, line);
        QFETCH(PlainLine, form);
        PlainFields fields;
        QCOMPARE(fields.split(line), form);
        if (form == PlainLine::Other)
            return;
        const QStringList general = ResultsFile::splitFields(QString::fromLatin1(line));
        QCOMPARE(general.size() == FieldCount, form == PlainLine::Record);
        if (form == PlainLine::Record)
            for (int j = 0; j < FieldCount; ++j)
                QCOMPARE(QString::fromLatin1(fields[j]), general[j]);
    }

    void integerField_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<std::optional<int>>("value");
        const std::optional<int> none;
        QTest::newRow("digit") << QByteArray("0") << std::optional<int>(0);
        QTest::newRow("minus") << QByteArray("-7") << std::optional<int>(-7);
        QTest::newRow("plus") << QByteArray("+3") << std::optional<int>(3);
        QTest::newRow("leading zeros")
            << QByteArray("0000000000000000012") << std::optional<int>(12);
        QTest::newRow("largest") << QByteArray("2147483647") << std::optional<int>(2147483647);
        QTest::newRow("past largest") << QByteArray("2147483648") << none;
        QTest::newRow("smallest") << QByteArray("-2147483648")
                                  << std::optional<int>(-2147483647 - 1);
        QTest::newRow("past smallest") << QByteArray("-2147483649") << none;
        QTest::newRow("empty") << QByteArray() << none;
        QTest::newRow("sign alone") << QByteArray("-") << none;
        QTest::newRow("letter") << QByteArray("1a") << none;
    }
    void integerField()
    {
        QFETCH(QByteArray, text);
        QFETCH(std::optional<int>, value);
        // The field stands as the problem number of a record.
        QByteArray line = "0,d," + text;
        for (int j = FirstPlaceField; j < FieldCount; ++j)
            line += ",1";
        PlainFields fields;
        QCOMPARE(fields.split(line), PlainLine::Record);
        QCOMPARE(fields.integer(ProblemField), value);
    }
};

QTEST_GUILESS_MAIN(TestResultsRecordLayout)
#include "test_results_record_layout.moc"
