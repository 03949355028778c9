// The sound layer: handles, playing, stopping, repeating and volumes, checked on what really comes out.
//
// The disk audio driver writes the mixed output (signed 16-bit, stereo, 32000 Hz, as the layer opens
// it) to a file in real time. The test sounds are made here: constant levels, so that every output sample
// shows which sound was playing at which volume, and ramps, so that a restart shows where it began.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "music/Music.h"

using namespace Music;

namespace {

const int RATE = 32000;

// Writes a 16-bit stereo PCM WAV file at 32000 Hz with the same sample on both sides of each frame.
void WriteWav(const std::string &path, const std::vector<int16_t> &frames, int rate = RATE) {
    std::vector<int16_t> data;
    for (int16_t s : frames) {
        data.push_back(s);
        data.push_back(s);
    }
    uint32_t dataBytes = (uint32_t)(data.size() * 2);
    std::ofstream f(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char *>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char *>(&v), 2); };
    f.write("RIFF", 4);
    u32(36 + dataBytes);
    f.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(2);  // stereo
    u32((uint32_t)rate);
    u32((uint32_t)rate * 4);
    u16(4);
    u16(16);
    f.write("data", 4);
    u32(dataBytes);
    f.write(reinterpret_cast<const char *>(data.data()), dataBytes);
}

std::vector<int16_t> Level(int16_t value, int frames) { return std::vector<int16_t>((size_t)frames, value); }

std::vector<int16_t> Ramp(int frames) {
    std::vector<int16_t> v;
    for (int k = 1; k <= frames; k++) v.push_back((int16_t)k);
    return v;
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class MusicTest : public ::testing::Test {
protected:
    std::string dir;
    std::string output;

    void SetUp() override {
        char pattern[] = "/tmp/kwibbel-music-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir = pattern;
        output = dir + "/mixed.raw";
    }
    void TearDown() override {
        StopMusic();
        std::string cmd = "rm -rf '" + dir + "'";
        EXPECT_EQ(0, std::system(cmd.c_str()));
    }

    std::string Sound(const char *name, const std::vector<int16_t> &frames) {
        std::string path = dir + "/" + name;
        WriteWav(path, frames);
        return path;
    }

    // Opens the layer on the disk driver; the output is complete once StopMusic has closed the device.
    void StartOnDisk() {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        ASSERT_TRUE(InitMusic()) << "the disk audio driver should open";
    }

    // The left side of every output frame (both sides are equal for these sounds).
    std::vector<int16_t> Mixed() {
        std::ifstream f(output, std::ios::binary);
        std::vector<char> raw((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        std::vector<int16_t> left;
        for (size_t k = 0; k + 4 <= raw.size(); k += 4) {
            int16_t l, r;
            std::memcpy(&l, &raw[k], 2);
            std::memcpy(&r, &raw[k + 2], 2);
            EXPECT_EQ(l, r) << "left and right differ at frame " << k / 4;
            left.push_back(l);
        }
        return left;
    }
};

size_t CountNear(const std::vector<int16_t> &s, int value, int tolerance = 2) {
    size_t n = 0;
    for (int16_t v : s) n += std::abs(v - value) <= tolerance;
    return n;
}

size_t FirstNear(const std::vector<int16_t> &s, int value, int tolerance = 2) {
    for (size_t k = 0; k < s.size(); k++)
        if (std::abs(s[k] - value) <= tolerance) return k;
    return s.size();
}

size_t LastNear(const std::vector<int16_t> &s, int value, int tolerance = 2) {
    for (size_t k = s.size(); k > 0; k--)
        if (std::abs(s[k - 1] - value) <= tolerance) return k - 1;
    return s.size();
}

size_t LongestRunNear(const std::vector<int16_t> &s, int value, int tolerance = 2) {
    size_t best = 0, run = 0;
    for (int16_t v : s) {
        run = std::abs(v - value) <= tolerance ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

// Every frame is silence or one of the given levels.
void ExpectOnlyLevels(const std::vector<int16_t> &s, std::vector<int> levels) {
    levels.push_back(0);
    for (size_t k = 0; k < s.size(); k++) {
        bool known = false;
        for (int l : levels) known = known || std::abs(s[k] - l) <= 2;
        if (!known) {
            ADD_FAILURE() << "unexpected output level " << s[k] << " at frame " << k;
            return;
        }
    }
}

}  // namespace

// ---- handles and the silent path ------------------------------------------------------------------

TEST_F(MusicTest, HandlesCountFromOneAndFailedLoadsUseNoNumber) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(InitMusic()) << "the dummy driver is a working (silent) device";
    std::string a = Sound("a.wav", Level(1000, 100));
    std::string junk = dir + "/junk.mp3";
    std::ofstream(junk) << "this is not a sound";
    EXPECT_EQ(1u, LoadSound(a.c_str()));
    EXPECT_EQ(0u, LoadSound((dir + "/missing.mp3").c_str()));
    EXPECT_EQ(0u, LoadSound(junk.c_str()));
    EXPECT_EQ(0u, LoadSound(dir.c_str())) << "a folder is no sound";
    EXPECT_EQ(0u, LoadSound(nullptr));
    EXPECT_EQ(2u, LoadSound(a.c_str()));
    EXPECT_EQ(3u, LoadSound(a.c_str()));
}

TEST_F(MusicTest, BadHandlesAreIgnored) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(InitMusic());
    std::string a = Sound("a.wav", Level(1000, 100));
    ASSERT_EQ(1u, LoadSound(a.c_str()));
    for (uint32_t bad : {0u, 2u, 999u, 0xFFFFFFFFu}) {
        PlaySound(bad, true);
        SetSoundVolume(bad, 10);
        SetStartVolume(bad, 10);
        StopSound(bad);
        EXPECT_FALSE(SoundMarkedPlaying(bad)) << "handle " << bad;
    }
    EXPECT_FALSE(SoundMarkedPlaying(1));
}

TEST_F(MusicTest, WithoutAudioDeviceEverythingIsSilentAndHarmless) {
    std::string a = Sound("a.wav", Level(1000, 100));
    // Before any start-up, and with a driver that does not exist.
    EXPECT_EQ(0u, LoadSound(a.c_str()));
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    EXPECT_FALSE(InitMusic());
    EXPECT_EQ(0u, LoadSound(a.c_str()));
    PlaySound(0, true);
    PlaySound(1, false);
    SetSoundVolume(1, 200);
    SetStartVolume(1, 200);
    StopSound(1);
    EXPECT_FALSE(SoundMarkedPlaying(1));
    StopMusic();
    // A failed start leaves nothing behind that keeps a later start from working.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(InitMusic());
    EXPECT_EQ(1u, LoadSound(a.c_str()));
}

TEST_F(MusicTest, AfterStopMusicEveryHandleIsIgnoredAndLoadingGivesZero) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(InitMusic());
    std::string a = Sound("a.wav", Level(1000, 3200));
    ASSERT_EQ(1u, LoadSound(a.c_str()));
    ASSERT_EQ(2u, LoadSound(a.c_str()));
    PlaySound(1, true);
    EXPECT_TRUE(SoundMarkedPlaying(1));
    StopMusic();
    EXPECT_FALSE(SoundMarkedPlaying(1));
    EXPECT_EQ(0u, LoadSound(a.c_str()));
    PlaySound(1, true);
    PlaySound(2, false);
    SetSoundVolume(1, 100);
    StopSound(2);
    EXPECT_FALSE(SoundMarkedPlaying(1));
    EXPECT_FALSE(SoundMarkedPlaying(2));
    StopMusic();  // a second shutdown does nothing
    // Started again, the table is empty and handles begin at 1 once more.
    ASSERT_TRUE(InitMusic());
    EXPECT_EQ(1u, LoadSound(a.c_str()));
}

TEST_F(MusicTest, MarkedPlayingFollowsPlayAndStopOnly) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(InitMusic());
    ASSERT_EQ(1u, LoadSound(Sound("short.wav", Level(1000, 64)).c_str()));
    StopSound(1);  // never started: nothing happens
    EXPECT_FALSE(SoundMarkedPlaying(1));
    SetSoundVolume(1, 40);
    EXPECT_FALSE(SoundMarkedPlaying(1));
    PlaySound(1, false);
    EXPECT_TRUE(SoundMarkedPlaying(1));
    Sleep(150);  // the 2 ms sound has ended by itself; it stays marked
    EXPECT_TRUE(SoundMarkedPlaying(1));
    StopSound(1);
    EXPECT_FALSE(SoundMarkedPlaying(1));
}

TEST_F(MusicTest, MoreSoundsThanChannelsAreStillMarkedAndStoppable) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(InitMusic());
    std::string a = Sound("a.wav", Level(100, 3200));
    for (uint32_t k = 1; k <= 70; k++) ASSERT_EQ(k, LoadSound(a.c_str()));
    for (uint32_t k = 1; k <= 70; k++) PlaySound(k, true);
    for (uint32_t k = 1; k <= 70; k++) EXPECT_TRUE(SoundMarkedPlaying(k)) << "sound " << k;
    SetSoundVolume(70, 10);  // it got no channel: nothing to turn down, and no harm done
    for (uint32_t k = 1; k <= 70; k++) StopSound(k);
    for (uint32_t k = 1; k <= 70; k++) EXPECT_FALSE(SoundMarkedPlaying(k));
    PlaySound(70, false);  // channels are free again
    EXPECT_TRUE(SoundMarkedPlaying(70));
}

// ---- what comes out ---------------------------------------------------------------------------------

TEST_F(MusicTest, APlayedSoundComesOutWholeAndOnce) {
    StartOnDisk();
    uint32_t s = LoadSound(Sound("level.wav", Level(10000, 6400)).c_str());
    ASSERT_EQ(1u, s);
    PlaySound(s, false);
    Sleep(450);
    StopMusic();
    std::vector<int16_t> out = Mixed();
    EXPECT_EQ(6400u, CountNear(out, 10000, 0)) << "the 0.2 s sound should come out exactly once, unchanged";
    EXPECT_EQ(6400u, LongestRunNear(out, 10000, 0)) << "without gaps";
    ExpectOnlyLevels(out, {10000});
}

TEST_F(MusicTest, AStoppedSoundStops) {
    StartOnDisk();
    uint32_t s = LoadSound(Sound("long.wav", Level(7000, 3 * RATE)).c_str());
    ASSERT_NE(0u, s);
    PlaySound(s, false);
    Sleep(250);
    StopSound(s);
    Sleep(250);
    StopMusic();
    std::vector<int16_t> out = Mixed();
    size_t heard = CountNear(out, 7000);
    EXPECT_GT(heard, 0u) << "the sound should have started";
    EXPECT_LT(heard, (size_t)(3 * RATE)) << "the 3 s sound should have been cut off";
    size_t last = LastNear(out, 7000);
    ASSERT_LT(last, out.size());
    EXPECT_GT(out.size() - last, 1000u) << "silence should follow the stop";
    ExpectOnlyLevels(out, {7000});
}

TEST_F(MusicTest, ARepeatingSoundGoesOnPastItsLengthUntilStopped) {
    StartOnDisk();
    uint32_t s = LoadSound(Sound("loop.wav", Level(5000, 3200)).c_str());
    ASSERT_NE(0u, s);
    PlaySound(s, true);
    Sleep(500);
    StopSound(s);
    Sleep(150);
    StopMusic();
    std::vector<int16_t> out = Mixed();
    EXPECT_GT(LongestRunNear(out, 5000, 0), 3u * 3200u) << "the 0.1 s sound should have looped without a gap";
    size_t last = LastNear(out, 5000);
    ASSERT_LT(last, out.size());
    EXPECT_GT(out.size() - last, 1000u) << "the loop should end when stopped";
}

TEST_F(MusicTest, PlayingAgainRestartsFromTheBeginningAndNeverTwiceAtOnce) {
    StartOnDisk();
    const int n = 12000;
    uint32_t s = LoadSound(Sound("ramp.wav", Ramp(n)).c_str());
    ASSERT_NE(0u, s);
    PlaySound(s, true);
    Sleep(150);
    PlaySound(s, false);  // stops the loop, starts anew, plays once
    Sleep(700);
    StopMusic();
    std::vector<int16_t> out = Mixed();
    // The output is silence, the ramp cut off somewhere, the ramp whole from 1 to n, then silence.
    size_t start = FirstNear(out, 1, 0);
    ASSERT_LT(start, out.size()) << "the ramp never started";
    size_t k = start;
    int16_t expect = 1;
    while (k < out.size() && out[k] == expect) {
        k++;
        expect++;
    }
    ASSERT_LT(k, out.size());
    EXPECT_GT(expect - 1, 1000) << "the first playback should have run a while";
    EXPECT_LT(expect - 1, n) << "the first playback should have been cut short by the second start";
    EXPECT_EQ(1, out[k]) << "the second start should begin at the first sample, at frame " << k;
    for (int v = 1; v <= n && k < out.size(); v++, k++) {
        ASSERT_EQ(v, out[k]) << "the second playback should run through once, frame " << k;
    }
    for (; k < out.size(); k++) ASSERT_EQ(0, out[k]) << "after playing once, silence; frame " << k;
}

TEST_F(MusicTest, StartVolumeHoldsForEveryPlaybackAndSetSoundVolumeScalesOnlyTheCurrentOne) {
    StartOnDisk();
    uint32_t s = LoadSound(Sound("level.wav", Level(10000, RATE)).c_str());
    ASSERT_NE(0u, s);
    SetSoundVolume(s, 20);   // not playing: no effect, now or on the next start
    SetStartVolume(s, 128);  // 128 of 255: the mixer's 64 of 128, half
    PlaySound(s, false);
    Sleep(150);
    SetSoundVolume(s, 300);  // clamped to 255: the playback stays at its start volume
    Sleep(100);
    SetSoundVolume(s, 64);  // a quarter of the start volume: 1250
    Sleep(150);
    PlaySound(s, false);  // a new playback starts at the start volume again
    Sleep(150);
    StopSound(s);
    Sleep(100);
    StopMusic();
    std::vector<int16_t> out = Mixed();
    ExpectOnlyLevels(out, {5000, 1250});
    size_t firstHalf = FirstNear(out, 5000), firstQuarter = FirstNear(out, 1250);
    size_t lastQuarter = LastNear(out, 1250), lastHalf = LastNear(out, 5000);
    ASSERT_LT(firstHalf, out.size()) << "the start volume should have given 5000";
    ASSERT_LT(firstQuarter, out.size()) << "SetSoundVolume(64) should have given 1250";
    EXPECT_GT(LongestRunNear(out, 5000), (size_t)(RATE / 10)) << "300 should clamp to full, changing nothing";
    EXPECT_LT(firstHalf, firstQuarter);
    EXPECT_LT(lastQuarter, lastHalf) << "the second playback should be back at the start volume";
}

TEST_F(MusicTest, MusicStartedLowerPlaysUnderAnEffect) {
    StartOnDisk();
    uint32_t music = LoadSound(Sound("music.wav", Level(4000, RATE)).c_str());
    uint32_t effect = LoadSound(Sound("effect.wav", Level(8000, 3200)).c_str());
    ASSERT_NE(0u, music);
    ASSERT_NE(0u, effect);
    SetStartVolume(music, 128);
    SetStartVolume(effect, 255);
    PlaySound(music, true);
    Sleep(100);
    PlaySound(effect, false);
    Sleep(250);
    StopSound(music);
    Sleep(100);
    StopMusic();
    std::vector<int16_t> out = Mixed();
    ExpectOnlyLevels(out, {2000, 10000});
    EXPECT_EQ(3200u, CountNear(out, 10000)) << "the effect at full volume over the music at half";
    EXPECT_GT(CountNear(out, 2000), 0u);
}

TEST_F(MusicTest, AnEndedSoundDoesNotTouchTheSoundNowOnItsChannel) {
    StartOnDisk();
    uint32_t beep = LoadSound(Sound("beep.wav", Level(3000, 320)).c_str());
    uint32_t music = LoadSound(Sound("music.wav", Level(6000, RATE)).c_str());
    ASSERT_NE(0u, beep);
    ASSERT_NE(0u, music);
    PlaySound(beep, false);
    Sleep(150);              // the beep has ended; its channel is free again
    PlaySound(music, true);  // and may now carry the music
    Sleep(50);
    EXPECT_TRUE(SoundMarkedPlaying(beep));
    SetSoundVolume(beep, 0);  // must not silence the music
    StopSound(beep);          // must not stop the music
    EXPECT_FALSE(SoundMarkedPlaying(beep));
    Sleep(150);
    StopSound(music);
    Sleep(100);
    StopMusic();
    std::vector<int16_t> out = Mixed();
    ExpectOnlyLevels(out, {3000, 6000});
    EXPECT_EQ(320u, CountNear(out, 3000));
    EXPECT_GT(LongestRunNear(out, 6000), (size_t)(RATE / 8)) << "the music should have run on at full volume";
}

TEST_F(MusicTest, MusicAndEffectsSwitchedOffAreUnheardAndComeBackWhereTheyAre) {
    StartOnDisk();
    const int n = 2 * RATE;
    uint32_t music = LoadSound(Sound("ramp.wav", Ramp(n)).c_str());
    uint32_t effect = LoadSound(Sound("effect.wav", Level(-9000, 3200)).c_str());
    ASSERT_NE(0u, music);
    ASSERT_NE(0u, effect);
    SetMusicKind(music, true);
    PlaySound(music, false);
    Sleep(200);
    SetMusicOn(false);
    PlaySound(effect, false);  // effects still sound with the music off
    Sleep(300);
    SetMusicOn(true);
    SetEffectsOn(false);
    PlaySound(effect, false);  // unheard
    Sleep(300);
    StopSound(music);
    SetEffectsOn(true);
    Sleep(100);
    StopMusic();
    EXPECT_TRUE(MusicOn() && EffectsOn()) << "the switches outlast the sound system";
    std::vector<int16_t> out = Mixed();
    EXPECT_EQ(3200u, CountNear(out, -9000)) << "the effect is heard once: before the effects were switched off";
    // The ramp: heard, then silent while the music was off, then heard again further on, never from its start.
    size_t first = FirstNear(out, 1, 0), gapEnd = first;
    ASSERT_LT(first, out.size());
    int16_t before = 0;
    for (size_t k = first; k < out.size() && out[k] > 0; ++k) before = out[k], gapEnd = k + 1;
    while (gapEnd < out.size() && out[gapEnd] <= 0) ++gapEnd;
    ASSERT_LT(gapEnd, out.size()) << "the music should be heard again once switched on";
    EXPECT_GT(before, 1000) << "the music played before it was switched off";
    EXPECT_GT(out[gapEnd] - before, RATE / 5) << "it went on unheard and comes back where it has got to";
    EXPECT_EQ(1u, CountNear(out, 1, 0)) << "the piece never started again";
}

TEST_F(MusicTest, Mp3FilesAreDecoded) {
    // A one-second 440 Hz tone, encoded with lame.
    std::vector<int16_t> tone;
    for (int k = 0; k < RATE; k++) tone.push_back((int16_t)(8000.0 * std::sin(2.0 * M_PI * 440.0 * k / RATE)));
    std::string wav = Sound("tone.wav", tone);
    std::string mp3 = dir + "/tone.mp3";
    std::string cmd = "lame --quiet -b 128 '" + wav + "' '" + mp3 + "'";
    ASSERT_EQ(0, std::system(cmd.c_str())) << "the lame encoder should be installed (setup.sh)";
    StartOnDisk();
    uint32_t s = LoadSound(mp3.c_str());
    ASSERT_NE(0u, s) << "the MP3 should load";
    PlaySound(s, false);
    Sleep(400);
    StopSound(s);
    Sleep(50);
    StopMusic();
    std::vector<int16_t> out = Mixed();
    int peak = 0;
    size_t loud = 0;
    for (int16_t v : out) {
        peak = std::max(peak, std::abs((int)v));
        loud += std::abs((int)v) > 4000;
    }
    EXPECT_GT(peak, 7000) << "the decoded tone should reach near its amplitude of 8000";
    EXPECT_LT(peak, 9500);
    EXPECT_GT(loud, (size_t)(RATE / 10)) << "the tone should have sounded for a good part of the time";
}
