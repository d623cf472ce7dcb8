#pragma once
// A Gomocup brain run as a child process: this class starts it, feeds it
// what engine/gomocup_manager says and ends it; the manager decides what to
// say and what the brain's answers mean. Every wait is bounded by a timer
// and nothing blocks: answers and failures come from the event loop.

#include <functional>
#include <list>
#include <memory>
#include <string>

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include "engine/gomocup_manager.h"
#include "game/ports.h"

namespace brindle {

// Ends brains as a tournament manager does: END, a second to go, then a kill.
// The window and brindle-match each own one, and it outlives their brains:
// as it goes, it waits for whatever is still ending, so no process object is
// ever destroyed while its process runs.
class BrainEnder final : public QObject {
    Q_OBJECT
public:
    static constexpr int GraceMilliseconds = 1000;
    ~BrainEnder() override;
    // Takes the process over and ends it; the caller goes on at once.
    void end(std::unique_ptr<QProcess> process);
    // Processes still ending.
    int ending() const { return static_cast<int>(ending_.size()); }

private:
    std::list<std::unique_ptr<QProcess>> ending_;
};

class EngineProcess final : public QObject {
    Q_OBJECT
public:
    using Options = engine::BrainManager::Options;
    using Moves = engine::BrainManager::Moves;

    // `ender` ends the brain when this object goes, and must outlive it.
    EngineProcess(QString program, QStringList arguments, Options options, BrainEnder& ender);
    ~EngineProcess() override;

    // Another, not yet started, of the same program with the same options.
    std::unique_ptr<EngineProcess> twin() const;
    // Starts the brain; `done` gets "" once it is ready, or what went wrong.
    void start(std::function<void(const std::string& failure)> done);
    // The brain's move for the side to move after `moves` ({row, column},
    // red first), as an Answer: a cell, or a failure.
    void askMove(const Moves& moves, std::function<void(const Answer&)> answer);
    // The question under way is no longer wanted: its answer is read and
    // dropped, and the next question waits for it.
    void forget();

    // The name from its ABOUT line, else its file's name.
    std::string name() const { return manager_.name(); }
    bool broken() const { return manager_.broken(); }
    // The slowest answer so far, in milliseconds.
    int64_t slowestMilliseconds() const { return manager_.slowestMilliseconds(); }

private:
    void act(const engine::BrainManager::Step& step);

    engine::BrainManager manager_;
    Options options_;
    std::unique_ptr<QProcess> process_;
    BrainEnder& ender_;
    QTimer timer_;
    QString program_;
    QStringList arguments_;
    std::function<void(const std::string&)> started_;
    std::function<void(const Answer&)> answer_;
};

} // namespace brindle
