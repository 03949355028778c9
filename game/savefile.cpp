// Save files: byte-oriented text streams for the level, highscore and controls files.
//
// A file is read whole into memory when it is opened; reads and writes work on that copy with one shared
// position, and writes overwrite in place (bytes past the new end stay). Close puts a rewritten file on
// disk in one go: the bytes go to a temporary file in the same folder, which is synced and renamed over
// the old file, so a save cut short by a crash or a kill leaves either the old file or the new one (and
// a temporary file, which the next save of that file removes). Where
// the folder takes no new files but the file itself is writable, the file is rewritten in place and
// synced before the save counts as done.
// Only regular files are save files, and no open ever waits (a named pipe would block it for ever).
// A save file that cannot be opened or written is one console line naming it; at the start (Open, OpenRead,
// Close) that stops the program, while it runs (TryOpen, TryClose) the caller shows why and goes on.

#include "game/SnakeProcedures.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace SnakeProcedures {

// ---- types -------------------------------------------------------------------------------------------

struct SaveFile {
    std::string name;                  // as the caller gave it, for messages
    std::string target;                // the file itself, links followed: what a save replaces
    std::vector<unsigned char> bytes;  // the whole file as it will be on disk after Close
    size_t pos;                        // shared by reads and writes
    bool writable;                     // opened with Open
    bool changed;                      // something was written since opening
    mode_t mode;                       // permissions that the replacement file keeps
};

// ---- internal ----------------------------------------------------------------------------------------

static const size_t NUMBER_TEXT_MAX = 256;

// The last failure, for the screen that tells it: the file, and what went wrong in a player's words.
static std::string gFailedFile;
static const char *gProblem = "";
static bool gFailedWriting = false;
// What OpenRegular found instead of a regular file.
static const int NOT_REGULAR = -2;

// The player's words for what errno `error` (or NOT_REGULAR) says went wrong with a file.
static const char *Problem(int error) {
    switch (error) {
    case NOT_REGULAR: return "it is a folder, a pipe or a device, not a file";
    case ENOENT: return "it is not there any more";
    case EACCES:
    case EPERM: return "Kwibbel is not allowed to change it (read-only)";
    case EROFS: return "it lies on a read-only disk";
    case ENOSPC:
    case EDQUOT: return "the disk is full";
    case EFBIG: return "it would grow beyond the size allowed";
    case EIO: return "the disk reported an error";
    default: return "the system refused it";
    }
}

// Keeps the failure for SaveFailure and writes its console line.
static void NoteFailure(const char *what, const std::string &name, int error, bool writing) {
    gFailedFile = name;
    gProblem = Problem(error);
    gFailedWriting = writing;
    std::fflush(stdout);
    std::fprintf(stderr, "%s %s.\n", what, name.c_str());
    std::fflush(stderr);
}

[[noreturn]] static void Fatal(const char *what, const std::string &name) {
    NoteFailure(what, name, 0, false);
    std::_Exit(1);
}

static bool IsSeparator(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 26; }

// Opens a regular file without ever waiting on it; -1 for anything else (a pipe, a device, a folder: errno
// NOT_REGULAR).
static int OpenRegular(const char *name, int flags) {
    int fd = open(name, flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EISDIR) errno = NOT_REGULAR;
        return -1;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = NOT_REGULAR;
        return -1;
    }
    return fd;
}

// Reads the whole of an open descriptor; FALSE on a read error.
static bool ReadAll(int fd, std::vector<unsigned char> &out, size_t largest = SIZE_MAX) {
    unsigned char block[65536];
    for (;;) {
        if (out.size() > largest) {
            errno = EFBIG;
            return false;
        }
        ssize_t n = read(fd, block, sizeof block);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        out.insert(out.end(), block, block + n);
    }
}

static bool WriteAll(int fd, const unsigned char *data, size_t len) {
    while (len > 0) {
        ssize_t n = write(fd, data, len);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        len -= (size_t)n;
    }
    return true;
}

static std::string FolderOf(const std::string &name) {
    size_t slash = name.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return name.substr(0, slash);
}

// The open file, or 0 after the console line (and, with `stop`, the end of the program).
static SaveFile *OpenFile(const char *name, bool writable, bool stop) {
    std::string fileName = name ? name : "";
    errno = ENOENT;
    int fd = fileName.empty() ? -1 : OpenRegular(fileName.c_str(), writable ? O_RDWR : O_RDONLY);
    struct stat st;
    SaveFile *file = fd < 0 ? nullptr : new SaveFile();
    if (file && (fstat(fd, &st) != 0 || !ReadAll(fd, file->bytes))) {
        delete file;
        file = nullptr;
    }
    int error = errno;
    if (fd >= 0) close(fd);
    if (!file) {
        if (stop) Fatal("Cannot open save file", fileName);
        NoteFailure("Cannot open save file", fileName, error, writable);
        return nullptr;
    }
    // A save replaces the file that a link points to, not the link, so a linked save file stays linked.
    char *real = realpath(fileName.c_str(), nullptr);
    file->target = real ? real : fileName;
    std::free(real);
    file->name = fileName;
    file->pos = 0;
    file->writable = writable;
    file->changed = false;
    file->mode = st.st_mode & 07777;
    return file;
}

// Writes the bytes over the file itself from its first byte, ends it there and syncs it; FALSE when that
// failed. (A save file's bytes are never fewer than it holds.)
static bool RewriteInPlace(const std::string &target, const std::vector<unsigned char> &bytes) {
    int fd = OpenRegular(target.c_str(), O_WRONLY);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ftruncate(fd, (off_t)bytes.size()) == 0 && fsync(fd) == 0;
    if (close(fd) != 0) ok = false;
    return ok;
}

// The lock of the play folder (the working folder), and how long a copy waits for it: 200 times 10 ms.
static const char *const PLAY_FOLDER_LOCK = "kwibbel.lock";
static const int LOCK_TRIES = 200;
static const long LOCK_PAUSE_NS = 10000000;

// A save's temporary file is the save file's name, this marker, the saving process's number and a random
// part: "highscores.txt.kwibbel-save-1234-Ab3xYz". A save cut short (the program killed halfway) leaves
// its temporary file behind; the next save of that file removes the ones whose process is gone.
static const char *const TEMP_MARKER = ".kwibbel-save-";

// Removes the temporary files that saves of `target` cut short have left beside it, and nothing else.
static void RemoveStaleTemporaries(const std::string &target) {
    std::string folder = FolderOf(target);
    size_t slash = target.find_last_of('/');
    std::string prefix = (slash == std::string::npos ? target : target.substr(slash + 1)) + TEMP_MARKER;
    DIR *dir = opendir(folder.c_str());
    if (!dir) return;
    while (struct dirent *entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        // What follows the marker: the process number, a dash, six characters of mkstemp's.
        std::string rest = name.substr(prefix.size());
        size_t dash = rest.find('-');
        if (dash == 0 || dash == std::string::npos || rest.size() != dash + 7) continue;
        if (rest.find_first_not_of("0123456789") != dash) continue;
        if (rest.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", dash + 1) !=
            std::string::npos)
            continue;
        long pid = std::strtol(rest.c_str(), nullptr, 10);
        // A save of a game still running elsewhere is under way: its file is not stale.
        if (pid > 0 && pid != (long)getpid() && (kill((pid_t)pid, 0) == 0 || errno != ESRCH)) continue;
        unlink((folder + "/" + name).c_str());
    }
    closedir(dir);
}

// Replaces the file `target` on disk with `bytes` (permissions `mode`), whole or not at all where its folder
// takes new files, else in place; FALSE, errno telling why, when that failed (a failed replacement leaves
// the old file as it was).
static bool Replace(const std::string &target, const std::vector<unsigned char> &bytes, mode_t mode) {
    RemoveStaleTemporaries(target);
    std::string tempName = target + TEMP_MARKER + std::to_string((long)getpid()) + "-XXXXXX";
    std::vector<char> pattern(tempName.begin(), tempName.end());
    pattern.push_back('\0');
    int fd = mkstemp(pattern.data());
    if (fd < 0) {
        int error = errno;
        if ((error == EACCES || error == EPERM) && RewriteInPlace(target, bytes)) return true;
        errno = error;
        return false;
    }
    bool ok = WriteAll(fd, bytes.data(), bytes.size()) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(pattern.data(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(pattern.data());
        errno = error;
        return false;
    }
    // The rename itself is made lasting by syncing the folder that holds it.
    int dir = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

static void PutByte(SaveFile *file, unsigned char c) {
    if (file->pos < file->bytes.size()) {
        file->bytes[file->pos] = c;
    } else {
        file->bytes.push_back(c);
    }
    file->pos++;
    file->changed = true;
}

// The next byte, or -1 at the end of the file (the position then stays at the end).
static int GetByte(SaveFile *file) {
    if (file->pos >= file->bytes.size()) return -1;
    return file->bytes[file->pos++];
}

// Reads the next word (up to NUMBER_TEXT_MAX bytes) after any separators into text; its length (0 at the end).
static size_t ReadToken(SaveFile *file, char text[NUMBER_TEXT_MAX]) {
    if (!file) return 0;
    int c = GetByte(file);
    while (c >= 0 && IsSeparator((unsigned char)c)) c = GetByte(file);
    size_t len = 0;
    while (c >= 0 && !IsSeparator((unsigned char)c)) {
        text[len++] = (char)c;
        if (len == NUMBER_TEXT_MAX) break;
        c = GetByte(file);
    }
    return len;
}

// ---- exported ----------------------------------------------------------------------------------------

SaveFile *Open(const char *name) { return OpenFile(name, true, true); }

SaveFile *OpenRead(const char *name) { return OpenFile(name, false, true); }

SaveFile *TryOpen(const char *name, bool writable) { return OpenFile(name, writable, false); }

void Close(SaveFile *file) {
    if (file && file->writable && file->changed && !Replace(file->target, file->bytes, file->mode))
        Fatal("Cannot write save file", file->name);
    delete file;
}

bool TryClose(SaveFile *file) {
    bool ok = !file || !file->writable || !file->changed || Replace(file->target, file->bytes, file->mode);
    if (!ok) NoteFailure("Cannot write save file", file->name, errno, true);
    delete file;
    return ok;
}

SaveFailureRec LastSaveFailure() { return SaveFailureRec{gFailedFile.c_str(), gProblem, gFailedWriting}; }

bool ReadWholeFile(const char *name, std::vector<unsigned char> &bytes, size_t largest) {
    int fd = OpenRegular(name, O_RDONLY);
    if (fd < 0) return false;
    bytes.clear();
    bool ok = ReadAll(fd, bytes, largest);
    close(fd);
    return ok;
}

bool ReplaceFile(const char *name, const std::vector<unsigned char> &bytes) {
    struct stat st;
    mode_t mode = stat(name, &st) == 0 ? (st.st_mode & 07777) : 0644;
    char *real = realpath(name, nullptr);
    std::string target = real ? real : name;
    std::free(real);
    return Replace(target, bytes, mode);
}

int LockPlayFolder() {
    int fd = open(PLAY_FOLDER_LOCK, O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) fd = open(PLAY_FOLDER_LOCK, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    // Another copy holds it for a few milliseconds at most; one that hangs must not hang this one too.
    for (int tries = 0; tries < LOCK_TRIES; tries++) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        struct timespec pause = {0, LOCK_PAUSE_NS};
        nanosleep(&pause, nullptr);
    }
    close(fd);
    std::fprintf(stderr, "Another copy of Kwibbel keeps %s locked: going on without it.\n", PLAY_FOLDER_LOCK);
    return -1;
}

void UnlockPlayFolder(int lock) {
    if (lock >= 0) close(lock);
}

void Flush(SaveFile *file) {
    if (!file) return;
    file->pos = 0;
}

uint32_t RdCard(SaveFile *file) {
    char text[NUMBER_TEXT_MAX];
    size_t len = ReadToken(file, text);
    size_t k = 0;
    if (k < len && (text[k] == '+' || text[k] == '-')) k++;
    uint32_t value = 0;
    for (; k < len && text[k] >= '0' && text[k] <= '9'; k++) {
        uint32_t digit = (uint32_t)(text[k] - '0');
        if (value > (4294967295u - digit) / 10u) break;
        value = value * 10u + digit;
    }
    return value;
}

uint32_t RdCount(SaveFile *file, uint32_t largest) {
    char text[NUMBER_TEXT_MAX];
    size_t len = ReadToken(file, text);
    size_t k = len > 0 && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    bool negative = k == 1 && text[0] == '-';
    uint64_t value = 0;
    for (; k < len && text[k] >= '0' && text[k] <= '9'; k++)
        value = std::min<uint64_t>(value * 10u + (uint64_t)(text[k] - '0'), (uint64_t)largest + 1);
    if (negative) return 0;
    return value > largest ? largest : (uint32_t)value;
}

void WrCard(SaveFile *file, uint32_t value, uint32_t width) {
    if (!file || !file->writable) return;
    char digits[10];
    uint32_t n = 0;
    do {
        digits[n++] = (char)('0' + value % 10u);
        value /= 10u;
    } while (value != 0);
    for (uint32_t pad = n; pad < width; pad++) PutByte(file, ' ');
    while (n > 0) PutByte(file, (unsigned char)digits[--n]);
}

char RdChar(SaveFile *file) {
    if (!file) return 0;
    int c = GetByte(file);
    return c < 0 ? 0 : (char)c;
}

void WrChar(SaveFile *file, char c) {
    if (!file || !file->writable) return;
    PutByte(file, (unsigned char)c);
}

void RdStr(SaveFile *file, char *buffer, uint32_t capacity) {
    if (!file || !buffer || capacity == 0) return;
    uint32_t stored = 0;
    while (stored < capacity) {
        int c = GetByte(file);
        if (c < 0 || c == '\n' || c == 26) {
            buffer[stored] = '\0';
            return;
        }
        if (c == '\r') {
            buffer[stored] = '\0';
            // Only the LF of a CR LF line end belongs to this line; a lone CR keeps the byte after it.
            if (file->pos < file->bytes.size() && file->bytes[file->pos] == '\n') file->pos++;
            return;
        }
        buffer[stored++] = (char)c;
    }
}

void WrLn(SaveFile *file) {
    if (!file || !file->writable) return;
    PutByte(file, '\r');
    PutByte(file, '\n');
}

}  // namespace SnakeProcedures
