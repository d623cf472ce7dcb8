// Real audio through SDL's "disk" driver, which writes what the speaker would play into a file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QTest>

#include "platform/sdl_sound.h"
#include "game/quiet_ports.h"
#include "support/fakes.h"

namespace brindle::testing {
namespace {

namespace fs = std::filesystem;

class DiskAudio : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(folder);
        ::setenv("SDL_AUDIODRIVER", "disk", 1), ::setenv("SDL_DISKAUDIOFILE", (folder / "speaker.raw").c_str(), 1);
    }
    void TearDown() override { ::setenv("SDL_AUDIODRIVER", "dummy", 1), fs::remove_all(folder); }
    long loudBytes() const // the samples written so far that are not silence
    {
        std::ifstream in(folder / "speaker.raw", std::ios::binary);
        return std::count_if(std::istreambuf_iterator<char>(in), {}, [](char b) { return b != 0; });
    }
    const fs::path folder = fs::temp_directory_path() / ("brindle-audio-" + std::to_string(::getpid()));
};

std::string said(const std::function<void()>& run) // on standard error
{
    return ::testing::internal::CaptureStderr(), run(), ::testing::internal::GetCapturedStderr();
}

TEST_F(DiskAudio, AWinIsHeardAndAGameWithSoundOffIsSilent)
{
    for (const bool soundOn : {false, true}) {
        EXPECT_EQ(loudBytes(), 0) << "nothing played yet, nor in the game with Sound off";
        FakeWorld world;
        SdlSound sound({BRINDLE_TEST_DATA});
        NoPeer peer;
        Game game(world.globals, {world.canvas, world.events, sound, peer, world.random});
        bindViewCommands(game);
        game.check(Menu_Sound, false); // the opening is silent either way
        startUp(game, world.random), game.command(Menu_HumanHuman);
        if (soundOn)
            game.command(Menu_Sound);
        for (int k = 0; k < 9; ++k) // red makes five in the first row
            clickCell(game, k % 2, k / 2);
        ASSERT_TRUE(game.state().GameOver);
        QTest::qWait(soundOn ? 700 : 300);
    }
    EXPECT_GT(loudBytes(), 10000) << "the winner's sound";
}

TEST_F(DiskAudio, TheMusicPlaysToItsEndAndStartsAgain)
{
    const unsigned char tune[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 12,
                                  0x00, 0x90, 60, 100, 0x30, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00}; // one short note
    std::ofstream(folder / "short.mid", std::ios::binary).write(reinterpret_cast<const char*>(tune), sizeof tune);
    SdlSound sound({folder.string()});
    sound.openMusic("short.mid"), sound.playMusic(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sound.musicStopped(); }, 5000)) << "the track's end";
    sound.playMusic(true);
    EXPECT_FALSE(sound.musicStopped()) << "and it plays again";
    sound.closeMusic();
    EXPECT_FALSE(sound.musicStopped()) << "a closed track is not waiting to restart";
}

TEST_F(DiskAudio, AMissingOrDamagedFileOrNoSoundCardIsSaidOnceAndTheGamePlaysOn)
{
    const auto once = [](const std::string& text, const char* what) { return text.find(what) == text.rfind(what) && text.find(what) != text.npos; };
    std::ofstream(folder / "Draw.wav") << "not a wave file at all";
    const std::string files = said([&] {
        SdlSound sound({(folder / "nowhere").string(), folder.string()});
        for (const char* wave : {"Yes.wav", "Yes.wav", "Draw.wav", "Draw.wav"})
            sound.playWave(wave);
        sound.openMusic("Brin.mid"), sound.playMusic(true);
        EXPECT_FALSE(sound.musicStopped());
    });
    for (const char* problem : {"Yes.wav not found", "Draw.wav cannot be played", "Brin.mid not found"})
        EXPECT_TRUE(once(files, problem)) << files;
    // The driver cannot start, or the device cannot open (its file is a folder).
    for (const char* driver : {"no-such-driver", "disk"}) {
        ::setenv("SDL_AUDIODRIVER", driver, 1), ::setenv("SDL_DISKAUDIOFILE", folder.c_str(), 1);
        const std::string text = said([] { SdlSound({BRINDLE_TEST_DATA}).playWave("Yes.wav"); });
        EXPECT_TRUE(once(text, "brindle: no sound") && std::count(text.begin(), text.end(), '\n') == 1) << text;
    }
}

} // namespace
} // namespace brindle::testing
