#include "core/board/ChromosomeId.h"
#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeChoices.h"
#include "core/karyotype/KaryotypeQuestion.h"
#include "core/karyotype/KaryotypeReader.h"

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

KaryotypeChoices choices(int count, const char *sex, std::optional<AbnormalityKind> kind = {},
                         const char *first = "1", const char *second = "1",
                         const char *firstBand = "", const char *secondBand = "")
{
    KaryotypeChoices built;
    built.count = count;
    built.sexChromosomes = QString::fromLatin1(sex);
    built.kind = kind;
    built.firstChromosome = ChromosomeId::fromName(QString::fromLatin1(first));
    built.secondChromosome = ChromosomeId::fromName(QString::fromLatin1(second));
    built.firstBand = QString::fromLatin1(firstBand);
    built.secondBand = QString::fromLatin1(secondBand);
    return built;
}

} // namespace

Q_DECLARE_METATYPE(KaryotypeChoices)

class TestKaryotypeQuestion : public QObject
{
    Q_OBJECT
private slots:
    // Every cell the generator deals can be answered with the choices, and the text they build
    // is the karyotype itself.
    void choicesBuildEveryDealtKaryotype_data()
    {
        using K = AbnormalityKind;
        QTest::addColumn<KaryotypeChoices>("built");
        QTest::addColumn<QString>("karyotype");
        QTest::newRow("normal") << choices(46, "XX") << "46,XX";
        QTest::newRow("+21") << choices(47, "XY", K::Gain, "21") << "47,XY,+21";
        QTest::newRow("+18") << choices(47, "XX", K::Gain, "18") << "47,XX,+18";
        QTest::newRow("-21") << choices(45, "XX", K::Loss, "21") << "45,XX,-21";
        QTest::newRow("45,X") << choices(45, "X") << "45,X";
        QTest::newRow("47,XXY") << choices(47, "XXY") << "47,XXY";
        QTest::newRow("terminal deletion")
            << choices(46, "XY", K::Deletion, "5", "1", "p15.2") << "46,XY,del(5)(p15.2)";
        QTest::newRow("interstitial deletion")
            << choices(46, "XX", K::Deletion, "11", "1", "q14", "q23") << "46,XX,del(11)(q14q23)";
        QTest::newRow("translocation")
            << choices(46, "XY", K::Translocation, "9", "22", "q34.1", "q11.2")
            << "46,XY,t(9;22)(q34.1;q11.2)";
        QTest::newRow("Robertsonian")
            << choices(45, "XX", K::Robertsonian, "14", "21") << "45,XX,rob(14;21)(q10;q10)";
        QTest::newRow("inversion")
            << choices(46, "XY", K::Inversion, "9", "1", "p12", "q13") << "46,XY,inv(9)(p12q13)";
        QTest::newRow("isochromosome")
            << choices(46, "X", K::Isochromosome, "X", "1", "q10") << "46,X,i(X)(q10)";
        QTest::newRow("duplication")
            << choices(46, "XY", K::Duplication, "1", "1", "q21", "q32") << "46,XY,dup(1)(q21q32)";
    }
    void choicesBuildEveryDealtKaryotype()
    {
        QFETCH(KaryotypeChoices, built);
        QFETCH(QString, karyotype);
        QCOMPARE(built.text(), karyotype);
        const KaryotypeQuestion question(read(karyotype));
        QCOMPARE(question.problemWith(built.text()), QString());
        QVERIFY(question.answer(built.text()).score.right());
    }

    void bandListsFollowTheChromosome()
    {
        const QStringList five =
            KaryotypeChoiceLists::bands(ChromosomeId::fromName("5"), AbnormalityKind::Deletion);
        QCOMPARE(five.mid(0, 4), QStringList({"p15", "p15.3", "p15.2", "p15.1"}));
        QCOMPARE(five.last(), "q35.3");
        QVERIFY(KaryotypeChoiceLists::bands(ChromosomeId::fromName("9"), AbnormalityKind::Inversion)
                    .contains("q34.1"));
        const QStringList eleven =
            KaryotypeChoiceLists::bands(ChromosomeId::fromName("11"), AbnormalityKind::Deletion);
        QCOMPARE(eleven.mid(eleven.indexOf("q14"), 4),
                 QStringList({"q14", "q14.1", "q14.2", "q14.3"}));
        QVERIFY(eleven.contains("q23"));
        QCOMPARE(KaryotypeChoiceLists::bands(ChromosomeId::X, AbnormalityKind::Isochromosome),
                 QStringList({"p10", "q10"}));
    }

    // What the trainee reads after answering.
    void summary_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QStringList>("summary");
        QTest::newRow("right") << "47,XY,+21"
                               << "47, XY, +21" << QStringList{u"正解です。(3 / 3 点)"_qs};
        QTest::newRow("missed trisomy")
            << "47,XY,+21"
            << "46,XY"
            << QStringList{u"不正解です。(1 / 3 点)"_qs, u"染色体数は 47 です (回答: 46)"_qs,
                           u"+21 を見落としました"_qs};
        QTest::newRow("one breakpoint wrong")
            << "46,XY,t(9;22)(q34.1;q11.2)"
            << "46,XY,t(9;22)(q34.1;q12)"
            << QStringList{u"不正解です。(2.7 / 3 点)"_qs,
                           u"切断点は 22q11.2 です (回答: 22q12)"_qs};
        QTest::newRow("sub-band missing earns half")
            << "46,XY,del(5)(p15.2)"
            << "46,XY,del(5)(p15)"
            << QStringList{u"不正解です。(2.8 / 3 点)"_qs, u"切断点は 5p15.2 です (回答: 5p15)"_qs};
        QTest::newRow("unanswered") << "45,X"
                                    << ""
                                    << QStringList{u"核型の回答はありませんでした。(0 / 2 点)"_qs,
                                                   u"この細胞の核型は 45,X です"_qs};
    }
    void summary()
    {
        QFETCH(QString, expected);
        QFETCH(QString, written);
        QFETCH(QStringList, summary);
        const KaryotypeQuestion question(read(expected));
        const KaryotypeAnswer answer =
            written.isEmpty() ? question.unanswered() : question.answer(written);
        QCOMPARE(answer.summary(), summary);
        QCOMPARE(answer.expected, expected);
    }

    // A slip of the keyboard is sent back to be corrected, not scored as a wrong karyotype.
    void unreadableTextIsNotAnAnswer_data()
    {
        QTest::addColumn<QString>("written");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("nonsense") << "forty-seven";
        QTest::newRow("no such band") << "46,XY,del(5)(p99)";
    }
    void unreadableTextIsNotAnAnswer()
    {
        QFETCH(QString, written);
        const KaryotypeQuestion question(read("47,XY,+21"));
        QVERIFY(!question.problemWith(written).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestKaryotypeQuestion)
#include "test_karyotype_question.moc"
