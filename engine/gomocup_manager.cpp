#include "engine/gomocup_manager.h"

#include <algorithm>
#include <utility>

#include "game/record.h"

namespace brindle::engine {

namespace {

// What the brain said, fit to be shown: printable, at most 60 characters.
std::string shown(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (out.size() >= 60) {
            out += "...";
            break;
        }
        const auto u = static_cast<unsigned char>(c);
        out += u >= 32 && u < 127 ? c : '?';
    }
    return out;
}

// "x,y", each of at most three digits; nothing otherwise.
std::optional<std::array<int32_t, 2>> parseCell(std::string_view text)
{
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.size() > 7)
        return std::nullopt;
    std::array<int32_t, 2> value{};
    const std::string_view parts[2] = {text.substr(0, comma), text.substr(comma + 1)};
    for (size_t i = 0; i < 2; ++i) {
        if (parts[i].empty() || parts[i].size() > 3)
            return std::nullopt;
        for (const char c : parts[i]) {
            if (c < '0' || c > '9')
                return std::nullopt;
            value[i] = value[i] * 10 + (c - '0');
        }
    }
    return value;
}

} // namespace

BrainManager::BrainManager(Options options, std::string name) : options_(std::move(options)), name_(std::move(name)) {}

BrainManager::Step BrainManager::start(int64_t now)
{
    Step step;
    if (broken_)
        return step;
    stage_ = Stage::Starting;
    startedAt_ = now;
    step.send = {"START 20"};
    return step;
}

BrainManager::Step BrainManager::received(std::string_view bytes, int64_t now)
{
    Step step;
    for (const LineReader::Line& l : reader_.feed(bytes)) {
        if (broken_)
            return step;
        line(l, now, step);
    }
    if (reader_.overlong() && !broken_)
        fail("answered a line of over " + std::to_string(LineReader::MaxLine) + " characters.", step);
    return step;
}

void BrainManager::line(const LineReader::Line& l, int64_t now, Step& step)
{
    if (l.tooLong)
        return fail("answered a line of over " + std::to_string(LineReader::MaxLine) + " characters.", step);
    const std::string_view text = trim(l.text);
    const std::string_view word = text.substr(0, text.find(' '));
    if (word == "MESSAGE" || word == "DEBUG" || text.empty())
        return;
    if (word == "ERROR")
        return fail("reported an error: " + shown(text.substr(std::min(text.size(), size_t{6}))), step);
    switch (stage_) {
    case Stage::Idle:
        return;
    case Stage::Starting:
        if (text != "OK")
            return fail("did not accept a 20 x 20 board: \"" + shown(text) + "\"", step);
        step.send.push_back("INFO timeout_turn " + std::to_string(options_.turnMilliseconds));
        step.send.push_back("INFO timeout_match 0");
        step.send.push_back("INFO max_memory 0");
        step.send.push_back("INFO thread_num " + std::to_string(options_.threads));
        step.send.push_back("INFO game_type 1");
        step.send.push_back("INFO rule 0");
        if (!options_.folder.empty())
            step.send.push_back("INFO folder " + options_.folder);
        step.send.push_back("ABOUT");
        stage_ = Stage::About;
        return;
    case Stage::About: {
        // name="Brindle", version="1.4.0", ...: any other line is a brain's own ABOUT.
        if (const size_t key = text.find("name=\""); key != std::string_view::npos) {
            const std::string_view rest = text.substr(key + 6);
            if (const std::string name = shown(rest.substr(0, rest.find('"'))); !name.empty())
                name_ = name;
        }
        stage_ = Stage::Ready;
        step.ready = true;
        if (queued_)
            sendQuestion(now, step);
        return;
    }
    case Stage::Ready:
        return answer(std::string(text), now, step);
    }
}

void BrainManager::answer(const std::string& text, int64_t now, Step& step)
{
    const auto cell = parseCell(text);
    if (!answering_ || !cell)
        return fail("answered something that is not a move: \"" + shown(text) + "\"", step);
    const Moves position = std::move(*answering_);
    answering_.reset();
    slowest_ = std::max(slowest_, now - askedAt_);
    const int32_t row = (*cell)[1], col = (*cell)[0];
    const std::string where = " (" + record::cellName(row, col) + ").";
    if (!onBoard(row, col))
        return fail("played off the board" + where, step);
    if (std::find(position.begin(), position.end(), std::array<int32_t, 2>{row, col}) != position.end())
        return fail("played on a taken cell" + where, step);
    if (!std::exchange(answeringForgotten_, false)) {
        Answer a;
        a.row = row;
        a.col = col;
        step.answer = a;
    }
    if (queued_)
        sendQuestion(now, step);
}

BrainManager::Step BrainManager::ask(const Moves& moves, int64_t now)
{
    Step step;
    if (broken_) {
        step.failure = "stopped working earlier.";
        return step;
    }
    queued_ = moves;
    // A question asked while the brain still answers one is a new question:
    // that answer is not for it.
    answeringForgotten_ = answering_.has_value();
    if (!answering_ && stage_ == Stage::Ready)
        sendQuestion(now, step);
    return step;
}

void BrainManager::sendQuestion(int64_t now, Step& step)
{
    answering_ = std::move(queued_);
    queued_.reset();
    // The whole position every time: the brain's own stones are 1, the
    // other side's 2, in the order they were played.
    const Moves& moves = *answering_;
    const size_t own = moves.size() % 2;
    step.send.push_back("BOARD");
    for (size_t i = 0; i < moves.size(); ++i)
        step.send.push_back(std::to_string(moves[i][1]) + "," + std::to_string(moves[i][0]) + "," +
                            (i % 2 == own ? "1" : "2"));
    step.send.push_back("DONE");
    askedAt_ = now;
}

void BrainManager::forget()
{
    queued_.reset();
    answeringForgotten_ = answering_.has_value();
}

BrainManager::Step BrainManager::ended(const std::string& what)
{
    Step step;
    fail(what, step);
    return step;
}

std::optional<int64_t> BrainManager::deadline() const
{
    if (broken_)
        return std::nullopt;
    if (stage_ == Stage::Starting || stage_ == Stage::About)
        return startedAt_ + options_.startMilliseconds;
    if (answering_)
        return askedAt_ + options_.turnMilliseconds + options_.lateMargin;
    return std::nullopt;
}

BrainManager::Step BrainManager::timeUp(int64_t now)
{
    Step step;
    const std::optional<int64_t> end = deadline();
    if (!end || now < *end)
        return step;
    if (stage_ != Stage::Ready)
        fail("did not answer START within " + std::to_string(options_.startMilliseconds / 1000) + " s.", step);
    else
        fail("answered late: no move within " + std::to_string(options_.turnMilliseconds + options_.lateMargin) + " ms.",
             step);
    return step;
}

void BrainManager::fail(const std::string& what, Step& step)
{
    if (broken_)
        return;
    broken_ = true;
    step.failure = what;
    step.answer.reset();
    step.ready = false;
}

} // namespace brindle::engine
