// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

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
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);

    QCommandLineParser parser;
    // The toolkit's own options are single-dash words (-platform xcb); they must not
    // be split into letters, and are passed through to the toolkit unchanged.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("Rebuild the silhouette from eight triangles."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "style", "stylesheet",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "session"}) {
        QCommandLineOption toolkit(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        toolkit.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(toolkit);
    }
    for (const char* name : {"reverse", "nograb", "dograb", "sync"}) {
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
        return CommandLine{QString(), 2};
    };

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        // The parser names the program only once an application object exists.
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QLatin1String(ProgramName));
        Print(stdout, text);
        return CommandLine{QString(), 0};
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("%1 %2\n").arg(QLatin1String(ProgramName), QStringLiteral(ZQ_VERSION)));
        return CommandLine{QString(), 0};
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return usageError(QStringLiteral("Only one game file can be opened."));
    return CommandLine{files.isEmpty() ? QString() : files.constFirst(), std::nullopt};
}

} // namespace zq
