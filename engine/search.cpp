#include "engine/search.h"

#include <algorithm>
#include <thread>

namespace brindle::engine {

namespace {

constexpr int32_t Win = 1'000'000'000;
constexpr int32_t Won = Win - 1000; // values past this are wins found in the tree
constexpr int32_t MaxPly = 48;
// How many of the best cells are searched, at the root and below it.
constexpr int32_t RootWidth = 22;
constexpr int32_t Width = 10;
// How deep a win by fours is looked for, in fours.
constexpr int32_t FoursDepth = 24;

// Keeps one side's failed wins by fours apart from the other's in the table,
// and the failed wins by threats apart from both.
constexpr uint64_t AttackerKey[2] = {0x5A17C0DE1234ull, 0x7B3E11F0CAFEull};
constexpr uint64_t ThreatKey[2] = {0x3C6EF372FE94ull, 0x1F83D9ABFB41ull};
// How many threes and fours deep, and how many positions, the root's threat
// search looks, and how many of the threats it tries at each step.
constexpr int32_t ThreatDepth = 5;
constexpr int64_t ThreatNodes = 5000;
constexpr int32_t ThreatWidth = 12;
// What a win by threats is worth to the side to move: certain, but its moves not counted.
constexpr int32_t ThreatWinScore = 20000;
constexpr size_t FailedSize = 1 << 16;

} // namespace

SearchTable::SearchTable(int32_t bits) : slots_(new Slot[size_t{1} << bits]), mask_((uint64_t{1} << bits) - 1) {}

namespace {

uint64_t packed(const SearchTable::Entry& e)
{
    return static_cast<uint32_t>(e.value) | uint64_t{static_cast<uint16_t>(e.move)} << 32 |
           uint64_t{static_cast<uint8_t>(e.depth)} << 48 | uint64_t{e.bound} << 56;
}

} // namespace

bool SearchTable::find(uint64_t key, Entry& entry) const
{
    const Slot& slot = slots_[key & mask_];
    const uint64_t data = slot.data.load(std::memory_order_relaxed);
    if ((slot.check.load(std::memory_order_relaxed) ^ data) != key || data == 0)
        return false;
    entry.value = static_cast<int32_t>(static_cast<uint32_t>(data));
    entry.move = static_cast<int16_t>(data >> 32);
    entry.depth = static_cast<int8_t>(data >> 48);
    entry.bound = static_cast<uint8_t>(data >> 56);
    return true;
}

void SearchTable::store(uint64_t key, const Entry& entry)
{
    Slot& slot = slots_[key & mask_];
    const uint64_t data = packed(entry);
    slot.check.store(key ^ data, std::memory_order_relaxed);
    slot.data.store(data, std::memory_order_relaxed);
}

void Search::scan(int32_t player, Scan& s) const
{
    const int32_t other = 3 - player;
    s = Scan{};
    for (const int16_t cell : board_.cells()) {
        if (board_.stone(cell) != 0 || !board_.nearStone(cell))
            continue;
        const uint8_t own = board_.threat(player, cell), theirs = board_.threat(other, cell);
        s.all.cells[static_cast<size_t>(s.all.count++)] = cell;
        if (own & MakesFive)
            s.ownFive = cell;
        if (theirs & MakesFive)
            s.otherFive = cell, ++s.otherFives;
        if (own & MakesWin)
            s.ownWin = cell;
        if (own & MakesFourThree)
            s.ownFourThree = cell;
        if (own & MakesFour)
            s.ownFours.cells[static_cast<size_t>(s.ownFours.count++)] = cell;
        if (theirs & MakesFour)
            s.otherFour = true, s.otherFours.cells[static_cast<size_t>(s.otherFours.count++)] = cell;
        if (theirs & MakesWin)
            s.otherWin = true;
    }
}

int32_t Search::order(int32_t player, int32_t cell) const
{
    return board_.worth(player, cell) + board_.worth(3 - player, cell) * 7 / 8;
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

void Search::blocksOfOpenThree(int32_t player, const Scan& s, MoveList& moves) const
{
    // Where the other side would make a four, and our own fours, each once.
    moves = s.otherFours;
    for (int32_t i = 0; i < s.ownFours.count; ++i) {
        const int16_t cell = s.ownFours.cells[static_cast<size_t>(i)];
        if (!(board_.threat(3 - player, cell) & MakesFour))
            moves.cells[static_cast<size_t>(moves.count++)] = cell;
    }
}

bool Search::outOfTime()
{
    return (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) ||
           (nodeLimit_ > 0 && nodes_ + fourNodes_ >= nodeLimit_) || (timed_ && Clock::now() >= deadline_);
}

int32_t Search::answerTo(int32_t attacker, int32_t four) const
{
    int32_t answer = -1;
    for (int32_t dir = 0; dir < 4 && answer < 0; ++dir)
        for (const int32_t sign : {1, -1})
            for (int32_t k = 1; k <= 4; ++k) {
                const int32_t n = four + sign * k * ShapeBoard::Step[static_cast<size_t>(dir)];
                if (board_.stone(n) == ShapeBoard::Wall)
                    break;
                if (board_.stone(n) == 0 && (board_.threat(attacker, n) & MakesFive))
                    answer = n;
            }
    return answer;
}

// Inlined by force: the fours search is the hottest loop, and a call here costs 5 % of the node rate.
template <typename Holds>
[[gnu::always_inline]] inline bool Search::firstThatWins(int32_t attacker, const MoveList& moves, uint64_t& failed, uint64_t key, int32_t* first,
                           Holds holds)
{
    for (int32_t i = 0; i < moves.count; ++i) {
        const int32_t cell = moves.cells[static_cast<size_t>(i)];
        board_.put(cell, attacker);
        const bool won = holds(cell);
        board_.put(cell, 0);
        if (won) {
            if (first)
                *first = cell;
            return true;
        }
        if (aborted_)
            return false;
    }
    failed = key;
    return false;
}

// A win for `attacker`, to move, by fours alone, each answered where it must
// be; `first` receives the first four.
bool Search::fours(int32_t attacker, int32_t depth, int32_t* first)
{
    if ((++fourNodes_ & 63) == 0 && outOfTime())
        aborted_ = true;
    if (aborted_)
        return false;
    const int32_t defender = 3 - attacker;
    MoveList list;
    list.count = 0;
    int32_t defenderFive = -1, defenderFives = 0;
    for (const int16_t cell : board_.cells()) {
        if (board_.stone(cell) != 0 || !board_.nearStone(cell))
            continue;
        if (board_.threat(attacker, cell) & MakesFive) {
            if (first)
                *first = cell;
            return true;
        }
        if (board_.threat(defender, cell) & MakesFive)
            defenderFive = cell, ++defenderFives;
        if (board_.threat(attacker, cell) & MakesFour)
            list.cells[static_cast<size_t>(list.count++)] = cell;
    }
    if (defenderFives >= 2)
        return false;
    if (defenderFives == 1) {
        if (!(board_.threat(attacker, defenderFive) & MakesFour))
            return false;
        list.cells[0] = static_cast<int16_t>(defenderFive);
        list.count = 1;
    }
    for (int32_t i = 0; i < list.count; ++i)
        if (board_.threat(attacker, list.cells[static_cast<size_t>(i)]) & MakesWin) {
            if (first)
                *first = list.cells[static_cast<size_t>(i)];
            return true;
        }
    if (depth <= 0 || list.count == 0)
        return false;
    const uint64_t key = board_.hash() ^ AttackerKey[attacker - 1];
    uint64_t& failed = failed_[key & (FailedSize - 1)];
    if (failed == key)
        return false;
    // Fours that also make an open three or stand by many stones first.
    std::sort(list.cells.begin(), list.cells.begin() + list.count,
              [this, attacker](int16_t x, int16_t y) { return board_.worth(attacker, x) > board_.worth(attacker, y); });
    return firstThatWins(attacker, list, failed, key, first, [&](int32_t four) {
        const int32_t answer = answerTo(attacker, four);
        if (answer < 0)
            return false;
        board_.put(answer, defender);
        const bool won = fours(attacker, depth - 1, nullptr);
        board_.put(answer, 0);
        return won;
    });
}

// `attacker` to move wins by fours and open threes: each four answered where
// it must be, each three by every cell that stops it becoming a four and by
// every four of the defender's own.
bool Search::threats(int32_t attacker, int32_t depth, int32_t* first)
{
    if ((++fourNodes_ & 63) == 0 && outOfTime())
        aborted_ = true;
    if (aborted_)
        return false;
    const int32_t defender = 3 - attacker;
    int32_t defenderFive = -1, defenderFives = 0, ownWin = -1;
    bool defenderThreatens = false;
    MoveList list;
    list.count = 0;
    for (const int16_t cell : board_.cells()) {
        if (board_.stone(cell) != 0 || !board_.nearStone(cell))
            continue;
        const uint8_t own = board_.threat(attacker, cell), theirs = board_.threat(defender, cell);
        if (own & MakesFive) {
            if (first)
                *first = cell;
            return true;
        }
        if (own & MakesWin)
            ownWin = cell;
        if (theirs & MakesFive)
            defenderFive = cell, ++defenderFives;
        if (theirs & MakesWin)
            defenderThreatens = true;
        if (own & (MakesFour | MakesOpenThree))
            list.cells[static_cast<size_t>(list.count++)] = cell;
    }
    if (defenderFives >= 2)
        return false;
    if (defenderFives == 1) {
        // The defender's four, made as an answer: blocked, the attacker's threat stands.
        board_.put(defenderFive, attacker);
        const bool won = threatsHold(attacker, depth);
        board_.put(defenderFive, 0);
        if (won && first)
            *first = defenderFive;
        return won;
    }
    if (ownWin >= 0) { // an open four or two fours: five next, whatever the answer
        if (first)
            *first = ownWin;
        return true;
    }
    if (fours(attacker, FoursDepth, first))
        return true;
    if (depth <= 0 || defenderThreatens || list.count == 0 || aborted_)
        return false;
    // A failure is kept for the depth it had: with more threats left, the same position may still win.
    const uint64_t key = board_.hash() ^ ThreatKey[attacker - 1] ^ (static_cast<uint64_t>(depth) * 0x9E3779B97F4A7C15ull);
    uint64_t& failed = failed_[key & (FailedSize - 1)];
    if (failed == key)
        return false;
    sortMoves(attacker, list, -1, ThreatWidth);
    return firstThatWins(attacker, list, failed, key, first, [&](int32_t) { return threatsHold(attacker, depth - 1); });
}

// The defender to move against `attacker`'s four or open three: true when
// every answer still loses.
bool Search::threatsHold(int32_t attacker, int32_t depth)
{
    const int32_t defender = 3 - attacker;
    MoveList answers;
    answers.count = 0;
    int32_t attackerFive = -1, attackerFives = 0;
    bool attackerThreatens = false;
    for (const int16_t cell : board_.cells()) {
        if (board_.stone(cell) != 0 || !board_.nearStone(cell))
            continue;
        const uint8_t own = board_.threat(defender, cell), theirs = board_.threat(attacker, cell);
        if (own & MakesFive)
            return false;
        if (theirs & MakesFive)
            attackerFive = cell, ++attackerFives;
        if (theirs & MakesWin)
            attackerThreatens = true;
        if ((theirs & MakesFour) || (own & MakesFour))
            answers.cells[static_cast<size_t>(answers.count++)] = cell;
    }
    if (attackerFives >= 2)
        return true;
    if (attackerFives == 1)
        answers.cells[0] = static_cast<int16_t>(attackerFive), answers.count = 1;
    else if (!attackerThreatens)
        return false; // nothing to answer: the defender is free
    for (int32_t i = 0; i < answers.count; ++i) {
        const int32_t cell = answers.cells[static_cast<size_t>(i)];
        board_.put(cell, defender);
        const bool won = threats(attacker, depth, nullptr);
        board_.put(cell, 0);
        if (!won || aborted_)
            return false;
    }
    return true;
}

bool Search::hasThreats(int32_t attacker, int64_t nodes, Clock::time_point until, int32_t* first)
{
    const auto saved = deadline_;
    const int64_t savedLimit = nodeLimit_, used = nodes_ + fourNodes_;
    deadline_ = std::min(saved, until);
    // A search bounded by nodes lends it a fifth of what it has left at most.
    nodeLimit_ = used + std::max<int64_t>(1, savedLimit > 0 ? std::min(nodes, (savedLimit - used) / 5) : nodes);
    const bool wasAborted = aborted_;
    aborted_ = false;
    const bool found = threats(attacker, ThreatDepth, first) && !aborted_;
    aborted_ = wasAborted;
    deadline_ = saved;
    nodeLimit_ = savedLimit;
    return found;
}

Search::Move Search::winByThreats(int32_t player, int32_t depth, int64_t nodes)
{
    begin(Limits{{}, MaxDepth, nodes, nullptr}, Clock::now());
    Move found;
    int32_t first = -1;
    if (threats(player, depth, &first) && !aborted_)
        found.x = ShapeBoard::xOf(first), found.y = ShapeBoard::yOf(first);
    found.nodes = fourNodes_;
    return found;
}

// Whether `attacker` wins by fours, looked for until `until` at the latest;
// leaves the deadline as it was.
bool Search::hasFours(int32_t attacker, int32_t depth, Clock::time_point until)
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
        return board_.evaluate(player);
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
        blocksOfOpenThree(player, s, s.otherFours);
        moves = &s.otherFours;
        keep = 16;
        forced = true;
    } else if (depth <= 0) {
        return board_.evaluate(player);
    }
    const uint64_t key = board_.hash() ^ static_cast<uint64_t>(player);
    Entry entry;
    int32_t ttMove = -1;
    if (table_->find(key, entry)) {
        ttMove = entry.move;
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
        board_.put(cell, player);
        int32_t value;
        if (i == 0) {
            value = -negamax(3 - player, next, -beta, -alpha, ply + 1);
        } else {
            value = -negamax(3 - player, next, -alpha - 1, -alpha, ply + 1);
            if (value > alpha && value < beta && !aborted_)
                value = -negamax(3 - player, next, -beta, -alpha, ply + 1);
        }
        board_.put(cell, 0);
        if (aborted_)
            return 0;
        if (value > best)
            best = value, bestMove = cell;
        alpha = std::max(alpha, value);
        if (alpha >= beta)
            break;
    }
    if (bestMove < 0)
        return board_.evaluate(player);
    table_->store(key, Entry{best > Won ? best + ply : best < -Won ? best - ply : best, static_cast<int16_t>(bestMove),
                             static_cast<int8_t>(depth), static_cast<uint8_t>(best >= beta ? 1 : best > startAlpha ? 3 : 2)});
    return best;
}

void Search::limitMemory(int64_t bytes)
{
    memoryLimit_ = bytes;
    int32_t bits = TableBits;
    // Every thread holds its own failed wins besides the one shared table.
    const int64_t failedBytes = static_cast<int64_t>(FailedSize * sizeof(uint64_t)) * threads_;
    while (bytes > 0 && bits > MinTableBits && SearchTable::bytesFor(bits) + failedBytes > bytes)
        --bits;
    if (bits != tableBits_)
        table_.reset(); // made again, at the new size, by the next search
    tableBits_ = bits;
}

void Search::setThreads(int32_t threads)
{
    threads_ = std::clamp(threads, 1, MaxThreads);
    limitMemory(memoryLimit_);
}

int64_t Search::memory() const
{
    return (table_ ? table_->bytes() : 0) + static_cast<int64_t>(failed_.capacity() * sizeof(uint64_t)) * threads_;
}

void Search::begin(const Limits& limits, Clock::time_point start)
{
    timed_ = limits.time.count() > 0;
    deadline_ = timed_ ? start + limits.time : Clock::time_point::max();
    nodeLimit_ = limits.nodes;
    stop_ = limits.stop;
    aborted_ = false;
    nodes_ = fourNodes_ = 0;
    if (failed_.empty())
        failed_.assign(FailedSize, 0);
    std::fill(failed_.begin(), failed_.end(), 0);
}

Search::Move Search::winByFours(int32_t player, int32_t depth, std::chrono::milliseconds budget)
{
    begin(Limits{budget, MaxDepth, 0, nullptr}, Clock::now());
    Move found;
    int32_t first = -1;
    if (fours(player, depth, &first))
        found.x = ShapeBoard::xOf(first), found.y = ShapeBoard::yOf(first);
    found.nodes = fourNodes_;
    return found;
}

namespace {

Evaluation evaluationOf(int32_t value)
{
    // A value past Won counts the plies to five from the root, its own move first.
    if (value > Won)
        return {0, (Win - value + 1) / 2};
    if (value < -Won)
        return {0, -((Win + value) / 2)};
    return {value, 0};
}

} // namespace

Search::Move Search::best(int32_t player, const Limits& limits)
{
    return think(player, limits, 1, nullptr, nullptr);
}

Thinking Search::analyse(int32_t player, const Limits& limits, int32_t candidates,
                         const std::function<void(const Thinking&)>& report)
{
    Thinking thinking;
    think(player, limits, std::max(candidates, 1), &thinking, report ? &report : nullptr);
    return thinking;
}

std::vector<std::array<int32_t, 2>> Search::lineFrom(int32_t player, int32_t first, int32_t plies)
{
    std::vector<std::array<int32_t, 2>> line;
    std::vector<int32_t> played;
    int32_t cell = first, side = player;
    while (cell > 0 && board_.stone(cell) == 0 && static_cast<int32_t>(line.size()) < plies) {
        line.push_back({ShapeBoard::xOf(cell), ShapeBoard::yOf(cell)});
        if (board_.threat(side, cell) & MakesFive)
            break;
        board_.put(cell, side);
        played.push_back(cell);
        side = 3 - side;
        Entry entry;
        cell = table_->find(board_.hash() ^ static_cast<uint64_t>(side), entry) ? entry.move : -1;
    }
    for (auto it = played.rbegin(); it != played.rend(); ++it)
        board_.put(*it, 0);
    return line;
}

int32_t Search::foursLine(int32_t player, std::vector<std::array<int32_t, 2>>& line)
{
    std::vector<int32_t> played;
    int32_t moves = 0;
    for (int32_t first = -1; moves < FoursDepth + 2 && fours(player, FoursDepth, &first);) {
        line.push_back({ShapeBoard::xOf(first), ShapeBoard::yOf(first)});
        const uint8_t made = board_.threat(player, first);
        if (made & (MakesFive | MakesWin)) {
            moves += made & MakesFive ? 1 : 2;
            break;
        }
        ++moves;
        board_.put(first, player);
        played.push_back(first);
        const int32_t answer = answerTo(player, first);
        if (answer < 0)
            break;
        line.push_back({ShapeBoard::xOf(answer), ShapeBoard::yOf(answer)});
        board_.put(answer, 3 - player);
        played.push_back(answer);
    }
    for (auto it = played.rbegin(); it != played.rend(); ++it)
        board_.put(*it, 0);
    return aborted_ ? 0 : moves;
}

int32_t Search::rootValue(int32_t player, int32_t cell, int32_t depth, int32_t bar, bool exact)
{
    const int32_t other = 3 - player;
    board_.put(cell, player);
    int32_t value;
    if (exact) {
        value = -negamax(other, depth - 1, -Win - 1, Win + 1, 1);
    } else {
        // Only whether it beats the bar, and its exact value when it does.
        value = -negamax(other, depth - 1, -bar - 1, -bar, 1);
        if (value > bar && !aborted_)
            value = -negamax(other, depth - 1, -Win - 1, -bar, 1);
    }
    board_.put(cell, 0);
    return value;
}

void Search::help(int32_t player, MoveList moves, int32_t firstDepth, int32_t lastDepth)
{
    for (int32_t depth = firstDepth; depth <= lastDepth && !aborted_; ++depth) {
        int32_t best = -Win - 1;
        for (int32_t k = 0; k < moves.count && !aborted_; ++k) {
            const int32_t value = rootValue(player, moves.cells[static_cast<size_t>(k)], depth, best, k == 0);
            if (value > best && !aborted_) { // the best so far goes first
                best = value;
                std::rotate(moves.cells.begin(), moves.cells.begin() + k, moves.cells.begin() + k + 1);
            }
        }
        if (best > Won || best < -Won)
            break;
    }
}

Search::Move Search::think(int32_t player, const Limits& limits, int32_t candidates, Thinking* thinking,
                           const std::function<void(const Thinking&)>* report)
{
    const auto start = Clock::now();
    // A part of the time, from the start; no bound on an untimed search.
    const auto partOfTime = [&](int32_t fifths) {
        return timed_ ? start + limits.time * fifths / 5 : Clock::time_point::max();
    };
    player = player == 2 ? 2 : 1;
    const int32_t other = 3 - player;
    begin(limits, start);
    Move found;
    Thinking said;
    const auto answer = [&found, &said, thinking, this](int32_t cell) {
        found.x = ShapeBoard::xOf(cell), found.y = ShapeBoard::yOf(cell);
        found.nodes = nodes_ + fourNodes_;
        if (thinking) {
            *thinking = said;
            thinking->nodes = found.nodes;
            if (thinking->candidates.empty() || thinking->candidates.front().x != found.x ||
                thinking->candidates.front().y != found.y) {
                // A move chosen on a depth that did not finish: its value is not known.
                thinking->candidates.insert(thinking->candidates.begin(), Candidate{found.x, found.y, said.eval, said.depth});
                thinking->line = {{found.x, found.y}};
            }
            thinking->finished = !(stop_ != nullptr && stop_->load(std::memory_order_relaxed));
        }
        return found;
    };
    // A result that is certain before any look-ahead.
    const auto certain = [&](int32_t cell, Evaluation eval, std::vector<std::array<int32_t, 2>> line) {
        said.eval = eval;
        said.line = line.empty() ? std::vector<std::array<int32_t, 2>>{{ShapeBoard::xOf(cell), ShapeBoard::yOf(cell)}} : line;
        said.candidates = {Candidate{ShapeBoard::xOf(cell), ShapeBoard::yOf(cell), eval, 0}};
        return answer(cell);
    };
    if (board_.stones() == 0)
        return certain(ShapeBoard::cellAt(board_.size() / 2, board_.size() / 2), {}, {});
    if (!table_)
        table_ = std::make_shared<SearchTable>(tableBits_);

    Scan s;
    scan(player, s);
    if (s.all.count == 0) { // stones everywhere near, or a board too small: any free cell
        for (const int16_t c : board_.cells())
            if (board_.stone(c) == 0)
                return certain(c, {}, {});
        if (thinking)
            *thinking = Thinking{0, 0, {}, {}, {}, {}, true};
        return found;
    }
    if (s.ownFive >= 0)
        return certain(s.ownFive, {0, 1}, {});
    if (s.otherFive >= 0 && (!thinking || s.otherFives >= 2))
        return certain(s.otherFive, s.otherFives >= 2 ? Evaluation{0, -1} : Evaluation{}, {});
    // An open four of its own wins only when the other side has no five to make first.
    if (s.ownWin >= 0 && s.otherFive < 0)
        return certain(s.ownWin, {0, 2}, {});
    // A win by fours of its own, within a fifth of the time.
    {
        const auto saved = deadline_;
        deadline_ = std::min(saved, partOfTime(1));
        int32_t first = -1;
        const bool won = fours(player, FoursDepth, &first);
        std::vector<std::array<int32_t, 2>> line;
        const int32_t moves = won && thinking ? foursLine(player, line) : 0;
        deadline_ = saved;
        aborted_ = false;
        if (won)
            return certain(first, {0, std::max(moves, 2)}, line);
    }
    // A win by threes and fours, looked for within a tenth of the time: most
    // moves have none, and the search needs the rest.
    if (int32_t first = -1;
        hasThreats(player, ThreatNodes, timed_ ? start + limits.time / 10 : Clock::time_point::max(), &first))
        return certain(first, {ThreatWinScore, 0}, {});
    if (outOfTime()) {
        sortMoves(player, s.all, -1, 1);
        return answer(s.all.cells[0]);
    }

    MoveList moves = s.all;
    if (s.otherFive >= 0)
        moves.cells[0] = static_cast<int16_t>(s.otherFive), moves.count = 1;
    else if (s.otherWin)
        blocksOfOpenThree(player, s, moves);
    sortMoves(player, moves, -1, Side * Side);
    int32_t fallback = moves.cells[0];
    // The other side's win, were it to move: keep only the first `tried` of
    // the moves that leave it none, looking until two fifths of the time.
    const auto defenceUntil = partOfTime(2);
    const auto keepSafe = [&](int32_t tried, const auto& wins) {
        MoveList safe;
        safe.count = 0;
        for (int32_t i = 0; i < std::min(moves.count, tried) && Clock::now() < defenceUntil; ++i) {
            const int32_t cell = moves.cells[static_cast<size_t>(i)];
            board_.put(cell, player);
            const bool lost = wins();
            board_.put(cell, 0);
            if (!lost && Clock::now() < defenceUntil)
                safe.cells[static_cast<size_t>(safe.count++)] = static_cast<int16_t>(cell);
        }
        if (safe.count > 0)
            moves = safe, fallback = moves.cells[0];
    };
    if (hasFours(other, FoursDepth, defenceUntil))
        keepSafe(moves.count, [&] { return hasFours(other, FoursDepth, defenceUntil); });
    else if (hasThreats(other, ThreatNodes, defenceUntil)) // by threes and fours, each move with a part of the nodes
        keepSafe(RootWidth, [&] { return hasThreats(other, ThreatNodes / 4, defenceUntil); });
    if (moves.count > RootWidth)
        moves.count = RootWidth;
    found = Move{};
    answer(fallback);
    if (moves.count == 1 && !thinking)
        return found;

    // Other threads search the same moves, half of them a depth ahead, and
    // stop when this one does; what they find reaches it through the table.
    std::atomic<bool> helpersStop{false};
    std::vector<std::unique_ptr<Search>> helpers;
    std::vector<std::thread> helping;
    for (int32_t t = 1; t < threads_; ++t) {
        helpers.push_back(std::make_unique<Search>(*this));
        helpers.back()->begin(Limits{limits.time, MaxDepth, 0, &helpersStop}, start);
        helping.emplace_back(&Search::help, helpers.back().get(), player, moves, 1 + t % 2, std::min(limits.depth, MaxDepth) + 1);
    }
    const auto stopHelpers = [&] {
        helpersStop = true;
        for (std::thread& t : helping)
            t.join();
        helping.clear();
    };

    const size_t wanted = static_cast<size_t>(std::clamp(candidates, 1, moves.count));
    for (int32_t depth = 1; depth <= std::min(limits.depth, MaxDepth); ++depth) {
        // The exact values of the best `wanted` moves so far, best first.
        std::vector<std::pair<int32_t, int16_t>> top;
        int32_t alpha = -Win - 1, bestIndex = -1;
        for (int32_t k = 0; k < moves.count; ++k) {
            const int32_t cell = moves.cells[static_cast<size_t>(k)];
            const int32_t bar = top.size() < wanted ? -Win - 1 : top.back().first;
            const int32_t value = rootValue(player, cell, depth, bar, top.size() < wanted);
            if (aborted_)
                break;
            if (value > bar) {
                const auto at = std::find_if(top.begin(), top.end(), [value](const auto& t) { return t.first < value; });
                top.insert(at, {value, static_cast<int16_t>(cell)});
                if (top.size() > wanted)
                    top.pop_back();
            }
            if (value > alpha)
                alpha = value, bestIndex = k;
        }
        if (bestIndex >= 0 && (!aborted_ || bestIndex > 0)) {
            answer(moves.cells[static_cast<size_t>(bestIndex)]);
            found.depth = aborted_ ? depth - 1 : depth;
        }
        if (!aborted_) {
            // The best so far are searched first next time, in their order.
            MoveList next;
            next.count = 0;
            for (const auto& t : top)
                next.cells[static_cast<size_t>(next.count++)] = t.second;
            for (int32_t k = 0; k < moves.count; ++k)
                if (std::none_of(top.begin(), top.end(), [&](const auto& t) { return t.second == moves.cells[static_cast<size_t>(k)]; }))
                    next.cells[static_cast<size_t>(next.count++)] = moves.cells[static_cast<size_t>(k)];
            moves = next;
            if (thinking) {
                said.depth = depth;
                said.eval = evaluationOf(top.front().first);
                said.candidates.clear();
                for (const auto& [value, cell] : top)
                    said.candidates.push_back({ShapeBoard::xOf(cell), ShapeBoard::yOf(cell), evaluationOf(value), depth});
                said.line = lineFrom(player, top.front().second, depth + 2);
                said.nodes = nodes_ + fourNodes_;
                said.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
                if (report)
                    (*report)(said);
            }
        }
        if (aborted_)
            break;
        if (alpha > Won || alpha < -Won)
            break; // a win or a loss is certain
        if (timed_ && Clock::now() > partOfTime(2))
            break; // the next depth would not finish in time
    }
    stopHelpers();
    found.nodes = nodes_ + fourNodes_;
    for (const auto& h : helpers)
        found.nodes += h->nodes_ + h->fourNodes_;
    if (thinking) {
        answer(ShapeBoard::cellAt(found.x, found.y));
        thinking->nodes = found.nodes;
        thinking->elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    }
    return found;
}

} // namespace brindle::engine
