// Arbitrary bytes from the network, in chunks, to a connected host and
// joiner, with clicks of their own in between. After every step each board
// must still agree with its move count and move history, and a score may
// only grow by one, at the end of a game.
//
// Input, step by step: a control byte c, then its operands.
//   c % 4 == 0 or 1: the next ((c >> 2) & 31) + 1 bytes arrive at the host
//                    (0) or the joiner (1).
//   c % 4 == 2 or 3: the host (2) or the joiner (3) clicks the cell given by
//                    the next byte (row = b / 20 % 20, column = b % 20).
//   c & 0x80:        first, 0.6 seconds pass (a part message expires).

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <algorithm>
#include <string_view>

#include "support/network_pair.h"

namespace {

using brindle::testing::NetworkPair;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The board holds exactly the moves of the history, in turn.
void checkConsistent(const NetworkPair::Copy& copy)
{
    const brindle::GameState& s = copy.game.state();
    require(s.MoveCount >= 0 && s.MoveCount <= brindle::CellCount);
    int pieces = 0;
    for (int r = 0; r < brindle::BoardSize; ++r)
        for (int c = 0; c < brindle::BoardSize; ++c)
            pieces += copy.game.Board(r, c) > brindle::Empty ? 1 : 0;
    require(pieces == s.MoveCount);
    for (int32_t n = 1; n <= s.MoveCount; ++n) {
        const auto& h = s.History[static_cast<size_t>(n)];
        require(brindle::onBoard(h[1], h[2]));
        const char mark = copy.game.Board(h[1], h[2]);
        require(mark == brindle::MarkX || mark == brindle::MarkO);
        if (n > 1) {
            const auto& before = s.History[static_cast<size_t>(n - 1)];
            require(copy.game.Board(before[1], before[2]) != mark);
        }
    }
    if (s.MoveCount > 0 && !s.GameOver) {
        const auto& last = s.History[static_cast<size_t>(s.MoveCount)];
        require(s.NextMark != copy.game.Board(last[1], last[2]));
    }
}

int scoreTotal(const NetworkPair::Copy& copy)
{
    const auto& score = copy.globals.Score;
    return score[1] + score[2] + score[3];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    NetworkPair pair(/*drawingRecorded=*/false);
    pair.connect();
    size_t i = 0;
    while (i < size) {
        const uint8_t c = data[i++];
        if ((c & 0x80) != 0) {
            pair.host.now += 600;
            pair.joiner.now += 600;
        }
        NetworkPair::Copy& side = (c % 2 == 0) ? pair.host : pair.joiner;
        const int scoreBefore[2] = {scoreTotal(pair.host), scoreTotal(pair.joiner)};
        const bool overBefore[2] = {pair.host.game.state().GameOver, pair.joiner.game.state().GameOver};
        if (c % 4 < 2) {
            const size_t length = std::min<size_t>(((c >> 2) & 31) + 1, size - i);
            side.transport.arrive(std::string_view(reinterpret_cast<const char*>(data + i), length));
            i += length;
        } else if (i < size) {
            const uint8_t b = data[i++];
            side.clickCell(b / 20 % 20, b % 20);
        }
        pair.deliverAll();
        for (int k = 0; k < 2; ++k) {
            const NetworkPair::Copy& copy = k == 0 ? pair.host : pair.joiner;
            checkConsistent(copy);
            const int grown = scoreTotal(copy) - scoreBefore[k];
            require(grown == 0 || (grown == 1 && copy.game.state().GameOver && !overBefore[k]) ||
                    (grown == 1 && copy.game.state().MoveCount == 0));
        }
    }
    return 0;
}
