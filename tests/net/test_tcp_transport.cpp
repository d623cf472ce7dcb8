// The game's socket over real loopback connections: a host and a joiner in
// one process, driven by the event loop.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>

#include <unistd.h>
#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#endif

#include "net/tcp_transport.h"

namespace brindle {
namespace {

// Runs the event loop until `done` holds or the time is up; true if it holds.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 3000)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start();
    deadline.start(timeoutMs);
    loop.exec();
    return done();
}

// Lets events run for a while, for things that can only be shown not to happen.
void pumpFor(int ms)
{
    waitUntil([] { return false; }, ms);
}

// Reads until nothing more is there, as the game does.
std::string drain(TcpTransport& t, size_t chunk = 64 * 1024)
{
    std::string all;
    for (std::string part = t.GetData(chunk); !part.empty(); part = t.GetData(chunk))
        all += part;
    return all;
}

std::string allByteValues()
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<char>(i));
    return bytes;
}

std::string blob(size_t size)
{
    std::string bytes(size, '\0');
    uint32_t x = 12345;
    for (char& c : bytes) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 23);
    }
    return bytes;
}

// A port nobody listens on, most likely for the rest of the test.
uint16_t closedPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const uint16_t port = probe.serverPort();
    probe.close();
    return port;
}

bool ipv6LoopbackAvailable()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHostIPv6, 0);
}

// One transport and what its callbacks have reported.
struct Peer {
    std::unique_ptr<TcpTransport> t = std::make_unique<TcpTransport>();
    int requests = 0;
    int closed = 0;
    int arrivals = 0;
    std::string received;
    bool drainOnArrival = true;

    Peer()
    {
        t->onConnectionRequest = [this] { ++requests; };
        t->onClosed = [this] { ++closed; };
        t->onDataArrival = [this] {
            ++arrivals;
            if (drainOnArrival)
                received += drain(*t);
        };
    }
    TcpTransport* operator->() { return t.get(); }
    TcpTransport& operator*() { return *t; }
};

class TcpTransportTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        host.t.reset();
        joiner.t.reset();
        // Sockets are deleted later; let that happen inside the test.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        pumpFor(0);
    }

    // Host listens, joiner connects, host accepts.
    void connectPair(const std::string& address = "127.0.0.1")
    {
        const int requestsBefore = host.requests;
        ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
        joiner->Connect(address, host->LocalPort());
        ASSERT_TRUE(waitUntil([&] { return host.requests > requestsBefore; }));
        ASSERT_TRUE(host->Accept());
        ASSERT_TRUE(waitUntil([&] { return joiner->State() == Transport::Connected; }));
        ASSERT_EQ(host->State(), Transport::Connected);
    }

    // Both ways, and each side gets exactly what the other sent.
    void expectExchange(const std::string& toHost, const std::string& toJoiner)
    {
        host.received.clear();
        joiner.received.clear();
        ASSERT_TRUE(joiner->SendData(toHost));
        ASSERT_TRUE(host->SendData(toJoiner));
        EXPECT_TRUE(waitUntil([&] {
            return host.received.size() >= toHost.size() && joiner.received.size() >= toJoiner.size();
        }));
        EXPECT_EQ(host.received, toHost);
        EXPECT_EQ(joiner.received, toJoiner);
    }

    Peer host;
    Peer joiner;
};

// --- Listening ---------------------------------------------------------------

TEST_F(TcpTransportTest, ListensOnASystemPickedPortUntilClosed)
{
    EXPECT_EQ(host->State(), Transport::Closed);
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    EXPECT_EQ(host->State(), Transport::Listening);
    const uint16_t port = host->LocalPort();
    EXPECT_NE(port, 0);

    host->Close();
    EXPECT_EQ(host->State(), Transport::Closed);
    EXPECT_EQ(host->LocalPort(), 0);
    // The port is free again at once, not when Qt gets round to deleting.
    EXPECT_EQ(joiner->Listen(port), Transport::ListenError::None);
}

TEST_F(TcpTransportTest, ListeningOnATakenPortReportsInUse)
{
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    EXPECT_EQ(joiner->Listen(host->LocalPort()), Transport::ListenError::InUse);
    EXPECT_EQ(joiner->State(), Transport::Closed);
    EXPECT_EQ(host->State(), Transport::Listening);
}

TEST_F(TcpTransportTest, ListeningAgainReplacesTheOldListener)
{
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    const uint16_t first = host->LocalPort();
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    EXPECT_EQ(host->State(), Transport::Listening);
    EXPECT_EQ(joiner->Listen(first), Transport::ListenError::None);
}

#ifdef __linux__
// Takes the right to bind low ports away from this thread while it lives
// (only the effective set, so it can be given back).
class WithoutBindCapability {
public:
    WithoutBindCapability()
    {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[CAP_TO_INDEX(CAP_NET_BIND_SERVICE)].effective &= ~CAP_TO_MASK(CAP_NET_BIND_SERVICE);
        active_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WithoutBindCapability()
    {
        if (active_)
            syscall(SYS_capset, &header_, saved_);
    }
    WithoutBindCapability(const WithoutBindCapability&) = delete;
    WithoutBindCapability& operator=(const WithoutBindCapability&) = delete;
    bool active() const { return active_; }

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};
#endif

TEST_F(TcpTransportTest, ListeningOnAPrivilegedPortWithoutTheRightReportsNotPermitted)
{
    int unprivilegedFrom = 1024;
    std::ifstream("/proc/sys/net/ipv4/ip_unprivileged_port_start") >> unprivilegedFrom;
    if (unprivilegedFrom <= 1)
        GTEST_SKIP() << "port 1 is open to everyone on this system";
#ifdef __linux__
    std::unique_ptr<WithoutBindCapability> dropped;
    if (geteuid() == 0) {
        dropped = std::make_unique<WithoutBindCapability>();
        if (!dropped->active())
            GTEST_SKIP() << "running as root";
    }
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root";
#endif
    EXPECT_EQ(host->Listen(1), Transport::ListenError::NotPermitted);
    EXPECT_EQ(host->State(), Transport::Closed);
}

TEST_F(TcpTransportTest, AcceptWithNobodyWaitingFails)
{
    EXPECT_FALSE(host->Accept());
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    EXPECT_FALSE(host->Accept());
    EXPECT_EQ(host->State(), Transport::Listening);
}

// --- Joining -----------------------------------------------------------------

TEST_F(TcpTransportTest, ReachesTheHostByIPv4NameAndIPv6)
{
    ASSERT_NO_FATAL_FAILURE(connectPair("127.0.0.1"));
    expectExchange("a", "b");

    for (const std::string address : {"localhost", "::1"}) {
        if (address == "::1" && !ipv6LoopbackAvailable())
            continue;
        SCOPED_TRACE(address);
        Peer other;
        ASSERT_EQ(other->Listen(0), Transport::ListenError::None);
        Peer guest;
        guest->Connect(address, other->LocalPort());
        ASSERT_TRUE(waitUntil([&] { return other.requests > 0; }));
        ASSERT_TRUE(other->Accept());
        ASSERT_TRUE(waitUntil([&] { return guest->State() == Transport::Connected; }));
        ASSERT_TRUE(guest->SendData("hi"));
        EXPECT_TRUE(waitUntil([&] { return other.received == "hi"; }));
    }
}

TEST_F(TcpTransportTest, AcceptingFromInsideTheRequestCallbackWorks)
{
    host.t->onConnectionRequest = [this] { EXPECT_TRUE(host->Accept()); };
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    joiner->Connect("127.0.0.1", host->LocalPort());
    ASSERT_TRUE(waitUntil([&] { return joiner->State() == Transport::Connected; }));
    EXPECT_EQ(host->State(), Transport::Connected);
    expectExchange("ping", "pong");
}

TEST_F(TcpTransportTest, AfterAcceptLaterJoinersAreRefused)
{
    ASSERT_NO_FATAL_FAILURE(connectPair());
    const uint16_t port = host->LocalPort();

    Peer late;
    late->Connect("127.0.0.1", port);
    EXPECT_TRUE(waitUntil([&] { return late->State() == Transport::Failed; }));
    EXPECT_EQ(late.closed, 0);
    EXPECT_EQ(host.requests, 1);

    expectExchange("still", "here");
    EXPECT_EQ(host.closed, 0);
    EXPECT_EQ(joiner.closed, 0);
}

TEST_F(TcpTransportTest, AcceptTakesTheFirstJoinerAndTurnsAwayTheOthers)
{
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    joiner->Connect("127.0.0.1", host->LocalPort());
    ASSERT_TRUE(waitUntil([&] { return host.requests == 1 && joiner->State() == Transport::Connected; }));
    Peer second;
    second->Connect("127.0.0.1", host->LocalPort());
    ASSERT_TRUE(waitUntil([&] { return host.requests == 2 && second->State() == Transport::Connected; }));

    ASSERT_TRUE(host->Accept());
    EXPECT_TRUE(waitUntil([&] { return second.closed == 1; }));
    EXPECT_EQ(second->State(), Transport::Closed);
    EXPECT_FALSE(host->Accept());

    expectExchange("first", "welcome");
    EXPECT_EQ(joiner.closed, 0);
}

TEST_F(TcpTransportTest, BytesSentBeforeTheHostAcceptsAreAnnounced)
{
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    joiner->Connect("127.0.0.1", host->LocalPort());
    ASSERT_TRUE(waitUntil([&] { return host.requests == 1 && joiner->State() == Transport::Connected; }));
    ASSERT_TRUE(joiner->SendData("early"));
    // Give the waiting connection time to take the bytes in before Accept.
    pumpFor(100);

    ASSERT_TRUE(host->Accept());
    EXPECT_TRUE(waitUntil([&] { return host.received == "early"; }));
}

TEST_F(TcpTransportTest, ConnectingToAClosedPortFailsQuickly)
{
    const uint16_t port = closedPort();
    ASSERT_NE(port, 0);
    QElapsedTimer clock;
    clock.start();
    joiner->Connect("127.0.0.1", port);
    EXPECT_TRUE(waitUntil([&] { return joiner->State() == Transport::Failed; }, 500));
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_FALSE(joiner->SendData("x"));
    pumpFor(20);
    EXPECT_EQ(joiner.closed, 0);
    EXPECT_EQ(joiner->State(), Transport::Failed);
}

TEST_F(TcpTransportTest, ConnectingToANameThatDoesNotResolveFails)
{
    joiner->Connect("no-such-host.invalid", 5000);
    EXPECT_TRUE(waitUntil([&] { return joiner->State() == Transport::Failed; }, 5000));
    EXPECT_EQ(joiner.closed, 0);
}

TEST_F(TcpTransportTest, AFailedTransportCanConnectAgain)
{
    joiner->Connect("127.0.0.1", closedPort());
    ASSERT_TRUE(waitUntil([&] { return joiner->State() == Transport::Failed; }));
    ASSERT_NO_FATAL_FAILURE(connectPair());
    expectExchange("again", "ok");
}

// --- Data --------------------------------------------------------------------

TEST_F(TcpTransportTest, EveryByteValueTravelsBothWays)
{
    ASSERT_NO_FATAL_FAILURE(connectPair());
    const std::string bytes = allByteValues();
    std::string reversed(bytes.rbegin(), bytes.rend());
    expectExchange(bytes, reversed);
}

TEST_F(TcpTransportTest, ALargeBlobArrivesWholeWhenDrainedInBufferSizedReads)
{
    ASSERT_NO_FATAL_FAILURE(connectPair());
    const std::string big = blob(200 * 1024);
    std::string reversed(big.rbegin(), big.rend());
    expectExchange(big, reversed);
}

TEST_F(TcpTransportTest, BytesLeftUnreadStayForTheNextRead)
{
    ASSERT_NO_FATAL_FAILURE(connectPair());
    host.drainOnArrival = false;
    ASSERT_TRUE(joiner->SendData("hello world"));
    ASSERT_TRUE(waitUntil([&] { return host.arrivals > 0; }));

    std::string got = host->GetData(5);
    EXPECT_EQ(got, "hello");
    EXPECT_TRUE(waitUntil([&] {
        got += drain(*host);
        return got.size() >= 11;
    }));
    EXPECT_EQ(got, "hello world");
    EXPECT_EQ(host->GetData(100), "");
}

TEST_F(TcpTransportTest, SendingWithoutAConnectionFails)
{
    EXPECT_FALSE(host->SendData("x"));
    EXPECT_EQ(host->GetData(10), "");
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    EXPECT_FALSE(host->SendData("x"));

    ASSERT_NO_FATAL_FAILURE(connectPair());
    host->Close();
    EXPECT_FALSE(host->SendData("x"));
    EXPECT_EQ(host->GetData(10), "");
}

// --- Ending ------------------------------------------------------------------

TEST_F(TcpTransportTest, PeerClosingIsReportedOnceAndOwnCloseNotAtAll)
{
    ASSERT_NO_FATAL_FAILURE(connectPair());
    joiner->Close();
    EXPECT_EQ(joiner->State(), Transport::Closed);

    EXPECT_TRUE(waitUntil([&] { return host.closed > 0; }));
    EXPECT_EQ(host->State(), Transport::Closed);
    EXPECT_FALSE(host->SendData("anyone?"));
    pumpFor(50);
    EXPECT_EQ(host.closed, 1);
    EXPECT_EQ(joiner.closed, 0);

    host->Close();
    pumpFor(20);
    EXPECT_EQ(host.closed, 1);
}

TEST_F(TcpTransportTest, BytesThatCameBeforeThePeerLeftCanStillBeRead)
{
    ASSERT_NO_FATAL_FAILURE(connectPair());
    host.drainOnArrival = false;
    ASSERT_TRUE(joiner->SendData("bye"));
    joiner->Close();
    ASSERT_TRUE(waitUntil([&] { return host.closed == 1; }));
    EXPECT_EQ(drain(*host), "bye");
}

TEST_F(TcpTransportTest, WhatWasSentBeforeCloseStillArrives)
{
    ASSERT_NO_FATAL_FAILURE(connectPair());
    // More than the system's socket buffers hold, so some is still queued
    // in the socket itself at Close.
    const std::string big = blob(16 * 1024 * 1024);
    ASSERT_TRUE(host->SendData(big));
    host->Close();
    host.t.reset();

    EXPECT_TRUE(waitUntil([&] { return joiner.closed == 1; }, 5000));
    joiner.received += drain(*joiner);
    EXPECT_EQ(joiner.received.size(), big.size());
    EXPECT_TRUE(joiner.received == big);
}

TEST_F(TcpTransportTest, ClosingFromInsideCallbacksIsSafe)
{
    ASSERT_NO_FATAL_FAILURE(connectPair());
    host.t->onDataArrival = [this] { host->Close(); };
    joiner.t->onClosed = [this] {
        ++joiner.closed;
        joiner->Close();
    };
    ASSERT_TRUE(joiner->SendData("bad move"));
    EXPECT_TRUE(waitUntil([&] { return joiner.closed == 1; }));
    EXPECT_EQ(host->State(), Transport::Closed);
    EXPECT_EQ(joiner->State(), Transport::Closed);
    EXPECT_EQ(host.closed, 0);

    // And the closed transports can start over.
    host.t->onDataArrival = [this] { host.received += drain(*host); };
    ASSERT_NO_FATAL_FAILURE(connectPair());
    expectExchange("new", "game");
}

TEST_F(TcpTransportTest, DestroyingATransportInAnyStateIsSafe)
{
    // Connected: the peer learns of it.
    ASSERT_NO_FATAL_FAILURE(connectPair());
    host.t.reset();
    EXPECT_TRUE(waitUntil([&] { return joiner.closed == 1; }));

    // Listening, with a joiner waiting to be accepted.
    Peer listener;
    ASSERT_EQ(listener->Listen(0), Transport::ListenError::None);
    Peer waiting;
    waiting->Connect("127.0.0.1", listener->LocalPort());
    ASSERT_TRUE(waitUntil([&] { return listener.requests == 1; }));
    listener.t.reset();
    EXPECT_TRUE(waitUntil([&] {
        return waiting->State() == Transport::Closed || waiting->State() == Transport::Failed;
    }));

    // Connecting, and looking up a name.
    Peer connecting;
    connecting->Connect("127.0.0.1", closedPort());
    connecting.t.reset();
    Peer lookingUp;
    lookingUp->Connect("no-such-host.invalid", 5000);
    lookingUp.t.reset();
    pumpFor(100);
}

// --- This machine ------------------------------------------------------------

TEST(TcpTransportLocalIP, IsAnAddressAPeerCouldUse)
{
    TcpTransport t;
    const std::string ip = t.LocalIP();
    ASSERT_FALSE(ip.empty());
    QHostAddress address;
    EXPECT_TRUE(address.setAddress(QString::fromStdString(ip))) << ip;
    EXPECT_FALSE(address.isLinkLocal() && address.protocol() == QAbstractSocket::IPv6Protocol) << ip;
}

} // namespace
} // namespace brindle

#ifdef TCP_TRANSPORT_STANDALONE_MAIN
int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
#endif
