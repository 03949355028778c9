// Where the game's files are: its pictures and sounds in the install tree (read only, found from the
// program's own folder), and the player's save files in the player's own play folder, which the game
// makes on its first run. A folder that already holds bitmap/, audio/ and savefiles/ is played in as
// it is (the build's tests and tools do that).
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "main/Kwibbel.h"
#include "music/Music.h"
#include "wimdows/Wimdows.h"

namespace Kwibbel {

// ---- state -------------------------------------------------------------------------------------------

// The data folder as seen from the program's folder: installed (bin/ beside share/), then the build tree.
static const char *const DATA_BESIDE_PROGRAM[2] = {"../share/kwibbel", "data"};
static const char *const DATA_PARTS[3] = {"bitmap", "audio", "savefiles"};
// The save files every play folder needs; the shipped ones are copied in when missing.
static const char *const SAVE_FILES[7] = {"muur.txt",   "geenmuur.txt",   "smiley.txt",       "insane.txt",
                                          "custom.txt", "highscores.txt", "controleslang.txt"};

// ---- internal ----------------------------------------------------------------------------------------

static bool IsFolder(const std::string &path, int access_mode) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && access(path.c_str(), access_mode) == 0;
}

// A folder with all three parts of the game's data, readable.
static bool HoldsData(const std::string &folder) {
    for (const char *part : DATA_PARTS)
        if (!IsFolder(folder + "/" + part, R_OK | X_OK)) return false;
    return true;
}

// Makes folder and its parents (mode 0700 for new ones); FALSE when it is not there afterwards. A folder
// that takes no new files will do when every save file is in it already: saves then rewrite them in place.
static bool MakeFolders(const std::string &folder) {
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '/') continue;
        std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return IsFolder(folder, R_OK | X_OK);
}

// Copies from to a new file to, never over an existing one; TRUE when to exists afterwards.
static bool CopyIfMissing(const std::string &from, const std::string &to) {
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) return errno == EEXIST;
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    bool ok = in >= 0;
    char block[8192];
    while (ok) {
        ssize_t n = read(in, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            ssize_t w = write(out, block + done, (size_t)(n - done));
            if (w < 0 && errno == EINTR) continue;
            ok = w > 0;
            done += w > 0 ? w : 0;
        }
    }
    if (in >= 0) close(in);
    ok = fsync(out) == 0 && ok;
    ok = close(out) == 0 && ok;
    if (!ok) unlink(to.c_str());  // a half copy would read as a damaged save file
    return ok;
}

// ---- exported ----------------------------------------------------------------------------------------

std::string PlayFolderPath() {
    const char *xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/kwibbel";
    const char *home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        struct passwd *pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || home[0] != '/') return "";
    return std::string(home) + "/.local/share/kwibbel";
}

// The same folder, by its real path.
static bool SameFolder(const std::string &a, const std::string &b) {
    char *ra = realpath(a.c_str(), nullptr), *rb = realpath(b.c_str(), nullptr);
    bool same = ra && rb && std::strcmp(ra, rb) == 0;
    std::free(ra);
    std::free(rb);
    return same;
}

bool PreparePlayFolder() {
    const std::string program = Wimdows::ProgramFolder();
    std::string data, lookedIn;
    for (const char *beside : DATA_BESIDE_PROGRAM) {
        std::string candidate = program + beside;
        if (!program.empty() && HoldsData(candidate)) {
            data = candidate;
            break;
        }
        lookedIn += (lookedIn.empty() ? "" : " and ") + candidate;
    }
    // Tests and tools start the game in a complete folder of their own (never the install tree itself).
    if (HoldsData(".") && (data.empty() || !SameFolder(".", data))) return true;
    if (data.empty()) {
        std::fprintf(stderr, "Kwibbel cannot find its pictures and sounds: looked in %s.\n",
                     program.empty() ? "the program's folder (unknown)" : lookedIn.c_str());
        return false;
    }

    const std::string play = PlayFolderPath();
    if (play.empty() || !MakeFolders(play + "/savefiles")) {
        std::fprintf(stderr, "Kwibbel cannot make its play folder %s.\n",
                     play.empty() ? "(no home folder)" : play.c_str());
        return false;
    }
    for (const char *name : SAVE_FILES) {
        if (!CopyIfMissing(data + "/savefiles/" + name, play + "/savefiles/" + name)) {
            std::fprintf(stderr, "Kwibbel cannot copy %s/savefiles/%s into %s/savefiles.\n", data.c_str(), name,
                         play.c_str());
            return false;
        }
    }
    if (chdir(play.c_str()) != 0) {
        std::fprintf(stderr, "Kwibbel cannot work in its play folder %s.\n", play.c_str());
        return false;
    }
    // Pictures and sounds are read where they are installed; only the save files are the player's.
    Wimdows::SetDataFolder(data.c_str());
    Music::SetDataFolder(data.c_str());
    return true;
}

}  // namespace Kwibbel
