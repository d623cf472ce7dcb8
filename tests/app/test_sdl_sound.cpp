// Real audio through SDL's "disk" driver, which writes what the speaker
// would play into a file: a win is heard, a game with Sound off is silent,
// the music plays to its end and starts again, and what is missing is said
// once without stopping the game.

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

TEST_F(DiskAudio, AMissingFileOrNoSoundCardIsSaidOnceAndTheGamePlaysOn)
{
    ::testing::internal::CaptureStderr();
    {
        SdlSound sound({(folder / "nowhere").string()});
        sound.playWave("Yes.wav");
        sound.playWave("Yes.wav");
        sound.openMusic("Brin.mid");
        sound.playMusic(true);
        EXPECT_FALSE(sound.musicStopped());
    }
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        SdlSound sound({BRINDLE_TEST_DATA});
        sound.playWave("Yes.wav");
        sound.playWave("Draw.wav");
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Yes.wav not found"), std::string::npos) << said;
    EXPECT_EQ(said.find("Yes.wav not found"), said.rfind("Yes.wav not found")) << "once";
    EXPECT_NE(said.find("Brin.mid not found"), std::string::npos) << said;
    EXPECT_NE(said.find("no sound"), std::string::npos) << said;
    EXPECT_EQ(said.find("no sound"), said.rfind("no sound")) << "once";
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
