#pragma once
// The ports the window fills with Qt: the modal message and input boxes, and
// the event wait.

#include "game/quiet_ports.h"

#include <functional>
#include <string_view>

#include <QString>

class QWidget;

namespace brindle {

// The game's text for a Qt widget: UTF-8, lines broken as "\r\n".
QString toQString(std::string_view s);

// Serves this thread's events until `done` holds or the time is up. Each pass
// sleeps until an event comes, so the wait never spins.
void serveEventsUntil(int milliseconds, const std::function<bool()>& done);

// Boxes over the given window, modal to it alone.
class MessageBoxes final : public Dialogs {
public:
    explicit MessageBoxes(QWidget* parent) : parent_(parent) {}
    void messageBox(std::string_view text, std::string_view caption, Icon icon) override;
    std::string inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) override;

private:
    QWidget* parent_;
};

} // namespace brindle
