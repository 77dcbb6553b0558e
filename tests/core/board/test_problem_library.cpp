#include "ProblemFixture.h"
#include "core/board/ProblemLibrary.h"
#include "core/board/ProblemLoader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

ScaleInputs roomyRows()
{
    ScaleInputs in;
    in.firstRowHeight = 94;
    in.rowReferenceWidths = {80, 57, 66, 80};
    return in;
}

} // namespace

class TestProblemLibrary : public QObject
{
    Q_OBJECT
private slots:
    void numbersFollowTheListNotTheFolderName()
    {
        QTemporaryDir dir;
        const QStringList &names = knownProblemNames();
        for (int i : {8, 1, 4}) // created out of order: the probe order must win
            QDir(dir.path()).mkdir(names[i]);
        QDir(dir.path()).mkdir("正常男性染色体核型no99"); // never looked for
        const ProblemLibrary library = ProblemLibrary::probe(QDir(dir.path()));
        QCOMPARE(library.ProblemList(), (QStringList{names[1], names[4], names[8]}));
        QCOMPARE(library.numberTexts(), (QStringList{"001", "002", "003"}));
        QCOMPARE(library.problemOrder()[2], 2);
        QCOMPARE(library.problemOrder()[3], -1);
        QCOMPARE(library.problemOrder()[499], -1);
        QCOMPARE(problemNumberText(library.problemNumber(1)), QStringLiteral("002"));
    }

    void allTenInstalled()
    {
        const ProblemLibrary library = ProblemLibrary::fromNames(knownProblemNames());
        QCOMPARE(library.numberTexts().last(), QStringLiteral("010"));
        QCOMPARE(*library.nameAtPosition(2), QStringLiteral("正常女性染色体核型no52"));
        QVERIFY(!library.nameAtPosition(10));
        QVERIFY(!library.nameAtPosition(-1));
        QVERIFY(!library.nameAtPosition(100000));
        QVERIFY(IsFemaleProblem(*library.nameAtPosition(2)));
        QVERIFY(!IsFemaleProblem(*library.nameAtPosition(0)));
    }

    void loadsBitmapsInPieceOrderWithTheirCheckValues()
    {
        QTemporaryDir dir;
        const QString name = knownProblemNames()[2];
        writeProblemFolder(dir.path(), name, {60, 14, 4});
        const LoadProblemResult result = LoadProblem(QDir(dir.path()), name);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.problem.CheckValueList.size(), 46);
        const qint64 firstSize = QFileInfo(dir.filePath(name + "/1-1.bmp")).size();
        QCOMPARE(result.problem.CheckValueList[0].toInt(), int((firstSize - 5) % 83));
        QCOMPARE(result.problem.SourceBitmap[0].height, 60);  // 1-1.bmp
        QCOMPARE(result.problem.SourceBitmap[45].height, 16); // 23-2.bmp
        QCOMPARE(bitmapFileName(13), QStringLiteral("7-2.bmp"));
        QCOMPARE(bitmapFileName(44), QStringLiteral("23-1.bmp"));
    }

    void scaleTakesTheNarrowestRatio_data()
    {
        QTest::addColumn<int>("widestInRow3");
        QTest::addColumn<float>("base");
        // Tallest 60 in a 94 high row: (94 - 4) / 60 = 1.5, unless a row's widest piece is wider.
        QTest::newRow("height wins") << 14 << 1.5f;
        QTest::newRow("row 3 wins") << 55 << 66.0f / 55.0f;
    }
    void scaleTakesTheNarrowestRatio()
    {
        QFETCH(int, widestInRow3);
        QFETCH(float, base);
        SourceBitmaps bitmaps;
        for (int p = 0; p < PieceCount; ++p)
            bitmaps[p] = Bgr24Image(14, p == 0 ? 60 : 30);
        bitmaps[30] = Bgr24Image(widestInRow3, 30);
        ScaleResult scale = computeScale(bitmaps, roomyRows());
        QCOMPARE(scale.BaseScale, base);
        QCOMPARE(scale.EffectiveScale, base * 0.9f);
        QVERIFY(scale.trackBarReset);

        ScaleInputs custom = roomyRows();
        custom.CustomScale = 1;
        custom.trackBarPosition = 13;
        scale = computeScale(bitmaps, custom);
        QCOMPARE(scale.EffectiveScale, 13.0f * base * 0.1f * 0.9f);
        QVERIFY(!scale.trackBarReset);
    }

    void brokenProblemsAreReportedWhole_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("no set file") << "set";
        QTest::newRow("missing bitmap") << "missing";
        QTest::newRow("truncated bitmap") << "truncate";
        QTest::newRow("zero width") << "zero";
        QTest::newRow("absurd size") << "huge";
        QTest::newRow("not a bitmap") << "garbage";
    }
    void brokenProblemsAreReportedWhole()
    {
        QFETCH(QString, damage);
        QTemporaryDir dir;
        const QString name = knownProblemNames()[0];
        writeProblemFolder(dir.path(), name);
        const QString folder = dir.path() + "/" + name + "/";
        const QString bitmap = folder + "12-2.bmp";
        QFile file(bitmap);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        file.close();
        auto putInt = [&](int offset, qint32 value) { memcpy(bytes.data() + offset, &value, 4); };
        if (damage == "set")
            QFile::remove(folder + name + ".set");
        else if (damage == "missing")
            QFile::remove(bitmap);
        else if (damage == "truncate")
            bytes.truncate(bytes.size() / 2);
        else if (damage == "zero")
            putInt(18, 0);
        else if (damage == "huge")
            putInt(18, 1 << 30), putInt(22, 1 << 30);
        else if (damage == "garbage")
            bytes = QByteArray(200, 'x');
        if (damage != "set" && damage != "missing") {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes);
            file.close();
        }
        const LoadProblemResult result = LoadProblem(QDir(dir.path()), name);
        QVERIFY(!result.ok());
        QVERIFY(!result.error.isEmpty());
        QVERIFY(result.problem.SourceBitmap[0].isNull()); // nothing half-loaded comes back
    }

    // Seeded random corruption of the bitmap and the check-value file: every outcome must be a
    // loaded problem or a message, never a crash or a hang.
    void survivesCorruptedInput()
    {
        QTemporaryDir dir;
        const QString name = knownProblemNames()[3];
        writeProblemFolder(dir.path(), name, {40, 10, 2});
        const QString folder = dir.path() + "/" + name + "/";
        QFile bmp(folder + "1-1.bmp");
        QVERIFY(bmp.open(QIODevice::ReadOnly));
        const QByteArray original = bmp.readAll();
        bmp.close();
        QFile set(folder + name + ".set");
        QVERIFY(set.open(QIODevice::ReadOnly));
        const QByteArray originalSet = set.readAll();
        set.close();

        QRandomGenerator random(2026);
        const int runs = 400;
        int loaded = 0;
        for (int run = 0; run < runs; ++run) {
            QByteArray bytes = run % 2 ? original : originalSet;
            const int edits = random.bounded(1, 8);
            for (int e = 0; e < edits; ++e) {
                const int at = random.bounded(0, int(bytes.size()));
                switch (random.bounded(0, 3)) {
                case 0:
                    bytes[at] = char(random.bounded(0, 256));
                    break;
                case 1:
                    bytes.truncate(at);
                    break;
                default:
                    bytes.insert(at, char(random.bounded(0, 256)));
                    break;
                }
                if (bytes.isEmpty())
                    break;
            }
            QFile target(run % 2 ? bmp.fileName() : set.fileName());
            QVERIFY(target.open(QIODevice::WriteOnly | QIODevice::Truncate));
            target.write(bytes);
            target.close();
            const LoadProblemResult result = LoadProblem(QDir(dir.path()), name);
            loaded += result.ok() ? 1 : 0;
            if (result.ok())
                QVERIFY(result.problem.SourceBitmap[0].width > 0);
            QFile restore(run % 2 ? bmp.fileName() : set.fileName());
            QVERIFY(restore.open(QIODevice::WriteOnly | QIODevice::Truncate));
            restore.write(run % 2 ? original : originalSet);
        }
        qInfo("%d corrupted inputs, %d still loaded", runs, loaded);
    }
};

QTEST_GUILESS_MAIN(TestProblemLibrary)
#include "test_problem_library.moc"
