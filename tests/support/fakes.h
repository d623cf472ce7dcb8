#pragma once
// Recording stand-ins for the world outside the core, and a fixture that owns
// one complete game wired to them.

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "game/game.h"
#include "game/random.h"

namespace brindle::testing {

struct CanvasOp {
    enum Kind { Cls, Line, Fill } kind;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Colour colour = 0;
};

class RecordingCanvas final : public Canvas {
public:
    void Cls() override { ops.push_back({CanvasOp::Cls}); }
    void Line(double x1, double y1, double x2, double y2) override
    {
        ops.push_back({CanvasOp::Line, x1, y1, x2, y2, Black});
    }
    void FillBox(double x1, double y1, double x2, double y2, Colour colour) override
    {
        ops.push_back({CanvasOp::Fill, x1, y1, x2, y2, colour});
    }
    void SetPersistentDrawing(bool on) override { persistent = on; }
    bool PersistentDrawing() const override { return persistent; }

    std::vector<CanvasOp> Fills() const
    {
        std::vector<CanvasOp> out;
        for (const auto& op : ops)
            if (op.kind == CanvasOp::Fill)
                out.push_back(op);
        return out;
    }

    std::vector<CanvasOp> ops;
    bool persistent = true;
};

// Runs queued actions inside the event passes, as handlers would run inside
// the window's event loop.
class FakeHost final : public Host {
public:
    void DoEvents() override { RunPass(); }
    void Pause(int milliseconds) override
    {
        pausedMilliseconds += milliseconds;
        RunPass();
    }
    void Beep() override { ++beeps; }
    void PlaySound(std::string_view file) override { sounds.emplace_back(file); }
    void Send(std::string_view) override {}
    void ShowIntro() override {}

    // The next event pass runs this action (one action per pass).
    void DuringNextPass(std::function<void()> action) { pending.push_back(std::move(action)); }
    // Every event pass runs this action until it returns true.
    void DuringPassesUntil(std::function<bool()> action) { repeating = std::move(action); }

    int beeps = 0;
    int pausedMilliseconds = 0;
    std::vector<std::string> sounds;

private:
    void RunPass()
    {
        if (repeating && repeating())
            repeating = nullptr;
        if (pending.empty())
            return;
        auto action = std::move(pending.front());
        pending.pop_front();
        action();
    }

    std::deque<std::function<void()>> pending;
    std::function<bool()> repeating;
};

// Hands out scripted numbers first, then a seeded generator's. Too many draws
// without a reseed throw, so that a search that never ends fails its test
// instead of hanging it.
class ScriptedRandom final : public RandomSource {
public:
    void Randomize() override { sinceReseed = 0; }
    float Rnd() override
    {
        if (++sinceReseed > 100000)
            throw std::runtime_error("random numbers drawn without end");
        if (script.empty())
            return fallback.Rnd();
        const float v = script.front();
        script.pop_front();
        return v;
    }
    void Push(std::initializer_list<float> values) { script.insert(script.end(), values); }

    std::deque<float> script;
    int sinceReseed = 0;
    ClockRandom fallback{12345};
};

// One game with fakes all round, started the way the window starts it.
struct GameFixture {
    GameFixture() : game(globals, canvas, host, random) {}

    // Start-up as the window does it, in Human vs. Computer; the coin toss
    // gives the opening to the human ('H') or the computer ('C').
    void StartUp(char starter = 'H')
    {
        game.Form_Load();
        random.Push({starter == 'H' ? 0.25f : 0.75f});
        game.Form_Activate();
    }

    // Start-up, then the user chooses Human vs. Human.
    void StartHumanHuman()
    {
        StartUp();
        game.Menu_HumanHuman_Click();
    }

    // The click position in the middle of a cell, in twips.
    void ClickCell(int row, int col)
    {
        game.Form_MouseDown(static_cast<float>(game.CellWidth * (col + 1.5)),
                            static_cast<float>(game.CellHeight * (row + 1.5)));
    }

    void Play(std::initializer_list<std::pair<int, int>> cells)
    {
        for (const auto& [row, col] : cells)
            ClickCell(row, col);
    }

    bool Enabled(MenuId item) const { return game.ui.Menu[item].Enabled; }

    // Fills the board so that every window of five holds both colours: pairs
    // down the columns and both diagonals, alternation along the rows. With
    // offsets, one cell of each five-by-five block stays empty; returns those.
    std::vector<std::pair<int, int>> CloseEveryWindow(int rowOffset = -1, int colOffset = -1)
    {
        std::vector<std::pair<int, int>> holes;
        for (int r = 0; r < BoardSize; ++r)
            for (int c = 0; c < BoardSize; ++c)
                if (r % 5 == rowOffset && c % 5 == colOffset)
                    holes.push_back({r, c});
                else
                    game.SetBoard(r, c, (r + 2 * c) % 4 < 2 ? MarkX : MarkO);
        return holes;
    }

    Globals globals;
    RecordingCanvas canvas;
    FakeHost host;
    ScriptedRandom random;
    Game game;
};

} // namespace brindle::testing
