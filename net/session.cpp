#include "session.h"

namespace brindle {

namespace {

constexpr std::string_view AppTitle = "Brindle";

} // namespace

NetSession::NetSession(Globals& globals, Transport& transport, Dialogs& dialogs, SettingsStore& settings,
                       EventLoop& events, MonotonicClock clock)
    : globals_(globals), transport_(transport), dialogs_(dialogs), settings_(settings), events_(events),
      clock_(std::move(clock))
{
}

// ---- Sending

void NetSession::send(const std::string& bytes)
{
    // A connection that broke under the game ends it as the opponent's
    // leaving would; the goodbye may already be on its way.
    if (!transport_.SendData(bytes) && live_)
        game_->runWhenSettled([this] { peerLeft(); });
}

void NetSession::SendMove(int32_t row, int32_t col)
{
    send(protocol::moveMessage(row, col));
}

void NetSession::sendNewGame(int32_t timeLimitSec, char firstMark, std::string_view hostName)
{
    send(protocol::newGameMessage(timeLimitSec, firstMark, protocol::toWire(hostName)));
}

void NetSession::sendTimeWinner(char winner)
{
    send(protocol::timeWinnerMessage(winner));
}

void NetSession::sendChat(std::string_view text)
{
    // A message to a peer that has gone is lost quietly; nothing else is.
    if (live_ && !text.empty())
        transport_.SendData(protocol::toWire(text));
}

void NetSession::reset()
{
    live_ = false;
    peerKnown_ = false;
    inbox_.clear();
    splitter_ = {};
}

void NetSession::Close()
{
    transport_.Close();
    reset();
    withdraw();
}

void NetSession::announce(bool playing)
{
    if (announcer != nullptr)
        announcer->announce({hostedName_, globals_.TimeLimitOn ? globals_.TimeLimitSec : 0, playing,
                             transport_.LocalPort()});
}

void NetSession::withdraw()
{
    if (announcer != nullptr)
        announcer->withdraw();
}

// ---- Hosting and joining

void NetSession::Menu_Network_Click()
{
    game_->keepBeforeReplacing();
    if (game_->checked(Menu_Network))
        Disconnect(true);
    game_->UncheckModes();
    game_->check(Menu_Network, true);
    game_->ui.Timer1.Enabled = false;
    if (openDialog)
        openDialog();
}

Transport::ListenError NetSession::host(std::string_view name)
{
    if (transport_.State() != Transport::Closed)
        Close();
    const Transport::ListenError error = transport_.Listen(listenPort);
    if (error != Transport::ListenError::None)
        return error;
    // The host waits for its joiner; Stop gives the wait up.
    Ui& ui = game_->ui;
    ui.MousePointer = PointerHourglass;
    game_->ShowMenuStop();
    ui.Timer1.Enabled = false;
    ui.txtTime.Caption = "Waiting for player...";
    hostedName_ = std::string(name);
    announce(false);
    return error;
}

void NetSession::Winsock1_ConnectionRequest()
{
    game_->runWhenSettled([this] {
        // Nobody joins a copy that has stopped hosting or has its opponent.
        if (!hosting() || live_ || disconnecting_ || !game_->checked(Menu_Network) || !transport_.Accept())
            return;
        live_ = true;
        globals_.NetPending = false;
        game_->ui.MousePointer = PointerDefault;
        game_->enable(Menu_New, true);
        game_->ShowMenuNormal();
        globals_.HostName = settings_.read("HostAm", "Host");
        globals_.Score = {};
        game_->RefreshComp();
        announce(true);
        game_->Menu_New_Click();
    });
}

NetSession::JoinResult NetSession::join(std::string_view hostField, std::string_view playerName)
{
    if (joining_)
        return JoinResult::Cancelled;
    // Nothing of an earlier connection carries over, not even its having
    // shown itself a game.
    Close();
    const auto address = protocol::parseHostAddress(hostField);
    if (!address)
        return JoinResult::Failed;

    joining_ = true;
    cancelled_ = false;
    joinName_ = std::string(playerName);
    transport_.Connect(address->host, address->port);
    auto over = [this] {
        const int32_t state = transport_.State();
        return cancelled_ || state == Transport::Failed || state == Transport::Closed;
    };
    bool connected = false;
    // The host's first new game usually arrives during these waits.
    for (int attempt = 1; attempt <= JoinAttempts && !connected && !over(); ++attempt) {
        events_.waitFor(1000, over);
        if (!over())
            connected = transport_.SendData(protocol::probeMessage(protocol::toWire(joinName_)));
    }
    joining_ = false;
    // The host's first game arriving proves the connection as well as the
    // probe: a host that left right after it has been seen to leave, and
    // the join itself did not fail.
    if (cancelled_ || (!connected && !peerKnown_)) {
        Close();
        return cancelled_ ? JoinResult::Cancelled : JoinResult::Failed;
    }
    settings_.write("JoinIP", hostField);
    settings_.write("PlayerAm", playerName);
    globals_.Score = {};
    game_->RefreshComp();
    return JoinResult::Connected;
}

// ---- Receiving

void NetSession::Winsock1_DataArrival()
{
    // One message at a time, in order: while one is being handled (a box is
    // open, or it waits for the game's move to be judged), the rest stays
    // in the socket and this picks it up again afterwards.
    if (reading_ || boxesOpen_ > 0 || waitingInGame_ > 0)
        return;
    reading_ = true;
    while (boxesOpen_ == 0 && waitingInGame_ == 0) {
        if (inbox_.empty()) {
            const std::string bytes = transport_.GetData(ReadBytes);
            if (bytes.empty()) {
                if (!lost_)
                    break;
                // A connection that ended is noticed after what it brought.
                lost_ = false;
                ++waitingInGame_;
                game_->runWhenSettled([this] {
                    --waitingInGame_;
                    peerLeft();
                    Winsock1_DataArrival();
                });
                continue;
            }
            for (std::string& m : splitter_.feed(bytes, clock_()))
                inbox_.push_back(std::move(m));
            continue;
        }
        std::string message = std::move(inbox_.front());
        inbox_.pop_front();
        ++waitingInGame_;
        game_->runWhenSettled([this, message = std::move(message)] {
            --waitingInGame_;
            handle(message);
            Winsock1_DataArrival();
        });
    }
    reading_ = false;
}

void NetSession::handle(const std::string& bytes)
{
    using Kind = protocol::Message::Kind;
    const protocol::Message m = protocol::parse(bytes);
    switch (m.kind) {
    case Kind::Chat:
        // Text from whatever answered before it proved to be a copy of the
        // game (a web server on the port, say) is not shown.
        if (peerKnown_)
            showBox(protocol::chatText(m.text));
        break;
    case Kind::NewGame:
        // Only the host starts games, and only for a joiner that is joining
        // or playing.
        if (!hosting() && game_->checked(Menu_Network) && transport_.State() == Transport::Connected &&
            !disconnecting_)
            newGameArrived(m);
        break;
    case Kind::Probe:
        if (hosting() && live_) {
            peerKnown_ = true;
            globals_.PlayerName = protocol::fromWire(m.text);
            game_->ShowCaption();
        }
        break;
    case Kind::Leave:
        peerLeft();
        break;
    case Kind::TimeWinner:
        // Only the host's clock decides.
        if (!hosting() && live_ && game_->checked(Menu_Network))
            game_->timeWinArrived(m.winner);
        break;
    case Kind::Move:
        moveArrived(m.row, m.col);
        break;
    case Kind::Malformed:
        break;
    }
}

void NetSession::newGameArrived(const protocol::Message& m)
{
    globals_.TimeLimitSec = m.timeLimitSec;
    globals_.TimeLimitOn = m.timeLimitSec > 0;
    game_->setNextMark(m.firstMark);
    globals_.HostName = protocol::fromWire(m.text);
    // The name this copy joined with: the one being typed while the join is
    // under way, the saved one afterwards.
    globals_.PlayerName = joining_ ? joinName_ : settings_.read("PlayerAm", "");
    globals_.NetPending = false;
    live_ = true;
    peerKnown_ = true;
    game_->ShowCaption();
    game_->Menu_New_Click();
}

void NetSession::moveArrived(int32_t row, int32_t col)
{
    // A move counts only in a game under way, on the peer's turn, on an
    // empty cell; anything else leaves no trace.
    const GameState& s = game_->state();
    const char peerMark = hosting() ? MarkO : MarkX;
    if (!live_ || globals_.NetPending || !game_->checked(Menu_Network) || s.GameOver || s.NextMark != peerMark ||
        !onBoard(row, col) || game_->Board(row, col) != Empty)
        return;
    game_->PlacePiece(row, col, 0);
    game_->ui.MousePointer = PointerDefault;
}

void NetSession::connectionLost()
{
    lost_ = true;
    Winsock1_DataArrival();
}

void NetSession::peerLeft()
{
    if (!live_)
        return;
    live_ = false;
    // Nobody can join the game that is left.
    withdraw();
    Ui& ui = game_->ui;
    ui.MousePointer = PointerDefault;
    game_->enable(Menu_Send, false);
    if (hosting())
        game_->enable(Menu_New, false);
    globals_.NetPending = true;
    ui.Timer1.Enabled = false;
    ui.txtTime.Caption = "Game aborted.";
    showBox(protocol::LeaveText);
}

void NetSession::showBox(std::string_view text)
{
    // Later messages wait until the player has closed this box, and are
    // read as soon as the last box is closed.
    ++boxesOpen_;
    dialogs_.messageBox(text, AppTitle, Dialogs::Icon::None);
    --boxesOpen_;
    Winsock1_DataArrival();
}

// ---- Leaving

void NetSession::Disconnect(bool ShowMessage)
{
    if (transport_.State() == Transport::Closed || disconnecting_)
        return;
    // From here on nothing that arrives belongs to a game, nobody is let in,
    // and the board takes no click while the goodbye goes out.
    disconnecting_ = true;
    live_ = false;
    withdraw();
    const bool opponentThere = !globals_.NetPending;
    globals_.NetPending = true;
    Ui& ui = game_->ui;
    ui.Timer1.Enabled = false;
    ui.txtTime.Caption = "Disconnecting...";
    transport_.SendData(protocol::leaveMessage());
    // A second for the goodbye to go out, serving events meanwhile.
    ui.Timer4 = {true, 1000};
    events_.waitFor(2000, [&ui] { return !ui.Timer4.Enabled; });
    ui.Timer4.Enabled = false;
    ui.txtTime.Caption.clear();
    Close();
    disconnecting_ = false;
    if (ShowMessage && opponentThere)
        dialogs_.messageBox(LeftText, AppTitle, Dialogs::Icon::None);
}

} // namespace brindle
