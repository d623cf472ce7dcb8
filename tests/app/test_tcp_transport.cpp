// The game's socket over real loopback connections: a host and a joiner in
// one process, driven by the event loop.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "app/tcp_transport.h"

namespace brindle {
namespace {

// Runs the event loop until `done` holds or the time is up. QTest::qWaitFor
// sleeps between passes, too slow for big sends.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 3000)
{
    const QDeadlineTimer deadline(timeoutMs);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || deadline.hasExpired())
            loop.quit();
    });
    poll.start(1);
    if (!done())
        loop.exec();
    return done();
}

// Reads until nothing more is there, as the game does.
std::string drain(TcpTransport& t)
{
    std::string all;
    for (std::string part; !(part = t.GetData(TcpTransport::ReadBufferBytes)).empty();)
        all += part;
    return all;
}

// Every byte value, in a pattern that never repeats a whole read buffer.
std::string blob(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i ^ i >> 8 ^ i >> 16);
    return bytes;
}

// A port nobody listens on, most likely for the rest of the test.
uint16_t closedPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// One transport and what its callbacks have reported.
struct Peer {
    std::unique_ptr<TcpTransport> t = std::make_unique<TcpTransport>();
    int requests = 0, closed = 0;
    std::string received;

    Peer()
    {
        t->onConnectionRequest = [this] { ++requests; };
        t->onClosed = [this] { ++closed; };
        t->onDataArrival = [this] { received += drain(*t); };
    }
    TcpTransport* operator->() { return t.get(); }
};

// Host listens, joiner connects, host accepts.
void connectPair(Peer& host, Peer& joiner, const std::string& address = "127.0.0.1")
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
void expectExchange(Peer& host, Peer& joiner, const std::string& toHost, const std::string& toJoiner)
{
    host.received.clear();
    joiner.received.clear();
    ASSERT_TRUE(joiner->SendData(toHost));
    ASSERT_TRUE(host->SendData(toJoiner));
    EXPECT_TRUE(waitUntil([&] {
        return host.received.size() >= toHost.size() && joiner.received.size() >= toJoiner.size();
    }));
    EXPECT_TRUE(host.received == toHost);
    EXPECT_TRUE(joiner.received == toJoiner);
}

class TcpTransportTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        host.t.reset();
        joiner.t.reset();
        QTest::qWait(0); // the sockets are deleted later
    }
    Peer host, joiner;
};

TEST_F(TcpTransportTest, ListensUntilClosedAndReportsATakenPort)
{
    EXPECT_FALSE(host->Accept());
    EXPECT_FALSE(host->SendData("x"));
    EXPECT_EQ(host->GetData(10), "");
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    const uint16_t first = host->LocalPort();
    EXPECT_FALSE(host->Accept()) << "nobody is waiting";
    EXPECT_FALSE(host->SendData("x"));
    Peer other;
    EXPECT_EQ(other->Listen(first), Transport::ListenError::InUse);
    EXPECT_EQ(other->State(), Transport::Closed);

    // Listening again lets the old port go, and a joiner waiting there with
    // it; closing frees a port at once, not when Qt gets round to deleting.
    joiner->Connect("127.0.0.1", first);
    ASSERT_TRUE(waitUntil([&] { return host.requests == 1 && joiner->State() == Transport::Connected; }));
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    EXPECT_EQ(host->State(), Transport::Listening);
    EXPECT_EQ(other->Listen(first), Transport::ListenError::None);
    EXPECT_TRUE(waitUntil([&] { return joiner->State() == Transport::Closed; }));
    const uint16_t second = host->LocalPort();
    host->Close();
    EXPECT_EQ(host->State(), Transport::Closed);
    EXPECT_EQ(host->LocalPort(), 0);
    EXPECT_EQ(joiner->Listen(second), Transport::ListenError::None);
}

#ifdef __linux__
TEST_F(TcpTransportTest, ListeningOnAPrivilegedPortWithoutTheRightReportsNotPermitted)
{
    int unprivilegedFrom = 1024;
    std::ifstream("/proc/sys/net/ipv4/ip_unprivileged_port_start") >> unprivilegedFrom;
    if (unprivilegedFrom <= 1)
        GTEST_SKIP() << "port 1 is open to everyone on this system";
    // As root, take the right to bind low ports from this thread meanwhile.
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved[2]{}, lowered[2]{};
    bool dropped = false;
    if (geteuid() == 0 && syscall(SYS_capget, &header, saved) == 0) {
        std::copy(saved, saved + 2, lowered);
        lowered[CAP_TO_INDEX(CAP_NET_BIND_SERVICE)].effective &= ~CAP_TO_MASK(CAP_NET_BIND_SERVICE);
        dropped = syscall(SYS_capset, &header, lowered) == 0;
    }
    if (geteuid() == 0 && !dropped)
        GTEST_SKIP() << "running as root";
    EXPECT_EQ(host->Listen(1), Transport::ListenError::NotPermitted);
    EXPECT_EQ(host->State(), Transport::Closed);
    if (dropped)
        syscall(SYS_capset, &header, saved);
}
#endif

TEST_F(TcpTransportTest, CarriesEveryByteBothWaysOverIPv4NameAndIPv6)
{
    // More than the read buffer holds, so it arrives over several drains.
    const std::string big = blob(200 * 1024);
    for (const std::string address : {"127.0.0.1", "localhost", "::1"}) {
        if (address == "::1" && !QTcpServer().listen(QHostAddress::LocalHostIPv6, 0))
            continue;
        SCOPED_TRACE(address);
        Peer other, guest;
        ASSERT_NO_FATAL_FAILURE(connectPair(other, guest, address));
        expectExchange(other, guest, big, std::string(big.rbegin(), big.rend()));
    }
}

TEST_F(TcpTransportTest, AcceptTakesTheFirstJoinerAndRefusesEveryOther)
{
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    const uint16_t port = host->LocalPort();
    joiner->Connect("127.0.0.1", port);
    ASSERT_TRUE(waitUntil([&] { return host.requests == 1 && joiner->State() == Transport::Connected; }));
    ASSERT_TRUE(joiner->SendData("early"));
    Peer second;
    second->Connect("127.0.0.1", port);
    ASSERT_TRUE(waitUntil([&] { return host.requests == 2 && second->State() == Transport::Connected; }));
    // Time for the waiting connections to take the bytes in before Accept.
    QTest::qWait(100);

    ASSERT_TRUE(host->Accept());
    EXPECT_TRUE(waitUntil([&] { return second.closed == 1 && host.received == "early"; }))
        << "bytes sent before the accept are announced";
    EXPECT_EQ(second->State(), Transport::Closed);
    EXPECT_FALSE(host->Accept());

    // The port is shut: a later joiner is refused outright.
    Peer late;
    late->Connect("127.0.0.1", port);
    EXPECT_TRUE(waitUntil([&] { return late->State() == Transport::Failed; }));
    EXPECT_EQ(late.closed, 0);
    EXPECT_EQ(host.requests, 2);

    expectExchange(host, joiner, "first", "welcome");
    EXPECT_EQ(host.closed + joiner.closed, 0);
}

TEST_F(TcpTransportTest, ConnectingFailsQuicklyWithoutReportingACloseAndCanBeRetried)
{
    const uint16_t port = closedPort();
    ASSERT_NE(port, 0);
    QElapsedTimer clock;
    clock.start();
    joiner->Connect("127.0.0.1", port);
    EXPECT_TRUE(waitUntil([&] { return joiner->State() == Transport::Failed; }, 500));
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_FALSE(joiner->SendData("x"));

    Peer lost;
    lost->Connect("no-such-host.invalid", 5000);
    EXPECT_EQ(lost->State(), Transport::Connecting);
    EXPECT_FALSE(lost->SendData("x")) << "nothing is sent before the connection is made";
    EXPECT_TRUE(waitUntil([&] { return lost->State() == Transport::Failed; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(joiner->State(), Transport::Failed);
    EXPECT_EQ(joiner.closed + lost.closed, 0);
    lost->Close();
    EXPECT_EQ(lost->State(), Transport::Closed);

    ASSERT_NO_FATAL_FAILURE(connectPair(host, joiner));
    expectExchange(host, joiner, "again", "ok");

    // Going away while still connecting or looking up a name is safe.
    Peer connecting, lookingUp;
    connecting->Connect("127.0.0.1", port);
    connecting.t.reset();
    lookingUp->Connect("no-such-host.invalid", 5000);
    lookingUp.t.reset();
    QTest::qWait(100);
}

TEST_F(TcpTransportTest, PeerLeavingIsReportedOnceAfterWhatItSentAndOwnCloseNotAtAll)
{
    ASSERT_NO_FATAL_FAILURE(connectPair(host, joiner));
    host.t->onDataArrival = {};
    ASSERT_TRUE(joiner->SendData("hello world"));
    joiner->Close();
    EXPECT_TRUE(waitUntil([&] { return host.closed > 0; }));
    EXPECT_EQ(host->State(), Transport::Closed);
    EXPECT_FALSE(host->SendData("anyone?"));
    // What came before the end can still be read, and in parts.
    EXPECT_EQ(host->GetData(5), "hello");
    EXPECT_EQ(drain(*host.t), " world");
    QTest::qWait(50);
    host->Close();
    QTest::qWait(20);
    EXPECT_EQ(host.closed, 1);
    EXPECT_EQ(joiner.closed, 0);
    EXPECT_FALSE(joiner->SendData("x"));
    EXPECT_EQ(joiner->GetData(10), "");
}

TEST_F(TcpTransportTest, WhatWasSentBeforeCloseStillArrives)
{
    ASSERT_NO_FATAL_FAILURE(connectPair(host, joiner));
    // More than the system's buffers hold, so some is still queued in the
    // socket itself at Close.
    const std::string big = blob(16 * 1024 * 1024);
    ASSERT_TRUE(host->SendData(big));
    host->Close();
    host.t.reset();

    EXPECT_TRUE(waitUntil([&] { return joiner.closed == 1; }, 5000));
    joiner.received += drain(*joiner.t);
    EXPECT_EQ(joiner.received.size(), big.size());
    EXPECT_TRUE(joiner.received == big);
}

TEST_F(TcpTransportTest, AcceptingAndClosingFromInsideCallbacksIsSafe)
{
    ASSERT_NO_FATAL_FAILURE(connectPair(host, joiner));
    host.t->onDataArrival = [this] { host->Close(); };
    joiner.t->onClosed = [this] {
        ++joiner.closed;
        joiner->Close();
    };
    ASSERT_TRUE(joiner->SendData("bad move"));
    EXPECT_TRUE(waitUntil([&] { return joiner.closed == 1; }));
    EXPECT_EQ(host->State(), Transport::Closed);
    EXPECT_EQ(host.closed, 0);

    // Both start over; this time the host accepts as it is asked.
    host.t->onDataArrival = [this] { host.received += drain(*host.t); };
    host.t->onConnectionRequest = [this] { EXPECT_TRUE(host->Accept()); };
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    joiner->Connect("127.0.0.1", host->LocalPort());
    ASSERT_TRUE(waitUntil([&] { return joiner->State() == Transport::Connected; }));
    EXPECT_EQ(host->State(), Transport::Connected);
    expectExchange(host, joiner, "new", "game");
}

TEST(TcpTransportLocalIP, IsAnAddressAPeerCouldUse)
{
    const std::string ip = TcpTransport().LocalIP();
    QHostAddress address;
    ASSERT_TRUE(address.setAddress(QString::fromStdString(ip))) << ip;
    EXPECT_FALSE(address.isLinkLocal() && address.protocol() == QAbstractSocket::IPv6Protocol) << ip;
}

} // namespace
} // namespace brindle
