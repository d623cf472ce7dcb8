#pragma once
// An in-memory socket for the network session: what is sent is recorded and,
// when two are linked, lands in the other's input; arrival is delivered when
// the test (or the fuzz target) says so, as the event loop would later.

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/ports.h"
#include "net/transport.h"

namespace brindle {
namespace testing {

class FakeTransport final : public Transport {
public:
    ListenError Listen(uint16_t port) override
    {
        calls.push_back("listen " + std::to_string(port));
        if (listenResult == ListenError::None)
            state = Listening;
        return listenResult;
    }
    uint16_t LocalPort() const override { return 1002; }
    bool Accept() override
    {
        if (state != Listening || !joinerWaiting)
            return false;
        joinerWaiting = false;
        state = Connected;
        calls.emplace_back("accept");
        return true;
    }
    void Connect(const std::string& host, uint16_t port) override
    {
        calls.push_back("connect " + host + " " + std::to_string(port));
        state = connectOutcome;
    }
    bool SendData(std::string_view bytes) override
    {
        if (state != Connected || brokenSends)
            return false;
        sent.emplace_back(bytes);
        if (peer != nullptr && peer->state == Connected)
            peer->arrive(bytes);
        return true;
    }
    std::string GetData(size_t maxBytes) override
    {
        const size_t n = std::min(maxBytes, input.size());
        std::string out = input.substr(0, n);
        input.erase(0, n);
        return out;
    }
    void Close() override
    {
        if (state != Closed)
            calls.emplace_back("close");
        state = Closed;
    }
    int32_t State() const override { return state; }
    std::string LocalIP() const override { return "192.168.1.20"; }

    // Bytes from the other side; the arrival is delivered by deliver().
    void arrive(std::string_view bytes)
    {
        input += bytes;
        arrivalDue = true;
    }
    // Runs the session's arrival handler if bytes came since the last time.
    bool deliver()
    {
        if (!arrivalDue || !onDataArrival)
            return false;
        arrivalDue = false;
        onDataArrival();
        return true;
    }
    // Two sockets connected to each other.
    static void link(FakeTransport& a, FakeTransport& b)
    {
        a.peer = &b;
        b.peer = &a;
    }

    int32_t state = Closed;
    ListenError listenResult = ListenError::None;
    int32_t connectOutcome = Connected;
    bool joinerWaiting = false;
    bool brokenSends = false;
    std::string input;
    bool arrivalDue = false;
    std::function<void()> onDataArrival;
    FakeTransport* peer = nullptr;
    std::vector<std::string> sent;
    std::vector<std::string> calls;
};

// Settings in memory, with the same read-with-default rule as the real store.
class MemorySettings final : public SettingsStore {
public:
    std::string read(std::string_view key, std::string_view defaultValue) const override
    {
        const auto it = values.find(std::string(key));
        return it == values.end() ? std::string(defaultValue) : it->second;
    }
    void write(std::string_view key, std::string_view value) override { values[std::string(key)] = value; }
    void remove(std::string_view key) override { values.erase(std::string(key)); }
    std::vector<std::string> keys() const override
    {
        std::vector<std::string> out;
        for (const auto& entry : values)
            out.push_back(entry.first);
        return out;
    }

    std::map<std::string, std::string> values;
};

// Every box shown, as "caption: text"; input boxes answer from a script.
class RecordingDialogs final : public Dialogs {
public:
    void messageBox(std::string_view text, std::string_view caption, Icon icon) override
    {
        boxes.push_back(std::string(caption) + (icon == Icon::Information ? " (i): " : ": ") + std::string(text));
        if (whileOpen) {
            auto action = std::move(whileOpen);
            whileOpen = nullptr;
            action();
        }
    }
    std::string inputBox(std::string_view prompt, std::string_view title, std::string_view) override
    {
        inputs.push_back(std::string(title) + ": " + std::string(prompt));
        if (answers.empty())
            return {};
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }

    std::vector<std::string> boxes;
    std::vector<std::string> inputs;
    std::deque<std::string> answers;
    // Runs while the next box is open, as events would.
    std::function<void()> whileOpen;
};

} // namespace testing
} // namespace brindle
