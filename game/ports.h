#pragma once
// The core's only ways out into the world. Each is small enough that a test's
// fake records every call; the window implements them with Qt, the network
// and the audio library. Operations of the game's fixed vocabulary (DoEvents,
// Pause, Randomize, Rnd, SendMove, the socket's Close and State) keep their
// spelling; the others are camelCase.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "types.h"

namespace brindle {

// The main window's client area, in twips from its top-left corner.
class Canvas {
public:
    virtual ~Canvas() = default;
    // Erases everything drawn; the background colour remains.
    virtual void clear() = 0;
    // A one-pixel line in the foreground colour.
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    // A filled rectangle between two opposite corners, edge included.
    virtual void fillBox(double x1, double y1, double x2, double y2, Colour colour) = 0;
    // When on, drawing goes to a retained image shown at the next repaint; when
    // off, each drawing is on the screen at once.
    virtual void setPersistentDrawing(bool on) = 0;
    virtual bool persistentDrawing() const = 0;
};

// The window's event loop, where handlers run while the core waits.
class EventLoop {
public:
    virtual ~EventLoop() = default;
    // One pass of the event loop.
    virtual void DoEvents() = 0;
    // Lets the event loop run for about the given time, without spinning.
    virtual void Pause(int milliseconds) = 0;
    // Lets the event loop run until `done` holds or the time has passed,
    // without spinning: `done` is asked again after every event.
    virtual void waitFor(int milliseconds, const std::function<bool()>& done) = 0;
    // Runs the start-up intro, serving events, until the user clicks.
    virtual void ShowIntro() = 0;
};

// The speaker: the platform beep, the wave sounds and the music track. No
// failure is ever reported; a missing file plays nothing.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void beep() = 0;
    // Starts a wave file and returns at once.
    virtual void playWave(std::string_view file) = 0;
    virtual void openMusic(std::string_view file) = 0;
    virtual void playMusic(bool fromStart) = 0;
    // True when the open track has played to its end.
    virtual bool musicStopped() = 0;
    virtual void closeMusic() = 0;
};

// The other copy of the game, as the socket is used: typed sends, Close and
// State. The bytes on the wire are the network's business.
class Peer {
public:
    virtual ~Peer() = default;
    virtual void SendMove(int32_t row, int32_t col) = 0;
    // The host's new game: its time limit in seconds (0 without one), the mark
    // that opens, and its player's name.
    virtual void sendNewGame(int32_t timeLimitSec, char firstMark, std::string_view hostName) = 0;
    // The host's clock has ended the game: 'R' red wins, 'B' blue wins.
    virtual void sendTimeWinner(char winner) = 0;
    virtual void Close() = 0;
    // 0 when closed; any other value when listening, connecting or connected.
    virtual int32_t State() const = 0;
    // Leaves the network game: tells the peer, waits a second for it to go
    // out, closes. With ShowMessage the player is told, unless the opponent
    // had left already.
    virtual void Disconnect(bool ShowMessage) = 0;
};

// Modal boxes that wait for the player.
class Dialogs {
public:
    enum class Icon { None, Information };
    virtual ~Dialogs() = default;
    // A message with an OK button.
    virtual void messageBox(std::string_view text, std::string_view caption, Icon icon) = 0;
    // A line of text asked for; empty when the box is cancelled.
    virtual std::string inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) = 0;
};

// The per-user settings: text values by key, in the program's own section.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string read(std::string_view key, std::string_view defaultValue) const = 0;
    virtual void write(std::string_view key, std::string_view value) = 0;
    virtual void remove(std::string_view key) = 0;
    // Every key present, in no particular order.
    virtual std::vector<std::string> keys() const = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Reseeds from the clock.
    virtual void Randomize() = 0;
    // Uniform in [0, 1).
    virtual float Rnd() = 0;
};

// A player that thinks away from the window's thread: the Master level, or
// another program. ask() returns at once; the answer comes later, through
// the event loop, as a call of `answer` on the window's thread.
struct Question {
    // The moves so far, {row, column} in the order played, red first.
    std::vector<std::array<int32_t, 2>> moves;
    // The other program rather than Master.
    bool otherEngine = false;
    // A hint for the side to move rather than the computer's own move.
    bool hint = false;
    // The step of Strength... to play at (1 to 8); 0 for Master.
    int32_t strength = 0;
};
struct Answer {
    int32_t row = -1;
    int32_t col = -1;
    int32_t score = 0;
    // Not empty when the player misbehaved: what it did, for the player to read.
    std::string failure;
    // A hint's forced win in words ("Red wins in 4 moves"); empty when none is certain.
    std::string verdict = "";
};
class Thinker {
public:
    virtual ~Thinker() = default;
    virtual void ask(const Question& question, std::function<void(const Answer&)> answer) = 0;
    // Forgets the question under way: its answer is never handed on.
    virtual void cancel() = 0;
    // Who answers, for messages: "Master", or the other program's own name.
    virtual std::string name(bool otherEngine) const = 0;
};

// The unfinished game kept from one run of the program to the next, as the
// text of its record.
class KeptGame {
public:
    virtual ~KeptGame() = default;
    // Empty when no game is kept.
    virtual std::string read() = 0;
    // Keeps the text in place of any kept before. Returns what went wrong,
    // for the player; empty when it is kept.
    virtual std::string write(std::string_view text) = 0;
    virtual void drop() = 0;
};

// What the game itself reaches; the dialogs and the settings are for the
// network's dialogs and session.
// Milliseconds from a clock that only moves forward: setting the computer's
// date and time does not move it.
using MonotonicClock = std::function<int64_t()>;
int64_t steadyMilliseconds();
// Today's date where the player is, "YYYY-MM-DD".
using DateSource = std::function<std::string()>;
std::string localDate();

struct Ports {
    Canvas& canvas;
    EventLoop& events;
    Sound& sound;
    Peer& peer;
    RandomSource& random;
    MonotonicClock now = steadyMilliseconds;
    // Without a thinker, Master and the other engine play as Hard does.
    Thinker* thinker = nullptr;
    // Where a misbehaving player is reported; none in tests that don't look.
    Dialogs* dialogs = nullptr;
    // Where a game left unfinished at the end waits for "Continue last game".
    KeptGame* kept = nullptr;
    DateSource today = localDate;
};

} // namespace brindle
