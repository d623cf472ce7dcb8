#pragma once
// The speaker with real audio: the wave sounds and the music track through
// SDL_mixer, the music rendered by its MIDI synthesiser with the system's
// General MIDI sound font. The audio device opens at the first sound, not at
// start-up. Nothing here ever fails the game: without a sound card, a sound
// font or a file, the game plays on silently and says once on standard error
// what is missing.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/ports.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace brindle {

struct AudioLibrary;

class SdlSound final : public Sound {
public:
    // Sound files are looked for in these folders, in this order; the beep
    // is the window system's, which the window gives.
    explicit SdlSound(std::vector<std::string> folders, std::function<void()> beeper = nullptr);
    ~SdlSound() override;
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    void beep() override;
    void playWave(std::string_view file) override;
    void openMusic(std::string_view file) override;
    void playMusic(bool fromStart) override;
    bool musicStopped() override;
    void closeMusic() override;

    // The folders a game looks in: beside the executable, the working
    // folder, then the installed data folder (beside the program's bin
    // folder, then where the build was configured to install).
    static std::vector<std::string> standardFolders();

private:
    bool openDevice();
    // The full path of `file` in the first folder that has it, or "".
    std::string find(std::string_view file);
    void sayOnce(const std::string& problem);

    std::vector<std::string> folders_;
    std::function<void()> beeper_;
    const AudioLibrary* audio_ = nullptr;
    enum class Device { Closed, Open, Unavailable } device_ = Device::Closed;
    std::map<std::string, Mix_Chunk*, std::less<>> chunks_;
    Mix_Music* music_ = nullptr;
    std::set<std::string> said_;
};

} // namespace brindle
