// The yardstick for the game's start-up: the least a Qt 6 program with a main
// window and a menu bar does before its window is on the screen.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&Game"))->addAction(QStringLiteral("&New game"));
    window.resize(329, 374);
    window.show();
    return QApplication::exec();
}
