// The generated data tree: every picture at the size the game loads it, every sound a gapless MP3 of a
// sensible length that the sound layer decodes, and the shipped save files in their exact formats.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <queue>
#include <string>
#include <vector>

#include "game/SnakePieces.h"
#include "music/Music.h"

namespace {

const std::string DATA = KWIBBEL_DATA_DIR;
const std::string SHIPPED = std::string(KWIBBEL_SOURCE_DIR) + "/data/savefiles/";

std::vector<uint8_t> ReadAll(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// ---- pictures -----------------------------------------------------------------------------------------

struct PictureSize {
    const char *name;
    int w, h;
};

// Every picture the game loads, at the size it loads it. The back arrow is loaded at three sizes
// (93x60, 66x60, 66x54) and is made at the largest.
const PictureSize PICTURES[] = {
    {"loadscreen1.bmp", 800, 680},
    {"loadscreen2.bmp", 800, 680},
    {"loadscreen3.bmp", 800, 680},
    {"backgroundmenu.bmp", 800, 680},
    {"slotmenubackground.bmp", 800, 680},
    {"helptext.bmp", 800, 680},
    {"levelmakerhelp.bmp", 800, 680},
    {"gameover.bmp", 800, 680},
    {"gameover2.bmp", 800, 680},
    {"gameoverboth.bmp", 800, 680},
    {"gameoverknurf.bmp", 800, 680},
    {"refusedlevel.bmp", 800, 680},
    {"highscoretable.bmp", 800, 680},
    {"plate1.bmp", 128, 66},
    {"plate2.bmp", 128, 66},
    {"plateknurf.bmp", 128, 66},
    {"platecomputer.bmp", 128, 66},
    {"fail.bmp", 800, 600},
    {"arrowright.bmp", 800, 600},
    {"arrowleft.bmp", 800, 600},
    {"arrowup.bmp", 800, 600},
    {"arrowdown.bmp", 800, 600},
    {"choosekey1.bmp", 800, 80},
    {"choosekey2.bmp", 800, 80},
    {"hud.bmp", 800, 80},
    {"editorhud.bmp", 800, 80},
    {"3.bmp", 100, 100},
    {"2.bmp", 100, 100},
    {"1.bmp", 100, 100},
    {"knurfs.bmp", 20, 20},
    {"knurfsgeel.bmp", 20, 20},
    {"knurfsblauw.bmp", 20, 20},
    {"knurfsgroen.bmp", 20, 20},
    {"muurhor.bmp", 20, 20},
    {"muurver.bmp", 20, 20},
    {"play1.bmp", 200, 50},
    {"play2.bmp", 200, 50},
    {"options1.bmp", 200, 50},
    {"options2.bmp", 200, 50},
    {"lvlmaker1.bmp", 200, 50},
    {"lvlmaker2.bmp", 200, 50},
    {"highscore1.bmp", 200, 50},
    {"highscore2.bmp", 200, 50},
    {"help1.bmp", 200, 50},
    {"help2.bmp", 200, 50},
    {"quit1.bmp", 200, 50},
    {"quit2.bmp", 200, 50},
    {"slot1.bmp", 280, 60},
    {"slot12.bmp", 280, 60},
    {"slot2.bmp", 280, 60},
    {"slot22.bmp", 280, 60},
    {"slot3.bmp", 280, 60},
    {"slot32.bmp", 280, 60},
    {"slot4.bmp", 280, 60},
    {"slot42.bmp", 280, 60},
    {"slot5.bmp", 280, 60},
    {"slot52.bmp", 280, 60},
    {"previous1.bmp", 93, 60},
    {"previous2.bmp", 93, 60},
    {"diff1.bmp", 200, 60},
    {"diff2.bmp", 200, 60},
    {"controls1.bmp", 200, 60},
    {"controls2.bmp", 200, 60},
    {"settings1.bmp", 200, 60},
    {"settings2.bmp", 200, 60},
    {"easy1.bmp", 200, 60},
    {"easy2.bmp", 200, 60},
    {"medium1.bmp", 200, 60},
    {"medium2.bmp", 200, 60},
    {"hard1.bmp", 200, 60},
    {"hard2.bmp", 200, 60},
    {"sp1.bmp", 200, 54},
    {"sp2.bmp", 200, 54},
    {"snakevssnake1.bmp", 200, 54},
    {"snakevssnake2.bmp", 200, 54},
    {"snakevsknurf1.bmp", 200, 54},
    {"snakevsknurf2.bmp", 200, 54},
    {"snakevscomputer1.bmp", 200, 54},
    {"snakevscomputer2.bmp", 200, 54},
    {"network1.bmp", 200, 54},
    {"network2.bmp", 200, 54},
    {"hostsnake1.bmp", 200, 60},
    {"hostsnake2.bmp", 200, 60},
    {"hostknurf1.bmp", 200, 60},
    {"hostknurf2.bmp", 200, 60},
    {"join1.bmp", 200, 60},
    {"join2.bmp", 200, 60},
    {"networkscreen.bmp", 800, 680},
};

// The picture the game asks for as "<name>.bmp", stored in `folder` as "<name>.png": an 8-bit RGB PNG of
// that size.
void ExpectPng(const std::string &bmpName, int w, int h, const char *folder = "/bitmap/") {
    const std::string name = bmpName.substr(0, bmpName.size() - 4) + ".png";
    std::vector<uint8_t> b = ReadAll(DATA + folder + name);
    ASSERT_GE(b.size(), 33u) << name << " is missing or too short";
    EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 4), "PNG") << name;
    auto be32 = [&](size_t at) { return (int)(b[at] << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3]); };
    EXPECT_EQ(be32(16), w) << name << ": width";
    EXPECT_EQ(be32(20), h) << name << ": height";
    EXPECT_EQ(b[24], 8) << name << ": bits per channel";
    EXPECT_EQ(b[25], 2) << name << ": colour type RGB";
}

TEST(AssetFiles, EveryPictureIsStoredAsAPngOfTheSizeTheGameLoadsItAt) {
    for (const PictureSize &p : PICTURES) ExpectPng(p.name, p.w, p.h);
    for (uint32_t piece = 0; piece < SnakePieces::COUNT; piece++)
        for (uint32_t player : {1u, 2u}) ExpectPng(SnakePieces::FileName(player, piece), 20, 20);
}

TEST(AssetFiles, EveryPictureHasATwinAtTwiceItsSize) {
    for (const PictureSize &p : PICTURES) ExpectPng(p.name, 2 * p.w, 2 * p.h, "/bitmap2x/");
    for (uint32_t piece = 0; piece < SnakePieces::COUNT; piece++)
        for (uint32_t player : {1u, 2u}) ExpectPng(SnakePieces::FileName(player, piece), 40, 40, "/bitmap2x/");
}

// ---- sounds -----------------------------------------------------------------------------------------------

struct Mp3Info {
    bool ok = false;
    uint32_t rate = 0, frames = 0, delay = 0, padding = 0;
    bool gapless = false;  // an Info/Xing frame with LAME's delay and padding
    double Seconds() const { return rate ? ((double)frames * 1152 - (gapless ? delay + padding : 0)) / rate : 0; }
};

// Walks the MPEG-1 Layer III frames of a file and reads the LAME header in its first frame.
Mp3Info ReadMp3(const std::string &path) {
    static const int kbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int rates[4] = {44100, 48000, 32000, 0};
    Mp3Info info;
    std::vector<uint8_t> b = ReadAll(path);
    size_t at = 0;
    if (b.size() > 10 && std::memcmp(b.data(), "ID3", 3) == 0)
        at = 10 + ((b[6] & 127) << 21 | (b[7] & 127) << 14 | (b[8] & 127) << 7 | (b[9] & 127));
    bool first = true;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xFF || (b[at + 1] & 0xFE) != 0xFA) return info;  // MPEG-1 Layer III only
        int br = kbps[b[at + 2] >> 4], sr = rates[(b[at + 2] >> 2) & 3], pad = (b[at + 2] >> 1) & 1;
        if (!br || !sr) return info;
        size_t len = 144000 * br / sr + pad;
        if (first) {
            info.rate = sr;
            bool mono = (b[at + 3] >> 6) == 3;
            size_t tag = at + 4 + (mono ? 17 : 32);
            if (tag + 4 <= b.size() && (!std::memcmp(&b[tag], "Info", 4) || !std::memcmp(&b[tag], "Xing", 4))) {
                // The LAME extension follows the 120-byte Xing block; delay and padding are 12 bits each.
                size_t lame = tag + 120;
                if (lame + 24 <= b.size() && !std::memcmp(&b[lame], "LAME", 4)) {
                    info.delay = (b[lame + 21] << 4) | (b[lame + 22] >> 4);
                    info.padding = ((b[lame + 22] & 15) << 8) | b[lame + 23];
                    info.gapless = true;
                }
                first = false;
                at += len;
                continue;  // the header frame holds no sound
            }
            first = false;
        }
        ++info.frames;
        at += len;
    }
    info.ok = at == b.size() && info.frames > 0;
    return info;
}

struct SoundLength {
    const char *name;
    double minSeconds, maxSeconds;
};

const SoundLength SOUNDS[] = {
    {"menumusic.mp3", 20, 60}, {"ingamemusic.mp3", 20, 60}, {"customizermusic.mp3", 20, 60},
    {"laden.mp3", 7, 9},  // the loading screen lasts eight seconds
    {"3.mp3", 0.2, 0.8},       {"2.mp3", 0.2, 0.8},         {"1.mp3", 0.2, 1.0},  // one count every 800 ms
    {"easy.mp3", 0.2, 2},      {"medium.mp3", 0.2, 2},      {"hard.mp3", 0.2, 2},
    {"laser.mp3", 0.05, 1},    {"beep.mp3", 0.05, 0.5},     {"gameover.mp3", 1, 4.5},  // the picture stays 4 s
};

TEST(AssetFiles, EverySoundIsAGaplessMp3OfASensibleLength) {
    for (const SoundLength &s : SOUNDS) {
        Mp3Info info = ReadMp3(DATA + "/audio/" + s.name);
        ASSERT_TRUE(info.ok) << s.name << " is missing or not a clean MPEG-1 Layer III stream";
        EXPECT_EQ(info.rate, 32000u) << s.name << ": the sound layer plays at 32000 Hz";
        EXPECT_TRUE(info.gapless) << s.name << ": no LAME header with the encoder delay and padding";
        EXPECT_GE(info.Seconds(), s.minSeconds) << s.name;
        EXPECT_LE(info.Seconds(), s.maxSeconds) << s.name;
    }
}

TEST(AssetFiles, TheMusicLoopsOnWholeBars) {
    // The samples the decoder hands back: a whole number of bars at the piece's tempo.
    const struct {
        const char *name;
        uint32_t samplesPerBar;
    } music[3] = {{"menumusic.mp3", 32000 * 60 * 4 / 100},
                  {"ingamemusic.mp3", 32000 * 60 * 4 / 150},
                  {"customizermusic.mp3", 32000 * 60 * 4 / 96}};
    for (const auto &m : music) {
        Mp3Info info = ReadMp3(DATA + "/audio/" + m.name);
        ASSERT_TRUE(info.ok && info.gapless) << m.name;
        uint64_t samples = (uint64_t)info.frames * 1152 - info.delay - info.padding;
        EXPECT_EQ(samples % m.samplesPerBar, 0u) << m.name << ": " << samples << " samples";
    }
}

TEST(AssetFiles, EverySoundDecodesThroughTheSoundLayer) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);  // no loudspeaker needed to decode
    if (!Music::InitMusic()) GTEST_SKIP() << "no audio device, not even the dummy one";
    for (const SoundLength &s : SOUNDS) EXPECT_NE(Music::LoadSound((DATA + "/audio/" + s.name).c_str()), 0u) << s.name;
    Music::StopMusic();
}

// ---- save files ---------------------------------------------------------------------------------------------

// The rows of a level, each checked to be 40 bytes followed by CR LF.
std::vector<std::string> LevelRows(const std::string &name) {
    std::vector<uint8_t> b = ReadAll(SHIPPED + name);
    std::vector<std::string> rows;
    EXPECT_EQ(b.size(), 30u * 42) << name << ": 30 lines of 40 characters and CR LF";
    for (size_t r = 0; r < 30 && (r + 1) * 42 <= b.size(); ++r) {
        EXPECT_EQ(b[r * 42 + 40], '\r') << name << " line " << r + 1;
        EXPECT_EQ(b[r * 42 + 41], '\n') << name << " line " << r + 1;
        rows.emplace_back(b.begin() + r * 42, b.begin() + r * 42 + 40);
    }
    return rows;
}

// Checks one start run: exactly four `letter`s, side by side on one row, with free cells from the first one
// to six beyond the run (the snake lies right of the first cell and heads right). Gives the first cell.
void ExpectStartRun(const std::string &name, const std::vector<std::string> &rows, char letter, int &row, int &col) {
    int count = 0;
    row = col = -1;
    for (int r = 0; r < (int)rows.size(); ++r)
        for (int c = 0; c < 40; ++c)
            if (rows[r][c] == letter) {
                if (count++ == 0) {
                    row = r;
                    col = c;
                }
            }
    ASSERT_EQ(count, 4) << name << ": cells marked " << letter;
    for (int c = col; c < col + 4; ++c)
        EXPECT_EQ(rows[row][c], letter) << name << ": the " << letter << " run is broken";
    ASSERT_LE(col + 10, 40) << name << ": the " << letter << " snake would start too close to the right edge";
    for (int c = col + 4; c < col + 10; ++c)
        EXPECT_EQ(rows[row][c], '-') << name << ": cell " << row + 1 << "," << c + 1 << " ahead of the " << letter
                                     << " snake is not free";
    EXPECT_GT(row, 0) << name;
    EXPECT_LT(row, 29) << name;
}

TEST(ShippedSaveFiles, EveryLevelHasBothStartsWithRoomAheadAndNoUnreachableCorner) {
    for (const char *name : {"muur.txt", "geenmuur.txt", "smiley.txt", "insane.txt", "custom.txt"}) {
        std::vector<std::string> rows = LevelRows(name);
        ASSERT_EQ(rows.size(), 30u) << name;
        for (const std::string &row : rows)
            for (char ch : row) ASSERT_NE(std::strchr("MST-", ch), nullptr) << name << ": character " << ch;
        int sr, sc, tr, tc;
        ExpectStartRun(name, rows, 'S', sr, sc);
        ExpectStartRun(name, rows, 'T', tr, tc);
        EXPECT_NE(sr, tr) << name << ": both snakes on one row";
        // Every free cell can be reached from player 1's head (knurfs appear on any free cell); a snake
        // leaving the board comes back on the other side.
        std::vector<std::vector<bool>> seen(30, std::vector<bool>(40, false));
        std::queue<std::pair<int, int>> todo;
        todo.push({sr, sc + 4});
        seen[sr][sc + 4] = true;
        int reached = 0;
        while (!todo.empty()) {
            auto [r, c] = todo.front();
            todo.pop();
            ++reached;
            const int dr[4] = {0, 0, -1, 1}, dc[4] = {1, -1, 0, 0};
            for (int k = 0; k < 4; ++k) {
                int nr = (r + dr[k] + 30) % 30, nc = (c + dc[k] + 40) % 40;
                if (rows[nr][nc] != 'M' && !seen[nr][nc]) {
                    seen[nr][nc] = true;
                    todo.push({nr, nc});
                }
            }
        }
        int free = 0;
        for (const std::string &row : rows)
            for (char ch : row) free += ch != 'M';
        EXPECT_EQ(reached, free) << name << ": some free cells are walled off";
    }
    // The kinds: a wall all round, no wall at all.
    std::vector<std::string> muur = LevelRows("muur.txt"), geen = LevelRows("geenmuur.txt");
    EXPECT_EQ(muur[0], std::string(40, 'M'));
    EXPECT_EQ(muur[29], std::string(40, 'M'));
    for (const std::string &row : geen) EXPECT_EQ(row.find('M'), std::string::npos);
}

TEST(ShippedSaveFiles, HighscoresAreTenDescendingNumbers) {
    std::vector<uint8_t> b = ReadAll(SHIPPED + "highscores.txt");
    std::string text(b.begin(), b.end());
    std::vector<long> scores;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
        std::string line = text.substr(at, end - at);
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << line;
        EXPECT_TRUE(line == "0" || line[0] != '0') << "no leading zeros: " << line;
        scores.push_back(std::stol(line));
        at = end + 2;
    }
    ASSERT_EQ(scores.size(), 10u);
    for (size_t i = 1; i < scores.size(); ++i) EXPECT_GE(scores[i - 1], scores[i]);
}

TEST(ShippedSaveFiles, ControlsAreTheArrowsAndWasd) {
    std::vector<uint8_t> b = ReadAll(SHIPPED + "controleslang.txt");
    EXPECT_EQ(std::string(b.begin(), b.end()), "39\r\n37\r\n38\r\n40\r\n\r\n68\r\n65\r\n87\r\n83\r\n\r\n");
}

TEST(ShippedSaveFiles, TheBuildCopiesThemUnchanged) {
    for (const char *name :
         {"muur.txt", "geenmuur.txt", "smiley.txt", "insane.txt", "custom.txt", "highscores.txt", "controleslang.txt"})
        EXPECT_EQ(ReadAll(DATA + "/savefiles/" + name), ReadAll(SHIPPED + name)) << name;
}

}  // namespace
