#include "core/text/Cp932Text.h"
#include "core/text/LineBlocks.h"

#include <QtTest>

using namespace queldo;

namespace {

struct Seen
{
    QList<QByteArray> lines; // "#n" for a line skipped as too long
    QList<qint64> offsets;   // where each line handed on begins in the file
    QString error;
};

Seen readInBlocks(const QString &path, qsizetype block, qsizetype line, qint64 length = -1)
{
    Seen seen;
    seen.error = forEachLineBlock(
        path, [length](qint64 size) { return length < 0 ? size : length; },
        [&](QByteArrayView run, qsizetype linesBefore, qint64 offset) {
            if (linesBefore != seen.lines.size())
                seen.lines << "wrong count before a run";
            forEachLine(run, [&](QByteArrayView l) {
                seen.lines << l.toByteArray();
                seen.offsets << offset + (l.data() - run.data());
            });
        },
        [&](qsizetype lineNumber) {
            if (lineNumber != seen.lines.size() + 1)
                seen.lines << "wrong number for a long line";
            seen.lines << "#" + QByteArray::number(lineNumber);
        },
        {block, line});
    return seen;
}

QString write(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("lines.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace

class TestLineBlocks : public QObject
{
    Q_OBJECT
private slots:
    // Whatever the block size, the lines are those of the whole file read at once: line ends of
    // every kind falling on a block's edge, and the line-end kinds mixed.
    void linesAsReadWhole_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF") << QByteArray("head\r\none,1\r\ntwo,22\r\nthree,333\r\n");
        QTest::newRow("lone CR and LF") << QByteArray("a\rbb\nccc\r\r\ndddd\n\neeeee");
        QTest::newRow("no last line end") << QByteArray("alpha\r\nbeta\r\ngamma");
        QTest::newRow("CR at the end") << QByteArray("alpha\r\nbeta\r");
        QTest::newRow("empty") << QByteArray();
    }
    void linesAsReadWhole()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = write(dir, bytes);
        QList<QByteArray> whole;
        QList<qint64> starts;
        forEachLine(bytes, [&](QByteArrayView l) {
            whole << l.toByteArray();
            starts << l.data() - bytes.constData();
        });
        for (qsizetype block : {1, 2, 3, 5, 64}) {
            const Seen seen = readInBlocks(path, block, 64);
            QVERIFY(seen.error.isEmpty());
            QCOMPARE(seen.lines, whole);
            QCOMPARE(seen.offsets, starts);
        }
    }

    // A line too long to hold is skipped, told by its number, and the lines after it keep
    // theirs; one at the very end, with or without its line end, is skipped the same way.
    void longLinesSkipped()
    {
        QTemporaryDir dir;
        const QByteArray longLine(100, 'x');
        const QString path = write(dir, "short\r\n" + longLine + "\r\nafter\r\n" + longLine + "\r" +
                                            longLine + "\nlast\r\n" + longLine);
        for (qsizetype block : {4, 7, 16}) {
            const Seen seen = readInBlocks(path, block, 16);
            QVERIFY(seen.error.isEmpty());
            QCOMPARE(seen.lines,
                     QList<QByteArray>({"short", "#2", "after", "#4", "#5", "last", "#7"}));
            QCOMPARE(seen.offsets, QList<qint64>({0, 109, 318}));
        }
    }

    void onlyTheLengthAskedForIsRead()
    {
        QTemporaryDir dir;
        const QString path = write(dir, "one\r\ntwo\r\nunfinish");
        QCOMPARE(readInBlocks(path, 4, 16, 10).lines, QList<QByteArray>({"one", "two"}));
    }

    void aMissingFileIsAnError()
    {
        QTemporaryDir dir;
        const Seen seen = readInBlocks(dir.filePath(QStringLiteral("none.txt")), 4, 16);
        QVERIFY(seen.error.contains(QStringLiteral("none.txt")));
        QVERIFY(seen.lines.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLineBlocks)
#include "test_line_blocks.moc"
