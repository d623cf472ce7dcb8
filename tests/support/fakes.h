#pragma once
// Recording stand-ins for the world outside the core, and a fixture that owns
// one complete game wired to them.

#include <algorithm>
#include <deque>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "game/game.h"
#include "game/quiet_ports.h"
#include "game/random.h"
#include "support/fake_transport.h"
#include "view/layout.h"

namespace brindle {
namespace testing {

// The one door into the game's own variables, for positions play cannot reach quickly.
struct GameAccess {
    static GameState& state(Game& game) { return game; }
};

struct CanvasOp {
    enum Kind { Clear, Line, Fill } kind;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Colour colour = 0;
};

class RecordingCanvas final : public Canvas {
public:
    void clear() override { record({CanvasOp::Clear}); }
    void line(double x1, double y1, double x2, double y2) override { record({CanvasOp::Line, x1, y1, x2, y2, Black}); }
    void fillBox(double x1, double y1, double x2, double y2, Colour colour) override
    {
        record({CanvasOp::Fill, x1, y1, x2, y2, colour});
    }
    void setPersistentDrawing(bool on) override { persistent = on; }
    bool persistentDrawing() const override { return persistent; }
    std::vector<CanvasOp> fills() const
    {
        std::vector<CanvasOp> out;
        return std::ranges::copy_if(ops, std::back_inserter(out), [](const CanvasOp& op) { return op.kind == CanvasOp::Fill; }), out;
    }

    std::vector<CanvasOp> ops;
    bool persistent = true;
    bool recording = true; // off where nobody looks (the fuzz target): drawing is the slow part

private:
    void record(const CanvasOp& op) { recording ? ops.push_back(op) : void(); }
};

// Runs queued actions inside the event passes, as handlers run inside the
// window's event loop: one pass never blocks, so no test really waits.
class FakeEvents final : public EventLoop {
public:
    void DoEvents() override { runPass(); }
    void Pause(int milliseconds) override { pausedMilliseconds += milliseconds, runPass(); }
    // One pass of scripted events; what is not done by then takes the whole time.
    void waitFor(int milliseconds, const std::function<bool()>& done) override
    {
        waits.push_back(milliseconds);
        runPass();
        if (!done())
            pausedMilliseconds += milliseconds;
    }
    void ShowIntro() override { ++intros; }

    // The next event pass runs this action (one a pass); every pass runs the repeating one until it returns true.
    void duringNextPass(std::function<void()> action) { pending.push_back(std::move(action)); }
    void duringPassesUntil(std::function<bool()> action) { repeating = std::move(action); }

    int pausedMilliseconds = 0;
    int intros = 0;
    std::vector<int> waits;

private:
    void runPass()
    {
        if (repeating && repeating())
            repeating = nullptr;
        if (pending.empty())
            return;
        auto action = std::move(pending.front());
        pending.pop_front(), action();
    }

    std::deque<std::function<void()>> pending;
    std::function<bool()> repeating;
};

// The beeps and the music's calls in order ("beep", "open Brin.mid", "play", "play from start", "close"); the waves apart.
class RecordingSound final : public Sound {
public:
    void beep() override { calls.emplace_back("beep"); }
    void playWave(std::string_view file) override { waves.emplace_back(file); }
    void openMusic(std::string_view file) override { calls.push_back("open " + std::string(file)); }
    void playMusic(bool fromStart) override { calls.emplace_back(fromStart ? "play from start" : "play"); }
    bool musicStopped() override { return stopped; }
    void closeMusic() override { calls.emplace_back("close"); }
    int beeps() const { return static_cast<int>(std::ranges::count(calls, "beep")); }

    std::vector<std::string> calls, waves;
    bool stopped = false;
};

// Scripted numbers first, then a seeded generator's; logs "R" for Randomize and "r" for Rnd.
// Endless draws without a reseed throw, so a search that never ends fails instead of hanging.
class ScriptedRandom final : public RandomSource {
public:
    void Randomize() override { sinceReseed = 0, log += 'R'; }
    float Rnd() override
    {
        if (++sinceReseed > 100000)
            throw std::runtime_error("random numbers drawn without end");
        log += 'r';
        if (script.empty())
            return fallback.Rnd();
        const float v = script.front();
        return script.pop_front(), v;
    }
    void push(std::initializer_list<float> values) { script.insert(script.end(), values); }

    std::deque<float> script;
    std::string log;
    int sinceReseed = 0;
    ClockRandom fallback{12345};
};

// The kept game in memory. With `failure` set, writing fails with that text.
class MemoryKeptGame final : public KeptGame {
public:
    std::string read() override { return text; }
    std::string write(std::string_view t) override
    {
        if (failure.empty())
            text = t;
        return failure;
    }
    void drop() override { text.clear(), ++drops; }

    std::string text;
    std::string failure;
    int drops = 0;
};

// The world around one game: every port but its peer, and the monotonic clock
// in the test's hand. A fixture adds a peer and the game itself.
struct FakeWorld {
    Ports ports(Peer& peer, Thinker* thinker = nullptr)
    {
        return {canvas, events, sound, peer, random, [this] { return now; }, thinker, &dialogs, &kept, [] { return "2026-12-08"; }};
    }

    Globals globals;
    RecordingCanvas canvas;
    FakeEvents events;
    RecordingSound sound;
    ScriptedRandom random;
    RecordingDialogs dialogs;
    MemoryKeptGame kept;
    int64_t now = 0; // milliseconds
};

// Start-up as the window does it; the toss gives the opening in Human vs.
// Computer to the human ('H') or the computer ('C').
inline void startUp(Game& game, ScriptedRandom& random, char starter = 'H')
{
    game.Form_Load(), random.push({starter == 'H' ? 0.25f : 0.75f}), game.Form_Activate();
}
inline void clickCell(Game& game, int row, int col)
{
    game.Form_MouseDown(static_cast<float>(game.CellWidth * (col + 1.5)), static_cast<float>(game.CellHeight * (row + 1.5)));
}
inline int pieceCount(const Game& game)
{
    int n = 0;
    for (int r = 0; r < BoardSize; ++r)
        for (int c = 0; c < BoardSize; ++c)
            n += game.Board(r, c) > Empty ? 1 : 0;
    return n;
}

// What the player sees, in one line: the turn square and its text, the move
// count, the score (each when shown), then the undo items that can be chosen,
// an hourglass, a window that takes no input, the running clock, the next
// automatic game waiting, and the menu bar of automatic play, Stop alone:
// "Blue's turn. Moves: 1 | Red: 0 - Blue: 0, Draw: 0 | Undo clock".
inline std::string shown(const Game& game)
{
    const Ui& u = game.ui;
    std::string score = u.lblComp.Caption;
    if (const size_t cr = score.find("\r\n"); cr != std::string::npos)
        score.replace(cr, 2, ", ");
    const auto seen = [](const Control& c, const std::string& text) { return c.Visible ? text : std::string(); };
    std::string out = seen(u.lblHvisTur, u.lblHvisTur.BackColor == Blue ? "Blue" : "Red") + seen(u.lblPlacer, u.lblPlacer.Caption) + " " +
                      seen(u.lblTraek, u.lblTraek.Caption) + " | " + seen(u.lblComp, score) + " |";
    for (const auto& [on, word] : {std::pair(u.Menu[Menu_Undo].Enabled, "Undo"), {u.Menu[Menu_RejectUndo].Enabled, "RejectUndo"},
                                   {u.MousePointer == PointerHourglass, "hourglass"}, {!u.Enabled, "disabled"},
                                   {game.clock().running(), "clock"}, {u.Timer3.Enabled && u.Timer3.Interval > 0, "next game"}})
        out += on ? std::string(" ") + word : "";
    const auto menus = std::count_if(TopMenus.begin(), TopMenus.end(), [&u](MenuId m) { return u.Menu[m].Visible; });
    return out + (menus == 0 && u.Menu[Menu_Stop].Visible ? " only Stop" : menus < 4 || u.Menu[Menu_Stop].Visible ? " odd menus" : "");
}

// One game with fakes all round, started the way the window starts it; a
// thinker, when given, plays Master and the other engine.
struct GameFixture : FakeWorld {
    explicit GameFixture(Thinker* thinker = nullptr) : game(globals, ports(peer, thinker)) { bindViewCommands(game); }

    // The monotonic clock moves on and Timer1 ticks.
    void tick(int64_t milliseconds = 1000) { now += milliseconds, game.timerFired(1); }
    void startUp(char starter = 'H') { testing::startUp(game, random, starter); }
    void startHumanHuman() { startUp(), choose(Menu_HumanHuman); }
    bool choose(MenuId item) { return game.command(item); }
    void clickCell(int row, int col) { testing::clickCell(game, row, col); }
    void play(std::initializer_list<std::pair<int, int>> cells) { for (const auto& [row, col] : cells) clickCell(row, col); }

    bool enabled(MenuId item) const { return game.ui.Menu[item].Enabled; }
    const GameState& s() const { return game.state(); }
    GameState& poke() { return GameAccess::state(game); }

    std::string shown() const { return testing::shown(game); }

    // Fills the board so that every window of five holds both colours.
    void closeEveryWindow()
    {
        for (int r = 0; r < BoardSize; ++r)
            for (int c = 0; c < BoardSize; ++c)
                game.setBoard(r, c, (r + 2 * c) % 4 < 2 ? MarkX : MarkO);
    }

    NoPeer peer; // network play has tests of its own, with a real session
    Game game;
};

} // namespace testing
} // namespace brindle
