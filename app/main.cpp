#include <cstdio>
#include <string_view>

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include "app/main_window.h"
#include "game/version.h"

namespace {

// What the command line asked for: a port, or an answer already given.
struct CommandLine {
    int exitCode = -1; // 0 or more: the program has answered and ends
    int hostPort = 0;
    QString record; // a game record to open once the intro has ended
};

// Answers --help and --version on standard output as command-line programs
// do, and checks --port. Runs under the application object that reads the
// arguments: the window's, which has taken its own options out, or a
// window-less one for a help or version request, which needs no display.
CommandLine readCommandLine()
{
    QCoreApplication::setApplicationName(QStringLiteral("brindle"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(brindle::VersionText));

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Five in a row on a 20 x 20 board, against a friend, the computer or a player on the network."));
    const QCommandLineOption help = options.addHelpOption();
    const QCommandLineOption version = options.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("The port to host network games on (default 1002)."),
                                  QStringLiteral("N"));
    options.addOption(port);
    options.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A game record (.sgf or .psq) to open."),
                                  QStringLiteral("[FILE]"));

    CommandLine result;
    if (!options.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "brindle: %s\nTry 'brindle --help'.\n", qPrintable(options.errorText()));
        result.exitCode = 2;
        return result;
    }
    if (options.isSet(help)) {
        std::fputs(qPrintable(options.helpText()), stdout);
        result.exitCode = 0;
        return result;
    }
    if (options.isSet(version)) {
        std::printf("brindle %s\n", qPrintable(QCoreApplication::applicationVersion()));
        result.exitCode = 0;
        return result;
    }
    if (options.isSet(port)) {
        bool ok = false;
        result.hostPort = options.value(port).toInt(&ok);
        if (!ok || result.hostPort < 1 || result.hostPort > 65535) {
            std::fprintf(stderr, "brindle: --port needs a number from 1 to 65535, not \"%s\"\n",
                         qPrintable(options.value(port)));
            result.exitCode = 2;
        }
    }
    const QStringList files = options.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "brindle: one game record at a time, not %lld\n", static_cast<long long>(files.size()));
        result.exitCode = 2;
    } else if (files.size() == 1) {
        result.record = QFileInfo(files.front()).absoluteFilePath();
    }
    return result;
}

bool asksForHelpOrVersion(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (asksForHelpOrVersion(argc, argv)) {
        QCoreApplication cli(argc, argv);
        return readCommandLine().exitCode;
    }
    QApplication app(argc, argv);
    const CommandLine commandLine = readCommandLine();
    if (commandLine.exitCode >= 0)
        return commandLine.exitCode;
    const int hostPort = commandLine.hostPort;

    // The settings live under this name; set after the options, which
    // speak as the program's own name.
    QApplication::setOrganizationName(QStringLiteral("Brin"));
    QApplication::setApplicationName(QStringLiteral("Brin"));

    brindle::Globals globals;
    brindle::MainWindow window(globals);
    if (hostPort != 0)
        window.session().listenPort = static_cast<uint16_t>(hostPort);
    window.show();
    if (!commandLine.record.isEmpty())
        window.openRecordFile(commandLine.record);
    return QApplication::exec();
}
