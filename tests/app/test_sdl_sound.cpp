// Real audio through SDL's "disk" driver, which writes what the speaker
// would play into a file: a win is heard, a game with Sound off is silent,
// the music plays to its end and starts again, and what is missing is said
// once without stopping the game.

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "app/sdl_sound.h"
#include "game/game.h"
#include "game/quiet_ports.h"
#include "support/fakes.h"
#include "view/layout.h"

namespace brindle::testing {
namespace {

namespace fs = std::filesystem;

// The speaker's output goes to a fresh file for each test.
class DiskAudio : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("brindle-audio-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
        output = folder / "speaker.raw";
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    }
    void TearDown() override
    {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        fs::remove_all(folder);
    }

    // The samples written so far that are not silence.
    size_t loudBytes() const
    {
        std::ifstream in(output, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        size_t loud = 0;
        for (char b : bytes)
            loud += b != 0 ? 1 : 0;
        return loud;
    }

    fs::path folder;
    fs::path output;
};

// A whole game with the real speaker, fakes for the rest, begun with Sound
// off so that the opening makes no sound.
struct HeardGame {
    explicit HeardGame(const std::string& data) : sound({data}), game(globals, {canvas, events, sound, peer, random})
    {
        bindViewCommands(game);
        game.check(Menu_Sound, false);
        game.Form_Load();
        random.push({0.25f});
        game.Form_Activate();
        game.command(Menu_HumanHuman);
    }
    void playFiveForRed()
    {
        for (int k = 0; k < 5; ++k) {
            click(0, k);
            if (k < 4)
                click(1, k);
        }
    }
    void click(int row, int col)
    {
        game.Form_MouseDown(static_cast<float>(game.CellWidth * (col + 1.5)),
                            static_cast<float>(game.CellHeight * (row + 1.5)));
    }

    Globals globals;
    RecordingCanvas canvas;
    FakeEvents events;
    SdlSound sound;
    NoPeer peer;
    ScriptedRandom random;
    Game game;
};

TEST_F(DiskAudio, AWinIsHeardAndAGameWithSoundOffIsSilent)
{
    {
        HeardGame quiet(BRINDLE_TEST_DATA);
        quiet.playFiveForRed();
        ASSERT_TRUE(quiet.game.state().GameOver);
        QTest::qWait(300);
    }
    EXPECT_EQ(loudBytes(), 0u) << "nothing was played";

    {
        HeardGame heard(BRINDLE_TEST_DATA);
        heard.game.command(Menu_Sound);
        heard.playFiveForRed();
        ASSERT_TRUE(heard.game.state().GameOver);
        QTest::qWait(700);
    }
    EXPECT_GT(loudBytes(), 10000u) << "the winner's sound was played";
}

// A MIDI file of one short note.
void writeShortTune(const fs::path& path)
{
    const unsigned char bytes[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,  // format 0, 96 ticks a beat
                                   'M', 'T', 'r', 'k', 0, 0, 0, 12,                  // 12 bytes follow
                                   0x00, 0x90, 60, 100,                              // note on
                                   0x30, 0x80, 60, 0,                                // half a beat later, off
                                   0x00, 0xFF, 0x2F, 0x00};                          // the end
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

TEST_F(DiskAudio, TheMusicPlaysToItsEndAndStartsAgain)
{
    writeShortTune(folder / "short.mid");
    SdlSound sound({folder.string()});
    EXPECT_FALSE(sound.musicStopped()) << "no track open";
    sound.openMusic("short.mid");
    sound.playMusic(false);
    EXPECT_FALSE(sound.musicStopped());
    ASSERT_TRUE(QTest::qWaitFor([&] { return sound.musicStopped(); }, 5000)) << "the track ends";
    sound.playMusic(true);
    EXPECT_FALSE(sound.musicStopped()) << "and plays again";
    sound.closeMusic();
    EXPECT_FALSE(sound.musicStopped()) << "a closed track is not waiting to restart";

    // The game's own tune loads and plays.
    SdlSound game({BRINDLE_TEST_DATA});
    ::testing::internal::CaptureStderr();
    game.openMusic("Brin.mid");
    game.playMusic(false);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(game.musicStopped());
}

TEST_F(DiskAudio, AMissingOrDamagedFileOrNoSoundCardIsSaidOnceAndTheGamePlaysOn)
{
    std::ofstream(folder / "Draw.wav", std::ios::binary) << "not a wave file at all";
    ::testing::internal::CaptureStderr();
    {
        SdlSound sound({(folder / "nowhere").string(), folder.string()});
        sound.playWave("Yes.wav");
        sound.playWave("Yes.wav");
        sound.playWave("Draw.wav");
        sound.playWave("Draw.wav");
        sound.openMusic("Brin.mid");
        sound.playMusic(true);
        EXPECT_FALSE(sound.musicStopped());
    }
    const std::string files = ::testing::internal::GetCapturedStderr();
    const auto once = [](const std::string& said, const std::string& what) {
        const size_t first = said.find(what);
        return first != std::string::npos && first == said.rfind(what);
    };
    EXPECT_TRUE(once(files, "Yes.wav not found")) << files;
    EXPECT_TRUE(once(files, "Draw.wav cannot be played")) << files;
    EXPECT_TRUE(once(files, "Brin.mid not found")) << files;

    // No sound card: the driver cannot start, or the device cannot open
    // (here the speaker's file cannot be written).
    for (const std::string& driver : {std::string("no-such-driver"), std::string("disk")}) {
        ::setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
        ::setenv("SDL_DISKAUDIOFILE", folder.c_str(), 1); // a folder, not a file
        ::testing::internal::CaptureStderr();
        {
            SdlSound sound({BRINDLE_TEST_DATA});
            sound.playWave("Yes.wav");
            sound.playWave("Draw.wav");
            sound.openMusic("Brin.mid");
        }
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(once(said, "brindle: no sound")) << driver << ": " << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << driver << ": nothing else: " << said;
    }
}

TEST_F(DiskAudio, OpeningTheSpeakerLeavesTheStopSignalsToTheSystem)
{
    SdlSound sound({BRINDLE_TEST_DATA});
    sound.playWave("Draw.wav");
    for (int signal : {SIGTERM, SIGINT}) {
        struct sigaction action {};
        ::sigaction(signal, nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
}

TEST(SoundFiles, AreLookedForBesideTheProgramThenInTheWorkingFolderThenWhereTheyAreInstalled)
{
    const std::vector<std::string> folders = SdlSound::standardFolders();
    ASSERT_EQ(folders.size(), 4u);
    const fs::path program = QCoreApplication::applicationDirPath().toStdString();
    EXPECT_EQ(folders[0], program.string());
    EXPECT_EQ(folders[1], fs::current_path().string());
    EXPECT_EQ(fs::path(folders[2]), (program.parent_path() / "share" / "brindle").lexically_normal());
    EXPECT_TRUE(fs::path(folders[3]).is_absolute());
}

} // namespace
} // namespace brindle::testing
