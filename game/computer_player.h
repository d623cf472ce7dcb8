#pragma once
// The computer player. It looks only at empty cells near the pieces placed in
// this game, scores each from the windows of five through it with two weight
// tables drawn afresh for every game, and plays one of the best at random; at
// the random level it plays any nearby cell. It does no look-ahead.

#include <array>
#include <cstdint>

#include "ports.h"
#include "types.h"
#include "window_tracker.h"

namespace brindle {

class ComputerPlayer {
public:
    using Cells = WindowTracker::Cells;

    struct Choice {
        int32_t row = -1;
        int32_t col = -1;
        int32_t score = 0;
        bool found = false;
    };

    // Reads the board it is given; every write to that board must be reported
    // through cellChanged().
    ComputerPlayer(const Cells& board, RandomSource& random);

    // The cell for `mover` to play, or none when no empty cell lies near a piece.
    Choice choose(char mover, int32_t moveCount, bool randomLevel);

    // ---- The area it searches: widened by every placed piece, never narrowed
    // within a game (not by undo either).
    void notePiece(int32_t row, int32_t col);
    // A new game: no cell is near a piece and the box of pieces is empty. The
    // search bounds keep the old game's values until the first piece.
    void clearArea();
    // An empty cell near a piece: the only cells ever considered.
    bool candidate(int32_t row, int32_t col) const
    {
        return board_[static_cast<size_t>(row)][static_cast<size_t>(col)] == Empty &&
               NearPiece[static_cast<size_t>(row)][static_cast<size_t>(col)];
    }

    // ---- The weights, drawn for every game from the random source.
    void drawWeights();
    void setWeights(const Weights& weights);
    const Weights& weights() const { return weights_; }

    // ---- The window counts behind the scores and the draw test.
    void cellChanged(int32_t row, int32_t col, char from, char to) { windows_.set(row, col, from, to); }
    // Stops counting during bulk writes (the new-game wipe) until recount().
    void suspendCounts() { windows_.suspend(); }
    void recount() { windows_.rebuild(board_, weights_); }
    // Some window of five can still become five of one mark.
    bool fivePossible() const { return windows_.anyOpen(); }

    // How far around the pieces it looks: the level's margin.
    int32_t SearchMargin = 4;
    int32_t MinRow = 19;
    int32_t MinCol = 19;
    int32_t MaxRow = 0;
    int32_t MaxCol = 0;
    int32_t SearchMinRow = 0;
    int32_t SearchMinCol = 0;
    int32_t SearchMaxRow = 0;
    int32_t SearchMaxCol = 0;
    std::array<std::array<bool, BoardSize + 1>, BoardSize + 1> NearPiece{};

    // Working storage of one choice.
    int32_t BestScore = 0;
    int32_t BestCount = 0;
    std::array<std::array<int32_t, 2>, CellCount + 1> BestCells{}; // entries 1..BestCount

private:
    void scoreCandidates(char own);
    void pickRandomNearCell();

    const Cells& board_;
    RandomSource& random_;
    Weights weights_;
    WindowTracker windows_;
};

} // namespace brindle
