#pragma once
// An in-memory socket for the network session: what is sent is recorded and,
// when two are linked, lands in the other's input; arrival is delivered when
// the test (or the fuzz target) says so, as the event loop would later.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/ports.h"
#include "net/transport.h"

namespace brindle::testing {

class FakeTransport final : public Transport {
public:
    ListenError Listen(uint16_t port) override
    {
        calls.push_back("listen " + std::to_string(port));
        state = listenResult == ListenError::None ? Listening : state;
        return listenResult;
    }
    uint16_t LocalPort() const override { return 1002; }
    bool Accept() override
    {
        if (state != Listening || !joinerWaiting)
            return false;
        joinerWaiting = false, state = Connected, calls.emplace_back("accept");
        return true;
    }
    void Connect(const std::string& host, uint16_t port) override
    {
        calls.push_back("connect " + host + " " + std::to_string(port)), state = connectOutcome;
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
        std::string out = input.substr(0, maxBytes);
        input.erase(0, out.size());
        return out;
    }
    void Close() override
    {
        if (std::exchange(state, Closed) != Closed)
            calls.emplace_back("close");
    }
    int32_t State() const override { return state; }
    std::string LocalIP() const override { return "192.168.1.20"; }

    // Bytes from the other side; the arrival is delivered by deliver().
    void arrive(std::string_view bytes) { input += bytes, arrivalDue = true; }
    // Runs the session's arrival handler if bytes came since the last time.
    bool deliver()
    {
        const bool due = arrivalDue && onDataArrival;
        if (due)
            arrivalDue = false, onDataArrival();
        return due;
    }
    // Two sockets connected to each other.
    static void link(FakeTransport& a, FakeTransport& b) { a.peer = &b, b.peer = &a; }

    int32_t state = Closed;
    ListenError listenResult = ListenError::None;
    int32_t connectOutcome = Connected;
    bool joinerWaiting = false, brokenSends = false, arrivalDue = false;
    std::string input;
    std::function<void()> onDataArrival;
    FakeTransport* peer = nullptr;
    std::vector<std::string> sent, calls;
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
        if (auto action = std::exchange(whileOpen, nullptr))
            action();
    }
    std::string inputBox(std::string_view prompt, std::string_view title, std::string_view) override
    {
        inputs.push_back(std::string(title) + ": " + std::string(prompt));
        const std::string answer = answers.empty() ? "" : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }

    std::vector<std::string> boxes, inputs;
    std::deque<std::string> answers;
    // Runs while the next box is open, as events would.
    std::function<void()> whileOpen;
};

} // namespace brindle::testing
