#include "platform/thinkers.h"

#include <chrono>
#include <random>

#include <QMetaObject>

#include "platform/analyst.h"
#include "platform/engine_process.h"
#include "engine/search.h"
#include "engine/strength.h"

namespace brindle {

namespace {

// Master stops searching this long before its time is up, so that the answer
// reaches the game within its time.
constexpr int HandOverMilliseconds = 10;

} // namespace

WindowThinker::WindowThinker(std::function<int()> masterMs, QObject* parent)
    : QObject(parent), masterMs_(std::move(masterMs))
{
}

WindowThinker::~WindowThinker()
{
    cancel();
    joinWorker();
}

void WindowThinker::joinWorker()
{
    stop_ = true;
    if (worker_.joinable())
        worker_.join();
    stop_ = false;
}

void WindowThinker::ask(const Question& question, std::function<void(const Answer&)> asker)
{
    cancel();
    answer_ = std::move(asker);
    if (!question.otherEngine)
        return askMaster(question);
    const unsigned generation = generation_;
    if (!engine_) {
        Answer a;
        a.failure = "is not chosen.";
        QMetaObject::invokeMethod(this, [this, generation, a] { answer(generation, a); }, Qt::QueuedConnection);
        return;
    }
    if (question.hint)
        return askForHint(question);
    engine_->askMove(question.moves, [this, generation](const Answer& a) { answer(generation, a); });
}

void WindowThinker::askForHint(const Question& question)
{
    hintMoves_ = question.moves;
    hintGeneration_ = generation_;
    if (hintEngineReady_)
        return askHintEngine();
    if (hintEngine_)
        return; // still starting: it asks once it is ready
    hintEngine_ = engine_->twin();
    hintEngine_->start([this](const std::string& failure) {
        if (failure.empty()) {
            hintEngineReady_ = true;
            return askHintEngine();
        }
        // The next hint tries a fresh copy.
        hintEngine_.release()->deleteLater();
        Answer a;
        a.failure = failure;
        answer(hintGeneration_, a);
    });
}

void WindowThinker::askHintEngine()
{
    hintEngine_->askMove(hintMoves_, [this, generation = hintGeneration_](const Answer& a) { answer(generation, a); });
}

void WindowThinker::askMaster(const Question& question)
{
    // One search at a time: the last one was told to stop when it was
    // forgotten, and stops within a few milliseconds.
    joinWorker();
    const unsigned generation = generation_;
    const int budget = std::max(masterMs_() - HandOverMilliseconds, 5);
    // Made at the first question, not with the window: its tables take a while.
    if (!search_) {
        search_ = std::make_unique<engine::Search>();
        // The cores the window does not need while the computer thinks.
        search_->setThreads(static_cast<int>(std::max(2u, std::thread::hardware_concurrency())) - 1);
    }
    // A step of strength chooses with a number of its own each move.
    const double uniform = std::uniform_real_distribution<double>(0.0, 1.0)(random_);
    worker_ = std::thread([this, generation, budget, moves = question.moves, hint = question.hint,
                           strength = question.strength, uniform] {
        engine::Search& search = *search_;
        Analyst::setUp(search, moves, moves.size());
        const int mover = moves.size() % 2 == 0 ? 1 : 2;
        Answer a;
        if (hint) {
            // The same search, asked what it thinks, says when a win is certain.
            const engine::Thinking t = search.analyse(mover, {std::chrono::milliseconds(budget), engine::Search::MaxDepth, 0, &stop_}, 1);
            if (!t.candidates.empty())
                a.row = t.candidates.front().y, a.col = t.candidates.front().x;
            if (t.eval.winIn != 0)
                a.verdict = engine::verdict(t.eval, mover == 1);
        } else if (strength > 0) {
            const engine::Candidate c =
                engine::playAtStrength(search, mover, strength, std::chrono::milliseconds(budget), &stop_, uniform);
            a.row = c.y;
            a.col = c.x;
        } else {
            const engine::Search::Move m = search.best(mover, std::chrono::milliseconds(budget), &stop_);
            a.row = m.y;
            a.col = m.x;
        }
        // The thread is joined before this object goes, and a queued call
        // to an object that has gone is dropped.
        QMetaObject::invokeMethod(this, [this, generation, a] { answer(generation, a); }, Qt::QueuedConnection);
    });
}

void WindowThinker::answer(unsigned generation, const Answer& a)
{
    if (generation != generation_ || !answer_)
        return;
    deliver([asker = std::exchange(answer_, nullptr), a] { asker(a); });
}

void WindowThinker::cancel()
{
    ++generation_;
    answer_ = nullptr;
    stop_ = true;
    if (engine_)
        engine_->forget();
    if (hintEngineReady_)
        hintEngine_->forget();
}

std::string WindowThinker::name(bool otherEngine) const
{
    if (!otherEngine)
        return "Master";
    return engine_ ? engine_->name() : "(none)";
}

void WindowThinker::setEngine(std::unique_ptr<EngineProcess> engine)
{
    cancel();
    // The old one may be the caller: it goes once its call has returned.
    if (engine_)
        engine_.release()->deleteLater();
    engine_ = std::move(engine);
    if (hintEngine_)
        hintEngine_.release()->deleteLater();
    hintEngineReady_ = false;
}

} // namespace brindle
