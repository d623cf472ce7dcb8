#include "platform/sdl_sound.h"

#include <cstdio>
#include <filesystem>

#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>

#include <SDL.h>
#include <SDL_mixer.h>

#ifndef BRINDLE_DATA_DIR
#define BRINDLE_DATA_DIR "/usr/local/share/brindle"
#endif
#ifndef BRINDLE_DATA_FROM_BIN
#define BRINDLE_DATA_FROM_BIN "../share/brindle"
#endif

// The audio libraries are loaded at the first sound, not linked: they bring
// some forty libraries of their own (the synthesiser, the sound servers),
// which would otherwise all be loaded before the window could appear.
#define BRINDLE_AUDIO_FUNCTIONS(X)                                                                            \
    X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_GetError) X(Mix_OpenAudio) X(Mix_CloseAudio) \
    X(Mix_SetSoundFonts) X(Mix_LoadWAV) X(Mix_FreeChunk) X(Mix_PlayChannel) X(Mix_LoadMUS)                    \
    X(Mix_FreeMusic) X(Mix_PlayMusic) X(Mix_PlayingMusic) X(Mix_HaltMusic)

namespace brindle {

struct AudioLibrary {
#define BRINDLE_DECLARE(name) decltype(&::name) name = nullptr;
    BRINDLE_AUDIO_FUNCTIONS(BRINDLE_DECLARE)
#undef BRINDLE_DECLARE
};

namespace {

// The libraries, loaded once for the process; null, with the reason, when
// they cannot be.
const AudioLibrary* loadAudioLibrary(std::string& error)
{
    static AudioLibrary library;
    static std::string failure;
    static const bool loaded = [] {
        // SDL first, so that the mixer finds the one it needs.
        for (const char* name : {"libSDL2-2.0.so.0", "libSDL2_mixer-2.0.so.0"}) {
            if (dlopen(name, RTLD_NOW | RTLD_GLOBAL) == nullptr) {
                failure = dlerror();
                return false;
            }
        }
#define BRINDLE_LOAD(name)                                                                                     \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(RTLD_DEFAULT, #name));                      \
    if (library.name == nullptr) {                                                                             \
        failure = std::string("the audio library has no ") + #name;                                           \
        return false;                                                                                          \
    }
        BRINDLE_AUDIO_FUNCTIONS(BRINDLE_LOAD)
#undef BRINDLE_LOAD
        return true;
    }();
    error = failure;
    return loaded ? &library : nullptr;
}

// General MIDI sound fonts as Debian installs them, the system's choice first.
constexpr const char* SoundFonts[] = {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                                      "/usr/share/sounds/sf2/FluidR3_GM.sf2"};

} // namespace

SdlSound::SdlSound(std::vector<std::string> folders, std::function<void()> beeper)
    : folders_(std::move(folders)), beeper_(std::move(beeper))
{
}

SdlSound::~SdlSound()
{
    if (device_ != Device::Open)
        return;
    closeMusic();
    // Freeing a sound stops the channels that play it.
    for (auto& [name, chunk] : chunks_)
        if (chunk != nullptr)
            audio_->Mix_FreeChunk(chunk);
    audio_->Mix_CloseAudio();
    audio_->SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    std::string error;
    audio_ = loadAudioLibrary(error);
    if (audio_ == nullptr) {
        sayOnce("no sound: " + error);
        return false;
    }
    // SDL would otherwise take over SIGINT and SIGTERM and turn them into
    // events nobody reads: the game could then no longer be stopped.
    audio_->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (audio_->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        sayOnce(std::string("no sound: ") + audio_->SDL_GetError());
        return false;
    }
    if (audio_->Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        sayOnce(std::string("no sound: ") + audio_->SDL_GetError());
        audio_->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    for (const char* font : SoundFonts) {
        if (std::filesystem::exists(font)) {
            audio_->Mix_SetSoundFonts(font);
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
    if (beeper_)
        beeper_();
}

void SdlSound::playWave(std::string_view file)
{
    if (!openDevice())
        return;
    auto it = chunks_.find(file);
    if (it == chunks_.end()) {
        const std::string path = find(file);
        Mix_Chunk* chunk = path.empty() ? nullptr : audio_->Mix_LoadWAV(path.c_str());
        if (!path.empty() && chunk == nullptr)
            sayOnce(path + " cannot be played: " + audio_->SDL_GetError());
        it = chunks_.emplace(std::string(file), chunk).first;
    }
    if (it->second != nullptr)
        audio_->Mix_PlayChannel(-1, it->second, 0);
}

void SdlSound::openMusic(std::string_view file)
{
    closeMusic();
    if (!openDevice())
        return;
    const std::string path = find(file);
    if (path.empty())
        return;
    music_ = audio_->Mix_LoadMUS(path.c_str());
    if (music_ == nullptr)
        sayOnce(path + " cannot be played (is a General MIDI sound font installed?): " + audio_->SDL_GetError());
}

void SdlSound::playMusic(bool /*fromStart*/)
{
    // The track plays once from its start; the game starts it again when it
    // has ended.
    if (music_ != nullptr && audio_->Mix_PlayMusic(music_, 0) != 0)
        sayOnce(std::string("the music cannot be played: ") + audio_->SDL_GetError());
}

bool SdlSound::musicStopped()
{
    return music_ != nullptr && audio_->Mix_PlayingMusic() == 0;
}

void SdlSound::closeMusic()
{
    if (music_ == nullptr)
        return;
    audio_->Mix_HaltMusic();
    audio_->Mix_FreeMusic(music_);
    music_ = nullptr;
}

} // namespace brindle
