#pragma once
// Two complete copies of the game, host and joiner, each with a network
// session on an in-memory socket, the two sockets linked. Shared by the
// session tests and the fuzz target.

#include <stdexcept>

#include "net/session.h"
#include "support/fake_transport.h"
#include "support/fakes.h"

namespace brindle::testing {

struct NetworkPair {
    // One running copy: a game whose peer is a network session.
    struct Copy : FakeWorld {
        Copy() : session(globals, transport, dialogs, settings, events, [this] { return now; }), game(globals, ports(session))
        {
            session.attach(game);
            bindViewCommands(game);
            transport.onDataArrival = [this] { session.Winsock1_DataArrival(); };
        }
        void startUp() { testing::startUp(game, random); }
        void clickCell(int row, int col) { testing::clickCell(game, row, col); }
        const GameState& s() const { return game.state(); }
        int pieces() const { return pieceCount(game); }

        FakeTransport transport;
        MemorySettings settings;
        RecordingDialogs dialogs;
        NetSession session;
        Game game;
    };

    explicit NetworkPair(bool drawingRecorded = true)
    {
        host.canvas.recording = joiner.canvas.recording = drawingRecorded;
        host.startUp();
        joiner.startUp();
    }

    // What the network dialog does on Host, with the name saved as "Ann".
    Transport::ListenError startHosting(int32_t timeLimit = 0)
    {
        host.session.Menu_Network_Click();
        if (timeLimit > 0)
            host.globals.TimeLimitSec = timeLimit;
        host.globals.TimeLimitOn = timeLimit > 0, host.globals.NetRole = "HOST", host.globals.NetPending = true;
        host.settings.write("HostAm", "Ann");
        return host.session.host("Ann");
    }

    // The joiner's connection reaches the host, which accepts it.
    void hostAccepts()
    {
        FakeTransport::link(host.transport, joiner.transport);
        host.transport.joinerWaiting = true;
        host.session.Winsock1_ConnectionRequest();
        deliverAll();
    }

    // The joiner chooses "Network game" and Join; its connection ends as `connectOutcome` says.
    void joinerPicksJoin(int32_t connectOutcome)
    {
        joiner.session.Menu_Network_Click();
        joiner.globals.NetRole = "CLIENT", joiner.globals.NetPending = true;
        joiner.transport.connectOutcome = connectOutcome;
    }

    // What the dialog does on Join as "Bob"; the host accepts during the
    // first second of the wait and tosses `toss` for the side that opens.
    NetSession::JoinResult join(float toss = 0.75f)
    {
        joinerPicksJoin(joiner.transport.connectOutcome);
        host.random.push({toss});
        joiner.events.duringNextPass([this] { hostAccepts(); });
        const auto result = joiner.session.join("host.example", "Bob");
        deliverAll();
        return result;
    }

    // Host and joiner connected; the host opens unless `hostOpens` is false.
    void connect(bool hostOpens = true, int32_t timeLimit = 0)
    {
        if (startHosting(timeLimit) != Transport::ListenError::None ||
            join(hostOpens ? 0.75f : 0.25f) != NetSession::JoinResult::Connected)
            throw std::runtime_error("the copies did not connect");
    }

    // Bytes reach `side` as if from its peer, and the event loop runs.
    void receive(Copy& side, std::string_view bytes) { side.transport.arrive(bytes), deliverAll(); }

    // Runs the arrival events both sockets have due, as the event loop would.
    void deliverAll() { while (host.transport.deliver() || joiner.transport.deliver()) {} }

    Copy host;
    Copy joiner;
};

} // namespace brindle::testing
