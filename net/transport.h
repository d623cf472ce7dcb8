#pragma once
// The one TCP socket of a network game, as the network session uses it: the
// host listens and accepts one joiner, the joiner connects, either sends and
// reads bytes. The window fills it with Qt sockets; tests and the fuzz target
// with an in-memory pair. Its events (a joiner asks to connect, data has
// arrived, the connection has closed) are delivered by whoever owns it to
// the session's handlers.

#include <cstdint>
#include <string>
#include <string_view>

namespace brindle {

class Transport {
public:
    // The socket's states, numbered as the game has always reported them.
    enum State : int32_t {
        Closed = 0,
        Listening = 2,
        Connecting = 6,
        Connected = 7,
        Failed = 9,
    };
    enum class ListenError { None, InUse, NotPermitted, Other };

    virtual ~Transport() = default;

    // Listens on every address of this machine, IPv4 and IPv6.
    virtual ListenError Listen(uint16_t port) = 0;
    // The port listened on, also when the system picked it (port 0).
    virtual uint16_t LocalPort() const = 0;
    // Takes the first joiner that asked and stops listening; any other joiner
    // waiting is turned away. False when nobody is waiting.
    virtual bool Accept() = 0;
    // Starts connecting and returns at once; State() tells how it went:
    // Connecting, then Connected or Failed (refused, unknown name, unreachable).
    virtual void Connect(const std::string& host, uint16_t port) = 0;
    // Sends the bytes; false when there is no connection to send them on.
    virtual bool SendData(std::string_view bytes) = 0;
    // Takes up to `maxBytes` of what has arrived.
    virtual std::string GetData(size_t maxBytes) = 0;
    virtual void Close() = 0;
    virtual int32_t State() const = 0;
    // This machine's address as a peer on the same network would use it.
    virtual std::string LocalIP() const = 0;
};

} // namespace brindle
