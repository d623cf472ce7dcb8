#pragma once
// The Master level: a player that looks ahead, over the board and line
// shapes of engine/shape_board.h. A turn first looks for a win by continuous
// fours for itself, then for the other side's, keeping only the moves that
// break it, and then searches the best cells with iterative deepening
// principal-variation alpha-beta over a transposition table, until its time,
// its depth or its nodes are spent. Standard C++; the board is its own, fed
// one stone at a time.

#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/analysis.h"
#include "engine/shape_board.h"

namespace brindle::engine {

// What the search remembers of the positions it has seen, shared by the
// threads of one search. Each entry is two words, the key stored xor'ed with
// the rest, so that two threads writing one entry at once leave one that
// reads as no entry rather than as another position's.
class SearchTable {
public:
    struct Entry {
        int32_t value = 0;
        int16_t move = -1;
        int8_t depth = 0;
        uint8_t bound = 0; // 1 at least, 2 at most, 3 exact
    };
    // 2^bits entries, all empty.
    explicit SearchTable(int32_t bits);
    bool find(uint64_t key, Entry& entry) const;
    void store(uint64_t key, const Entry& entry);
    int64_t bytes() const { return bytesFor(static_cast<int32_t>(std::countr_zero(mask_ + 1))); }
    // What a table of 2^bits entries holds.
    static constexpr int64_t bytesFor(int32_t bits) { return (int64_t{1} << bits) * 16; }

private:
    struct Slot {
        std::atomic<uint64_t> check{0}, data{0};
    };
    static_assert(sizeof(Slot) == 16);
    std::unique_ptr<Slot[]> slots_;
    uint64_t mask_ = 0;
};

class Search {
public:
    static constexpr int32_t Side = ShapeBoard::Side;
    static constexpr int32_t MaxDepth = 30;
    // Transposition-table entries (each 16 bytes), made on the first search.
    static constexpr int32_t TableBits = 20;
    // The least the search holds however little memory it is given.
    static constexpr int32_t MinTableBits = 10;

    struct Move {
        int32_t x = -1;
        int32_t y = -1;
        int32_t depth = 0; // the deepest search that finished
        int64_t nodes = 0;
    };
    // What bounds a search. A search bounded by depth or nodes alone says the
    // same on any machine: the tests and the bench use one.
    struct Limits {
        std::chrono::milliseconds time{0}; // none when zero
        int32_t depth = MaxDepth;          // the deepest iteration
        int64_t nodes = 0;                 // stops once this many are searched; none when zero
        const std::atomic<bool>* stop = nullptr; // stops early once it turns true
    };

    // An empty board of size × size (at most 20).
    void reset(int32_t size) { board_.reset(size); }
    // Holds at most `bytes` in its tables from the next search on (0: its
    // own default, 16 MB and 0.5 MB a thread), but never less than a 16 KB
    // table; what it remembered is forgotten when the size changes.
    void limitMemory(int64_t bytes);
    // The bytes its tables hold now.
    int64_t memory() const;
    // Searches with this many threads from the next search on (1 to
    // MaxThreads), all over one table; only the first reports or decides.
    void setThreads(int32_t threads);
    int32_t threads() const { return threads_; }
    static constexpr int32_t MaxThreads = 16;
    // player 1 or 2; 0 takes a stone back. Cells off the board are ignored.
    void set(int32_t x, int32_t y, int32_t player) { board_.set(x, y, player); }
    int32_t at(int32_t x, int32_t y) const { return board_.at(x, y); }
    const ShapeBoard& board() const { return board_; }

    // The move for `player` within the limits. Always a free cell while one
    // is left; x < 0 on a full board.
    Move best(int32_t player, const Limits& limits);
    Move best(int32_t player, std::chrono::milliseconds budget, const std::atomic<bool>* stop = nullptr)
    {
        return best(player, Limits{budget, MaxDepth, 0, stop});
    }

    // The same search, saying what it thinks: its value, its best line and
    // the `candidates` best moves, each searched to its exact value (more
    // candidates cost more nodes). `report`, when given, hears it after every
    // depth that finishes; the result is the last word, and its first
    // candidate is the move that best() would play.
    Thinking analyse(int32_t player, const Limits& limits, int32_t candidates,
                     const std::function<void(const Thinking&)>& report = {});

    // A win by continuous fours for `player` to move, searched at most
    // `depth` fours deep (and within `budget` when it is not zero): its first
    // four, or x < 0.
    Move winByFours(int32_t player, int32_t depth, std::chrono::milliseconds budget = {});
    // A win by threats for `player` to move: fours and open threes, every
    // three answered by each block and each four of the other side's, at
    // most `threats` threes and fours deep and `nodes` positions: its first
    // threat, or x < 0.
    Move winByThreats(int32_t player, int32_t threats, int64_t nodes);

private:
    using Entry = SearchTable::Entry;
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
    using Clock = std::chrono::steady_clock;

    void scan(int32_t player, Scan& s) const;
    int32_t order(int32_t player, int32_t cell) const;
    void sortMoves(int32_t player, MoveList& moves, int32_t first, int32_t keep) const;
    // The moves that answer the other side's open three: its fours' cells and our own fours.
    void blocksOfOpenThree(int32_t player, const Scan& s, MoveList& moves) const;
    int32_t negamax(int32_t player, int32_t depth, int32_t alpha, int32_t beta, int32_t ply);
    bool fours(int32_t attacker, int32_t depth, int32_t* first);
    // Plays each of `attacker`'s `moves` in turn until `holds(cell)` says it
    // wins, that cell into `first`. When every one was tried in time and none
    // wins, the position is remembered as failed: `key` into `failed`.
    template <typename Holds>
    bool firstThatWins(int32_t attacker, const MoveList& moves, uint64_t& failed, uint64_t key, int32_t* first, Holds holds);
    // The one cell that answers `attacker`'s four just played on `four`:
    // where it would make five; -1 when there is none.
    int32_t answerTo(int32_t attacker, int32_t four) const;
    bool hasFours(int32_t attacker, int32_t depth, Clock::time_point until);
    // The threat search: `attacker` to move, and the other side to answer
    // `attacker`'s last threat.
    bool threats(int32_t attacker, int32_t depth, int32_t* first);
    bool threatsHold(int32_t attacker, int32_t depth);
    // Whether `attacker` wins by threats within `nodes` positions and by
    // `until`, its first threat into `first`; a search cut short finds nothing.
    bool hasThreats(int32_t attacker, int64_t nodes, Clock::time_point until, int32_t* first = nullptr);
    bool outOfTime();
    // best() and analyse(): `thinking` is filled when not null.
    Move think(int32_t player, const Limits& limits, int32_t candidates, Thinking* thinking,
               const std::function<void(const Thinking&)>* report);
    // The expected moves from `first` on, as the table remembers them.
    std::vector<std::array<int32_t, 2>> lineFrom(int32_t player, int32_t first, int32_t plies);
    // The fours of a win by fours for `player`, each with its answer, into
    // `line`; returns the winner's moves to five, 0 when none is found.
    int32_t foursLine(int32_t player, std::vector<std::array<int32_t, 2>>& line);
    // Sets the limits of the search to come; the tables are made on first use.
    void begin(const Limits& limits, Clock::time_point start);
    // Another thread's share of a search: deepening over the root's `moves`
    // from `firstDepth`, until `stop` turns true, writing to the shared table.
    void help(int32_t player, MoveList moves, int32_t firstDepth, int32_t lastDepth);
    int32_t rootValue(int32_t player, int32_t cell, int32_t depth, int32_t bar, bool exact);

    ShapeBoard board_;
    int32_t tableBits_ = TableBits;
    int32_t threads_ = 1;
    int64_t memoryLimit_ = 0;
    std::shared_ptr<SearchTable> table_;
    std::vector<uint64_t> failed_; // positions where a win by fours was not found
    Clock::time_point deadline_;
    bool timed_ = false;
    int64_t nodeLimit_ = 0;
    const std::atomic<bool>* stop_ = nullptr;
    bool aborted_ = false;
    int64_t nodes_ = 0;
    int64_t fourNodes_ = 0;
};

} // namespace brindle::engine
