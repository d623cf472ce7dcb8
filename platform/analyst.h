#pragma once
// Master thinking beside the game on a worker thread of its own: the live
// analysis of the position on the board, and the review of a whole game.
// What it thinks reaches the window's thread through the event loop, and
// anything it was asked before the last question is dropped on arrival.

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <QObject>

#include "engine/analysis.h"

namespace brindle {

namespace engine {
class Search;
}

class Analyst final : public QObject {
    Q_OBJECT
public:
    // {row, column} in the order played, red first.
    using Moves = std::vector<std::array<int32_t, 2>>;
    // How long the analysis of one position goes on before it rests.
    static constexpr std::chrono::seconds Cap{60};

    explicit Analyst(QObject* parent = nullptr);
    ~Analyst() override;

    // Thinks about the position after `moves` until it has finished, the
    // cap or stop(): `heard` gets each depth as it finishes, and the end
    // (finished set) once no more will come.
    void think(const Moves& moves, int candidates, std::function<void(const engine::Thinking&)> heard,
               std::chrono::milliseconds cap = Cap);
    // Thinks `budget` about each position of the game, the empty board
    // first: `progress` hears how many are done, `done` gets them all.
    void review(const Moves& moves, std::chrono::milliseconds budget, std::function<void(int done, int total)> progress,
                std::function<void(const std::vector<engine::Thinking>&)> done);
    // Forgets the question under way; its thread ends within milliseconds.
    void stop();
    // A question is under way and has not ended.
    bool busy() const { return busy_; }
    // Puts the first `count` of `moves` on an empty board of the search's,
    // red first, for Master's own move as for the analysis.
    static void setUp(engine::Search& search, const Moves& moves, size_t count);

private:
    // Runs `job` on the worker, after the last one has ended.
    void start(std::function<void(unsigned generation)> job);
    // `f` on the window's thread, unless the question has changed meanwhile.
    void post(unsigned generation, std::function<void()> f);

    std::thread worker_;
    std::atomic<bool> stop_{false};
    unsigned generation_ = 0;
    bool busy_ = false;
    // Made at the first question; only the worker touches it.
    std::unique_ptr<engine::Search> search_;
};

} // namespace brindle
