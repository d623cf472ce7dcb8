#pragma once
// Brindle's computer as a Gomocup brain: the manager's command lines in, the
// brain's answers out. Standard C++; pbrain-brindle only moves bytes between
// this and its standard streams.
//
// Coordinates on the wire are "x,y" from 0: x the column, y the row. The
// brain's stones are X on its board, the manager's other player's are O.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_reader.h"
#include "engine/search.h"
#include "game/computer_player.h"
#include "game/levels.h"
#include "game/random.h"

namespace brindle::engine {

class Brain {
public:
    static constexpr int32_t MinSize = 5;
    // Master's time for a move until the manager gives one.
    static constexpr int32_t MasterMilliseconds = 300;
    static constexpr int32_t MaxSize = BoardSize;

    // ABOUT names `version`, the program's own.
    Brain(const Level& level, uint64_t seed, std::string version);
    Brain(const Brain&) = delete;
    Brain& operator=(const Brain&) = delete;

    // One line from the manager; the lines to answer, none for INFO, for the
    // rows of a BOARD and for an empty line.
    std::vector<std::string> command(const LineReader::Line& line);
    std::vector<std::string> command(std::string_view text) { return command(LineReader::Line{std::string(text)}); }
    bool ended() const { return ended_; }
    // Master's search stops early once `flag` turns true: the manager has
    // said END, or has gone.
    void stopWhen(const std::atomic<bool>* flag) { stop_ = flag; }
    // Where Master's thinking goes while it thinks, as MESSAGE lines: its
    // depth, value and best line, the first at once and then at most four a
    // second, so that a manager that shows them shows it thinking.
    void sayWhileThinking(std::function<void(const std::string&)> say) { say_ = std::move(say); }
    // What the brain sees: X its own stone, O the other's, Empty, or
    // WipeBar outside a board smaller than 20.
    char at(int32_t x, int32_t y) const { return board_[static_cast<size_t>(y)][static_cast<size_t>(x)]; }
    int32_t size() const { return size_; }
    // Master's time for its next move: within the turn's time and an eighth
    // of what is left of the match, with room for the answer to travel.
    int64_t turnMilliseconds() const;
    // The bytes Master's search holds, within INFO max_memory.
    int64_t searchMemory() const { return search_.memory(); }

private:
    std::vector<std::string> newBoard(int32_t size);
    std::vector<std::string> reply();
    void place(int32_t x, int32_t y, char mark);
    // "x,y" or "x,y,field" on the board; the reason why not otherwise.
    std::optional<std::string> readCell(std::string_view text, int32_t& x, int32_t& y, int32_t* field = nullptr) const;

    const Level& level_;
    std::string about_;
    ComputerPlayer::Cells board_{};
    ClockRandom random_;
    ComputerPlayer player_;
    Search search_;
    int32_t timeoutTurn_ = 0; // ms, from INFO; 0 until told
    int64_t timeLeft_ = 0;
    int32_t size_ = 0; // 0 until START
    int32_t stones_ = 0;
    int32_t rule_ = 0;
    bool inBoard_ = false;
    bool ended_ = false;
    const std::atomic<bool>* stop_ = nullptr;
    std::function<void(const std::string&)> say_;
};

// Master's thinking as a brain's MESSAGE line.
std::string thinkingMessage(const Thinking& thinking);

} // namespace brindle::engine
