#include "core/app/StartOptions.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace queldo {

namespace {

const QString ProgramVersion = QStringLiteral(QUELDO_VERSION);

} // namespace

QString programVersion()
{
    return ProgramVersion;
}

QString versionLine()
{
    return QStringLiteral("QUELDO ") + ProgramVersion;
}

StartOptions parseStartOptions(const QStringList &arguments, const QString &startFolder)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("QUELDO: 染色体解析技術トレーニングソフト"));
    // Our own -h and -v rather than the parser's: theirs print and exit on their own, and
    // describe themselves in English.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("この説明を表示して終了します。"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("版を表示して終了します。"));
    const QCommandLineOption folder(
        QStringLiteral("folder"),
        QStringLiteral("問題 (Images) と成績 (Result) を置くフォルダ。この起動の間だけ使います。"),
        QStringLiteral("DIR"));
    parser.addOptions({help, version, folder});

    StartOptions options;
    // A program started from a desktop entry gets no arguments; a missing argv[0] is no reason
    // to refuse.
    const QStringList withProgram =
        arguments.isEmpty() ? QStringList{QStringLiteral("queldo")} : arguments;
    if (!parser.parse(withProgram)) {
        options.action = StartOptions::Action::Refuse;
        options.text = QStringLiteral("queldo: %1\n詳しくは queldo --help を見てください。\n")
                           .arg(parser.errorText());
        return options;
    }
    if (parser.isSet(help)) {
        options.action = StartOptions::Action::PrintHelp;
        // The parser names the program after the application object's arguments, which do not
        // exist yet when the program starts: the usage line is ours.
        const QString text = parser.helpText();
        options.text = QStringLiteral("Usage: %1 [options]")
                           .arg(QFileInfo(withProgram.constFirst()).fileName()) +
                       text.mid(text.indexOf(QLatin1Char('\n')));
        return options;
    }
    if (parser.isSet(version)) {
        options.action = StartOptions::Action::PrintVersion;
        options.text = versionLine() + QLatin1Char('\n');
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.action = StartOptions::Action::Refuse;
        options.text = QStringLiteral("queldo: 余分な引数があります: %1\n"
                                      "詳しくは queldo --help を見てください。\n")
                           .arg(parser.positionalArguments().join(QLatin1Char(' ')));
        return options;
    }
    if (parser.isSet(folder)) {
        // The last one counts, as with most programs; an empty one is a mistake, not "here".
        const QString named = parser.values(folder).constLast();
        const QString absolute = named.isEmpty()
                                     ? QString()
                                     : QDir::cleanPath(QDir(startFolder).absoluteFilePath(named));
        if (absolute.isEmpty() || !QFileInfo(absolute).isDir()) {
            options.action = StartOptions::Action::Refuse;
            options.text = QStringLiteral("queldo: フォルダ %1 がありません。\n")
                               .arg(QDir::toNativeSeparators(named));
            return options;
        }
        options.folder = absolute;
    }
    return options;
}

} // namespace queldo
