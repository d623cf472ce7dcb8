#include "engine/shape_board.h"

#include <algorithm>

#include "engine/eval_weights.h"

namespace brindle::engine {

namespace {

// A cell's combination of lines, as a feature: -1 for none.
int32_t combination(int32_t fours, int32_t openThrees)
{
    return fours >= 2 ? 7 : fours == 1 && openThrees >= 1 ? 8 : openThrees >= 2 ? 9 : -1;
}

// The eight neighbours along a line: slot 0..3 from four before to one
// before the cell, 4..7 from one after to four after.
constexpr int32_t slot(int32_t k) { return k < 0 ? k + 4 : k + 3; }

// Line lengths by a stone's own run through the middle (index 4) of nine
// cells: 0 empty, 1 own, 2 closed (the other's stone or a wall).
int32_t run(const int8_t* l)
{
    int32_t r = 1;
    for (int32_t i = 3; i >= 0 && l[i] == 1; --i)
        ++r;
    for (int32_t i = 5; i < 9 && l[i] == 1; ++i)
        ++r;
    return r;
}

// The empty cells that would complete a five through the middle.
int32_t completions(int8_t* l)
{
    int32_t n = 0;
    for (int32_t e = 0; e < 9; ++e)
        if (l[e] == 0) {
            l[e] = 1;
            n += run(l) >= 5;
            l[e] = 0;
        }
    return n;
}

// The best next shape a stone on `l` can reach: 2 open four, 1 four, 0 none.
int32_t bestCompletion(int8_t* l)
{
    const int32_t n = completions(l);
    return n >= 2 ? 2 : n;
}

Shape classify(int8_t* l)
{
    if (run(l) >= 5)
        return Five;
    if (const int32_t c = bestCompletion(l))
        return c == 2 ? OpenFour : Four;
    int32_t three = 0; // 2 open, 1 closed
    for (int32_t e = 0; e < 9; ++e)
        if (l[e] == 0) {
            l[e] = 1;
            three = std::max(three, bestCompletion(l));
            l[e] = 0;
        }
    if (three)
        return three == 2 ? OpenThree : Three;
    int32_t two = 0;
    for (int32_t e = 0; e < 9 && two < 2; ++e)
        if (l[e] == 0) {
            l[e] = 1;
            for (int32_t f = 0; f < 9 && two < 2; ++f)
                if (l[f] == 0) {
                    l[f] = 1;
                    two = std::max(two, bestCompletion(l));
                    l[f] = 0;
                }
            l[e] = 0;
        }
    return two == 2 ? OpenTwo : two == 1 ? Two : Nothing;
}

// Shape by player and by the two-bit codes of the eight neighbours (0 empty,
// 1 and 2 the players' stones, 3 a wall).
struct Shapes {
    std::array<std::array<uint8_t, 1 << 16>, 2> of{};
    Shapes()
    {
        std::array<uint8_t, 6561> base{}; // by the neighbours in base 3
        for (int32_t code = 0; code < 6561; ++code) {
            int8_t l[9];
            l[4] = 1;
            for (int32_t s = 0, c = code; s < 8; ++s, c /= 3)
                l[s < 4 ? s : s + 1] = static_cast<int8_t>(c % 3);
            base[static_cast<size_t>(code)] = classify(l);
        }
        for (int32_t player = 1; player <= 2; ++player)
            for (int32_t key = 0; key < (1 << 16); ++key) {
                int32_t code = 0;
                for (int32_t s = 7; s >= 0; --s) {
                    const int32_t v = (key >> (2 * s)) & 3;
                    code = code * 3 + (v == 0 ? 0 : v == player ? 1 : 2);
                }
                of[static_cast<size_t>(player - 1)][static_cast<size_t>(key)] = base[static_cast<size_t>(code)];
            }
    }
};

const Shapes& shapes()
{
    static const Shapes s;
    return s;
}

struct Keys {
    std::array<std::array<uint64_t, 3>, 28 * 28> of{};
    Keys()
    {
        uint64_t x = 0x9E3779B97F4A7C15ull;
        for (auto& cell : of)
            for (auto& k : cell) {
                x += 0x9E3779B97F4A7C15ull;
                uint64_t z = x;
                z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
                z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
                k = z ^ (z >> 31);
            }
    }
};

const Keys& keys()
{
    static const Keys k;
    return k;
}

} // namespace

void ShapeBoard::reset(int32_t size)
{
    size_ = std::clamp(size, 1, Side);
    board_.fill(Wall);
    near_.fill(0);
    interior_.clear();
    for (int32_t y = 0; y < size_; ++y)
        for (int32_t x = 0; x < size_; ++x) {
            board_[static_cast<size_t>(cellAt(x, y))] = 0;
            interior_.push_back(static_cast<int16_t>(cellAt(x, y)));
        }
    moverTotal_ = waitingTotal_ = {0, 0};
    for (const int16_t c : interior_)
        for (int32_t d = 0; d < 4; ++d) {
            uint16_t key = 0;
            for (int32_t k = -4; k <= 4; ++k)
                if (k != 0)
                    key = static_cast<uint16_t>(key | (board_[static_cast<size_t>(c + k * Step[static_cast<size_t>(d)])] << (2 * slot(k))));
            lines_[static_cast<size_t>(c)][static_cast<size_t>(d)] = key;
            refresh(c, d);
        }
    for (const int16_t c : interior_) {
        for (size_t p = 0; p < 2; ++p)
            moverWorth_[p][static_cast<size_t>(c)] = waitingWorth_[p][static_cast<size_t>(c)] = 0;
        rescore(c);
    }
    hash_ = 0;
    stones_ = 0;
}

void ShapeBoard::refresh(int32_t cell, int32_t direction)
{
    const auto& of = shapes().of;
    const uint16_t key = lines_[static_cast<size_t>(cell)][static_cast<size_t>(direction)];
    shape_[0][static_cast<size_t>(cell)][static_cast<size_t>(direction)] = of[0][key];
    shape_[1][static_cast<size_t>(cell)][static_cast<size_t>(direction)] = of[1][key];
}

// The cell's worth and threats for both sides from its four lines, and its
// weighed features kept in the totals while the cell is empty.
void ShapeBoard::rescore(int32_t cell)
{
    const size_t c = static_cast<size_t>(cell);
    for (size_t p = 0; p < 2; ++p) {
        int32_t worth = 0, mover = 0, waiting = 0, fours = 0, openThrees = 0;
        uint8_t threat = 0;
        for (const uint8_t s : shape_[p][c]) {
            if (s != Nothing)
                worth += OrderWeights[s - 1u], mover += MoverWeights[s - 1u], waiting += WaitingWeights[s - 1u];
            if (s == Five)
                threat |= MakesFive;
            else if (s == OpenFour)
                threat |= MakesWin | MakesFour, ++fours;
            else if (s == Four)
                threat |= MakesFour, ++fours;
            else if (s == OpenThree)
                threat |= MakesOpenThree, ++openThrees;
        }
        if (const int32_t both = combination(fours, openThrees); both >= 0) {
            const size_t f = static_cast<size_t>(both);
            worth += OrderWeights[f], mover += MoverWeights[f], waiting += WaitingWeights[f];
            threat |= both == 7 ? MakesWin : both == 8 ? MakesFourThree : MakesThreeThree;
        }
        if (board_[c] == 0) {
            moverTotal_[p] += mover - moverWorth_[p][c];
            waitingTotal_[p] += waiting - waitingWorth_[p][c];
        }
        worth_[p][c] = worth;
        moverWorth_[p][c] = mover;
        waitingWorth_[p][c] = waiting;
        threat_[p][c] = threat;
    }
}

ShapeBoard::FeatureCounts ShapeBoard::features(int32_t player) const
{
    const size_t p = static_cast<size_t>(player - 1);
    FeatureCounts counts{};
    for (const int16_t cell : interior_) {
        const size_t c = static_cast<size_t>(cell);
        if (board_[c] != 0)
            continue;
        int32_t fours = 0, openThrees = 0;
        for (const uint8_t s : shape_[p][c]) {
            if (s != Nothing)
                ++counts[s - 1u];
            fours += s == Four || s == OpenFour;
            openThrees += s == OpenThree;
        }
        if (const int32_t both = combination(fours, openThrees); both >= 0)
            ++counts[static_cast<size_t>(both)];
    }
    return counts;
}

void ShapeBoard::put(int32_t cell, int32_t player)
{
    const size_t c = static_cast<size_t>(cell);
    const int32_t old = board_[c];
    if (old == player || old == Wall)
        return;
    if (old == 0)
        for (size_t p = 0; p < 2; ++p)
            moverTotal_[p] -= moverWorth_[p][c], waitingTotal_[p] -= waitingWorth_[p][c];
    board_[c] = static_cast<int8_t>(player);
    hash_ ^= keys().of[c][static_cast<size_t>(old)] ^ keys().of[c][static_cast<size_t>(player)];
    const int32_t change = (player != 0) - (old != 0);
    stones_ += change;
    if (change != 0)
        for (int32_t dy = -2; dy <= 2; ++dy)
            for (int32_t dx = -2; dx <= 2; ++dx)
                near_[c + static_cast<size_t>(dy * Wide + dx)] =
                    static_cast<int16_t>(near_[c + static_cast<size_t>(dy * Wide + dx)] + change);
    for (int32_t d = 0; d < 4; ++d)
        for (const int32_t sign : {1, -1})
            for (int32_t k = 1; k <= 4; ++k) {
                const int32_t n = cell + sign * k * Step[static_cast<size_t>(d)];
                if (board_[static_cast<size_t>(n)] == Wall)
                    break;
                // The stone is -sign*k along the line from n.
                auto& key = lines_[static_cast<size_t>(n)][static_cast<size_t>(d)];
                const int32_t shift = 2 * slot(-sign * k);
                key = static_cast<uint16_t>((key & ~(3 << shift)) | (player << shift));
                refresh(n, d);
                if (board_[static_cast<size_t>(n)] == 0)
                    rescore(n);
            }
    if (player == 0) {
        for (size_t p = 0; p < 2; ++p)
            moverWorth_[p][c] = waitingWorth_[p][c] = 0;
        rescore(cell);
    }
}

void ShapeBoard::set(int32_t x, int32_t y, int32_t player)
{
    if (x < 0 || y < 0 || x >= size_ || y >= size_ || player < 0 || player > 2)
        return;
    put(cellAt(x, y), player);
}

} // namespace brindle::engine
