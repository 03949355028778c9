// The settings that last from one run to the next: the window's size, position and fullscreen, music on or
// off and sound effects on or off, in a small file of their own in the play folder (the working folder).
// The file is key=value lines; a missing file means the defaults, a value that makes no sense its default,
// each with one line on the console's error stream, never a stop. It is replaced whole as the save files
// are (a temporary file beside it, synced, renamed over it), so a crash never leaves half a file. Two
// copies of the game share it: each writes only what it changed, under the play folder's lock.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "game/Game.h"
#include "main/Kwibbel.h"
#include "music/Music.h"
#include "wimdows/Wimdows.h"

namespace Kwibbel {

// ---- state -------------------------------------------------------------------------------------------

const char *const SETTINGS_FILE = "settings.txt";

static Settings gSaved;            // what the file holds
static bool gSavedKnown = false;   // gSaved is the file's content
static bool gWriteFailed = false;  // the one line about a failed write has been written

// ---- internal ----------------------------------------------------------------------------------------

static Settings Defaults() {
    Settings s;
    s.placement = Wimdows::Placement{0, 0, 0, 0, false, false};
    s.music = true;
    s.effects = true;
    return s;
}

static bool Same(const Settings &a, const Settings &b) {
    const Wimdows::Placement &p = a.placement, &q = b.placement;
    return p.width == q.width && p.height == q.height && p.positioned == q.positioned &&
           (!p.positioned || (p.x == q.x && p.y == q.y)) && p.fullscreen == q.fullscreen && a.music == b.music &&
           a.effects == b.effects;
}

// The values the reader takes, so that the writer never writes one it would refuse.
static const long SIDE_MIN = 1, SIDE_MAX = 16384, POSITION_MAX = 100000;

// A whole decimal number in min..max; FALSE for anything else.
static bool Number(const std::string &text, long min, long max, long &value) {
    if (text.empty() || text.size() > 11) return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && *end == 0 && value >= min && value <= max;
}

// Reads the lines into s, which holds the defaults: a line that makes no sense leaves its value at the
// default. The number of the first such line, or 0.
static int Parse(const std::string &all, Settings &s) {
    bool haveW = false, haveH = false, haveX = false, haveY = false;
    std::istringstream in(all);
    std::string line;
    int number = 0, bad = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        size_t eq = line.find('=');
        const std::string key = line.substr(0, eq), text = eq == std::string::npos ? "" : line.substr(eq + 1);
        long v = 0;
        bool fine = eq != std::string::npos;
        if (key == "window-width" || key == "window-height") {
            fine = Number(text, SIDE_MIN, SIDE_MAX, v);
            if (fine) (key == "window-width" ? s.placement.width : s.placement.height) = (uint32_t)v;
            (key == "window-width" ? haveW : haveH) = fine;
        } else if (key == "window-x" || key == "window-y") {
            fine = Number(text, -POSITION_MAX, POSITION_MAX, v);
            if (fine) (key == "window-x" ? s.placement.x : s.placement.y) = (int32_t)v;
            (key == "window-x" ? haveX : haveY) = fine;
        } else if (key == "fullscreen" || key == "music" || key == "effects") {
            fine = Number(text, 0, 1, v);
            if (fine) (key == "fullscreen" ? s.placement.fullscreen : key == "music" ? s.music : s.effects) = v == 1;
        }
        // Other keys belong to later versions of the game and are passed over.
        if (!fine && bad == 0) bad = number;
    }
    // A size or a position is a pair: half of one is none.
    if (haveW != haveH || haveX != haveY) bad = bad ? bad : number;
    if (!haveW || !haveH) s.placement.width = s.placement.height = 0;
    s.placement.positioned = haveX && haveY;
    if (!s.placement.positioned) s.placement.x = s.placement.y = 0;
    return bad;
}

// How reading the file went.
enum ReadEn { READ_FINE, READ_MISSING, READ_UNREADABLE, READ_DAMAGED };

// Reads the file into s (the defaults where it says nothing or nonsense), without a word; *badLine the
// first line that made no sense.
static ReadEn Read(const char *file, Settings &s, int *badLine) {
    s = Defaults();
    std::vector<unsigned char> bytes;
    // Never waits: a pipe or a device in the file's place is no settings file.
    if (!SnakeProcedures::ReadWholeFile(file, bytes)) return errno == ENOENT ? READ_MISSING : READ_UNREADABLE;
    *badLine = Parse(std::string(bytes.begin(), bytes.end()), s);
    return *badLine ? READ_DAMAGED : READ_FINE;
}

// ---- exported ----------------------------------------------------------------------------------------

Settings ReadSettings(const char *file, bool *fine) {
    Settings s;
    int bad = 0;
    ReadEn how = Read(file, s, &bad);
    if (how == READ_MISSING)
        std::fprintf(stderr, "No %s yet: the window takes its first size, music and sound effects are on.\n", file);
    else if (how == READ_UNREADABLE)
        std::fprintf(stderr, "Cannot read %s: the default settings are used.\n", file);
    else if (how == READ_DAMAGED)
        std::fprintf(stderr, "%s is damaged (line %d): that setting takes its default.\n", file, bad);
    if (fine) *fine = how == READ_FINE;
    return s;
}

bool WriteSettings(const char *file, const Settings &s) {
    const Wimdows::Placement &p = s.placement;
    std::string text = "# Kwibbel's settings: the window and the sound, kept from one run to the next.\n";
    // A value the reader would refuse is left out: it reads as its default.
    auto inside = [](long v, long min, long max) { return v >= min && v <= max; };
    if (inside(p.width, SIDE_MIN, SIDE_MAX) && inside(p.height, SIDE_MIN, SIDE_MAX))
        text += "window-width=" + std::to_string(p.width) + "\nwindow-height=" + std::to_string(p.height) + "\n";
    if (p.positioned && inside(p.x, -POSITION_MAX, POSITION_MAX) && inside(p.y, -POSITION_MAX, POSITION_MAX))
        text += "window-x=" + std::to_string(p.x) + "\nwindow-y=" + std::to_string(p.y) + "\n";
    text += std::string("fullscreen=") + (p.fullscreen ? "1" : "0") + "\nmusic=" + (s.music ? "1" : "0") +
            "\neffects=" + (s.effects ? "1" : "0") + "\n";
    return SnakeProcedures::ReplaceFile(file, std::vector<unsigned char>(text.begin(), text.end()));
}

void LoadSettings() {
    gSaved = ReadSettings(SETTINGS_FILE, &gSavedKnown);
    Wimdows::SetPlacement(gSaved.placement);
    Music::SetMusicOn(gSaved.music);
    Music::SetEffectsOn(gSaved.effects);
    Wimdows::OnRequests(HandleRequests);
}

void SaveSettings() {
    Settings now;
    now.placement = Wimdows::GetPlacement();
    now.music = Music::MusicOn();
    now.effects = Music::EffectsOn();
    if (now.placement.width == 0 || (gSavedKnown && Same(now, gSaved))) return;
    // Another copy of the game may have changed other settings since: under the lock the file is read
    // again, and only what this copy changed goes over it.
    int lock = SnakeProcedures::LockPlayFolder();
    Settings merged;
    int bad = 0;
    Read(SETTINGS_FILE, merged, &bad);
    const Wimdows::Placement &p = now.placement, &q = gSaved.placement;
    Wimdows::Placement &m = merged.placement;
    if (!gSavedKnown || p.width != q.width || p.height != q.height) m.width = p.width, m.height = p.height;
    if (!gSavedKnown || p.positioned != q.positioned || p.x != q.x || p.y != q.y)
        m.positioned = p.positioned, m.x = p.x, m.y = p.y;
    if (!gSavedKnown || p.fullscreen != q.fullscreen) m.fullscreen = p.fullscreen;
    if (!gSavedKnown || now.music != gSaved.music) merged.music = now.music;
    if (!gSavedKnown || now.effects != gSaved.effects) merged.effects = now.effects;
    bool written = WriteSettings(SETTINGS_FILE, merged);
    SnakeProcedures::UnlockPlayFolder(lock);
    if (written) {
        gSaved = now;
        gSavedKnown = true;
    } else if (!gWriteFailed) {
        gWriteFailed = true;
        std::fprintf(stderr, "Kwibbel cannot save its settings in %s.\n", SETTINGS_FILE);
    }
}

void HandleRequests(uint32_t requests) {
    // The window says what was switched: a short sign in the pause sign's style.
    const uint32_t SIGN_MS = 1200;
    if (requests & Wimdows::REQUEST_MUSIC) {
        Music::SetMusicOn(!Music::MusicOn());
        SnakeProcedures::FlashSign(Music::MusicOn() ? "Music on" : "Music off", SIGN_MS);
    }
    if (requests & Wimdows::REQUEST_EFFECTS) {
        Music::SetEffectsOn(!Music::EffectsOn());
        // Sound effects coming back say so with a click; going off, the silence does.
        if (Music::EffectsOn()) Music::PlaySound(SnakeProcedures::Songs.click, false);
        SnakeProcedures::FlashSign(Music::EffectsOn() ? "Sound effects on" : "Sound effects off", SIGN_MS);
    }
    SaveSettings();
}

}  // namespace Kwibbel
