#pragma once
// The ports the window fills with Qt: the beep, and the modal message and
// input boxes.

#include "game/quiet_ports.h"

class QWidget;

namespace brindle {

// Only the beep for now: the wave sounds and the music come with the audio library.
class SystemSound final : public SilentSound {
public:
    void beep() override;
};

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
