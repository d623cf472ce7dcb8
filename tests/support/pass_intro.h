#pragma once
// Window tests start where a player starts: the intro runs until a click.
// Every wait here is bounded and says what it waited for.

#include <functional>

#include <QPoint>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/board_view.h"
#include "app/main_window.h"

namespace brindle {

// Runs the event loop until `done` holds, at most `milliseconds`.
inline ::testing::AssertionResult waitFor(const std::function<bool()>& done, const char* what,
                                          int milliseconds = 5000)
{
    if (QTest::qWaitFor(done, milliseconds))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "waited " << milliseconds << " ms for " << what;
}

// Shows the window and clicks it until its intro has ended. The clicks come
// from the event loop, where the intro waits for them.
inline ::testing::AssertionResult passIntro(MainWindow& window, int milliseconds = 2000)
{
    window.show();
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, &window, [&window] {
        if (!window.game().state().IntroShown)
            QTest::mouseClick(&window.board(), Qt::LeftButton, {}, QPoint(2, 2));
    });
    clicker.start(10);
    return waitFor([&window] { return window.game().state().IntroShown; }, "the intro to end", milliseconds);
}

// Past the intro into a new game in `mode` that nobody has opened yet.
inline ::testing::AssertionResult startGame(MainWindow& window, MenuId mode = Menu_HumanHuman)
{
    if (::testing::AssertionResult passed = passIntro(window); !passed)
        return passed;
    window.action(mode)->trigger();
    return waitFor([&window] { return window.game().ui.Enabled && window.game().state().MoveCount == 0; }, "the new game");
}

inline QPoint cellCentre(const MainWindow& window, int row, int col)
{
    const Game& g = window.game();
    return {toPixels(g.CellWidth * (col + 1.5)), toPixels(g.CellHeight * (row + 1.5))};
}

inline void clickCell(MainWindow& window, int row, int col)
{
    QTest::mouseClick(&window.board(), Qt::LeftButton, {}, cellCentre(window, row, col));
}

} // namespace brindle
