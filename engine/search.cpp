#include "engine/search.h"

#include <algorithm>

namespace brindle::engine {

namespace {

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

constexpr int32_t Win = 1'000'000'000;
constexpr int32_t Won = Win - 1000; // values past this are wins found in the tree
constexpr int32_t MaxPly = 48;
constexpr int32_t MaxDepth = 30;
// How many of the best cells are searched, at the root and below it.
constexpr int32_t RootWidth = 22;
constexpr int32_t Width = 10;
// What a stone is worth on one line, by the shape it makes there.
constexpr int32_t ShapeWorth[8] = {0, 4, 24, 30, 160, 190, 2500, 30000};

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

constexpr uint64_t AttackerKey[3] = {0, 0x5A17C0DE1234ull, 0x7B3E11F0CAFEull};
constexpr size_t FailedSize = 1 << 16;

} // namespace

void Search::reset(int32_t size)
{
    size_ = std::clamp(size, 1, Side);
    cells_.fill(0);
    board_.fill(Wall);
    near_.fill(0);
    interior_.clear();
    for (int32_t y = 0; y < size_; ++y)
        for (int32_t x = 0; x < size_; ++x) {
            board_[static_cast<size_t>(cellAt(x, y))] = 0;
            interior_.push_back(static_cast<int16_t>(cellAt(x, y)));
        }
    const int32_t offsets[4] = {1, Wide, Wide + 1, Wide - 1};
    total_ = {0, 0};
    for (const int16_t c : interior_)
        for (int32_t d = 0; d < 4; ++d) {
            uint16_t key = 0;
            for (int32_t k = -4; k <= 4; ++k)
                if (k != 0)
                    key = static_cast<uint16_t>(key | (board_[static_cast<size_t>(c + k * offsets[d])] << (2 * slot(k))));
            lines_[static_cast<size_t>(c)][static_cast<size_t>(d)] = key;
            refresh(c, d);
        }
    for (const int16_t c : interior_) {
        worth_[0][static_cast<size_t>(c)] = worth_[1][static_cast<size_t>(c)] = 0;
        rescore(c);
    }
    hash_ = 0;
    stones_ = 0;
}

void Search::refresh(int32_t cell, int32_t direction)
{
    const auto& of = shapes().of;
    const uint16_t key = lines_[static_cast<size_t>(cell)][static_cast<size_t>(direction)];
    shape_[0][static_cast<size_t>(cell)][static_cast<size_t>(direction)] = of[0][key];
    shape_[1][static_cast<size_t>(cell)][static_cast<size_t>(direction)] = of[1][key];
}

// The cell's worth and threats for both sides from its four lines, kept in
// the totals while the cell is empty.
void Search::rescore(int32_t cell)
{
    const size_t c = static_cast<size_t>(cell);
    for (size_t p = 0; p < 2; ++p) {
        int32_t worth = 0, fours = 0, openThrees = 0;
        uint8_t threat = 0;
        for (const uint8_t s : shape_[p][c]) {
            worth += ShapeWorth[s];
            if (s == Five)
                threat |= MakesFive;
            else if (s == OpenFour)
                threat |= MakesWin | MakesFour, ++fours;
            else if (s == Four)
                threat |= MakesFour, ++fours;
            else if (s == OpenThree)
                threat |= MakesOpenThree, ++openThrees;
        }
        if (fours >= 2)
            threat |= MakesWin, worth += 2500;
        else if (fours == 1 && openThrees >= 1)
            threat |= MakesFourThree, worth += 1800;
        else if (openThrees >= 2)
            threat |= MakesThreeThree, worth += 900;
        if (board_[c] == 0)
            total_[p] += worth - worth_[p][c];
        worth_[p][c] = worth;
        threat_[p][c] = threat;
    }
}

void Search::put(int32_t cell, int32_t player)
{
    const size_t c = static_cast<size_t>(cell);
    const int32_t old = board_[c];
    if (old == player || old == Wall)
        return;
    if (old == 0)
        total_[0] -= worth_[0][c], total_[1] -= worth_[1][c];
    board_[c] = static_cast<int8_t>(player);
    const int32_t x = cell % Wide - Pad, y = cell / Wide - Pad;
    cells_[static_cast<size_t>(index(x, y))] = static_cast<int8_t>(player);
    hash_ ^= keys().of[c][static_cast<size_t>(old)] ^ keys().of[c][static_cast<size_t>(player)];
    const int32_t change = (player != 0) - (old != 0);
    stones_ += change;
    if (change != 0)
        for (int32_t dy = -2; dy <= 2; ++dy)
            for (int32_t dx = -2; dx <= 2; ++dx)
                near_[c + static_cast<size_t>(dy * Wide + dx)] =
                    static_cast<int16_t>(near_[c + static_cast<size_t>(dy * Wide + dx)] + change);
    const int32_t offsets[4] = {1, Wide, Wide + 1, Wide - 1};
    for (int32_t d = 0; d < 4; ++d)
        for (const int32_t sign : {1, -1})
            for (int32_t k = 1; k <= 4; ++k) {
                const int32_t n = cell + sign * k * offsets[d];
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
        worth_[0][c] = worth_[1][c] = 0;
        rescore(cell);
    }
}

void Search::set(int32_t x, int32_t y, int32_t player)
{
    if (!inside(x, y) || player < 0 || player > 2)
        return;
    put(cellAt(x, y), player);
}

void Search::scan(int32_t player, Scan& s) const
{
    const size_t p = static_cast<size_t>(player - 1), o = 1 - p;
    s = Scan{};
    for (const int16_t cell : interior_) {
        const size_t c = static_cast<size_t>(cell);
        if (board_[c] != 0 || near_[c] == 0)
            continue;
        const uint8_t own = threat_[p][c], other = threat_[o][c];
        s.all.cells[static_cast<size_t>(s.all.count++)] = cell;
        if (own & MakesFive)
            s.ownFive = cell;
        if (other & MakesFive)
            s.otherFive = cell, ++s.otherFives;
        if (own & MakesWin)
            s.ownWin = cell;
        if (own & MakesFourThree)
            s.ownFourThree = cell;
        if (own & MakesFour)
            s.ownFours.cells[static_cast<size_t>(s.ownFours.count++)] = cell;
        if (other & MakesFour)
            s.otherFour = true, s.otherFours.cells[static_cast<size_t>(s.otherFours.count++)] = cell;
        if (other & MakesWin)
            s.otherWin = true;
    }
}

int32_t Search::evaluate(int32_t player) const
{
    const size_t p = static_cast<size_t>(player - 1);
    return static_cast<int32_t>(total_[p] - total_[1 - p]);
}

int32_t Search::order(int32_t player, int32_t cell) const
{
    const size_t p = static_cast<size_t>(player - 1), c = static_cast<size_t>(cell);
    return worth_[p][c] + worth_[1 - p][c] * 7 / 8;
}

// The `keep` best of `moves` by their worth to both sides first, the move at
// index `first` (when not negative) before them all.
void Search::sortMoves(int32_t player, MoveList& moves, int32_t first, int32_t keep) const
{
    const size_t n = static_cast<size_t>(moves.count);
    std::array<std::pair<int32_t, int16_t>, Side * Side> ranked;
    for (size_t i = 0; i < n; ++i)
        ranked[i] = {moves.cells[i] == first ? Win : order(player, moves.cells[i]), moves.cells[i]};
    const size_t k = std::min(n, static_cast<size_t>(keep));
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(k), ranked.begin() + static_cast<std::ptrdiff_t>(n),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t i = 0; i < k; ++i)
        moves.cells[i] = ranked[i].second;
    moves.count = static_cast<int32_t>(k);
}

bool Search::outOfTime()
{
    return (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) || std::chrono::steady_clock::now() >= deadline_;
}

// A win for `attacker`, to move, by fours alone, each answered where it must
// be; `first` receives the first four.
bool Search::fours(int32_t attacker, int32_t depth, int32_t* first)
{
    if ((++fourNodes_ & 63) == 0 && outOfTime())
        aborted_ = true;
    if (aborted_)
        return false;
    const size_t a = static_cast<size_t>(attacker - 1), d = 1 - a;
    const int32_t defender = 3 - attacker;
    MoveList list;
    list.count = 0;
    int32_t defenderFive = -1, defenderFives = 0;
    for (const int16_t cell : interior_) {
        const size_t c = static_cast<size_t>(cell);
        if (board_[c] != 0 || near_[c] == 0)
            continue;
        if (threat_[a][c] & MakesFive) {
            if (first)
                *first = cell;
            return true;
        }
        if (threat_[d][c] & MakesFive)
            defenderFive = cell, ++defenderFives;
        if (threat_[a][c] & MakesFour)
            list.cells[static_cast<size_t>(list.count++)] = cell;
    }
    if (defenderFives >= 2)
        return false;
    if (defenderFives == 1) {
        if (!(threat_[a][static_cast<size_t>(defenderFive)] & MakesFour))
            return false;
        list.cells[0] = static_cast<int16_t>(defenderFive);
        list.count = 1;
    }
    for (int32_t i = 0; i < list.count; ++i)
        if (threat_[a][static_cast<size_t>(list.cells[static_cast<size_t>(i)])] & MakesWin) {
            if (first)
                *first = list.cells[static_cast<size_t>(i)];
            return true;
        }
    if (depth <= 0 || list.count == 0)
        return false;
    const uint64_t key = hash_ ^ AttackerKey[attacker];
    uint64_t& failed = failed_[key & (FailedSize - 1)];
    if (failed == key)
        return false;
    // Fours that also make an open three or stand by many stones first.
    std::sort(list.cells.begin(), list.cells.begin() + list.count, [this, a](int16_t x, int16_t y) {
        return worth_[a][static_cast<size_t>(x)] > worth_[a][static_cast<size_t>(y)];
    });
    const int32_t offsets[4] = {1, Wide, Wide + 1, Wide - 1};
    for (int32_t i = 0; i < list.count; ++i) {
        const int32_t four = list.cells[static_cast<size_t>(i)];
        put(four, attacker);
        int32_t answer = -1;
        for (int32_t dir = 0; dir < 4 && answer < 0; ++dir)
            for (const int32_t sign : {1, -1})
                for (int32_t k = 1; k <= 4; ++k) {
                    const int32_t n = four + sign * k * offsets[dir];
                    if (board_[static_cast<size_t>(n)] == Wall)
                        break;
                    if (board_[static_cast<size_t>(n)] == 0 && (threat_[a][static_cast<size_t>(n)] & MakesFive))
                        answer = n;
                }
        bool won = false;
        if (answer >= 0) {
            put(answer, defender);
            won = fours(attacker, depth - 1, nullptr);
            put(answer, 0);
        }
        put(four, 0);
        if (won) {
            if (first)
                *first = four;
            return true;
        }
        if (aborted_)
            return false;
    }
    failed = key;
    return false;
}

// Whether `attacker` wins by fours, looked for until `until` at the latest;
// leaves the deadline as it was.
bool Search::hasFours(int32_t attacker, int32_t depth, std::chrono::steady_clock::time_point until)
{
    const auto saved = deadline_;
    deadline_ = std::min(saved, until);
    const bool wasAborted = aborted_;
    aborted_ = false;
    const bool found = fours(attacker, depth, nullptr);
    aborted_ = wasAborted;
    deadline_ = saved;
    return found;
}

int32_t Search::negamax(int32_t player, int32_t depth, int32_t alpha, int32_t beta, int32_t ply)
{
    if ((++nodes_ & 15) == 0 && outOfTime())
        aborted_ = true;
    if (aborted_)
        return 0;
    if (ply >= MaxPly)
        return evaluate(player);
    Scan s;
    scan(player, s);
    if (s.all.count == 0)
        return 0; // nothing left to play: a draw
    if (s.ownFive >= 0)
        return Win - ply - 1;
    if (s.otherFives >= 2)
        return -(Win - ply - 2);
    MoveList* moves = &s.all;
    int32_t keep = Width;
    bool forced = false;
    if (s.otherFives == 1) {
        s.all.cells[0] = static_cast<int16_t>(s.otherFive);
        s.all.count = 1;
        forced = true;
    } else if (s.ownWin >= 0) {
        return Win - ply - 3;
    } else if (s.ownFourThree >= 0 && !s.otherFour) {
        return Win - ply - 5;
    } else if (s.otherWin) {
        // The other's open three: block it, or answer with fours.
        MoveList& m = s.otherFours;
        for (int32_t i = 0; i < s.ownFours.count; ++i)
            if (!(threat_[static_cast<size_t>(2 - player)][static_cast<size_t>(s.ownFours.cells[static_cast<size_t>(i)])] & MakesFour))
                m.cells[static_cast<size_t>(m.count++)] = s.ownFours.cells[static_cast<size_t>(i)];
        moves = &m;
        keep = 16;
        forced = true;
    } else if (depth <= 0) {
        return evaluate(player);
    }
    Entry& entry = table_[hash_ & (table_.size() - 1)];
    int32_t ttMove = -1;
    if (entry.key == (hash_ ^ static_cast<uint64_t>(player))) {
        ttMove = entry.key != 0 ? entry.move : -1;
        int32_t v = entry.value;
        if (v > Won)
            v -= ply;
        else if (v < -Won)
            v += ply;
        if (entry.depth >= depth &&
            (entry.bound == 3 || (entry.bound == 1 && v >= beta) || (entry.bound == 2 && v <= alpha)))
            return v;
    }
    sortMoves(player, *moves, ttMove, keep);
    // A single answer to a four costs nothing to look past; a block of an
    // open three is looked past at the horizon only.
    const int32_t next = s.otherFives == 1 || (forced && depth <= 1) ? depth : depth - 1;
    const int32_t startAlpha = alpha;
    int32_t best = -Win, bestMove = -1;
    for (int32_t i = 0; i < moves->count; ++i) {
        const int32_t cell = moves->cells[static_cast<size_t>(i)];
        put(cell, player);
        int32_t value;
        if (i == 0) {
            value = -negamax(3 - player, next, -beta, -alpha, ply + 1);
        } else {
            value = -negamax(3 - player, next, -alpha - 1, -alpha, ply + 1);
            if (value > alpha && value < beta && !aborted_)
                value = -negamax(3 - player, next, -beta, -alpha, ply + 1);
        }
        put(cell, 0);
        if (aborted_)
            return 0;
        if (value > best)
            best = value, bestMove = cell;
        alpha = std::max(alpha, value);
        if (alpha >= beta)
            break;
    }
    if (bestMove < 0)
        return evaluate(player);
    entry.key = hash_ ^ static_cast<uint64_t>(player);
    entry.value = best > Won ? best + ply : best < -Won ? best - ply : best;
    entry.move = static_cast<int16_t>(bestMove);
    entry.depth = static_cast<int8_t>(depth);
    entry.bound = best >= beta ? 1 : best > startAlpha ? 3 : 2;
    return best;
}

Search::Move Search::winByFours(int32_t player, int32_t depth, std::chrono::milliseconds budget)
{
    if (failed_.empty())
        failed_.assign(FailedSize, 0);
    std::fill(failed_.begin(), failed_.end(), 0);
    stop_ = nullptr;
    deadline_ = std::chrono::steady_clock::now() + budget;
    aborted_ = false;
    fourNodes_ = 0;
    Move found;
    int32_t first = -1;
    if (fours(player, depth, &first) && first >= 0)
        found.x = first % Wide - Pad, found.y = first / Wide - Pad;
    found.nodes = fourNodes_;
    return found;
}

Search::Move Search::best(int32_t player, std::chrono::milliseconds budget, const std::atomic<bool>* stop)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    player = player == 2 ? 2 : 1;
    const int32_t other = 3 - player;
    hardDeadline_ = deadline_ = start + budget;
    stop_ = stop;
    aborted_ = false;
    nodes_ = fourNodes_ = 0;
    Move found;
    const auto answer = [&found, this](int32_t cell) {
        found.x = cell % Wide - Pad, found.y = cell / Wide - Pad;
        found.nodes = nodes_ + fourNodes_;
        return found;
    };
    if (stones_ == 0) {
        found.x = found.y = size_ / 2;
        return found;
    }
    if (table_.empty())
        table_.resize(size_t{1} << TableBits);
    if (failed_.empty())
        failed_.assign(FailedSize, 0);
    std::fill(failed_.begin(), failed_.end(), 0);

    Scan s;
    scan(player, s);
    if (s.all.count == 0) { // stones everywhere near, or a board too small: any free cell
        for (const int16_t c : interior_)
            if (board_[static_cast<size_t>(c)] == 0)
                return answer(c);
        return found;
    }
    if (s.ownFive >= 0)
        return answer(s.ownFive);
    if (s.otherFive >= 0)
        return answer(s.otherFive);
    if (s.ownWin >= 0)
        return answer(s.ownWin);
    // A win by fours of its own.
    {
        const auto saved = deadline_;
        deadline_ = std::min(saved, start + budget / 5);
        int32_t first = -1;
        const bool won = fours(player, 24, &first);
        deadline_ = saved;
        aborted_ = false;
        if (won && first >= 0 && board_[static_cast<size_t>(first)] == 0)
            return answer(first);
    }
    if (outOfTime()) {
        sortMoves(player, s.all, -1, 1);
        return answer(s.all.cells[0]);
    }

    MoveList moves = s.all;
    if (s.otherWin) {
        moves = s.otherFours;
        for (int32_t i = 0; i < s.ownFours.count; ++i)
            if (!(threat_[static_cast<size_t>(other - 1)][static_cast<size_t>(s.ownFours.cells[static_cast<size_t>(i)])] & MakesFour))
                moves.cells[static_cast<size_t>(moves.count++)] = s.ownFours.cells[static_cast<size_t>(i)];
    }
    sortMoves(player, moves, -1, Side * Side);
    int32_t fallback = moves.cells[0];
    // The other side's win by fours, were it to move: keep only the moves
    // that leave it none.
    const auto defenceUntil = start + budget * 2 / 5;
    if (hasFours(other, 24, defenceUntil)) {
        MoveList safe;
        safe.count = 0;
        for (int32_t i = 0; i < moves.count && Clock::now() < defenceUntil; ++i) {
            const int32_t cell = moves.cells[static_cast<size_t>(i)];
            put(cell, player);
            const bool lost = hasFours(other, 24, defenceUntil);
            put(cell, 0);
            if (!lost && Clock::now() < defenceUntil)
                safe.cells[static_cast<size_t>(safe.count++)] = static_cast<int16_t>(cell);
        }
        if (safe.count > 0)
            moves = safe, fallback = moves.cells[0];
    }
    if (moves.count > RootWidth)
        moves.count = RootWidth;
    found = Move{};
    answer(fallback);
    if (moves.count == 1)
        return found;

    std::array<int32_t, Side * Side> values{};
    for (int32_t depth = 1; depth <= MaxDepth; ++depth) {
        int32_t alpha = -Win - 1, bestIndex = -1;
        for (int32_t k = 0; k < moves.count; ++k) {
            const int32_t cell = moves.cells[static_cast<size_t>(k)];
            put(cell, player);
            int32_t value;
            if (k == 0) {
                value = -negamax(other, depth - 1, -Win - 1, Win + 1, 1);
            } else {
                value = -negamax(other, depth - 1, -alpha - 1, -alpha, 1);
                if (value > alpha && !aborted_)
                    value = -negamax(other, depth - 1, -Win - 1, -alpha, 1);
            }
            put(cell, 0);
            if (aborted_)
                break;
            values[static_cast<size_t>(k)] = value;
            if (value > alpha)
                alpha = value, bestIndex = k;
        }
        if (bestIndex >= 0 && (!aborted_ || bestIndex > 0)) {
            answer(moves.cells[static_cast<size_t>(bestIndex)]);
            found.depth = aborted_ ? depth - 1 : depth;
            // The best so far is searched first next time.
            std::rotate(moves.cells.begin(), moves.cells.begin() + bestIndex, moves.cells.begin() + bestIndex + 1);
        }
        if (aborted_)
            break;
        if (alpha > Won || alpha < -Won)
            break; // a win or a loss is certain
        if (Clock::now() - start > budget * 2 / 5)
            break; // the next depth would not finish in time
    }
    found.nodes = nodes_ + fourNodes_;
    return found;
}

} // namespace brindle::engine
