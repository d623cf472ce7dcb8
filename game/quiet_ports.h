#pragma once
// Ports that do nothing: a speaker that stays silent and a peer that is never
// connected. The window uses them until audio and network play arrive; the
// benchmarks use them to measure the game alone.

#include "ports.h"

namespace brindle {

class SilentSound : public Sound {
public:
    void beep() override {}
    void playWave(std::string_view) override {}
    void openMusic(std::string_view) override {}
    void playMusic(bool) override {}
    bool musicStopped() override { return false; }
    void closeMusic() override {}
};

// Nothing is sent and the socket reads as closed.
class NoPeer final : public Peer {
public:
    void SendMove(int32_t, int32_t) override {}
    void sendNewGame(int32_t, char, std::string_view) override {}
    void sendTimeWinner(char) override {}
    void Close() override {}
    int32_t State() const override { return 0; }
    void Disconnect(bool) override {}
};

} // namespace brindle
