#pragma once
// The game's socket over Qt's TCP classes, on the thread of the window that
// owns it. Its events are plain callbacks, set by the owner, which routes
// them through the window's one entry path.

#include <cstdint>
#include <functional>
#include <memory>

#include "net/transport.h"

#include <QList>

class QHostAddress;
class QObject;
class QTcpServer;
class QTcpSocket;

namespace brindle {

// The address a host shows its joiner, from the addresses of the machine's
// running interfaces other than loopback: a routable IPv4 one first.
std::string preferredAddress(const QList<QHostAddress>& addresses);

class TcpTransport final : public Transport {
public:
    TcpTransport();
    ~TcpTransport() override;
    TcpTransport(const TcpTransport&) = delete;
    TcpTransport& operator=(const TcpTransport&) = delete;

    ListenError Listen(uint16_t port) override;
    uint16_t LocalPort() const override;
    bool Accept() override;
    void Connect(const std::string& host, uint16_t port) override;
    bool SendData(std::string_view bytes) override;
    std::string GetData(size_t maxBytes) override;
    void Close() override;
    int32_t State() const override;
    std::string LocalIP() const override;

    // A joiner asks to connect while listening.
    std::function<void()> onConnectionRequest;
    // Bytes have arrived on the connection. The owner drains them with
    // GetData until it returns nothing: bytes left unread stay for a later
    // GetData but need not announce themselves again.
    std::function<void()> onDataArrival;
    // The connection has closed or failed, not by Close().
    std::function<void()> onClosed;

    // What the socket holds for reading at most; past it the peer is held
    // back by TCP itself.
    static constexpr int64_t ReadBufferBytes = 64 * 1024;

private:
    void adopt(QTcpSocket* socket);
    void dropSocket();
    void dropServer();
    void connectionFailed();
    void connectionEnded();

    // Receiver of every signal connection and queued call made for this
    // transport: destroying it cuts them all, so no callback outlives us.
    std::unique_ptr<QObject> context_;
    // Both owned, and deleted later: the owner may close us from inside one
    // of their own signals.
    QTcpServer* server_ = nullptr;
    QTcpSocket* socket_ = nullptr;
    bool failed_ = false;
    bool everConnected_ = false; // the current socket reached Connected
    bool ended_ = false;         // ... and has since been closed by the peer
    uint64_t generation_ = 0;    // bumped whenever the socket is replaced
};

} // namespace brindle
