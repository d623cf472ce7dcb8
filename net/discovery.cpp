#include "discovery.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "net/protocol.h"

namespace brindle::discovery {

namespace {

// The longest time limit a host can set is five minutes; a day covers any
// later choice and keeps nonsense out.
constexpr int32_t LongestTimeSec = 24 * 60 * 60;

bool isControl(unsigned char c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::optional<int64_t> number(std::string_view text, size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A dotted IPv4 address a joiner can connect to: four decimal parts without
// leading zeros, not "this network", loopback, multicast or reserved.
bool usableAddress(std::string_view text)
{
    std::array<int64_t, 4> parts{};
    size_t part = 0;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '.')
            continue;
        const std::string_view digits = text.substr(start, i - start);
        const auto value = number(digits, 3);
        if (part == parts.size() || !value || *value > 255 || (digits.size() > 1 && digits.front() == '0'))
            return false;
        parts[part++] = *value;
        start = i + 1;
    }
    return part == parts.size() && parts[0] != 0 && parts[0] != 127 && parts[0] < 224;
}

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

// The value of `key` in a TXT record: keys are matched without regard to
// case, and only a key's first appearance counts.
std::optional<std::string_view> txtValue(const std::vector<std::string>& txt, std::string_view key)
{
    for (const std::string& entry : txt) {
        const size_t equals = entry.find('=');
        const std::string_view k = std::string_view(entry).substr(0, equals);
        if (lower(k) == key)
            return equals == std::string::npos ? std::nullopt
                                               : std::optional(std::string_view(entry).substr(equals + 1));
    }
    return std::nullopt;
}

std::string timeText(int32_t seconds)
{
    if (seconds < 0)
        return "time limit unknown";
    if (seconds == 0)
        return "no time limit";
    if (seconds % 60 == 0)
        return std::to_string(seconds / 60) + " min.";
    return std::to_string(seconds) + " sec.";
}

} // namespace

std::string instanceName(const Announcement& a)
{
    return shownText(a.name);
}

std::vector<std::string> txtRecord(const Announcement& a, std::string_view version)
{
    return {
        "name=" + instanceName(a),
        "time=" + std::to_string(std::max(a.timeLimitSec, 0)),
        "version=" + std::string(version),
        std::string("state=") + (a.playing ? "playing" : "waiting"),
    };
}

std::string shownText(std::string_view raw)
{
    std::string latin1;
    for (const char c : protocol::toWire(raw)) {
        if (latin1.size() == ShownChars)
            break;
        if (!isControl(static_cast<unsigned char>(c)))
            latin1 += c;
    }
    return protocol::fromWire(latin1);
}

std::optional<FoundGame> foundGame(std::string_view instance, std::string_view address, int64_t port,
                                   const std::vector<std::string>& txt)
{
    if (!usableAddress(address) || port < 1 || port > 65535)
        return std::nullopt;
    FoundGame g;
    g.address = std::string(address);
    g.port = static_cast<uint16_t>(port);
    const auto name = txtValue(txt, "name");
    g.name = shownText(name ? *name : instance);
    if (g.name.empty())
        g.name = shownText(instance);
    if (g.name.empty())
        g.name = "(no name)";
    if (const auto time = txtValue(txt, "time")) {
        const auto seconds = number(*time, 5);
        if (seconds && *seconds <= LongestTimeSec)
            g.timeLimitSec = static_cast<int32_t>(*seconds);
    }
    const auto state = txtValue(txt, "state");
    g.waiting = state && *state == "waiting";
    return g;
}

std::string listLine(const FoundGame& g)
{
    return g.name + ", " + timeText(g.timeLimitSec) + ", " + hostField(g) + ", " +
           (g.waiting ? "waiting" : "playing");
}

std::string hostField(const FoundGame& g)
{
    return g.address + ":" + std::to_string(g.port);
}

bool FoundGames::put(const std::string& key, const FoundGame& g)
{
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
    if (same != entries_.end()) {
        if (same->game == g)
            return false;
        entries_.erase(same);
    }
    auto before = [](const Entry& a, const Entry& b) {
        return std::tie(a.game.name, a.game.address, a.game.port, a.key) <
               std::tie(b.game.name, b.game.address, b.game.port, b.key);
    };
    Entry entry{key, g};
    entries_.insert(std::upper_bound(entries_.begin(), entries_.end(), entry, before), std::move(entry));
    return true;
}

bool FoundGames::drop(const std::string& key)
{
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
    if (it == entries_.end())
        return false;
    entries_.erase(it);
    return true;
}

} // namespace brindle::discovery
