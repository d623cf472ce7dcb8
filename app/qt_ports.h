#pragma once
// The ports the window fills with Qt Widgets: the modal message and input boxes.

#include "game/quiet_ports.h"
#include "platform/qt_helpers.h"

#include <string_view>

class QWidget;

namespace brindle {

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
