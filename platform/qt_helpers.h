#pragma once
// What the adapters and the window share of Qt Core: the game's text as Qt
// text, and a wait that serves the event loop.

#include <functional>
#include <string_view>

#include <QString>

namespace brindle {

// The game's text for Qt: UTF-8, lines broken as "\r\n".
QString toQString(std::string_view s);

// Serves this thread's events until `done` holds or the time is up. Each pass
// sleeps until an event comes, so the wait never spins.
void serveEventsUntil(int milliseconds, const std::function<bool()>& done);

} // namespace brindle
