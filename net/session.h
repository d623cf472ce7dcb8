#pragma once
// One copy's side of a network game: hosting and joining, the messages that
// arrive, and leaving. Standard C++ over the transport; it is the game's peer
// and calls the game's own procedures, so every rule here is tested without
// sockets.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "game/game.h"
#include "net/discovery.h"
#include "net/protocol.h"
#include "net/transport.h"

namespace brindle {

class NetSession final : public Peer {
public:
    // The clock times the wait for a message cut in two.
    NetSession(Globals& globals, Transport& transport, Dialogs& dialogs, SettingsStore& settings,
               EventLoop& events, MonotonicClock clock = steadyMilliseconds);
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;
    // The game this session plays; it exists after its peer, so it comes second.
    void attach(Game& game) { game_ = &game; }

    // ---- Peer: what the game sends.
    void SendMove(int32_t row, int32_t col) override;
    void sendNewGame(int32_t timeLimitSec, char firstMark, std::string_view hostName) override;
    void sendTimeWinner(char winner) override;
    void Close() override;
    int32_t State() const override { return transport_.State(); }
    void Disconnect(bool ShowMessage) override;
    // A chat text, as typed, to the opponent.
    void sendChat(std::string_view text);

    // ---- The socket's events.
    void Winsock1_ConnectionRequest();
    void Winsock1_DataArrival();
    // The connection closed or failed without the leave message.
    void connectionLost();

    // ---- "Network game" from the menu: ends a network game under way and
    // opens the dialog through openDialog.
    void Menu_Network_Click();
    std::function<void()> openDialog;

    // ---- The dialog's Host and Join, once it has checked its fields.
    // Listens on listenPort and lets the main window wait for a joiner;
    // the game is announced on the local network under `name`.
    Transport::ListenError host(std::string_view name = "Host");
    enum class JoinResult { Connected, Failed, Cancelled };
    // Connects and proves the connection with the probe, once a second for
    // up to 30 seconds; a refused connection or an unknown name fails at once.
    JoinResult join(std::string_view hostField, std::string_view playerName);
    // Gives up a join under way; join() then returns Cancelled.
    void cancelJoin() { cancelled_ = true; }
    bool joining() const { return joining_; }

    // The host listens here: the setting "Port" or --port, 0 for any (tests).
    uint16_t listenPort = protocol::DefaultPort;
    // An opponent is on the line and has not left.
    bool live() const { return live_; }
    // Where a hosted game is announced while it waits and while it is
    // played; none when null.
    discovery::Announcer* announcer = nullptr;

    static constexpr int JoinAttempts = 30;
    static constexpr size_t ReadBytes = 64 * 1024;
    static constexpr std::string_view LeftText = "You have left the game.\r\n\r\nYou both have to reconnect to play again.";

private:
    bool hosting() const { return globals_.NetRole == "HOST"; }
    void handle(const std::string& bytes);
    void newGameArrived(const protocol::Message& m);
    void moveArrived(int32_t row, int32_t col);
    // The opponent has gone, by its leave message or a lost connection.
    void peerLeft();
    void send(const std::string& bytes);
    void showBox(std::string_view text);
    void reset();
    void announce(bool playing);
    void withdraw();

    Globals& globals_;
    Transport& transport_;
    Dialogs& dialogs_;
    SettingsStore& settings_;
    EventLoop& events_;
    MonotonicClock clock_;
    Game* game_ = nullptr;

    protocol::Splitter splitter_;
    // Whole messages read but not yet handed to the game.
    std::deque<std::string> inbox_;
    // Messages handed to the game that wait until its move is judged.
    int32_t waitingInGame_ = 0;
    bool reading_ = false;
    int32_t boxesOpen_ = 0;
    bool live_ = false;
    // The connection ended; noticed once what it brought has been read.
    bool lost_ = false;
    bool disconnecting_ = false;
    // The other end has shown itself a copy of the game: its probe reached
    // the host, or its first game the joiner.
    bool peerKnown_ = false;
    bool joining_ = false;
    bool cancelled_ = false;
    std::string joinName_;
    std::string hostedName_;
};

} // namespace brindle
