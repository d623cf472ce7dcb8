#include "platform/analyst.h"

#include <QMetaObject>

#include "engine/search.h"

namespace brindle {

Analyst::Analyst(QObject* parent) : QObject(parent) {}

Analyst::~Analyst()
{
    stop();
}

void Analyst::stop()
{
    ++generation_;
    busy_ = false;
    stop_ = true;
    if (worker_.joinable())
        worker_.join();
    stop_ = false;
}

void Analyst::start(std::function<void(unsigned)> job)
{
    stop();
    if (!search_)
        search_ = std::make_unique<engine::Search>();
    busy_ = true;
    worker_ = std::thread([job = std::move(job), generation = generation_] { job(generation); });
}

void Analyst::post(unsigned generation, std::function<void()> f)
{
    // The worker is joined before this object goes, and a queued call to an
    // object that has gone is dropped.
    QMetaObject::invokeMethod(
        this, [this, generation, f = std::move(f)] {
            if (generation == generation_)
                f();
        },
        Qt::QueuedConnection);
}

void Analyst::setUp(engine::Search& search, const Moves& moves, size_t count)
{
    search.reset(engine::Search::Side);
    for (size_t i = 0; i < count && i < moves.size(); ++i)
        search.set(moves[i][1], moves[i][0], i % 2 == 0 ? 1 : 2);
}

void Analyst::think(const Moves& moves, int candidates, std::function<void(const engine::Thinking&)> heard,
                    std::chrono::milliseconds cap)
{
    start([this, moves, candidates, heard = std::move(heard), cap](unsigned generation) {
        setUp(*search_, moves, moves.size());
        const int32_t mover = moves.size() % 2 == 0 ? 1 : 2;
        const engine::Search::Limits limits{cap, engine::Search::MaxDepth, 0, &stop_};
        // Only stop() cuts it short, and what it posts then is dropped: the
        // last word that arrives has finished.
        const engine::Thinking last = search_->analyse(mover, limits, candidates, [&](const engine::Thinking& t) {
            post(generation, [heard, t] { heard(t); });
        });
        post(generation, [this, heard, last] {
            busy_ = false;
            heard(last);
        });
    });
}

void Analyst::review(const Moves& moves, std::chrono::milliseconds budget, std::function<void(int, int)> progress,
                     std::function<void(const std::vector<engine::Thinking>&)> done)
{
    start([this, moves, budget, progress = std::move(progress), done = std::move(done)](unsigned generation) {
        std::vector<engine::Thinking> found;
        const int total = static_cast<int>(moves.size()) + 1;
        for (size_t n = 0; n <= moves.size() && !stop_; ++n) {
            setUp(*search_, moves, n);
            found.push_back(search_->analyse(n % 2 == 0 ? 1 : 2, {budget, engine::Search::MaxDepth, 0, &stop_}, 1));
            post(generation, [progress, n, total] { progress(static_cast<int>(n) + 1, total); });
        }
        if (stop_)
            return;
        post(generation, [this, done, found] {
            busy_ = false;
            done(found);
        });
    });
}

} // namespace brindle
