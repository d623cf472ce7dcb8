#pragma once
// The ports the window fills with Qt until their own parts arrive: the beep
// (the wave sounds and the music come with the audio library), a peer that is
// never connected (until network play), and the modal message and input boxes.

#include "game/ports.h"

class QWidget;

namespace brindle {

class SystemSound final : public Sound {
public:
    void beep() override;
    void playWave(std::string_view) override {}
    void openMusic(std::string_view) override {}
    void playMusic(bool) override {}
    bool musicStopped() override { return false; }
    void closeMusic() override {}
};

// No connection: nothing is sent and the socket reads as closed.
class NoPeer final : public Peer {
public:
    void SendMove(int32_t, int32_t) override {}
    void SendNewGame(int32_t, char, std::string_view) override {}
    void SendTimeWinner(char) override {}
    void Close() override {}
    int32_t State() const override { return 0; }
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
