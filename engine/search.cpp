#include "engine/search.h"

#include <algorithm>

namespace brindle::engine {

namespace {

constexpr int32_t Directions[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
// A window of five that holds k stones of one player (the new one counted)
// and none of the other's: what it is worth to that player.
constexpr int32_t WindowWorth[6] = {0, 1, 12, 150, 2000, 1'000'000};
constexpr int32_t Five = WindowWorth[5];
// How many of the best cells are searched, at the root and below it.
constexpr int32_t RootWidth = 14;
constexpr int32_t Width = 9;
constexpr int32_t MaxDepth = 12;

} // namespace

void Search::reset(int32_t size)
{
    size_ = std::clamp(size, 1, Side);
    cells_.fill(0);
    near_.fill(0);
    stones_ = 0;
}

void Search::set(int32_t x, int32_t y, int32_t player)
{
    int8_t& cell = cells_[index(x, y)];
    const int32_t change = (player != 0) - (cell != 0);
    cell = static_cast<int8_t>(player);
    stones_ += change;
    if (change == 0)
        return;
    for (int32_t dy = -2; dy <= 2; ++dy)
        for (int32_t dx = -2; dx <= 2; ++dx)
            if (inside(x + dx, y + dy))
                near_[index(x + dx, y + dy)] = static_cast<int16_t>(near_[index(x + dx, y + dy)] + change);
}

bool Search::makesFive(int32_t x, int32_t y, int32_t player) const
{
    for (const auto& d : Directions) {
        int32_t run = 1;
        for (const int32_t sign : {1, -1})
            for (int32_t k = 1; k < 5 && inside(x + sign * k * d[0], y + sign * k * d[1]) &&
                                at(x + sign * k * d[0], y + sign * k * d[1]) == player;
                 ++k)
                ++run;
        if (run >= 5)
            return true;
    }
    return false;
}

int32_t Search::lineValue(int32_t x, int32_t y, int32_t player) const
{
    int32_t value = 0;
    for (const auto& d : Directions) {
        for (int32_t start = -4; start <= 0; ++start) {
            int32_t own = 1;
            bool blocked = false;
            for (int32_t i = 0; i < 5 && !blocked; ++i) {
                const int32_t cx = x + (start + i) * d[0], cy = y + (start + i) * d[1];
                if (!inside(cx, cy) || (at(cx, cy) != 0 && at(cx, cy) != player))
                    blocked = true;
                else if (at(cx, cy) == player)
                    ++own;
            }
            if (!blocked)
                value += WindowWorth[std::min(own, 5)];
        }
    }
    return value;
}

void Search::candidates(int32_t player, Candidates& c) const
{
    c.count = 0;
    for (int32_t i = 0; i < Side * Side; ++i) {
        const int32_t x = i % Side, y = i / Side;
        if (!inside(x, y) || cells_[i] != 0 || near_[i] == 0)
            continue;
        c.attack[i] = lineValue(x, y, player);
        c.defence[i] = lineValue(x, y, 3 - player);
        c.moves[c.count++] = i;
    }
    // Attack first, then defence a little below it.
    const auto score = [&c](int32_t i) { return c.attack[i] + c.defence[i] * 9 / 10; };
    std::sort(c.moves.begin(), c.moves.begin() + c.count, [&score](int32_t a, int32_t b) { return score(a) > score(b); });
}

bool Search::outOfTime()
{
    return (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) || std::chrono::steady_clock::now() >= deadline_;
}

int32_t Search::negamax(int32_t player, int32_t depth, int32_t alpha, int32_t beta, int32_t ply)
{
    if ((++nodes_ & 31) == 0 && outOfTime())
        aborted_ = true;
    if (aborted_)
        return 0;
    Candidates c;
    candidates(player, c);
    const auto& moves = c.moves;
    const int32_t n = c.count;
    if (n == 0)
        return 0; // nothing left to play: a draw
    const int32_t other = 3 - player;
    int32_t attack = 0, defence = 0, threats = 0;
    for (int32_t k = 0; k < n; ++k) {
        const int32_t x = moves[k] % Side, y = moves[k] / Side;
        if (makesFive(x, y, player))
            return Win - ply;
        threats += makesFive(x, y, other) ? 1 : 0;
        attack = std::max(attack, c.attack[moves[k]]);
        defence = std::max(defence, c.defence[moves[k]]);
    }
    if (threats >= 2)
        return -(Win - ply - 1); // two fives to stop: one of them comes
    if (depth <= 0 && threats == 0)
        return attack - defence;

    int32_t best = -Win;
    const int32_t width = ply == 0 ? RootWidth : Width;
    for (int32_t k = 0, tried = 0; k < n && tried < width; ++k) {
        const int32_t x = moves[k] % Side, y = moves[k] / Side;
        if (threats == 1 && !makesFive(x, y, other))
            continue; // the other's five must be stopped
        ++tried;
        set(x, y, player);
        const int32_t value = -negamax(other, depth - 1, -beta, -alpha, ply + 1);
        set(x, y, 0);
        if (aborted_)
            return 0;
        best = std::max(best, value);
        alpha = std::max(alpha, value);
        if (alpha >= beta)
            break;
    }
    return best;
}

Search::Move Search::best(int32_t player, std::chrono::milliseconds budget, const std::atomic<bool>* stop)
{
    deadline_ = std::chrono::steady_clock::now() + budget;
    stop_ = stop;
    aborted_ = false;
    nodes_ = 0;
    Move found;
    if (stones_ == 0) {
        found.x = found.y = size_ / 2;
        return found;
    }
    Candidates c;
    candidates(player, c);
    auto& moves = c.moves;
    int32_t n = c.count;
    if (n == 0) { // stones everywhere near, or a board too small: any free cell
        for (int32_t i = 0; i < Side * Side && found.x < 0; ++i)
            if (inside(i % Side, i / Side) && cells_[i] == 0)
                found.x = i % Side, found.y = i / Side;
        return found;
    }
    n = std::min(n, RootWidth);
    found.x = moves[0] % Side, found.y = moves[0] / Side; // the best by the counts alone
    for (int32_t depth = 1; depth <= MaxDepth; ++depth) {
        int32_t alpha = -Win - 1, bestIndex = -1;
        for (int32_t k = 0; k < n; ++k) {
            const int32_t x = moves[k] % Side, y = moves[k] / Side;
            if (makesFive(x, y, player)) {
                found.x = x, found.y = y, found.depth = depth;
                return found;
            }
            set(x, y, player);
            const int32_t value = -negamax(3 - player, depth - 1, -Win - 1, -alpha, 1);
            set(x, y, 0);
            if (aborted_)
                break;
            if (value > alpha)
                alpha = value, bestIndex = k;
        }
        if (aborted_ || bestIndex < 0)
            break;
        found.x = moves[bestIndex] % Side, found.y = moves[bestIndex] / Side, found.depth = depth;
        // The best so far is searched first next time.
        std::rotate(moves.begin(), moves.begin() + bestIndex, moves.begin() + bestIndex + 1);
        if (alpha >= Win - MaxDepth || alpha <= -(Win - MaxDepth))
            break; // a win or a loss is certain
    }
    found.nodes = nodes_;
    return found;
}

} // namespace brindle::engine
