#include "platform/tcp_transport.h"

#include <algorithm>

#include <QHostAddress>
#include <QNetworkInterface>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace brindle {

namespace {

// How long a closed connection may keep trying to deliver what was written
// before it is cut off.
constexpr int LingerMs = 5000;

void setGameOptions(QTcpSocket* socket)
{
    // Moves are a few bytes each and must travel at once, not wait for more.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // Notice a peer whose machine vanished rather than wait for it forever.
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
}

} // namespace

TcpTransport::TcpTransport()
    : context_(std::make_unique<QObject>())
{
}

TcpTransport::~TcpTransport()
{
    Close();
}

Transport::ListenError TcpTransport::Listen(uint16_t port)
{
    Close();

    server_ = new QTcpServer;
    // Any is both IPv4 and IPv6, so a joiner may use either address.
    if (!server_->listen(QHostAddress::Any, port)) {
        const QAbstractSocket::SocketError error = server_->serverError();
        dropServer();
        switch (error) {
        case QAbstractSocket::AddressInUseError:
            return ListenError::InUse;
        case QAbstractSocket::SocketAccessError:
            return ListenError::NotPermitted;
        default:
            return ListenError::Other;
        }
    }
    QObject::connect(server_, &QTcpServer::newConnection, context_.get(), [this] {
        if (onConnectionRequest)
            onConnectionRequest();
    });
    return ListenError::None;
}

uint16_t TcpTransport::LocalPort() const
{
    if (server_ && server_->isListening())
        return server_->serverPort();
    if (socket_)
        return socket_->localPort();
    return 0;
}

bool TcpTransport::Accept()
{
    if (!server_)
        return false;

    QTcpSocket* chosen = nullptr;
    while (server_->hasPendingConnections()) {
        QTcpSocket* pending = server_->nextPendingConnection();
        if (!pending)
            break;
        // It belongs to the server, which is about to go.
        pending->setParent(nullptr);
        // A joiner that gave up while waiting is passed over for the next.
        if (!chosen && pending->state() == QAbstractSocket::ConnectedState) {
            chosen = pending;
        } else {
            pending->abort();
            pending->deleteLater();
        }
    }
    if (!chosen)
        return false;

    // Stop listening, so the system itself refuses any later joiner.
    dropServer();
    dropSocket();
    adopt(chosen);
    everConnected_ = true;
    setGameOptions(chosen);

    // Bytes the joiner sent before we accepted came with a readyRead nobody
    // heard; announce them from the event loop, not from inside Accept.
    if (chosen->bytesAvailable() > 0) {
        const uint64_t generation = generation_;
        QMetaObject::invokeMethod(
            context_.get(),
            [this, generation] {
                if (generation == generation_ && socket_ && !ended_ && socket_->bytesAvailable() > 0
                    && onDataArrival)
                    onDataArrival();
            },
            Qt::QueuedConnection);
    }
    return true;
}

void TcpTransport::Connect(const std::string& host, uint16_t port)
{
    Close();

    auto* socket = new QTcpSocket;
    adopt(socket);
    QObject::connect(socket, &QAbstractSocket::connected, context_.get(), [this, socket] {
        everConnected_ = true;
        // The options need the real socket, which exists only now.
        setGameOptions(socket);
    });
    // May fail at once, in which case the handlers have already run.
    socket->connectToHost(QString::fromStdString(host), port);
}

void TcpTransport::adopt(QTcpSocket* socket)
{
    ++generation_;
    socket_ = socket;
    failed_ = false;
    everConnected_ = false;
    ended_ = false;

    // Bounded, so a flooding peer is held back by TCP rather than by our
    // memory running out.
    socket->setReadBufferSize(ReadBufferBytes);

    QObject* ctx = context_.get();
    QObject::connect(socket, &QIODevice::readyRead, ctx, [this] {
        if (onDataArrival)
            onDataArrival();
    });
    QObject::connect(socket, &QAbstractSocket::errorOccurred, ctx, [this](QAbstractSocket::SocketError) {
        // After connecting, an error ends the connection through
        // stateChanged/disconnected; only a failed attempt is handled here.
        if (!everConnected_)
            connectionFailed();
    });
    QObject::connect(socket, &QAbstractSocket::stateChanged, ctx, [this](QAbstractSocket::SocketState state) {
        if (state != QAbstractSocket::UnconnectedState)
            return;
        if (everConnected_)
            connectionEnded();
        else
            connectionFailed();
    });
    QObject::connect(socket, &QAbstractSocket::disconnected, ctx, [this] { connectionEnded(); });
}

void TcpTransport::connectionFailed()
{
    QTcpSocket* socket = socket_;
    if (!socket)
        return;
    QObject::disconnect(socket, nullptr, context_.get(), nullptr);
    socket_ = nullptr;
    ++generation_;
    failed_ = true;
    // We are inside one of its signals: let Qt finish with it first.
    socket->deleteLater();
}

void TcpTransport::connectionEnded()
{
    if (!socket_ || ended_)
        return;
    ended_ = true;
    // The socket stays until Close(), so bytes that came before the end can
    // still be read; it has nothing more to tell us.
    QObject::disconnect(socket_, nullptr, context_.get(), nullptr);
    // Last: the owner may close or reopen us from here.
    if (onClosed)
        onClosed();
}

bool TcpTransport::SendData(std::string_view bytes)
{
    if (State() != Connected)
        return false;
    if (bytes.empty())
        return true;
    const auto size = static_cast<qint64>(bytes.size());
    if (socket_->write(bytes.data(), size) != size)
        return false;
    socket_->flush();
    return true;
}

std::string TcpTransport::GetData(size_t maxBytes)
{
    if (!socket_ || maxBytes == 0)
        return {};
    // Read even when the buffer looks empty: a read that finds it empty
    // tells the socket to take in more from the system.
    const auto available = static_cast<size_t>(std::max<qint64>(socket_->bytesAvailable(), 1));
    std::string data(std::min(maxBytes, available), '\0');
    const qint64 got = socket_->read(data.data(), static_cast<qint64>(data.size()));
    data.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return data;
}

void TcpTransport::Close()
{
    dropServer();
    dropSocket();
    failed_ = false;
}

void TcpTransport::dropServer()
{
    QTcpServer* server = server_;
    if (!server)
        return;
    server_ = nullptr;
    QObject::disconnect(server, nullptr, context_.get(), nullptr);
    // Closing now frees the port at once; the object itself may be in the
    // middle of emitting newConnection to us.
    server->close();
    server->deleteLater();
}

void TcpTransport::dropSocket()
{
    QTcpSocket* socket = socket_;
    if (!socket)
        return;
    socket_ = nullptr;
    ++generation_;
    everConnected_ = false;
    ended_ = false;
    QObject::disconnect(socket, nullptr, context_.get(), nullptr);

    if (socket->state() == QAbstractSocket::ConnectedState) {
        // Gracefully, so what was written last (a goodbye) still goes out.
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState) {
            // Still sending: go once it is done, or give up after a while.
            QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
            QTimer::singleShot(LingerMs, socket, [socket] {
                socket->abort();
                socket->deleteLater();
            });
            return;
        }
    } else {
        socket->abort();
    }
    socket->deleteLater();
}

int32_t TcpTransport::State() const
{
    if (socket_) {
        if (ended_)
            return Closed;
        return socket_->state() == QAbstractSocket::ConnectedState ? Connected : Connecting;
    }
    if (failed_)
        return Failed;
    if (server_ && server_->isListening())
        return Listening;
    return Closed;
}

std::string TcpTransport::LocalIP() const
{
    QList<QHostAddress> addresses;
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning)
            && !flags.testFlag(QNetworkInterface::IsLoopBack))
            for (const QNetworkAddressEntry& entry : iface.addressEntries())
                addresses.append(entry.ip());
    }
    return preferredAddress(addresses);
}

std::string preferredAddress(const QList<QHostAddress>& addresses)
{
    // A self-assigned IPv4 address still reaches a neighbour on the same
    // cable; a global IPv6 one reaches more, but fewer players can type it.
    const auto first = [&addresses](QAbstractSocket::NetworkLayerProtocol protocol, bool linkLocal) {
        for (const QHostAddress& ip : addresses)
            if (!ip.isNull() && !ip.isLoopback() && ip.protocol() == protocol && ip.isLinkLocal() == linkLocal)
                return ip.toString().toStdString();
        return std::string();
    };
    for (const auto& [protocol, linkLocal] : {std::pair(QAbstractSocket::IPv4Protocol, false),
                                              {QAbstractSocket::IPv4Protocol, true}, {QAbstractSocket::IPv6Protocol, false}})
        if (const std::string ip = first(protocol, linkLocal); !ip.empty())
            return ip;
    return "127.0.0.1";
}

} // namespace brindle
