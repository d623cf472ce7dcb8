#include "window_tracker.h"

namespace brindle {

namespace {

struct Topology {
    std::array<std::array<int16_t, 5>, WindowTracker::WindowCount> cells{};
    std::array<std::array<int16_t, 20>, CellCount> windowsOf{};
    std::array<uint8_t, CellCount> windowCount{};
};

Topology BuildTopology()
{
    Topology t;
    static constexpr int directions[4][2] = {{0, 1}, {1, 0}, {1, 1}, {1, -1}};
    int w = 0;
    for (int r = 0; r < BoardSize; ++r) {
        for (int c = 0; c < BoardSize; ++c) {
            for (const auto& d : directions) {
                if (!onBoard(r + 4 * d[0], c + 4 * d[1]))
                    continue;
                for (int k = 0; k < 5; ++k) {
                    const int cell = (r + k * d[0]) * BoardSize + (c + k * d[1]);
                    t.cells[static_cast<size_t>(w)][static_cast<size_t>(k)] = static_cast<int16_t>(cell);
                    auto& n = t.windowCount[static_cast<size_t>(cell)];
                    t.windowsOf[static_cast<size_t>(cell)][n++] = static_cast<int16_t>(w);
                }
                ++w;
            }
        }
    }
    return t;
}

const Topology& topology()
{
    static const Topology t = BuildTopology();
    return t;
}

} // namespace

void WindowTracker::tally(Count& n, char value, int delta)
{
    const auto step = [delta](uint8_t& v) { v = static_cast<uint8_t>(v + delta); };
    if (value == MarkX)
        step(n.x);
    else if (value == MarkO)
        step(n.o);
    else if (value != Empty)
        step(n.other);
}

int32_t WindowTracker::contribution(const Count& n, int mover) const
{
    const uint8_t own = mover == 0 ? n.x : n.o;
    const uint8_t opp = mover == 0 ? n.o : n.x;
    int32_t s = 0;
    if (opp == 0)
        s += own_[own] + bonus_;
    if (own == 0)
        s += opp_[opp] + bonus_;
    return s;
}

void WindowTracker::rebuild(const Cells& board, const Weights& weights)
{
    const Topology& t = topology();
    for (size_t i = 0; i < 5; ++i) {
        own_[i] = weights.OwnWeight[i];
        opp_[i] = weights.OppWeight[i];
    }
    own_[5] = opp_[5] = 0;
    bonus_ = weights.WindowBonus;

    for (auto& s : sum_)
        s.fill(0);
    openWindows_ = 0;
    for (size_t w = 0; w < counts_.size(); ++w) {
        Count n;
        for (const int16_t cell : t.cells[w])
            tally(n, board[static_cast<size_t>(cell / BoardSize)][static_cast<size_t>(cell % BoardSize)], 1);
        counts_[w] = n;
        openWindows_ += open(n) ? 1 : 0;
        const int32_t forX = contribution(n, 0);
        const int32_t forO = contribution(n, 1);
        for (const int16_t cell : t.cells[w]) {
            sum_[0][static_cast<size_t>(cell)] += forX;
            sum_[1][static_cast<size_t>(cell)] += forO;
        }
    }
    suspended_ = false;
}

void WindowTracker::set(int32_t row, int32_t col, char from, char to)
{
    if (suspended_ || from == to)
        return;
    const Topology& t = topology();
    const auto cell = static_cast<size_t>(row * BoardSize + col);
    for (uint8_t i = 0; i < t.windowCount[cell]; ++i) {
        const auto w = static_cast<size_t>(t.windowsOf[cell][i]);
        Count& n = counts_[w];
        const int32_t oldX = contribution(n, 0);
        const int32_t oldO = contribution(n, 1);
        const bool wasOpen = open(n);
        tally(n, from, -1);
        tally(n, to, 1);
        openWindows_ += (open(n) ? 1 : 0) - (wasOpen ? 1 : 0);
        const int32_t dX = contribution(n, 0) - oldX;
        const int32_t dO = contribution(n, 1) - oldO;
        if (dX == 0 && dO == 0)
            continue;
        for (const int16_t c : t.cells[w]) {
            sum_[0][static_cast<size_t>(c)] += dX;
            sum_[1][static_cast<size_t>(c)] += dO;
        }
    }
}

} // namespace brindle
