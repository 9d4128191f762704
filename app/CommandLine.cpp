#include "CommandLine.h"

#include "platform/PathBytes.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace hv {

namespace {

const char* const kDescription =
    "Searches Photoshop documents (PSD and PSB) for layers whose names contain a text.\n"
    "The files and folders given are added to the file list at start, as if dropped on it:\n"
    "a file as it is, a folder with every file of its tree.";

// The parser with every option the program knows.
struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and quit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and quit.")};
    QCommandLineOption printFileList{QStringLiteral("print-file-list")};
    QCommandLineOption printCompanionFolder{QStringLiteral("print-companion-folder")};

    Parser() {
        printFileList.setFlags(QCommandLineOption::HiddenFromHelp);
        printCompanionFolder.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.setApplicationDescription(QString::fromLatin1(kDescription));
        // Qt's own options are single-dash words ("-platform offscreen").
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({help, version, printFileList, printCompanionFolder});
        addWindowSystemOptions();
        parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("PSD/PSB files, or folders to scan."),
                                     QStringLiteral("[FILE|FOLDER]..."));
    }

    // The options the window system takes out of the arguments before the
    // program sees them. Known here, so that the arguments can be judged
    // before there is any window system (a wrong option is a usage error even
    // without a display); left out of the help.
    void addWindowSystemOptions() {
        for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
                                 "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display", "geometry",
                                 "name", "title", "style", "stylesheet"}) {
            QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
        for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
            QCommandLineOption option(QString::fromLatin1(name));
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    }
};

QString programName(const QStringList& arguments) {
    const QString name = arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).fileName();
    return name.isEmpty() ? QStringLiteral("halvorine") : name;
}

QString usageError(const QString& error, const QStringList& arguments) {
    const QString program = programName(arguments);
    return program + QStringLiteral(": ") + error + QStringLiteral("\nUsage: ") + program
           + QStringLiteral(" [options] [FILE|FOLDER]...\nTry '") + program
           + QStringLiteral(" --help' for more information.\n");
}

QStringList absolutePaths(const QStringList& given, const QString& currentFolder) {
    QStringList paths;
    const QDir current(currentFolder);
    for (const QString& path : given) {
        if (path.isEmpty()) continue;
        paths.append(QDir::isAbsolutePath(path) ? path : QDir::cleanPath(current.absoluteFilePath(path)));
    }
    return paths;
}

} // namespace

StartRequest readCommandLine(const QStringList& arguments, const QString& currentFolder) {
    Parser p;
    const bool parsed = p.parser.parse(arguments);
    StartRequest request;
    if (p.parser.isSet(p.help)) {
        request.kind = StartRequest::Kind::Help;
        request.text = p.parser.helpText();
    } else if (p.parser.isSet(p.version)) {
        request.kind = StartRequest::Kind::Version;
        request.text = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
                       + QLatin1Char('\n');
    } else if (!parsed) {
        request.kind = StartRequest::Kind::UsageError;
        request.text = usageError(p.parser.errorText(), arguments);
    } else {
        request.paths = absolutePaths(p.parser.positionalArguments(), currentFolder);
        request.printFileList = p.parser.isSet(p.printFileList);
        request.printCompanionFolder = p.parser.isSet(p.printCompanionFolder);
    }
    return request;
}

bool answersWithoutWindow(const QStringList& arguments) {
    Parser p;
    return !p.parser.parse(arguments) || p.parser.isSet(p.help) || p.parser.isSet(p.version);
}

int answerWithoutWindow(const StartRequest& request) {
    const bool failed = request.kind == StartRequest::Kind::UsageError;
    const QByteArray text = request.text.toLocal8Bit();
    std::fputs(text.constData(), failed ? stderr : stdout);
    return failed ? 2 : 0;
}

QStringList rawArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(pathText(argv[i]));
    return arguments;
}

} // namespace hv
