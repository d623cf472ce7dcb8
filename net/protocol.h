#pragma once
// The texts that travel between two copies of the game, byte for byte, and
// how a receiver cuts what arrives into whole messages. Every control message
// begins with the marker; anything else is chat. One character travels as one
// byte, in ISO 8859-1 (Latin-1). No dependencies: the fuzz target and the
// benchmarks link it alone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::protocol {

inline constexpr std::string_view Marker = "~-~";
inline constexpr std::string_view ProbeText = "Check if connected";
inline constexpr std::string_view LeaveText = "Your opponent has left the board.";
// The port copies find each other on when nothing else is said.
inline constexpr uint16_t DefaultPort = 1002;

// ---- Building: the bytes a sender puts on the wire. Names are wire bytes
// already (see toWire).

// A placed piece: the marker, then row and column as two digits each.
std::string moveMessage(int32_t row, int32_t col);
// The host's new game: the time limit as four digits ("0000" without one),
// "NEWGAME", the mark that opens, the host's name.
std::string newGameMessage(int32_t timeLimitSec, char firstMark, std::string_view hostName);
// The host's clock has decided: 'R' red wins, 'B' blue wins.
std::string timeWinnerMessage(char winner);
// The joiner proves the connection and says its name.
std::string probeMessage(std::string_view playerName);
// The side that leaves says so.
std::string leaveMessage();

// The last two characters of "0" followed by the decimal digits.
std::string twoDigits(int32_t value);

// ---- Characters. The game keeps text in UTF-8; the wire carries Latin-1.

// UTF-8 to Latin-1: a character outside Latin-1, and a malformed UTF-8
// sequence, become '?'.
std::string toWire(std::string_view utf8);
// Latin-1 to UTF-8.
std::string fromWire(std::string_view latin1);

// ---- Reading: what one whole received message says.

struct Message {
    enum class Kind {
        Chat,       // text: the chat text, as received
        NewGame,    // timeLimitSec, firstMark ('X' or 'O'), text: the host's name, trimmed
        Probe,      // text: the joiner's name, trimmed
        Leave,      //
        TimeWinner, // winner: 'R' or 'B'
        Move,       // row, col: 0 to 19 each
        Malformed,  // begins with the marker but says nothing a peer sends
    };
    Kind kind = Kind::Malformed;
    std::string text; // wire bytes
    int32_t timeLimitSec = 0;
    char firstMark = 0;
    char winner = 0;
    int32_t row = 0;
    int32_t col = 0;
};

// Reads one whole message, testing as the game always has, in this order:
// "NEWGAME" at characters 8-14, the probe, the leave message, "TimeWinner" at
// 4-13, else a move. A move whose fields are not two decimal digits from 00 to
// 19, a new game whose time is not four digits or whose mark is not X or O,
// and a time winner other than R or B are Malformed.
Message parse(std::string_view bytes);

// A chat text as it is shown: control characters removed, spaces trimmed at
// both ends, at most MaxChatLength characters; UTF-8.
inline constexpr size_t MaxChatLength = 500;
std::string chatText(std::string_view wireText);

// ---- Cutting the stream into messages.
//
// TCP may merge two sends into one read or split one send over two. Each
// marker starts a control message. A move (7 bytes), a time winner (14) or the
// leave message (36) that has not fully arrived waits for the rest, for at
// most WaitMilliseconds; text after a fixed-length control message and before
// the next marker is chat; a new game or a probe runs to the next marker or
// the end of what has arrived. A four-digit move at the very end of a read is
// taken whole at once; only when the bytes after it begin "NEWGAME" in part
// does it wait to see whether it is a new game.
class Splitter {
public:
    static constexpr int64_t WaitMilliseconds = 500;

    // The bytes of one read, arrived at `nowMilliseconds` on a steady clock;
    // returns the whole messages they complete, in order. A part message that
    // waited longer than WaitMilliseconds is dropped before the new bytes are
    // looked at.
    std::vector<std::string> feed(std::string_view bytes, int64_t nowMilliseconds);
    // The bytes of a part message still waiting (never more than 36).
    size_t waiting() const { return held_.size(); }

private:
    std::string held_;
    int64_t heldSince_ = 0;
};

// ---- Addresses.

struct HostAddress {
    std::string host;
    uint16_t port = DefaultPort;
};

// What a player types to join: "name", "name:port", "192.168.1.5:port",
// "[v6-address]:port", "[v6-address]" or a bare v6 address (two colons or
// more). Spaces around it are ignored; no port means `defaultPort`. Nothing
// when the host is empty, a bracket is not closed, or the port is not a
// number from 1 to 65535.
std::optional<HostAddress> parseHostAddress(std::string_view text, uint16_t defaultPort = DefaultPort);

} // namespace brindle::protocol
