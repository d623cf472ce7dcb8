#include "platform/avahi.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

#include "platform/qt_helpers.h"

namespace brindle {

namespace {

const QString Service = QStringLiteral("org.freedesktop.Avahi");
const QString ServerInterface = QStringLiteral("org.freedesktop.Avahi.Server");
const QString GroupInterface = QStringLiteral("org.freedesktop.Avahi.EntryGroup");
const QString BrowserInterface = QStringLiteral("org.freedesktop.Avahi.ServiceBrowser");
const QString ResolverInterface = QStringLiteral("org.freedesktop.Avahi.ServiceResolver");
const QString Type = QString::fromLatin1(discovery::ServiceType.data(), discovery::ServiceType.size());

// Avahi's numbers for "any interface", for IPv4 and for "either protocol".
constexpr int32_t AnyInterface = -1;
constexpr int32_t IPv4 = 0;
constexpr int32_t AnyProtocol = -1;
// The entry group's states.
constexpr int32_t Collision = 3;

using TxtRecord = QList<QByteArray>;

void registerTypes()
{
    static const bool done = [] {
        qDBusRegisterMetaType<TxtRecord>();
        return true;
    }();
    (void)done;
}

QVariant txtVariant(const std::vector<std::string>& txt)
{
    TxtRecord record;
    for (const std::string& entry : txt)
        record.append(QByteArray::fromStdString(entry));
    return QVariant::fromValue(record);
}

QDBusMessage methodCall(const QString& path, const QString& interface, const QString& method,
                        const QVariantList& args)
{
    QDBusMessage m = QDBusMessage::createMethodCall(Service, path, interface, method);
    m.setArguments(args);
    return m;
}

// The object path a call answered with, or nothing on an error.
std::optional<QString> pathReply(const QDBusPendingCall& call)
{
    const QDBusPendingReply<QDBusObjectPath> reply(call);
    if (reply.isError())
        return std::nullopt;
    return reply.value().path();
}

// Runs `then` with the reply of an asynchronous call, on the receiver's
// thread, unless the receiver has gone.
template <typename Then>
void whenAnswered(QDBusConnection& bus, const QDBusMessage& call, QObject* receiver, Then then)
{
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), receiver);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, receiver, [watcher, then] {
        watcher->deleteLater();
        then(static_cast<const QDBusPendingCall&>(*watcher));
    });
}

// A service's identity as Avahi gives it in a signal: interface, protocol,
// name, type and domain, the first five arguments.
std::string serviceKey(const QList<QVariant>& args)
{
    return QStringLiteral("%1/%2/%3/%4/%5")
        .arg(args[0].toInt())
        .arg(args[1].toInt())
        .arg(args[2].toString(), args[3].toString(), args[4].toString())
        .toStdString();
}

bool isOurType(const QList<QVariant>& args)
{
    return args.size() >= 5 && args[3].toString() == Type;
}

} // namespace

// ---- Announcing

AvahiAnnouncer::AvahiAnnouncer(QDBusConnection bus, std::string version) : bus_(std::move(bus)), version_(std::move(version))
{
    registerTypes();
    if (!bus_.isConnected())
        return;
    // A daemon that restarts has forgotten the registration: it is made again.
    auto* watcher = new QDBusServiceWatcher(Service, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                ++daemonGeneration_;
                group_.clear();
                sent_.reset();
                creating_ = false;
                if (!newOwner.isEmpty())
                    apply();
            });
}

AvahiAnnouncer::~AvahiAnnouncer()
{
    withdraw();
}

void AvahiAnnouncer::announce(const discovery::Announcement& a)
{
    wanted_ = a;
    apply();
}

void AvahiAnnouncer::withdraw()
{
    wanted_.reset();
    apply();
}

void AvahiAnnouncer::call(const QString& path, const QString& interface, const QString& method,
                          const QVariantList& args)
{
    // The daemon takes one client's calls in order, so none waits for the one before.
    bus_.send(methodCall(path, interface, method, args));
}

void AvahiAnnouncer::apply()
{
    if (!bus_.isConnected())
        return;
    if (!wanted_) {
        if (!group_.isEmpty()) {
            bus_.disconnect(Service, group_, GroupInterface, QStringLiteral("StateChanged"), this,
                            SLOT(groupStateChanged(QDBusMessage)));
            call(group_, GroupInterface, QStringLiteral("Free"), {});
            group_.clear();
        }
        sent_.reset();
        return;
    }
    if (group_.isEmpty()) {
        if (creating_)
            return;
        creating_ = true;
        whenAnswered(bus_, methodCall(QStringLiteral("/"), ServerInterface, QStringLiteral("EntryGroupNew"), {}),
                     this, [this, generation = daemonGeneration_](const QDBusPendingCall& reply) {
                         // An answer from a daemon that has gone since is no answer.
                         if (generation != daemonGeneration_)
                             return;
                         creating_ = false;
                         // Without a daemon nothing is announced, and nothing else changes.
                         const auto path = pathReply(reply);
                         if (!path)
                             return;
                         group_ = *path;
                         bus_.connect(Service, group_, GroupInterface, QStringLiteral("StateChanged"), this,
                                      SLOT(groupStateChanged(QDBusMessage)));
                         apply();
                     });
        return;
    }
    if (sent_ && sent_->name == wanted_->name && sent_->port == wanted_->port) {
        if (*sent_ != *wanted_) {
            call(group_, GroupInterface, QStringLiteral("UpdateServiceTxt"),
                 {AnyInterface, AnyProtocol, 0u, published_, Type, QString(),
                  txtVariant(discovery::txtRecord(*wanted_, version_))});
            sent_ = wanted_;
        }
        return;
    }
    if (sent_)
        call(group_, GroupInterface, QStringLiteral("Reset"), {});
    published_ = toQString(discovery::instanceName(*wanted_));
    addService();
}

void AvahiAnnouncer::addService()
{
    sent_ = wanted_;
    whenAnswered(bus_,
                 methodCall(group_, GroupInterface, QStringLiteral("AddService"),
                            {AnyInterface, AnyProtocol, 0u, published_, Type, QString(), QString(),
                             QVariant::fromValue(static_cast<ushort>(wanted_->port)),
                             txtVariant(discovery::txtRecord(*wanted_, version_))}),
                 this, [this, group = group_](const QDBusPendingCall& reply) {
                     // Another service of this machine has the name already.
                     if (reply.isError() && reply.error().name() == QStringLiteral("org.freedesktop.Avahi.CollisionError"))
                         rename(group);
                 });
    call(group_, GroupInterface, QStringLiteral("Commit"), {});
}

void AvahiAnnouncer::rename(const QString& group)
{
    if (group != group_ || !wanted_)
        return;
    // The daemon proposes the next free name ("Alice #2").
    whenAnswered(bus_,
                 methodCall(QStringLiteral("/"), ServerInterface, QStringLiteral("GetAlternativeServiceName"),
                            {published_}),
                 this, [this, group](const QDBusPendingCall& reply) {
                     const QDBusPendingReply<QString> name(reply);
                     if (name.isError() || group != group_ || !wanted_)
                         return;
                     call(group_, GroupInterface, QStringLiteral("Reset"), {});
                     published_ = name.value();
                     addService();
                 });
}

void AvahiAnnouncer::groupStateChanged(const QDBusMessage& message)
{
    const QList<QVariant> args = message.arguments();
    if (message.path() != group_ || args.isEmpty())
        return;
    const int32_t state = args[0].toInt();
    // Another host on the network has the name.
    if (state == Collision)
        rename(group_);
}

// ---- Finding

void OnDemandAnnouncer::announce(const discovery::Announcement& a)
{
    if (!announcer_)
        announcer_ = std::make_unique<AvahiAnnouncer>(QDBusConnection::systemBus(), version_);
    announcer_->announce(a);
}

void OnDemandAnnouncer::withdraw()
{
    if (announcer_)
        announcer_->withdraw();
}

AvahiBrowser::AvahiBrowser(QDBusConnection bus, QObject* parent) : QObject(parent), bus_(std::move(bus))
{
    registerTypes();
    if (!bus_.isConnected()) {
        status_ = Status::Unavailable;
        return;
    }
    // Signals are taken from any path: the browser and the resolvers start
    // reporting before their paths come back, and they identify the
    // service in their arguments anyway.
    bus_.connect(Service, QString(), BrowserInterface, QStringLiteral("ItemNew"), this, SLOT(itemNew(QDBusMessage)));
    bus_.connect(Service, QString(), BrowserInterface, QStringLiteral("ItemRemove"), this,
                 SLOT(itemRemove(QDBusMessage)));
    bus_.connect(Service, QString(), BrowserInterface, QStringLiteral("Failure"), this,
                 SLOT(browserFailure(QDBusMessage)));
    bus_.connect(Service, QString(), ResolverInterface, QStringLiteral("Found"), this, SLOT(found(QDBusMessage)));
    // A daemon that starts, stops or restarts is followed.
    auto* watcher = new QDBusServiceWatcher(Service, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                browser_.clear();
                resolvers_.clear();
                games_.clear();
                if (newOwner.isEmpty())
                    setStatus(Status::Unavailable);
                else
                    start();
            });
    start();
}

AvahiBrowser::~AvahiBrowser()
{
    for (const auto& [key, path] : resolvers_)
        free(path);
    free(browser_);
}

void AvahiBrowser::free(const QString& path)
{
    if (!path.isEmpty())
        bus_.send(methodCall(path, path == browser_ ? BrowserInterface : ResolverInterface, QStringLiteral("Free"), {}));
}

void AvahiBrowser::start()
{
    setStatus(Status::Starting);
    whenAnswered(bus_,
                 methodCall(QStringLiteral("/"), ServerInterface, QStringLiteral("ServiceBrowserNew"),
                            {AnyInterface, IPv4, Type, QString(), 0u}),
                 this, [this](const QDBusPendingCall& reply) {
                     const auto path = pathReply(reply);
                     if (!path) {
                         setStatus(Status::Unavailable);
                         return;
                     }
                     browser_ = *path;
                     setStatus(Status::Browsing);
                 });
}

void AvahiBrowser::setStatus(Status s)
{
    status_ = s;
    changed();
}

void AvahiBrowser::changed()
{
    if (onChanged)
        onChanged();
}

void AvahiBrowser::itemNew(const QDBusMessage& message)
{
    const QList<QVariant> args = message.arguments();
    if (!isOurType(args) || (!browser_.isEmpty() && message.path() != browser_))
        return;
    const std::string key = serviceKey(args);
    if (resolvers_.contains(key))
        return;
    resolvers_[key];
    // The resolver reports the address and the TXT record, and again
    // whenever they change ("waiting" becoming "playing").
    whenAnswered(bus_,
                 methodCall(QStringLiteral("/"), ServerInterface, QStringLiteral("ServiceResolverNew"),
                            {args[0], args[1], args[2], args[3], args[4], IPv4, 0u}),
                 this, [this, key](const QDBusPendingCall& reply) {
                     const auto it = resolvers_.find(key);
                     const auto path = pathReply(reply);
                     if (!path) {
                         if (it != resolvers_.end() && it->second.isEmpty())
                             resolvers_.erase(it);
                         return;
                     }
                     // A service that went while its resolver was being made
                     // needs the resolver no more.
                     if (it == resolvers_.end() || !it->second.isEmpty())
                         bus_.send(methodCall(*path, ResolverInterface, QStringLiteral("Free"), {}));
                     else
                         it->second = *path;
                 });
}

void AvahiBrowser::itemRemove(const QDBusMessage& message)
{
    const QList<QVariant> args = message.arguments();
    if (!isOurType(args) || (!browser_.isEmpty() && message.path() != browser_))
        return;
    const std::string key = serviceKey(args);
    const auto it = resolvers_.find(key);
    if (it != resolvers_.end()) {
        free(it->second);
        resolvers_.erase(it);
    }
    if (games_.drop(key))
        changed();
}

void AvahiBrowser::browserFailure(const QDBusMessage& message)
{
    if (message.path() == browser_)
        setStatus(Status::Unavailable);
}

void AvahiBrowser::found(const QDBusMessage& message)
{
    const QList<QVariant> args = message.arguments();
    if (args.size() < 11 || !isOurType(args))
        return;
    const std::string key = serviceKey(args);
    if (!resolvers_.contains(key))
        return;
    std::vector<std::string> txt;
    for (const QByteArray& entry : qdbus_cast<TxtRecord>(args[9]))
        txt.push_back(entry.toStdString());
    const auto game = discovery::foundGame(args[2].toString().toStdString(), args[7].toString().toStdString(),
                                           args[8].toLongLong(), txt);
    if (game ? games_.put(key, *game) : games_.drop(key))
        changed();
}

} // namespace brindle
