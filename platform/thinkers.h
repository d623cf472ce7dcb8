#pragma once
// The window's thinkers: Master searches on a worker thread of its own, and
// "Other engine" is a Gomocup brain run as a child process. Both answer on
// the window's thread, through its event loop.

#include <atomic>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include <QObject>

#include "platform/engine_process.h"
#include "engine/search.h"
#include "game/ports.h"

namespace brindle {



class WindowThinker final : public QObject, public Thinker {
    Q_OBJECT
public:
    // `masterMs` is Master's time for a move, read afresh for every question.
    explicit WindowThinker(std::function<int()> masterMs, QObject* parent = nullptr);
    ~WindowThinker() override;

    void ask(const Question& question, std::function<void(const Answer&)> answer) override;
    void cancel() override;
    std::string name(bool otherEngine) const override;

    // The other engine that answers from now on; the old one is ended.
    void setEngine(std::unique_ptr<EngineProcess> engine);
    EngineProcess* engine() const { return engine_.get(); }

    // How an answer reaches the game: the window passes it through its one
    // way in, so that what the answer changed is shown.
    std::function<void(std::function<void()>)> deliver = [](const std::function<void()>& f) { f(); };

private:
    void askMaster(const Question& question);
    // A hint from the other program comes from a second copy of it, started
    // at the first hint, so that the one that plays keeps its own game.
    void askForHint(const Question& question);
    void askHintEngine();
    void joinWorker();
    // Hands `a` to the question's asker when `generation` is still the question.
    void answer(unsigned generation, const Answer& a);

    std::function<int()> masterMs_;
    std::function<void(const Answer&)> answer_;
    // Counts the questions, so that an answer to a forgotten one is known.
    unsigned generation_ = 0;
    std::thread worker_;
    // Master's board and tables, kept from move to move; only the worker
    // touches it, and one worker runs at a time.
    std::unique_ptr<engine::Search> search_;
    std::mt19937_64 random_{std::random_device{}()};
    std::atomic<bool> stop_{false};
    std::unique_ptr<EngineProcess> engine_;
    std::unique_ptr<EngineProcess> hintEngine_;
    bool hintEngineReady_ = false;
    std::vector<std::array<int32_t, 2>> hintMoves_;
    unsigned hintGeneration_ = 0;
};

} // namespace brindle
