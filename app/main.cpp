#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>

#include "app/main_window.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brin"));
    QApplication::setApplicationName(QStringLiteral("Brin"));

    QCommandLineParser options;
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("The port to host network games on (default 1002)."),
                                  QStringLiteral("N"));
    options.addOption(port);
    options.process(app);

    brindle::Globals globals;
    brindle::MainWindow window(globals);
    if (options.isSet(port)) {
        bool ok = false;
        const int n = options.value(port).toInt(&ok);
        if (!ok || n < 1 || n > 65535) {
            std::fprintf(stderr, "brindle: --port needs a number from 1 to 65535, not \"%s\"\n",
                         qPrintable(options.value(port)));
            return 2;
        }
        window.session().listenPort = static_cast<uint16_t>(n);
    }
    window.show();
    return QApplication::exec();
}
