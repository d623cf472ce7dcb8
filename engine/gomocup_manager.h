#pragma once
// The manager's side of the Gomocup protocol, as the window and brindle-match
// speak it to a brain: START 20, the INFO lines, ABOUT, then BOARD ... DONE
// with the whole position for every move asked. It judges each line the
// brain says: a move, a cell off the board or already taken, something that
// is not a move, an error, or nothing in time. Text in, text out: the caller
// moves the bytes, keeps the clock and calls timeUp() at deadline().
//
// A brain that misbehaves is failed once, with a sentence for the player,
// and asked nothing more.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_reader.h"
#include "game/ports.h"

namespace brindle::engine {

class BrainManager {
public:
    struct Options {
        // What the brain is told it has for a move, and how much later than
        // that its answer may come before it counts as late.
        int32_t turnMilliseconds = 300;
        int32_t lateMargin = 1000;
        // For START and ABOUT.
        int32_t startMilliseconds = 5000;
        // The brain's folder for files of its own; none when empty.
        std::string folder;
        // The threads it may think with.
        int32_t threads = 1;
    };
    // {row, column}, red first.
    using Moves = std::vector<std::array<int32_t, 2>>;

    // What came of a call: the lines to send the brain, and whether it is
    // now ready, has answered the question asked, or has failed.
    struct Step {
        std::vector<std::string> send;
        bool ready = false;
        std::optional<Answer> answer;
        std::string failure; // for the player, when not empty: "answered late: ..."
    };

    // `name` is the brain's until its ABOUT line gives a better one.
    BrainManager(Options options, std::string name);

    // The brain has started, at `now` (milliseconds on any clock that only
    // moves forward, the same for every call).
    Step start(int64_t now);
    // Bytes from the brain.
    Step received(std::string_view bytes, int64_t now);
    // The move for the side to move after `moves`. Asked while the brain
    // still answers another question, it is sent once that answer is in.
    Step ask(const Moves& moves, int64_t now);
    // The question under way is no longer wanted: its answer is read and
    // dropped, and a question asked later waits for it.
    void forget();
    // The brain has ended, or never started: `what` says which, to the player.
    Step ended(const std::string& what);
    // When the wait under way ends, if one runs; timeUp() at that time fails
    // the brain unless its answer has come.
    std::optional<int64_t> deadline() const;
    Step timeUp(int64_t now);

    // The name from its ABOUT line, else the one it was given.
    const std::string& name() const { return name_; }
    bool broken() const { return broken_; }
    // The slowest answer so far, in milliseconds.
    int64_t slowestMilliseconds() const { return slowest_; }

private:
    enum class Stage { Idle, Starting, About, Ready };
    void line(const LineReader::Line& line, int64_t now, Step& step);
    void answer(const std::string& text, int64_t now, Step& step);
    void sendQuestion(int64_t now, Step& step);
    void fail(const std::string& what, Step& step);

    Options options_;
    std::string name_;
    LineReader reader_;
    Stage stage_ = Stage::Idle;
    bool broken_ = false;
    int64_t startedAt_ = 0;
    // The question waiting to be sent, and the one the brain is answering.
    std::optional<Moves> queued_;
    std::optional<Moves> answering_;
    // The question the brain is answering was forgotten: its answer is dropped.
    bool answeringForgotten_ = false;
    int64_t askedAt_ = 0;
    int64_t slowest_ = 0;
};

} // namespace brindle::engine
