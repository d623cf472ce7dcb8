#pragma once
// Games on the local network through the system's mDNS service, Avahi, over
// its D-Bus interface. Every call is asynchronous: a daemon that is slow or
// missing never holds up the window. Without a system bus or a daemon the
// announcer does nothing and the browser reports itself unavailable.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "net/discovery.h"

class QDBusMessage;
class QDBusPendingCall;

namespace brindle {

// Registers the hosted game as a DNS-SD service, updates its TXT record
// when it changes, and withdraws it.
class AvahiAnnouncer final : public QObject, public discovery::Announcer {
    Q_OBJECT
public:
    AvahiAnnouncer(QDBusConnection bus, std::string version);
    ~AvahiAnnouncer() override;

    void announce(const discovery::Announcement& a) override;
    void withdraw() override;

private slots:
    void groupStateChanged(const QDBusMessage& message);

private:
    // Brings the daemon's registration to what is wanted.
    void apply();
    void addService();
    // Registers under the next free name, if `group` is still the one in use.
    void rename(const QString& group);
    void call(const QString& path, const QString& interface, const QString& method, const QVariantList& args);

    QDBusConnection bus_;
    std::string version_;
    std::optional<discovery::Announcement> wanted_;
    // What the entry group holds, as last sent to it.
    std::optional<discovery::Announcement> sent_;
    QString group_;
    QString published_;
    bool creating_ = false;
    // Counts the daemon's comings and goings.
    uint64_t daemonGeneration_ = 0;
};

// The announcer made at the first announcement: a player who never hosts
// never waits for the system bus, at start-up least of all.
class OnDemandAnnouncer final : public discovery::Announcer {
public:
    explicit OnDemandAnnouncer(std::string version) : version_(std::move(version)) {}
    void announce(const discovery::Announcement& a) override;
    void withdraw() override;

private:
    std::string version_;
    std::unique_ptr<AvahiAnnouncer> announcer_;
};

// Follows the games announced on the local network.
class AvahiBrowser final : public QObject {
    Q_OBJECT
public:
    enum class Status { Starting, Browsing, Unavailable };

    explicit AvahiBrowser(QDBusConnection bus, QObject* parent = nullptr);
    ~AvahiBrowser() override;

    Status status() const { return status_; }
    const discovery::FoundGames& games() const { return games_; }
    // The status or the games have changed.
    std::function<void()> onChanged;

private slots:
    void itemNew(const QDBusMessage& message);
    void itemRemove(const QDBusMessage& message);
    void browserFailure(const QDBusMessage& message);
    void found(const QDBusMessage& message);

private:
    void start();
    void setStatus(Status s);
    void changed();
    void free(const QString& path);

    QDBusConnection bus_;
    Status status_ = Status::Starting;
    QString browser_;
    discovery::FoundGames games_;
    // The resolver of each service heard of, by its key; empty while its
    // path is on its way.
    std::map<std::string, QString> resolvers_;
};

} // namespace brindle
