#pragma once
// Keeps, for every window of five cells on the board, how many red, blue and
// other pieces it holds, so that the computer's cell scores and the "is five
// still possible" test are read off in constant time instead of rescanning the
// board after every move. Every write to the board goes through set().

#include <array>
#include <cstdint>

#include "types.h"

namespace brindle {

// The computer's scoring weights, indexed by the number of pieces in a window.
struct Weights {
    std::array<int32_t, 5> OwnWeight{}; // window without opponent pieces
    std::array<int32_t, 5> OppWeight{}; // window without own pieces
    int32_t WindowBonus = 0;           // added with each weight that is added
};

class WindowTracker {
public:
    // 16 x 20 along rows, 20 x 16 along columns, 16 x 16 on each diagonal.
    static constexpr int WindowCount = 1152;

    using Cells = std::array<std::array<char, BoardSize>, BoardSize>;

    // Recounts everything from the board; resumes tracking after suspend().
    void rebuild(const Cells& board, const Weights& weights);
    // Records that a cell changed from one value to another.
    void set(int32_t row, int32_t col, char from, char to);
    // Stops tracking until the next Rebuild (for bulk writes such as the wipe).
    void suspend() { suspended_ = true; }

    // The score of an empty cell for the side to move: the sum over the twenty
    // windows through it that lie on the board.
    int32_t score(int32_t row, int32_t col, char mover) const
    {
        return sum_[mover == MarkO ? 1 : 0][static_cast<size_t>(row * BoardSize + col)];
    }
    // True while some window holds pieces of at most one side and nothing else.
    bool anyOpen() const { return openWindows_ > 0; }

private:
    struct Count {
        uint8_t x = 0;
        uint8_t o = 0;
        uint8_t other = 0;
    };

    int32_t contribution(const Count& n, int mover) const;
    static bool open(const Count& n) { return n.other == 0 && (n.x == 0 || n.o == 0); }
    static void tally(Count& n, char value, int delta);

    std::array<Count, WindowCount> counts_{};
    std::array<std::array<int32_t, CellCount>, 2> sum_{}; // [X to move, O to move][cell]
    int32_t openWindows_ = 0;
    bool suspended_ = true;
    // Indexed by the number of pieces, 0 to 5; a full window scores nothing,
    // since no empty cell lies in it.
    std::array<int32_t, 6> own_{};
    std::array<int32_t, 6> opp_{};
    int32_t bonus_ = 0;
};

} // namespace brindle
