#pragma once
// The Master level: a player that looks ahead. Every empty cell knows, for
// each side and each of its four lines, what a stone there would make (five,
// open or closed four, open or closed three, two); each stone placed updates
// the cells in line with it, never a rescan. A turn first looks for a win by
// continuous fours for itself, then for the other side's, keeping only the
// moves that break it, and then searches the best cells with iterative
// deepening principal-variation alpha-beta over a transposition table until
// its time is up. Standard C++; the board is its own, fed one stone at a time.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

namespace brindle::engine {

class Search {
public:
    static constexpr int32_t Side = 20;
    struct Move {
        int32_t x = -1;
        int32_t y = -1;
        int32_t depth = 0; // the deepest search that finished
        int64_t nodes = 0;
    };

    Search() { reset(Side); }

    // An empty board of size × size (at most 20).
    void reset(int32_t size);
    // player 1 or 2; 0 takes a stone back. Cells off the board are ignored.
    void set(int32_t x, int32_t y, int32_t player);
    int32_t at(int32_t x, int32_t y) const { return cells_[index(x, y)]; }

    // The move for `player`, found within `budget` (or sooner when `stop`
    // turns true). Always a free cell while one is left; x < 0 on a full board.
    Move best(int32_t player, std::chrono::milliseconds budget, const std::atomic<bool>* stop = nullptr);

    // A win by continuous fours for `player` to move, searched at most
    // `depth` fours deep within `budget`: its first four, or x < 0.
    Move winByFours(int32_t player, int32_t depth, std::chrono::milliseconds budget);

    // Transposition-table entries (each 16 bytes), allocated on the first search.
    static constexpr int32_t TableBits = 20;

private:
    // The board kept with a frame of walls four cells wide, so that a look
    // four cells along any line never leaves the arrays.
    static constexpr int32_t Pad = 4;
    static constexpr int32_t Wide = Side + 2 * Pad;
    static constexpr int32_t Area = Wide * Wide;
    static constexpr int8_t Wall = 3;

    struct Entry { // all zero when empty
        uint64_t key;
        int32_t value;
        int16_t move;
        int8_t depth;
        uint8_t bound;
    };
    struct MoveList {
        int32_t count = 0;
        std::array<int16_t, Side * Side> cells;
    };
    // What the side to move faces at a node, from one pass over the cells.
    struct Scan {
        int32_t ownFive = -1, otherFive = -1, otherFives = 0, ownWin = -1, ownFourThree = -1;
        bool otherFour = false, otherWin = false;
        MoveList all, ownFours, otherFours;
    };

    static int32_t index(int32_t x, int32_t y) { return y * Side + x; }
    static int32_t cellAt(int32_t x, int32_t y) { return (y + Pad) * Wide + x + Pad; }
    bool inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < size_ && y < size_; }

    void put(int32_t cell, int32_t player);
    void refresh(int32_t cell, int32_t direction);
    void rescore(int32_t cell);
    void scan(int32_t player, Scan& s) const;
    int32_t evaluate(int32_t player) const;
    int32_t order(int32_t player, int32_t cell) const;
    void sortMoves(int32_t player, MoveList& moves, int32_t first, int32_t keep) const;
    int32_t negamax(int32_t player, int32_t depth, int32_t alpha, int32_t beta, int32_t ply);
    bool fours(int32_t attacker, int32_t depth, int32_t* first);
    bool hasFours(int32_t attacker, int32_t depth, std::chrono::steady_clock::time_point until);
    bool outOfTime();

    int32_t size_ = Side;
    std::array<int8_t, Side * Side> cells_{};
    std::array<int8_t, Area> board_{};
    std::array<int16_t, Area> near_{}; // stones within two cells
    std::array<std::array<uint16_t, 4>, Area> lines_{}; // the eight cells in line, two bits each
    std::array<std::array<std::array<uint8_t, 4>, Area>, 2> shape_{}; // per side: what a stone makes, by line
    std::array<std::array<int32_t, Area>, 2> worth_{};
    std::array<std::array<uint8_t, Area>, 2> threat_{};
    std::array<int64_t, 2> total_{}; // worth_ summed over the empty cells
    std::vector<int16_t> interior_;
    uint64_t hash_ = 0;
    int32_t stones_ = 0;

    std::vector<Entry> table_;
    std::vector<uint64_t> failed_; // positions where a win by fours was not found
    std::chrono::steady_clock::time_point deadline_, hardDeadline_;
    const std::atomic<bool>* stop_ = nullptr;
    bool aborted_ = false;
    int64_t nodes_ = 0;
    int64_t fourNodes_ = 0;
};

} // namespace brindle::engine
