// How far the game clock drifts from the real time over a long game. A whole
// window plays Human vs. Human for the given time (300 s by default) while,
// every ten seconds, the window is kept busy for 1.5 s, as a slow machine or
// a long redraw would keep it. At the end the time the clock shows is
// compared with the time that has really passed since the game started.
//
//   brindle-clock-drift [seconds]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <QAction>
#include <QApplication>
#include <QTimer>

#include "app/main_window.h"
#include "platform/qt_helpers.h"

int main(int argc, char** argv)
{
    using namespace std::chrono;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 300;
    if (seconds < 2) {
        std::fprintf(stderr, "usage: brindle-clock-drift [seconds, at least 2]\n");
        return 2;
    }
    QApplication app(argc, argv);
    brindle::Globals globals;
    brindle::MainWindow window(globals);
    window.show();
    // The player clicks the intro away.
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (!window.game().state().IntroShown)
            window.game().Form_MouseDown(0, 0);
    });
    clicker.start(50);
    brindle::serveEventsUntil(10000, [&] { return window.game().state().IntroShown; });
    clicker.stop();

    window.action(brindle::Menu_HumanHuman)->trigger();
    const auto started = steady_clock::now();
    // What adding up one-second ticks would show, for comparison.
    int ticks = 0;
    QTimer tickCounter;
    tickCounter.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tickCounter, &QTimer::timeout, [&] { ++ticks; });
    tickCounter.start(1000);
    int busySpells = 0;
    QTimer busy;
    QObject::connect(&busy, &QTimer::timeout, [&] {
        std::this_thread::sleep_for(milliseconds(1500));
        ++busySpells;
    });
    busy.start(10000);

    const brindle::GameClock& clock = window.game().clock();
    brindle::serveEventsUntil(seconds * 1000, [] { return false; });
    // Read the clock just after its next second has been counted.
    const int32_t before = clock.GameSeconds;
    brindle::serveEventsUntil(3000, [&] { return clock.GameSeconds != before; });
    const double real = duration<double>(steady_clock::now() - started).count();
    const int32_t shown = clock.GameSeconds;

    std::printf("real time       %9.3f s\n", real);
    std::printf("clock shows     %9d s   (%s)\n", shown, window.game().ui.txtTime.Caption.c_str());
    std::printf("drift           %+9.3f s\n", shown - real);
    std::printf("busy spells     %9d   of 1.5 s each\n", busySpells);
    std::printf("ticks counted   %9d s   (drift %+.3f s if the clock added up ticks)\n", ticks, ticks - real);
    return 0;
}
