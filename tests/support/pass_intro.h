#pragma once
// Window tests start where a player starts: the intro runs until a click.

#include <QPoint>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "app/board_view.h"

namespace brindle {

// Clicks the window until its intro has ended; false if it never does. The
// clicks come from the event loop, where the intro waits for them.
inline bool passIntro(MainWindow& window, int milliseconds = 5000)
{
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, &window, [&window] {
        if (!window.game().state().IntroShown)
            QTest::mouseClick(&window.board(), Qt::LeftButton, {}, QPoint(2, 2));
    });
    clicker.start(10);
    return QTest::qWaitFor([&window] { return window.game().state().IntroShown; }, milliseconds);
}

} // namespace brindle
