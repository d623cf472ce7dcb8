#pragma once
// The Master level: a player that looks ahead. It scores every empty cell
// near the stones by the lines it would make for either side (fives, fours,
// threes, open or closed), and searches the best of them with iterative
// deepening alpha-beta until its time is up. Standard C++; the board is its
// own, fed one stone at a time.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>

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

    // An empty board of size × size (at most 20).
    void reset(int32_t size);
    // player 1 or 2; 0 takes a stone back.
    void set(int32_t x, int32_t y, int32_t player);
    int32_t at(int32_t x, int32_t y) const { return cells_[index(x, y)]; }

    // The move for `player`, found within `budget` (or sooner when `stop`
    // turns true). Always a free cell while one is left; x < 0 on a full board.
    Move best(int32_t player, std::chrono::milliseconds budget, const std::atomic<bool>* stop = nullptr);

private:
    static constexpr int32_t Win = 1'000'000'000;
    static int32_t index(int32_t x, int32_t y) { return y * Side + x; }
    bool inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < size_ && y < size_; }
    // What a stone of `player` at (x, y) would make, as a score: the sum of
    // the four lines through it.
    int32_t lineValue(int32_t x, int32_t y, int32_t player) const;
    bool makesFive(int32_t x, int32_t y, int32_t player) const;
    // The free cells near the stones, best first; with what each is worth to
    // `player` (attack) and to the other (defence), by cell.
    struct Candidates {
        std::array<int32_t, Side * Side> moves, attack, defence;
        int32_t count = 0;
    };
    void candidates(int32_t player, Candidates& c) const;
    int32_t negamax(int32_t player, int32_t depth, int32_t alpha, int32_t beta, int32_t ply);
    bool outOfTime();

    int32_t size_ = Side;
    std::array<int8_t, Side * Side> cells_{};
    std::array<int16_t, Side * Side> near_{}; // stones within two cells
    int32_t stones_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    const std::atomic<bool>* stop_ = nullptr;
    bool aborted_ = false;
    int64_t nodes_ = 0;
};

} // namespace brindle::engine
