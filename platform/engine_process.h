#pragma once
// A Gomocup brain run as a child process, spoken to as a tournament manager
// does: START 20, the INFO lines, ABOUT, then BOARD ... DONE for every move
// asked. Every wait is bounded by a timer and nothing blocks: the answers and
// the failures come from the event loop. A brain that misbehaves (does not
// start, exits, answers late, answers something that is not a move) is
// reported once and asked nothing more.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include "game/ports.h"

namespace brindle {

class EngineProcess final : public QObject {
    Q_OBJECT
public:
    struct Options {
        // What the brain is told it has for a move, and how much later than
        // that its answer may come before it counts as late.
        int turnMilliseconds = 300;
        int lateMargin = 1000;
        // For START and ABOUT.
        int startMilliseconds = 5000;
        // The brain's folder for files of its own; none when empty.
        std::string folder;
    };
    using Moves = std::vector<std::array<int32_t, 2>>;

    EngineProcess(QString program, QStringList arguments, Options options);
    // Ends the brain: END, and a kill when it has not gone a second later.
    ~EngineProcess() override;

    // Starts the brain; `done` gets "" once it is ready, or what went wrong.
    void start(std::function<void(const std::string& failure)> done);
    // The brain's move for the side to move after `moves` ({row, column},
    // red first), as an Answer: a cell, or a failure.
    void askMove(const Moves& moves, std::function<void(const Answer&)> answer);
    // The question under way is no longer wanted: its answer is read and
    // dropped, and the next question waits for it.
    void forget();

    // The name from its ABOUT line, else its file's name.
    std::string name() const { return name_; }
    bool broken() const { return broken_; }
    // The slowest answer so far, in milliseconds.
    int64_t slowestMilliseconds() const { return slowest_; }

private:
    enum class Stage { Idle, Starting, About, Ready };
    void readLines();
    void line(const std::string& text);
    void send(const std::string& text);
    void sendQuestion();
    void fail(const std::string& what);

    // Its own object, so that it can outlive this one by the second it is given to end.
    QProcess* process_;
    QTimer timer_;
    Options options_;
    QString program_;
    QStringList arguments_;
    Stage stage_ = Stage::Idle;
    std::string name_;
    std::string partial_;
    bool broken_ = false;
    std::function<void(const std::string&)> started_;
    // The question waiting to be sent, and the one the brain is answering.
    Moves queued_;
    bool haveQueued_ = false;
    bool answering_ = false;
    // The question the brain is answering was forgotten: its answer is dropped.
    bool answeringForgotten_ = false;
    std::function<void(const Answer&)> answer_;
    int64_t askedAt_ = 0;
    int64_t slowest_ = 0;
};

} // namespace brindle
