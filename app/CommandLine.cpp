// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "platform/services/FileNames.h"

#include <QCommandLineParser>
#include <QFile>
#include <QStringList>

#include <cstdio>

namespace zq {

namespace {
constexpr const char* ProgramName = "zibble-quarvel";

void Print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}
} // namespace

CommandLine ParseCommandLine(int argc, char** argv)
{
    QStringList arguments;
    // A file name need not be UTF-8: its bytes are kept (see FileNames.h).
    for (int i = 0; i < argc; ++i)
        arguments << DecodeFileName(QByteArray(argv[i]));

    QCommandLineParser parser;
    // The toolkit's own options, those of the X11 window system among them, are
    // single-dash words (-platform xcb, -geometry 500x400); they must not be split
    // into letters, and are passed through to the toolkit unchanged.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("Rebuild the silhouette from eight triangles."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption collection(QStringLiteral("collection"),
                                        QStringLiteral("Play the Quarvels of a collection file (.zqc), without changing it."),
                                        QStringLiteral("file"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(collection);
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "name", "visual",
                             "style", "stylesheet", "qwindowgeometry", "geometry", "qwindowicon", "icon", "qwindowtitle",
                             "title", "session", "qmljsdebugger"}) {
        QCommandLineOption toolkit(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        toolkit.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(toolkit);
    }
    for (const char* name : {"reverse", "nograb", "dograb", "sync", "testability", "widgetcount"}) {
        QCommandLineOption toolkit(QString::fromLatin1(name));
        toolkit.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(toolkit);
    }
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A saved game (.zqv) to open instead of the last one."),
                                 QStringLiteral("[file]"));

    const QString usage = QStringLiteral("Usage: %1 [options] [file]\n").arg(QLatin1String(ProgramName));
    const auto usageError = [&](const QString& error) {
        Print(stderr, QStringLiteral("%1: %2\n").arg(QLatin1String(ProgramName), error) + usage +
                          QStringLiteral("Try '%1 --help' for more information.\n").arg(QLatin1String(ProgramName)));
        return CommandLine{QString(), 2, QString()};
    };

    if (!parser.parse(arguments)) {
        // The parser names an unknown option without its dashes; the player
        // should see it as typed.
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            for (const QString& argument : arguments.mid(1)) {
                QString bare = argument.section(QLatin1Char('='), 0, 0);
                while (bare.startsWith(QLatin1Char('-')))
                    bare.remove(0, 1);
                if (argument.startsWith(QLatin1Char('-')) && bare == unknown.constFirst())
                    return usageError(QStringLiteral("Unknown option '%1'.").arg(ShownFileName(argument)));
            }
        return usageError(parser.errorText());
    }
    if (parser.isSet(help)) {
        // The parser names the program only once an application object exists.
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QLatin1String(ProgramName));
        Print(stdout, text);
        return CommandLine{QString(), 0, QString()};
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("%1 %2\n").arg(QLatin1String(ProgramName), QStringLiteral(ZQ_VERSION)));
        return CommandLine{QString(), 0, QString()};
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return usageError(QStringLiteral("Only one game file can be opened."));
    if (parser.values(collection).size() > 1 || (parser.isSet(collection) && !files.isEmpty()))
        return usageError(QStringLiteral("Only one file can be opened."));
    if (parser.isSet(collection) && parser.value(collection).isEmpty())
        return usageError(QStringLiteral("--collection needs a file."));
    return CommandLine{files.isEmpty() ? QString() : files.constFirst(), std::nullopt,
                       parser.value(QStringLiteral("display")), parser.value(collection)};
}

} // namespace zq
