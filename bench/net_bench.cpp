// How long a move takes from one copy to the other over real loopback
// sockets: from the click placed on the host's (or joiner's) board to the
// piece on the other board. Two complete games and network sessions run in
// one process on one event loop, as two windows would.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "platform/qt_helpers.h"
#include "bench/null_ports.h"
#include "game/game.h"
#include "game/quiet_ports.h"
#include "game/random.h"
#include "net/session.h"
#include "platform/tcp_transport.h"

namespace brindle::bench {
namespace {

// The event loop as the window runs it, without a window.
class QtEvents final : public EventLoop {
public:
    void DoEvents() override { QCoreApplication::processEvents(); }
    void Pause(int milliseconds) override
    {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }
    void waitFor(int milliseconds, const std::function<bool()>& done) override
    {
        serveEventsUntil(milliseconds, done);
    }
    void ShowIntro() override {}
};

class NoDialogs final : public Dialogs {
public:
    void messageBox(std::string_view, std::string_view, Icon) override {}
    std::string inputBox(std::string_view, std::string_view, std::string_view) override { return {}; }
};

class NoSettings final : public SettingsStore {
public:
    std::string read(std::string_view, std::string_view defaultValue) const override
    {
        return std::string(defaultValue);
    }
    void write(std::string_view, std::string_view) override {}
    void remove(std::string_view) override {}
    std::vector<std::string> keys() const override { return {}; }
};

// One copy of the game with a real socket.
struct Copy {
    Copy()
        : session(globals, transport, dialogs, settings, events), game(globals, {canvas, events, sound, session, random})
    {
        session.attach(game);
        transport.onConnectionRequest = [this] { session.Winsock1_ConnectionRequest(); };
        transport.onDataArrival = [this] { session.Winsock1_DataArrival(); };
        transport.onClosed = [this] { session.connectionLost(); };
        game.Form_Load();
        game.Form_Activate();
        session.Menu_Network_Click();
    }

    void click(int row, int col)
    {
        game.Form_MouseDown(static_cast<float>(game.CellWidth * (col + 1.5)),
                            static_cast<float>(game.CellHeight * (row + 1.5)));
    }

    Globals globals;
    NullCanvas canvas;
    QtEvents events;
    SilentSound sound;
    ClockRandom random;
    TcpTransport transport;
    NoDialogs dialogs;
    NoSettings settings;
    NetSession session;
    Game game;
};

void BM_MoveBetweenCopies(benchmark::State& state)
{
    Copy host;
    Copy joiner;
    host.globals.NetRole = "HOST";
    host.globals.NetPending = true;
    host.session.listenPort = 0;
    if (host.session.host() != Transport::ListenError::None) {
        state.SkipWithError("cannot listen on loopback");
        return;
    }
    joiner.globals.NetRole = "CLIENT";
    joiner.globals.NetPending = true;
    const std::string address = "127.0.0.1:" + std::to_string(host.transport.LocalPort());
    if (joiner.session.join(address, "Bob") != NetSession::JoinResult::Connected) {
        state.SkipWithError("the joiner could not connect");
        return;
    }

    using Clock = std::chrono::steady_clock;
    std::vector<double> microseconds;
    int cell = 0;
    for (auto _ : state) {
        // Three rows a game, alternating colours: nobody gets five. The host
        // starts the next game on its own turn.
        if ((cell >= 60 && host.game.ui.MousePointer == PointerDefault) || host.game.state().GameOver) {
            state.PauseTiming();
            host.game.command(Menu_New);
            QtEvents().waitFor(2000, [&] {
                return joiner.game.state().MoveCount == 0 && !joiner.game.state().GameOver &&
                       joiner.game.state().NextMark == host.game.state().NextMark && host.game.ui.Enabled &&
                       joiner.game.ui.Enabled;
            });
            cell = 0;
            state.ResumeTiming();
        }
        const bool hostMoves = host.game.ui.MousePointer == PointerDefault;
        Copy& mover = hostMoves ? host : joiner;
        Copy& other = hostMoves ? joiner : host;
        const int row = cell / 20;
        const int col = cell % 20;
        const int32_t before = other.game.state().MoveCount;
        const auto start = Clock::now();
        mover.click(row, col);
        QtEvents().waitFor(1000, [&] { return other.game.state().MoveCount > before; });
        const auto end = Clock::now();
        if (other.game.state().MoveCount == before || other.game.Board(row, col) == Empty) {
            state.SkipWithError("a move did not arrive");
            break;
        }
        microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        ++cell;
    }
    if (!microseconds.empty()) {
        std::sort(microseconds.begin(), microseconds.end());
        state.counters["median_us"] = microseconds[microseconds.size() / 2];
        state.counters["p99_us"] = microseconds[microseconds.size() * 99 / 100];
    }
    joiner.session.Disconnect(false);
    host.session.Disconnect(false);
}
BENCHMARK(BM_MoveBetweenCopies)->Unit(benchmark::kMicrosecond)->Iterations(600);

} // namespace
} // namespace brindle::bench

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
