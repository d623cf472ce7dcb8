#include "protocol.h"

#include <algorithm>

namespace brindle::protocol {

namespace {

// Heads of the messages the splitter must recognise before they are whole.
constexpr std::string_view ProbeHead = "~-~Check if connected";
constexpr std::string_view LeaveWhole = "~-~Your opponent has left the board.";
constexpr std::string_view WinnerHead = "~-~TimeWinner";
constexpr std::string_view NewGameWord = "NEWGAME";
constexpr size_t MoveLength = 7;
constexpr size_t WinnerLength = 14;

std::string lastDigits(int32_t value, size_t count)
{
    const std::string s = std::string(count, '0') + std::to_string(value);
    return s.substr(s.size() - count);
}

// Out-of-range starts give an empty view instead of throwing: parse() reads
// fixed positions of messages that may be short.
std::string_view slice(std::string_view s, size_t pos, size_t count = std::string_view::npos)
{
    return pos <= s.size() ? s.substr(pos, count) : std::string_view{};
}

std::string_view trimSpaces(std::string_view s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::optional<int32_t> digits(std::string_view s, size_t count)
{
    if (s.size() != count)
        return std::nullopt;
    int32_t value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int32_t> boardIndex(std::string_view s)
{
    const auto value = digits(s, 2);
    return value && *value <= 19 ? value : std::nullopt;
}

} // namespace

std::string twoDigits(int32_t value)
{
    return lastDigits(value, 2);
}

std::string moveMessage(int32_t row, int32_t col)
{
    return std::string(Marker) + twoDigits(row) + twoDigits(col);
}

std::string newGameMessage(int32_t timeLimitSec, char firstMark, std::string_view hostName)
{
    return std::string(Marker) + lastDigits(timeLimitSec, 4) + "NEWGAME" + firstMark + std::string(hostName);
}

std::string timeWinnerMessage(char winner)
{
    return std::string(Marker) + "TimeWinner" + winner;
}

std::string probeMessage(std::string_view playerName)
{
    return std::string(ProbeHead) + std::string(playerName);
}

std::string leaveMessage()
{
    return std::string(LeaveWhole);
}

std::string toWire(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i++]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            continue;
        }
        if (lead < 0xC2 || lead > 0xF4) {
            out += '?';
            continue;
        }
        // The lead byte fixes the length and the range of the first
        // continuation, which rules out overlong forms, surrogates and
        // values past U+10FFFF.
        const size_t need = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        uint32_t cp = lead & (0x3Fu >> need);
        unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        // A broken sequence costs one '?' for the bytes read so far; the byte
        // that broke it is read again as a fresh start.
        size_t got = 0;
        while (got < need && i < utf8.size()) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (c < low || c > high)
                break;
            cp = cp << 6 | (c & 0x3Fu);
            low = 0x80;
            high = 0xBF;
            ++i;
            ++got;
        }
        out += got == need && cp <= 0xFF ? static_cast<char>(cp) : '?';
    }
    return out;
}

std::string fromWire(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size() * 2);
    for (const char c : latin1) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | b >> 6);
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

Message parse(std::string_view bytes)
{
    Message msg;
    if (!bytes.starts_with(Marker)) {
        msg.kind = Message::Kind::Chat;
        msg.text = std::string(bytes);
        return msg;
    }
    // Positions below are 0-based; the field tests run in the order the
    // game has always used, so a message means the same to both copies.
    if (slice(bytes, 7, 7) == NewGameWord) {
        const auto time = digits(slice(bytes, 3, 4), 4);
        const char mark = bytes.size() > 14 ? bytes[14] : ' ';
        if (time && (mark == 'X' || mark == 'O')) {
            msg.kind = Message::Kind::NewGame;
            msg.timeLimitSec = *time;
            msg.firstMark = mark;
            msg.text = std::string(trimSpaces(slice(bytes, 15)));
        }
    } else if (bytes.starts_with(ProbeHead)) {
        msg.kind = Message::Kind::Probe;
        msg.text = std::string(trimSpaces(slice(bytes, ProbeHead.size())));
    } else if (bytes.starts_with(LeaveWhole)) {
        msg.kind = Message::Kind::Leave;
    } else if (bytes.starts_with(WinnerHead)) {
        const char winner = bytes.size() > 13 ? bytes[13] : ' ';
        if (winner == 'R' || winner == 'B') {
            msg.kind = Message::Kind::TimeWinner;
            msg.winner = winner;
        }
    } else {
        const auto row = boardIndex(slice(bytes, 3, 2));
        const auto col = boardIndex(slice(bytes, 5, 2));
        if (row && col) {
            msg.kind = Message::Kind::Move;
            msg.row = *row;
            msg.col = *col;
        }
    }
    return msg;
}

std::string chatText(std::string_view wireText)
{
    std::string kept;
    kept.reserve(wireText.size());
    for (const char c : wireText) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && (b < 0x7F || b > 0x9F))
            kept += c;
    }
    std::string_view shown = trimSpaces(kept);
    return fromWire(shown.substr(0, MaxChatLength));
}

// How the stream is cut. Markers are found left to right and never overlap;
// each one starts a control message, and a control message ends at the next
// marker at the latest. So a move, time winner or leave message takes its
// full length only if no marker comes first: "~-~03~-~0405" is the short
// (malformed) "~-~03" and then the move "~-~0405". What a fixed-length
// message leaves before the next marker is chat. A read that ends in "~" or
// "~-" holds those bytes as well, since a marker may have been cut in two.
namespace {

// Whether the bytes from a marker to the end of what has arrived may still
// become a longer message, so they wait for the next read.
bool mayGrow(std::string_view part)
{
    const auto properPrefixOf = [part](std::string_view whole) {
        return part.size() < whole.size() && whole.starts_with(part);
    };
    if (part.size() < MoveLength || properPrefixOf(ProbeHead) || properPrefixOf(LeaveWhole))
        return true;
    if (part.size() < WinnerLength && WinnerHead.starts_with(part))
        return true;
    // "~-~0060NEW": four digits then the start of NEWGAME.
    const std::string_view tail = part.substr(MoveLength);
    return !tail.empty() && tail.size() < NewGameWord.size() && NewGameWord.starts_with(tail)
        && digits(part.substr(3, 4), 4);
}

// The length of the control message at the start of `part`, which runs to
// the next marker or the end of what has arrived.
size_t messageLength(std::string_view part)
{
    if (slice(part, 7, 7) == NewGameWord || part.starts_with(ProbeHead))
        return part.size();
    if (part.starts_with(LeaveWhole))
        return LeaveWhole.size();
    if (part.starts_with(WinnerHead) && part.size() >= WinnerLength)
        return WinnerLength;
    return std::min(part.size(), MoveLength);
}

size_t partialMarkerAtEnd(std::string_view text)
{
    if (text.ends_with(Marker.substr(0, 2)))
        return 2;
    return text.ends_with(Marker.substr(0, 1)) ? 1 : 0;
}

} // namespace

std::vector<std::string> Splitter::feed(std::string_view bytes, int64_t nowMilliseconds)
{
    // Unsigned difference: no overflow whatever clock values come in.
    if (!held_.empty() && heldSince_ < nowMilliseconds
        && static_cast<uint64_t>(nowMilliseconds) - static_cast<uint64_t>(heldSince_)
            > static_cast<uint64_t>(WaitMilliseconds))
        held_.clear();
    const bool continuing = !held_.empty();
    const std::string data = held_ + std::string(bytes);
    const std::string_view all = data;
    held_.clear();

    std::vector<std::string> messages;
    size_t pos = 0;
    while (pos < all.size()) {
        const size_t marker = all.find(Marker, pos);
        if (marker == std::string_view::npos) {
            const size_t end = all.size() - partialMarkerAtEnd(all.substr(pos));
            if (end > pos)
                messages.emplace_back(all.substr(pos, end - pos));
            pos = end;
            break;
        }
        if (marker > pos) {
            messages.emplace_back(all.substr(pos, marker - pos));
            pos = marker;
        }
        const size_t next = all.find(Marker, marker + Marker.size());
        // A message that runs to the end of what has arrived ends before the
        // first bytes of the next one's marker, which wait for the rest.
        const size_t end =
            next != std::string_view::npos ? next : all.size() - partialMarkerAtEnd(all.substr(marker + Marker.size()));
        const std::string_view part = all.substr(marker, end - marker);
        if (next == std::string_view::npos && mayGrow(part))
            break;
        const size_t length = messageLength(part);
        messages.emplace_back(part.substr(0, length));
        pos += length;
    }

    if (pos < all.size()) {
        held_ = std::string(all.substr(pos));
        // The clock runs from when this message was first held, however many
        // reads add to it.
        if (!(continuing && pos == 0))
            heldSince_ = nowMilliseconds;
    }
    return messages;
}

std::optional<HostAddress> parseHostAddress(std::string_view text, uint16_t defaultPort)
{
    text = trimSpaces(text);
    std::string_view host = text;
    std::optional<std::string_view> port;
    if (text.starts_with('[')) {
        const size_t close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return std::nullopt;
            port = rest.substr(1);
        }
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        // Two colons or more is a bare v6 address, which has no port.
        const size_t colon = text.find(':');
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (host.empty())
        return std::nullopt;

    HostAddress address{std::string(host), defaultPort};
    if (port) {
        const auto value = port->size() <= 5 ? digits(*port, port->size()) : std::nullopt;
        if (!value || *value < 1 || *value > 65535)
            return std::nullopt;
        address.port = static_cast<uint16_t>(*value);
    }
    return address;
}

} // namespace brindle::protocol
