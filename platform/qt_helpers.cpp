#include "platform/qt_helpers.h"

#include <QCoreApplication>
#include <QTimer>

namespace brindle {

QString toQString(std::string_view s)
{
    // The game breaks lines as "\r\n"; Qt wants one character for it.
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void serveEventsUntil(int milliseconds, const std::function<bool()>& done)
{
    // The timer makes sure an event comes when the time is up.
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timeUp = false;
    QObject::connect(&deadline, &QTimer::timeout, [&timeUp] { timeUp = true; });
    deadline.start(milliseconds);
    while (!timeUp && !done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace brindle
