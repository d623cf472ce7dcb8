#pragma once
// Master's board: the stones, and for every empty cell, for each side and
// each of its four lines, what a stone there would make (five, open or closed
// four, open or closed three, two), with what that is worth. Each stone placed
// or taken back updates the cells in line with it, never a rescan. Standard
// C++; the search (engine/search.h) reads it and moves stones on it.
//
// Cells are kept with a frame of walls four cells wide, so that a look four
// cells along any line never leaves the arrays; a cell is its index in that
// padded square.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace brindle::engine {

// What one more stone makes along one line, weakest first.
enum Shape : uint8_t { Nothing, Two, OpenTwo, Three, OpenThree, Four, OpenFour, Five };
// A cell's threats for one side, over its four lines.
enum Threat : uint8_t {
    MakesFive = 1,
    MakesWin = 2, // an open four or two fours: five next whatever the answer
    MakesFour = 4,
    MakesOpenThree = 8,
    MakesFourThree = 16,
    MakesThreeThree = 32,
};

class ShapeBoard {
public:
    // What the evaluation counts for one side over the empty cells: for each
    // shape from Two to Five, the lines where a stone would make it, then the
    // cells where a stone would make two fours, a four and an open three, or
    // two open threes.
    static constexpr int32_t Features = 10;
    using FeatureCounts = std::array<int32_t, Features>;
    // What each feature is worth when the moves are ordered, to either side:
    // set by hand, and where the learning of the evaluation's weights starts.
    static constexpr FeatureCounts OrderWeights = {4, 24, 30, 160, 190, 2500, 30000, 2500, 1800, 900};

    static constexpr int32_t Side = 20;
    static constexpr int32_t Pad = 4;
    static constexpr int32_t Wide = Side + 2 * Pad;
    static constexpr int32_t Area = Wide * Wide;
    static constexpr int8_t Wall = 3;
    // One step along each line: across, down, down-right, down-left.
    static constexpr std::array<int32_t, 4> Step = {1, Wide, Wide + 1, Wide - 1};

    ShapeBoard() { reset(Side); }

    // An empty board of size × size (at most 20).
    void reset(int32_t size);
    int32_t size() const { return size_; }
    // player 1 or 2; 0 takes a stone back. Cells off the board are ignored.
    void set(int32_t x, int32_t y, int32_t player);
    int32_t at(int32_t x, int32_t y) const { return board_[static_cast<size_t>(cellAt(x, y))]; }

    static constexpr int32_t cellAt(int32_t x, int32_t y) { return (y + Pad) * Wide + x + Pad; }
    static constexpr int32_t xOf(int32_t cell) { return cell % Wide - Pad; }
    static constexpr int32_t yOf(int32_t cell) { return cell / Wide - Pad; }

    // A stone of `player` (1 or 2) on `cell`, or 0 to empty it.
    void put(int32_t cell, int32_t player);
    // 0 empty, 1 or 2 a stone, Wall off the board.
    int32_t stone(int32_t cell) const { return board_[static_cast<size_t>(cell)]; }
    // A stone stands within two cells of it.
    bool nearStone(int32_t cell) const { return near_[static_cast<size_t>(cell)] != 0; }
    // What a stone of `player` on this empty cell makes (Threat bits), and its worth to that side.
    uint8_t threat(int32_t player, int32_t cell) const
    {
        return threat_[static_cast<size_t>(player - 1)][static_cast<size_t>(cell)];
    }
    int32_t worth(int32_t player, int32_t cell) const
    {
        return worth_[static_cast<size_t>(player - 1)][static_cast<size_t>(cell)];
    }
    // The shape a stone of `player` on this cell makes along line `direction`.
    Shape shape(int32_t player, int32_t cell, int32_t direction) const
    {
        return static_cast<Shape>(
            shape_[static_cast<size_t>(player - 1)][static_cast<size_t>(cell)][static_cast<size_t>(direction)]);
    }
    // The static evaluation for `player`, to move: its features weighed by
    // engine/eval_weights.h's weights for the side to move, less the other's
    // weighed by those for the side waiting.
    int32_t evaluate(int32_t player) const
    {
        const size_t p = static_cast<size_t>(player - 1);
        return static_cast<int32_t>(moverTotal_[p] - waitingTotal_[1 - p]);
    }
    // The counts that evaluate() weighs, for `player`: a full pass over the board.
    FeatureCounts features(int32_t player) const;

    // The cells of the board, row by row.
    const std::vector<int16_t>& cells() const { return interior_; }
    uint64_t hash() const { return hash_; }
    int32_t stones() const { return stones_; }

private:
    void refresh(int32_t cell, int32_t direction);
    void rescore(int32_t cell);

    int32_t size_ = Side;
    std::array<int8_t, Area> board_{};
    std::array<int16_t, Area> near_{}; // stones within two cells
    std::array<std::array<uint16_t, 4>, Area> lines_{}; // the eight cells in line, two bits each
    std::array<std::array<std::array<uint8_t, 4>, Area>, 2> shape_{}; // per side: what a stone makes, by line
    std::array<std::array<int32_t, Area>, 2> worth_{};
    std::array<std::array<uint8_t, Area>, 2> threat_{};
    std::array<std::array<int32_t, Area>, 2> moverWorth_{}, waitingWorth_{}; // by the learned weights
    std::array<int64_t, 2> moverTotal_{}, waitingTotal_{}; // summed over the empty cells
    std::vector<int16_t> interior_;
    uint64_t hash_ = 0;
    int32_t stones_ = 0;
};

} // namespace brindle::engine
