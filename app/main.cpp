#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>

#include "app/main_window.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    QCommandLineParser options;
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("The port to host network games on (default 1002)."),
                                  QStringLiteral("N"));
    options.addOption(port);
    options.process(app);

    int hostPort = 0;
    if (options.isSet(port)) {
        bool ok = false;
        hostPort = options.value(port).toInt(&ok);
        if (!ok || hostPort < 1 || hostPort > 65535) {
            std::fprintf(stderr, "brindle: --port needs a number from 1 to 65535, not \"%s\"\n",
                         qPrintable(options.value(port)));
            return 2;
        }
    }

    // The settings live under this name; set after the options, which
    // speak as the program's own name.
    QApplication::setOrganizationName(QStringLiteral("Brin"));
    QApplication::setApplicationName(QStringLiteral("Brin"));

    brindle::Globals globals;
    brindle::MainWindow window(globals);
    if (hostPort != 0)
        window.session().listenPort = static_cast<uint16_t>(hostPort);
    window.show();
    return QApplication::exec();
}
