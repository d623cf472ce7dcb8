#include "sdl_sound.h"

#include <cstdio>
#include <filesystem>

#include <QApplication>
#include <QDir>

#include <SDL.h>
#include <SDL_mixer.h>

#ifndef BRINDLE_DATA_DIR
#define BRINDLE_DATA_DIR "/usr/local/share/brindle"
#endif
#ifndef BRINDLE_DATA_FROM_BIN
#define BRINDLE_DATA_FROM_BIN "../share/brindle"
#endif

namespace brindle {

namespace {

// General MIDI sound fonts as Debian installs them, the system's choice first.
// Speakers open in this process: two windows in one process share the
// mixer, and the last to close it shuts it down.
int openSpeakers = 0;

constexpr const char* SoundFonts[] = {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                                      "/usr/share/sounds/sf2/FluidR3_GM.sf2"};

} // namespace

SdlSound::SdlSound(std::vector<std::string> folders) : folders_(std::move(folders)) {}

SdlSound::~SdlSound()
{
    if (device_ != Device::Open)
        return;
    closeMusic();
    for (auto& [name, chunk] : chunks_) {
        if (chunk != nullptr) {
            for (int channel = 0, n = Mix_AllocateChannels(-1); channel < n; ++channel)
                if (Mix_GetChunk(channel) == chunk)
                    Mix_HaltChannel(channel);
            Mix_FreeChunk(chunk);
        }
    }
    Mix_CloseAudio();
    if (--openSpeakers == 0)
        Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::vector<std::string> SdlSound::standardFolders()
{
    // The installed folder is found from the program's own place first, so
    // that a game installed under any prefix finds its sounds.
    const QString beside = QCoreApplication::applicationDirPath();
    return {beside.toStdString(), QDir::currentPath().toStdString(),
            QDir::cleanPath(beside + QStringLiteral("/" BRINDLE_DATA_FROM_BIN)).toStdString(), BRINDLE_DATA_DIR};
}

void SdlSound::sayOnce(const std::string& problem)
{
    if (said_.insert(problem).second)
        std::fprintf(stderr, "brindle: %s\n", problem.c_str());
}

bool SdlSound::openDevice()
{
    if (device_ != Device::Closed)
        return device_ == Device::Open;
    device_ = Device::Unavailable;
    // SDL would otherwise take over SIGINT and SIGTERM and turn them into
    // events nobody reads: the game could then no longer be stopped.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        sayOnce(std::string("no sound: ") + SDL_GetError());
        return false;
    }
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        sayOnce(std::string("no sound: ") + Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    if (openSpeakers++ == 0)
        Mix_Init(MIX_INIT_MID);
    for (const char* font : SoundFonts) {
        if (std::filesystem::exists(font)) {
            Mix_SetSoundFonts(font);
            break;
        }
    }
    device_ = Device::Open;
    return true;
}

std::string SdlSound::find(std::string_view file)
{
    for (const std::string& folder : folders_) {
        const std::filesystem::path path = std::filesystem::path(folder) / file;
        if (std::filesystem::is_regular_file(path))
            return path.string();
    }
    std::string where;
    for (const std::string& folder : folders_)
        where += (where.empty() ? "" : ", ") + folder;
    sayOnce(std::string(file) + " not found in " + where + "; it will not be heard");
    return {};
}

void SdlSound::beep()
{
    QApplication::beep();
}

void SdlSound::playWave(std::string_view file)
{
    if (!openDevice())
        return;
    auto it = chunks_.find(file);
    if (it == chunks_.end()) {
        const std::string path = find(file);
        Mix_Chunk* chunk = path.empty() ? nullptr : Mix_LoadWAV(path.c_str());
        if (!path.empty() && chunk == nullptr)
            sayOnce(path + " cannot be played: " + Mix_GetError());
        it = chunks_.emplace(std::string(file), chunk).first;
    }
    if (it->second != nullptr)
        Mix_PlayChannel(-1, it->second, 0);
}

void SdlSound::openMusic(std::string_view file)
{
    closeMusic();
    if (!openDevice())
        return;
    const std::string path = find(file);
    if (path.empty())
        return;
    music_ = Mix_LoadMUS(path.c_str());
    if (music_ == nullptr)
        sayOnce(path + " cannot be played (is a General MIDI sound font installed?): " + Mix_GetError());
}

void SdlSound::playMusic(bool /*fromStart*/)
{
    // The track plays once from its start; the game starts it again when it
    // has ended.
    if (music_ != nullptr && Mix_PlayMusic(music_, 0) != 0)
        sayOnce(std::string("the music cannot be played: ") + Mix_GetError());
}

bool SdlSound::musicStopped()
{
    return music_ != nullptr && Mix_PlayingMusic() == 0;
}

void SdlSound::closeMusic()
{
    if (music_ == nullptr)
        return;
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    music_ = nullptr;
}

} // namespace brindle
