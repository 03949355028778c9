// The loading screen at start-up (banner, sound system, sound table and its volumes) and the countdown that
// loads a game's pictures, in a window under SDL's dummy video driver with waits made instant.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "game/SnakePieces.h"
#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "support/playfolder.h"
#include "support/waits.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;

namespace {

const char *const SOUND_FILES[13] = {
    "audio/3.mp3",
    "audio/2.mp3",
    "audio/1.mp3",
    "audio/laden.mp3",
    "audio/easy.mp3",
    "audio/medium.mp3",
    "audio/hard.mp3",
    "audio/laser.mp3",
    "audio/menumusic.mp3",
    "audio/ingamemusic.mp3",
    "audio/customizermusic.mp3",
    "audio/gameover.mp3",
    "audio/beep.mp3",
};
const char *const FAILURE_LINES[13] = {
    "failure @ loading 3!\n",
    "failure @ loading 2!\n",
    "failure @ loading 1!\n",
    "failure @ loading loadsound!\n",
    "failure @ loading easysound!\n",
    "failure @ loading mediumsound!\n",
    "failure @ loading hardsound!\n",
    "failure @ loading clicksound!\n",
    "failure @ loading menu music!\n",
    "failure @ loading ingamesong!\n",
    "failure @ loading customizermusic!\n",
    "failure @ loading gameoversound!\n",
    "failure @ loading beepsound!\n",
};
const char *const BANNER = "\n *****************  Kwibbel *****************\n";

// The sound handles in the order they are loaded.
std::vector<uint32_t> SoundsInLoadOrder() {
    return {Songs.laden[3], Songs.laden[2], Songs.laden[1], Songs.laden[0], Songs.easy,     Songs.medium, Songs.hard,
            Songs.click,    Songs.menu,     Songs.game,     Songs.lvlmaker, Songs.gameover, Songs.beep};
}

// What the game saw at each wait.
struct WaitSeen {
    uint32_t ms;
    uint32_t screen;               // window pixel in the middle of the count pictures
    uint32_t corner;               // window pixel at the top left, away from them
    bool jingle, three, two, one;  // sounds marked playing
};
std::vector<WaitSeen> seen;

void RecordWait(int, uint32_t ms) {
    seen.push_back(WaitSeen{ms, Wimdows::ScreenPixel(410, 360), Wimdows::ScreenPixel(5, 5),
                            Music::SoundMarkedPlaying(Songs.laden[0]), Music::SoundMarkedPlaying(Songs.laden[3]),
                            Music::SoundMarkedPlaying(Songs.laden[2]), Music::SoundMarkedPlaying(Songs.laden[1])});
}

class Loading : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        seen.clear();
        Songs = SongsRec{};
        Bitmaps = BitmapsRec{};
        Waits::Start().run = RecordWait;
        Wimdows::InitWimdows();
        Wimdows::Window("Kwibbel", 800, 680);
        ASSERT_EQ(Wimdows::State(), Wimdows::STATE_ACTIVE);
    }
    void TearDown() override {
        Music::StopMusic();
        Wimdows::KillWindow();
        Waits::Stop();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    static void MakeSounds(const char *missing = nullptr) {
        for (const char *file : SOUND_FILES)
            if (!missing || std::string(file) != missing) PlayFolder::WriteWav(file, 50, 1000);
    }

    std::string RunLoad() {
        testing::internal::CaptureStdout();
        Load();
        return testing::internal::GetCapturedStdout();
    }
};

// A distinct colour for picture number i.
uint32_t Colour(uint32_t i) { return (5 + 5 * i) | (250 - 5 * i) << 8 | (100 + (i * 37) % 150) << 16; }

TEST_F(Loading, BannerSoundsAndThreeLoadingScreens) {
    MakeSounds();
    for (int i = 1; i <= 3; i++)
        PlayFolder::WriteBmp("bitmap/loadscreen" + std::to_string(i) + ".bmp", 800, 680, Colour(i));

    EXPECT_EQ(RunLoad(), std::string(BANNER) + "Music system initialized.\n");

    ASSERT_EQ(seen.size(), 3u);
    const uint32_t ms[3] = {1600, 2800, 3600};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(seen[i].ms, ms[i]);
        EXPECT_EQ(seen[i].screen, Colour(i + 1)) << "loading screen " << i + 1 << " shows at once, unbuffered";
        EXPECT_TRUE(seen[i].jingle) << "the jingle plays through the loading screen";
    }
    EXPECT_FALSE(Music::SoundMarkedPlaying(Songs.laden[0])) << "the jingle stops at the end";

    std::vector<uint32_t> sounds = SoundsInLoadOrder();
    ASSERT_NE(sounds[0], 0u);
    for (size_t i = 0; i < sounds.size(); i++)
        EXPECT_EQ(sounds[i], sounds[0] + i) << "sound " << SOUND_FILES[i] << " loaded in its turn";
    EXPECT_NE(Bitmaps.laden[0], 0u);
    EXPECT_EQ(Bitmaps.laden[1], Bitmaps.laden[0] + 1);
    EXPECT_EQ(Bitmaps.laden[2], Bitmaps.laden[0] + 2);
}

TEST_F(Loading, AKeyOrAClickOnceLoadedGoesOnAtOnce) {
    MakeSounds();
    // A key pressed while the first loading screen shows (a pad's button is a key too), then a click while
    // the second shows: each ends the loading screen there, the jingle stopped.
    for (int at : {1, 2}) {
        seen.clear();
        Waits::Start().run = [at](int wait, uint32_t ms) {
            RecordWait(wait, ms);
            if (wait != at) return;
            if (at == 1) {
                Wimdows::SimulateKeyDown(Wimdows::KEY_SPACE);
                Wimdows::SimulateKeyUp(Wimdows::KEY_SPACE);
            } else {
                Wimdows::SimulateLeftUp(400, 300);
            }
        };
        EXPECT_EQ(RunLoad(), std::string(BANNER) + "Music system initialized.\n");
        EXPECT_EQ(seen.size(), (size_t)at) << "the loading screen went on after the press";
        EXPECT_FALSE(Music::SoundMarkedPlaying(Songs.laden[0])) << "the jingle stops";
        EXPECT_NE(Songs.beep, 0u) << "every sound is loaded";
        Wimdows::FlushKeys();
        Music::StopMusic();
    }
}

TEST_F(Loading, OneMissingSoundGivesItsOwnLineAndTheRestLoads) {
    MakeSounds("audio/laser.mp3");
    EXPECT_EQ(RunLoad(), std::string(BANNER) + "Music system initialized.\nfailure @ loading clicksound!\n");
    EXPECT_EQ(Songs.click, 0u);
    EXPECT_EQ(Songs.menu, Songs.hard + 1) << "a failed load uses up no handle";
    EXPECT_EQ(seen.size(), 3u) << "the loading screen carries on";
}

TEST_F(Loading, WithoutASoundSystemEverySoundFailsAndTheGameRunsSilent) {
    MakeSounds();
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    std::string expected = std::string(BANNER) + "Error while initializing music system!\n\n";
    for (const char *line : FAILURE_LINES) expected += line;
    EXPECT_EQ(RunLoad(), expected);
    for (uint32_t sound : SoundsInLoadOrder()) EXPECT_EQ(sound, 0u);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].ms, 3600u);
}

// A sound file that holds one steady level for ms milliseconds (stereo, 16 bits, 32000 Hz).
void WriteSteadySound(const std::string &file, uint32_t ms, int16_t level) {
    std::string data;
    for (uint32_t i = 0; i < 32 * ms * 2; i++) PlayFolder::PutLe(data, (uint16_t)level, 2);
    std::string wav = "RIFF";
    PlayFolder::PutLe(wav, 36 + (uint32_t)data.size(), 4);
    wav += "WAVEfmt ";
    for (uint32_t v : {16u, 1u | 2u << 16, 32000u, 128000u, 4u | 16u << 16}) PlayFolder::PutLe(wav, v, 4);
    wav += "data";
    PlayFolder::PutLe(wav, (uint32_t)data.size(), 4);
    PlayFolder::WriteBytes(file, wav + data);
}

TEST_F(Loading, TheTablesVolumesHoldWhenTheSoundsPlay) {
    // SDL's disk driver writes what is mixed to a file. An effect (255) and the menu music (128) of the same
    // steady level 8000 played together mix to 8000 + 4000.
    MakeSounds();
    WriteSteadySound("audio/easy.mp3", 300, 8000);
    WriteSteadySound("audio/menumusic.mp3", 300, 8000);
    std::string output = folder.Path() + "/mixed.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    ASSERT_TRUE(Music::InitMusic());
    testing::internal::CaptureStdout();
    LoadSongs();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    Music::PlaySound(Songs.easy, false);
    Music::PlaySound(Songs.menu, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));  // let the mixer play both out
    Music::StopMusic();

    std::string raw = PlayFolder::ReadBytes(output);
    ASSERT_GT(raw.size(), 32000u * 4 / 5) << "the disk driver wrote too little";
    int peak = 0;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        int v = (int16_t)((uint8_t)raw[i] | (uint8_t)raw[i + 1] << 8);
        peak = std::max(peak, std::abs(v));
    }
    EXPECT_NEAR(peak, 12000, 150) << "16000 would mean the music plays as loud as the effects";
}

// ---- the countdown that loads a game's pictures ----

class Countdown : public Loading {
protected:
    BitmapsRec bitmaps{};

    void SetUp() override {
        Loading::SetUp();
        MakeSounds();
        ASSERT_TRUE(Music::InitMusic());
        testing::internal::CaptureStdout();
        LoadSongs();
        testing::internal::GetCapturedStdout();
        uint32_t i = 0;
        for (const std::string &file : PictureFiles()) {
            uint32_t w = 20, h = 20;
            if (file == "bitmap/3.bmp" || file == "bitmap/2.bmp" || file == "bitmap/1.bmp") w = h = 100;
            if (file == "bitmap/hud.bmp") w = 800, h = 80;
            if (file.compare(0, 12, "bitmap/plate") == 0) w = 128, h = 66;
            PlayFolder::WriteBmp(file, w, h, Colour(i++));
        }
        Wimdows::SetBuffering(true);
    }

    // The 34 pictures, in the order they must be loaded.
    static std::vector<std::string> PictureFiles() {
        std::vector<std::string> files = {"bitmap/3.bmp", "bitmap/2.bmp", "bitmap/1.bmp"};
        for (uint32_t player : {2u, 1u})
            for (uint32_t piece = 0; piece < SnakePieces::COUNT; piece++)
                files.push_back("bitmap/" + SnakePieces::FileName(player, piece));
        for (const char *k : {"knurfs", "knurfsgeel", "knurfsblauw", "knurfsgroen"})
            files.push_back(std::string("bitmap/") + k + ".bmp");
        files.push_back("bitmap/hud.bmp");
        for (const char *p : {"plate1", "plate2", "plateknurf", "platecomputer"})
            files.push_back(std::string("bitmap/") + p + ".bmp");
        files.push_back("bitmap/muurhor.bmp");
        files.push_back("bitmap/muurver.bmp");
        return files;
    }

    // The handles of the record, in the same order as PictureFiles.
    static std::vector<uint32_t> Handles(const BitmapsRec &b) {
        std::vector<uint32_t> h(b.laden, b.laden + 3);
        h.insert(h.end(), b.speler2, b.speler2 + 10);
        h.insert(h.end(), b.speler1, b.speler1 + 10);
        h.insert(h.end(), b.blokjes, b.blokjes + 4);
        h.push_back(b.hud);
        h.insert(h.end(), b.platen, b.platen + 4);
        h.push_back(b.muur[0]);
        h.push_back(b.muur[1]);
        return h;
    }
};

TEST_F(Countdown, EveryPictureInItsFieldLoadedInOrder) {
    LoadBitmaps(bitmaps);
    std::vector<uint32_t> handles = Handles(bitmaps);
    ASSERT_EQ(handles.size(), 34u);
    ASSERT_NE(handles[0], 0u);
    for (uint32_t i = 0; i < 34; i++) {
        EXPECT_EQ(handles[i], handles[0] + i) << PictureFiles()[i] << " loaded in its turn";
        Wimdows::ClearScreen();
        Wimdows::DrawBitmap(handles[i], 0, 0);
        EXPECT_EQ(Wimdows::BufferPixel(5, 5), Colour(i)) << PictureFiles()[i] << " is the picture in its field";
    }
}

TEST_F(Countdown, ThreeTwoOneSeenAndHeardInTurnOverTheBoardThenTheBoardAlone) {
    LoadBitmaps(bitmaps);
    EXPECT_TRUE(seen.empty()) << "loading waits for nothing";
    const uint32_t board = 0x336699;
    Wimdows::Rectangle(0, 0, 799, 599, board, true);
    EXPECT_TRUE(SnakeProcedures::Countdown(bitmaps));
    ASSERT_EQ(seen.size(), 3u);
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(seen[i].ms, 800u);
        EXPECT_EQ(seen[i].screen, Colour(i)) << "count picture " << 3 - i << " shown during wait " << i + 1;
        EXPECT_EQ(seen[i].corner, board) << "over the board, shown around it";
    }
    EXPECT_TRUE(seen[0].three && !seen[0].two && !seen[0].one) << "each number heard as it is seen";
    EXPECT_TRUE(seen[1].two && !seen[1].one);
    EXPECT_TRUE(seen[2].one);
    EXPECT_EQ(Wimdows::ScreenPixel(410, 360), board) << "then the board shows whole";
}

TEST_F(Countdown, EveryGameLoadsItsPicturesAnew) {
    BitmapsRec first{}, second{};
    LoadBitmaps(first);
    LoadBitmaps(second);
    std::vector<uint32_t> a = Handles(first), b = Handles(second);
    for (size_t i = 0; i < a.size(); i++) EXPECT_EQ(b[i], a[i] + 34) << PictureFiles()[i];
}

TEST_F(Countdown, TheCountdownOverwritesTheLoadingScreensOfTheGlobalTable) {
    for (int i = 1; i <= 3; i++)
        PlayFolder::WriteBmp("bitmap/loadscreen" + std::to_string(i) + ".bmp", 800, 680, Colour(40 + i));
    Music::StopMusic();
    testing::internal::CaptureStdout();
    Load();
    testing::internal::GetCapturedStdout();
    uint32_t loadScreen = Bitmaps.laden[0];
    LoadBitmaps(Bitmaps);
    EXPECT_GT(Bitmaps.laden[0], loadScreen);
    Wimdows::DrawBitmap(Bitmaps.laden[0], 0, 0);
    EXPECT_EQ(Wimdows::BufferPixel(5, 5), Colour(0)) << "laden holds the count pictures, three first";
}

// The pictures and sounds the build generates, when they are there: every file these screens load exists
// under its name and loads.
bool UseGenerated(const char *sub, const char *sample) {
    const std::string from = std::string(KWIBBEL_DATA_DIR) + "/" + sub;
    if (!std::filesystem::exists(from + "/" + sample)) return false;
    std::filesystem::remove_all(sub);
    std::filesystem::copy(from, sub, std::filesystem::copy_options::recursive);
    return true;
}

TEST_F(Loading, TheGeneratedPicturesAreAllThere) {
    if (!UseGenerated("bitmap", "muurhor.png"))
        GTEST_SKIP() << "the pictures are not generated in " << KWIBBEL_DATA_DIR;
    RunLoad();
    for (uint32_t picture : Bitmaps.laden) EXPECT_NE(picture, 0u);
    BitmapsRec game{};
    LoadBitmaps(game);
    const uint32_t *handles = &game.speler1[0];
    for (size_t i = 0; i < sizeof game / sizeof handles[0]; i++)
        EXPECT_NE(handles[i], 0u) << "handle " << i << " of the game's picture table";
    for (const char *end : {"bitmap/gameover.bmp", "bitmap/gameover2.bmp", "bitmap/gameoverboth.bmp",
                            "bitmap/gameoverknurf.bmp", "bitmap/refusedlevel.bmp", "bitmap/highscoretable.bmp"})
        EXPECT_NE(Wimdows::LoadBitmap(end, 800, 680), 0u) << end;
}

TEST_F(Loading, TheGeneratedSoundsAreAllThere) {
    if (!UseGenerated("audio", "beep.mp3")) GTEST_SKIP() << "the sounds are not generated in " << KWIBBEL_DATA_DIR;
    EXPECT_EQ(RunLoad(), std::string(BANNER) + "Music system initialized.\n") << "every sound loads";
    for (uint32_t sound : SoundsInLoadOrder()) EXPECT_NE(sound, 0u);
}

}  // namespace
