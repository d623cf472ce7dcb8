// The game's socket over real loopback connections: host and joiner in one process.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include <QTcpServer>
#include <QHostAddress>
#include <QTest>

#include "platform/tcp_transport.h"

namespace brindle {
namespace {

std::string drain(TcpTransport& t)
{
    std::string all;
    for (std::string part; !(part = t.GetData(TcpTransport::ReadBufferBytes)).empty();)
        all += part;
    return all;
}

std::string blob(size_t size) // every byte value, in a pattern that never repeats a whole read buffer
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i ^ i >> 8 ^ i >> 16);
    return bytes;
}

struct Peer { // one transport and what its callbacks have reported
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
    bool is(int32_t state) { return t->State() == state; }
};

void connectPair(Peer& host, Peer& joiner, const std::string& address = "127.0.0.1") // accepted from its callback
{
    host.t->onConnectionRequest = [&host] { EXPECT_TRUE(host->Accept()); };
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    joiner->Connect(address, host->LocalPort());
    ASSERT_TRUE(QTest::qWaitFor([&] { return joiner.is(Transport::Connected) && host.is(Transport::Connected); }, 3000)) << address;
}

void expectExchange(Peer& host, Peer& joiner, const std::string& toHost, const std::string& toJoiner)
{
    host.received.clear(), joiner.received.clear();
    ASSERT_TRUE(joiner->SendData(toHost) && host->SendData(toJoiner));
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.received.size() >= toHost.size() && joiner.received.size() >= toJoiner.size(); }, 3000)
                && host.received == toHost && joiner.received == toJoiner) << "all of both sends, exactly";
}

TEST(TcpTransport, AcceptTakesTheFirstJoinerAndRefusesEveryOtherThenCarriesEveryByteBothWays)
{
    Peer host, joiner, second, late, other;
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    const uint16_t first = host->LocalPort();
    ASSERT_EQ(host->Listen(0), Transport::ListenError::None);
    const uint16_t port = host->LocalPort();
    EXPECT_FALSE(host->Accept() || host->SendData("x") || other->Listen(first) != Transport::ListenError::None)
        << "nobody is waiting, and listening again let the old port go";
    EXPECT_TRUE(other->Listen(port) == Transport::ListenError::InUse && other.is(Transport::Closed));
    joiner->Connect("127.0.0.1", port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.requests == 1 && joiner.is(Transport::Connected); }, 3000)) << "the first";
    ASSERT_TRUE(joiner->SendData("early") && host.received.empty());
    second->Connect("127.0.0.1", port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.requests == 2 && second.is(Transport::Connected); }, 3000)) << "the second";
    QTest::qWait(100); // the waiting connections take the bytes in
    ASSERT_TRUE(host->Accept());
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.closed == 1 && host.received == "early"; }, 3000))
        << "the second cut off, and the bytes sent before the accept announced";
    EXPECT_TRUE(second.is(Transport::Closed) && !host->Accept());
    late->Connect("127.0.0.1", port);
    EXPECT_TRUE(QTest::qWaitFor([&] { return late.is(Transport::Failed); }, 3000)) << "a later joiner refused outright";
    const std::string big = blob(200 * 1024); // several read buffers
    expectExchange(host, joiner, big, std::string(big.rbegin(), big.rend()));
    EXPECT_EQ(late.closed + host.requests + host.closed + joiner.closed, 2);
    host->Close();
    EXPECT_TRUE(host.is(Transport::Closed) && host->LocalPort() == 0);
}

TEST(TcpTransport, ConnectingFailsQuicklyWithoutReportingACloseAndCanBeRetried)
{
    Peer host, joiner;
    uint16_t port = 0;
    if (QTcpServer probe; probe.listen(QHostAddress::LocalHost, 0))
        port = probe.serverPort(); // nobody listens there once the probe is gone
    joiner->Connect("127.0.0.1", port);
    EXPECT_TRUE(QTest::qWaitFor([&] { return joiner.is(Transport::Failed); }, 500)) << "refused within half a second";
    EXPECT_TRUE(joiner.is(Transport::Failed) && !joiner->SendData("x") && joiner.closed == 0);
    joiner->Close();
    EXPECT_TRUE(joiner.is(Transport::Closed)) << "failed until closed";
    ASSERT_NO_FATAL_FAILURE(connectPair(host, joiner, QTcpServer().listen(QHostAddress::LocalHostIPv6, 0) ? "::1" : "localhost"));
    expectExchange(host, joiner, "again", "ok");
}

TEST(TcpTransport, PeerLeavingIsReportedOnceAfterWhatItSentAndOwnCloseNotAtAll)
{
    Peer host, joiner;
    ASSERT_NO_FATAL_FAILURE(connectPair(host, joiner));
    host.t->onDataArrival = {};
    const std::string flood = blob(4 * TcpTransport::ReadBufferBytes);
    ASSERT_TRUE(joiner->SendData(flood));
    QTest::qWait(100);
    size_t got = host->GetData(SIZE_MAX).size();
    EXPECT_EQ(got, TcpTransport::ReadBufferBytes) << "a flood waits in the system, not in memory";
    ASSERT_TRUE(QTest::qWaitFor([&] { return (got += drain(*host.t).size()) == flood.size(); }, 3000)) << "the rest, " << got;
    ASSERT_TRUE(joiner->SendData("hello world"));
    joiner->Close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.closed > 0; }, 3000)) << "the host told of the end";
    EXPECT_TRUE(host.is(Transport::Closed) && !host->SendData("anyone?"));
    const std::string h = host->GetData(1);
    EXPECT_EQ(h + host->GetData(4), "hello") << "what came before the end is still read, in parts";
    EXPECT_EQ(drain(*host.t), " world");
    QTest::qWait(50), host->Close();
    EXPECT_TRUE(host.closed == 1 && joiner.closed == 0 && !joiner->SendData("x") && joiner->GetData(10).empty());
}

TEST(TcpTransport, ShowsARoutableIPv4AddressFirstThenASelfAssignedOneThenAGlobalIPv6One)
{
    const struct { QStringList addresses; std::string shown; } cases[] = {
        {{"fe80::1", "2001:db8::5", "169.254.3.4", "10.0.0.2", "192.168.1.9"}, "10.0.0.2"},
        {{"127.0.0.1", "fe80::1", "2001:db8::5", "169.254.3.4"}, "169.254.3.4"},
        {{"::1", "fe80::1", "2001:db8::5"}, "2001:db8::5"},
        {{"::1", "fe80::1", "127.0.0.5"}, "127.0.0.1"},
        {{}, "127.0.0.1"},
    };
    for (const auto& c : cases) {
        QList<QHostAddress> addresses;
        for (const QString& a : c.addresses)
            addresses.append(QHostAddress(a));
        EXPECT_EQ(preferredAddress(addresses), c.shown) << c.addresses.join(' ').toStdString();
    }
    EXPECT_FALSE(TcpTransport().LocalIP().empty());
}

} // namespace
} // namespace brindle
