#pragma once
// The board as a screen reader reads it: a table named "Board" of 20 rows
// and 20 columns inside the board's surface, each cell named by its place
// and what it holds, the keyboard's cursor on the focused cell.

#include <array>
#include <cstdint>
#include <functional>

#include "game/types.h"

class QAccessibleEvent;
class QWidget;

namespace brindle {

class BoardView;
class Game;

// Installs the factory that gives every BoardView its accessible pane, with
// the table in it. Idempotent.
void installBoardAccessibility();

// Tells assistive technology what changed since the last call: cells that
// took or lost a piece, the cursor's cell, and a new announcement, which is
// given as the status text's name and the board's description.
class BoardAnnouncer {
public:
    void update(BoardView& board, QWidget& status, const Game& game);

    // Where the events go: to assistive technology, which listens only while
    // one runs. A test listens here instead.
    std::function<void(QAccessibleEvent&)> deliver;

private:
    void send(QAccessibleEvent& event) const;

    // What each cell held when last told: nothing, to begin with.
    std::array<char, CellCount> marks_ = [] {
        std::array<char, CellCount> empty;
        empty.fill(Empty);
        return empty;
    }();
    bool cursorShown_ = false;
    int32_t cursorCell_ = -1;
    uint32_t spoken_ = 0;
    bool hadFocus_ = false;
};

} // namespace brindle
