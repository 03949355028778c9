// The settings that last from one run to the next: the window's size, position and fullscreen, music on or
// off and sound effects on or off, in a small file of their own in the play folder (the working folder).
// The file is key=value lines; a missing or damaged file means the defaults and one line on the console's
// error stream, never a stop. It is replaced whole (a temporary file beside it, synced, renamed over it),
// so a crash never leaves half a file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "game/SnakeProcedures.h"
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

// A whole decimal number in min..max; FALSE for anything else.
static bool Number(const std::string &text, long min, long max, long &value) {
    if (text.empty() || text.size() > 11) return false;
    char *end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && *end == 0 && value >= min && value <= max;
}

// Reads the lines into s; the number of the first line that makes no sense, or 0.
static int Parse(std::istream &in, Settings &s) {
    bool haveW = false, haveH = false, haveX = false, haveY = false;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) return number;
        const std::string key = line.substr(0, eq), text = line.substr(eq + 1);
        long v = 0;
        if (key == "window-width" || key == "window-height") {
            if (!Number(text, 1, 16384, v)) return number;
            (key == "window-width" ? s.placement.width : s.placement.height) = (uint32_t)v;
            (key == "window-width" ? haveW : haveH) = true;
        } else if (key == "window-x" || key == "window-y") {
            if (!Number(text, -100000, 100000, v)) return number;
            (key == "window-x" ? s.placement.x : s.placement.y) = (int32_t)v;
            (key == "window-x" ? haveX : haveY) = true;
        } else if (key == "fullscreen" || key == "music" || key == "effects") {
            if (!Number(text, 0, 1, v)) return number;
            (key == "fullscreen" ? s.placement.fullscreen : key == "music" ? s.music : s.effects) = v == 1;
        }
        // Other keys belong to later versions of the game and are passed over.
    }
    if (haveW != haveH || haveX != haveY) return number;
    if (!haveW) s.placement.width = s.placement.height = 0;
    s.placement.positioned = haveX;
    return 0;
}

// ---- exported ----------------------------------------------------------------------------------------

Settings ReadSettings(const char *file, bool *fine) {
    Settings s = Defaults();
    if (fine) *fine = false;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (errno == ENOENT)
            std::fprintf(stderr, "No %s yet: the window takes its first size, music and sound effects are on.\n", file);
        else
            std::fprintf(stderr, "Cannot read %s: the default settings are used.\n", file);
        return s;
    }
    int bad = Parse(in, s);
    if (bad != 0 || in.bad()) {
        std::fprintf(stderr, "%s is damaged (line %d): the default settings are used.\n", file, bad);
        return Defaults();
    }
    if (fine) *fine = true;
    return s;
}

bool WriteSettings(const char *file, const Settings &s) {
    const Wimdows::Placement &p = s.placement;
    std::string text = "# Kwibbel's settings: the window and the sound, kept from one run to the next.\n";
    if (p.width > 0 && p.height > 0)
        text += "window-width=" + std::to_string(p.width) + "\nwindow-height=" + std::to_string(p.height) + "\n";
    if (p.positioned) text += "window-x=" + std::to_string(p.x) + "\nwindow-y=" + std::to_string(p.y) + "\n";
    text += std::string("fullscreen=") + (p.fullscreen ? "1" : "0") + "\nmusic=" + (s.music ? "1" : "0") +
            "\neffects=" + (s.effects ? "1" : "0") + "\n";

    std::string temp = std::string(file) + ".XXXXXX";
    int fd = mkstemp(&temp[0]);
    if (fd < 0) return false;
    bool ok = fchmod(fd, 0644) == 0;
    for (size_t done = 0; ok && done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        done += n > 0 ? (size_t)n : 0;
    }
    ok = fsync(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), file) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
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
    if (WriteSettings(SETTINGS_FILE, now)) {
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
