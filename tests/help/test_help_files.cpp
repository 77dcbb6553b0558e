#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

// The help as shipped: every page reachable from the first, every link and picture found.
class TestHelpFiles : public QObject
{
    Q_OBJECT

    static QString read(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll());
    }
    static QStringList attributes(const QString &html, const QString &name)
    {
        QStringList values;
        const QRegularExpression re(QStringLiteral("\\b%1\\s*=\\s*\"([^\"]*)\"").arg(name));
        for (auto it = re.globalMatch(html); it.hasNext();)
            values << it.next().captured(1);
        return values;
    }

private slots:
    void everyLinkAndPictureResolves()
    {
        const QDir help(QStringLiteral(QUELDO_HELP_DIR));
        QStringList pending{QStringLiteral("QUELDOHelp.html")};
        QSet<QString> seen;
        int pictures = 0;
        while (!pending.isEmpty()) {
            const QString page = pending.takeFirst();
            if (seen.contains(page))
                continue;
            seen.insert(page);
            const QString html = read(help.filePath(page));
            QVERIFY2(!html.isEmpty(), qPrintable(page));
            QVERIFY2(html.contains(QStringLiteral("<meta charset=\"utf-8\">")), qPrintable(page));

            for (const QString &src : attributes(html, QStringLiteral("src"))) {
                const QImage picture(help.filePath(src));
                QVERIFY2(!picture.isNull(), qPrintable(page + ": " + src));
                ++pictures;
            }
            for (const QString &href : attributes(html, QStringLiteral("href"))) {
                if (href.startsWith(QStringLiteral("http://")) ||
                    href.startsWith(QStringLiteral("https://")))
                    continue;
                const qsizetype hash = href.indexOf(u'#');
                const QString target = hash < 0 ? href : href.left(hash);
                const QString anchor = hash < 0 ? QString() : href.mid(hash + 1);
                const QString targetPage = target.isEmpty() ? page : target;
                QVERIFY2(QFileInfo::exists(help.filePath(targetPage)),
                         qPrintable(page + ": " + href));
                if (!anchor.isEmpty())
                    QVERIFY2(attributes(read(help.filePath(targetPage)), QStringLiteral("id"))
                                 .contains(anchor),
                             qPrintable(page + ": " + href));
                if (targetPage.endsWith(QStringLiteral(".html")))
                    pending << targetPage;
            }
        }
        QVERIFY(seen.contains(QStringLiteral("QUELDOHelp-chromosomes.html")));
        // The exercise window, and an ideogram for each of the 24 classes.
        QVERIFY2(pictures >= 25, qPrintable(QString::number(pictures)));
    }

    void chromosomePageHasEveryClassOnce()
    {
        const QString html = read(QDir(QStringLiteral(QUELDO_HELP_DIR))
                                      .filePath(QStringLiteral("QUELDOHelp-chromosomes.html")));
        QStringList expected;
        for (int i = 1; i <= 22; ++i)
            expected << QStringLiteral("help-images/ideogram-%1.png").arg(i);
        expected << QStringLiteral("help-images/ideogram-X.png")
                 << QStringLiteral("help-images/ideogram-Y.png");
        QCOMPARE(attributes(html, QStringLiteral("src")), expected);
    }

    // Every abnormality a problem can deal has a page of its own, linked from the list, that
    // writes its karyotype, says how it looks, shows its ideogram and what to look for.
    void everyDealtAbnormalityHasItsPage()
    {
        const QDir help(QStringLiteral(QUELDO_HELP_DIR));
        const QString list = read(help.filePath(QStringLiteral("QUELDOHelp-abnormal.html")));
        QString pages;
        for (const QString &href : attributes(list, QStringLiteral("href")))
            if (href.startsWith(QStringLiteral("QUELDOHelp-abnormal-"))) {
                const QString page = read(help.filePath(href));
                for (const char *heading :
                     {"ISCN の書き方", "核型での見え方", "イデオグラム", "見るところ"})
                    QVERIFY2(page.contains(QString::fromUtf8(heading)), qPrintable(href));
                QVERIFY2(!attributes(page, QStringLiteral("src")).isEmpty(), qPrintable(href));
                pages += page;
            }
        for (const char *karyotype :
             {"47,XY,+21", "47,XX,+18", "47,XY,+13", "45,X", "47,XXY", "47,XYY", "47,XXX",
              "46,XY,del(5)(p15.2)", "46,XX,del(11)(q14q23)", "46,XY,t(9;22)(q34.1;q11.2)",
              "45,XX,rob(14;21)(q10;q10)", "46,XY,inv(9)(p12q13)", "46,X,i(X)(q10)",
              "46,XY,dup(1)(q21q32)"})
            QVERIFY2(
                pages.contains(QStringLiteral("<code>%1</code>").arg(QLatin1String(karyotype))),
                karyotype);
    }
};

QTEST_GUILESS_MAIN(TestHelpFiles)
#include "test_help_files.moc"
