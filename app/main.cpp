#include <QApplication>

#include "app/main_window.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brin"));
    QApplication::setApplicationName(QStringLiteral("Brin"));

    brindle::Globals globals;
    brindle::MainWindow window(globals);
    window.show();
    return QApplication::exec();
}
