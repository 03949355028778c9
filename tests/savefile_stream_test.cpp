// Save-file streams: the exact bytes written and read, rewriting in place, fatal opens, and saves that
// survive being killed halfway.

#include <gtest/gtest.h>

#include <algorithm>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "game/SnakeProcedures.h"

using namespace SnakeProcedures;

namespace {

class SaveFileTest : public ::testing::Test {
protected:
    std::string dir;

    void SetUp() override {
        char pattern[] = "/tmp/kwibbel-savefile-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir = pattern;
    }
    void TearDown() override {
        std::string cmd = "rm -rf '" + dir + "'";
        EXPECT_EQ(0, std::system(cmd.c_str()));
    }

    std::string Path(const char *name) { return dir + "/" + name; }

    std::string Make(const char *name, const std::string &bytes) {
        std::string p = Path(name);
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }

    static std::string Contents(const std::string &path) {
        std::ifstream f(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    }

    // Names in the folder other than the given files: left-over temporary files.
    std::vector<std::string> Others(const std::vector<std::string> &known) {
        std::vector<std::string> found;
        DIR *d = opendir(dir.c_str());
        while (struct dirent *e = readdir(d)) {
            std::string n = e->d_name;
            if (n == "." || n == "..") continue;
            bool isKnown = false;
            for (const std::string &k : known) isKnown = isKnown || n == k;
            if (!isKnown) found.push_back(n);
        }
        closedir(d);
        std::sort(found.begin(), found.end());
        return found;
    }
};

// A string literal with its embedded zero bytes, without the terminating one.
template <size_t N> std::string Bytes(const char (&s)[N]) { return std::string(s, N - 1); }

}  // namespace

// ---- reading numbers ------------------------------------------------------------------------------

TEST_F(SaveFileTest, NumbersReadTheSameWhateverSeparatesThem) {
    std::string p = Make("n.txt", Bytes("1 \t2\r\n\r\n3\x1a"
                                        "4\n\n  \t5\r\n\x1a\x1a 6"));
    SaveFile *f = OpenRead(p.c_str());
    for (uint32_t want = 1; want <= 6; want++) EXPECT_EQ(want, RdCard(f)) << "number " << want;
    EXPECT_EQ(0u, RdCard(f)) << "past the end";
    EXPECT_EQ(0u, RdCard(f)) << "still past the end";
    Close(f);
}

TEST_F(SaveFileTest, MalformedNumbersReadTheirLeadingDigits) {
    std::string p =
        Make("n.txt", "12x\r\nx\r\n+7\r\n-7\r\n4294967296\r\n4294967295\r\n+-5\r\n-\r\n007\r\n99999999999\r\n3");
    SaveFile *f = OpenRead(p.c_str());
    EXPECT_EQ(12u, RdCard(f));
    EXPECT_EQ(0u, RdCard(f));
    EXPECT_EQ(7u, RdCard(f));
    EXPECT_EQ(7u, RdCard(f)) << "the sign is skipped, never applied";
    EXPECT_EQ(429496729u, RdCard(f)) << "the digit that would pass 4294967295 ends the number";
    EXPECT_EQ(4294967295u, RdCard(f));
    EXPECT_EQ(0u, RdCard(f));
    EXPECT_EQ(0u, RdCard(f));
    EXPECT_EQ(7u, RdCard(f));
    EXPECT_EQ(999999999u, RdCard(f));
    EXPECT_EQ(3u, RdCard(f)) << "a number at the very end without a line end";
    Close(f);
}

TEST_F(SaveFileTest, ANumberConsumesOnlyTheSeparatorThatEndsIt) {
    std::string p = Make("n.txt", "12\r\nab 34\t\tc");
    SaveFile *f = OpenRead(p.c_str());
    EXPECT_EQ(12u, RdCard(f));
    EXPECT_EQ('\n', RdChar(f)) << "of CR LF only the CR goes with the number";
    EXPECT_EQ(0u, RdCard(f)) << "\"ab\"";
    EXPECT_EQ(34u, RdCard(f));
    EXPECT_EQ('\t', RdChar(f));
    EXPECT_EQ('c', RdChar(f));
    Close(f);
}

TEST_F(SaveFileTest, ANumberIsCollectedFrom256BytesAtMost) {
    std::string zeros(256, '0');
    std::string p = Make("n.txt", zeros + "7\r\n");
    SaveFile *f = OpenRead(p.c_str());
    EXPECT_EQ(0u, RdCard(f)) << "256 zeros make one number";
    EXPECT_EQ(7u, RdCard(f)) << "the 257th byte starts the next";
    EXPECT_EQ(0u, RdCard(f));
    Close(f);
}

// ---- reading bytes and lines ----------------------------------------------------------------------

TEST_F(SaveFileTest, BytesReadUnchangedAndZeroAtTheEnd) {
    std::string p = Make("c.txt", Bytes("a\r\n\x1a\xff"));
    SaveFile *f = OpenRead(p.c_str());
    EXPECT_EQ('a', RdChar(f));
    EXPECT_EQ('\r', RdChar(f));
    EXPECT_EQ('\n', RdChar(f));
    EXPECT_EQ('\x1a', RdChar(f));
    EXPECT_EQ('\xff', RdChar(f));
    EXPECT_EQ('\0', RdChar(f));
    EXPECT_EQ('\0', RdChar(f));
    Close(f);
    std::string empty = Make("empty.txt", "");
    f = OpenRead(empty.c_str());
    EXPECT_EQ('\0', RdChar(f));
    EXPECT_EQ(0u, RdCard(f));
    Close(f);
}

TEST_F(SaveFileTest, LinesEndAtLfCrLfByte26OrTheEnd) {
    std::string p = Make("s.txt", Bytes("abc\r\nde f\tg\nhi\x1ajk\r\n\r\nlast"));
    SaveFile *f = OpenRead(p.c_str());
    char buf[32];
    RdStr(f, buf, sizeof buf);
    EXPECT_STREQ("abc", buf);
    EXPECT_EQ('d', RdChar(f)) << "CR LF is consumed whole";
    RdStr(f, buf, sizeof buf);
    EXPECT_STREQ("e f\tg", buf) << "spaces and TABs are kept";
    RdStr(f, buf, sizeof buf);
    EXPECT_STREQ("hi", buf);
    RdStr(f, buf, sizeof buf);
    EXPECT_STREQ("jk", buf);
    RdStr(f, buf, sizeof buf);
    EXPECT_STREQ("", buf) << "an empty line";
    RdStr(f, buf, sizeof buf);
    EXPECT_STREQ("last", buf) << "the end of the file ends the line";
    RdStr(f, buf, sizeof buf);
    EXPECT_STREQ("", buf) << "past the end";
    Close(f);
}

TEST_F(SaveFileTest, ALineOfExactlyTheCapacityFillsTheBufferWithoutTerminator) {
    std::string p = Make("s.txt", "abcd\r\nxy\r\n");
    SaveFile *f = OpenRead(p.c_str());
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    RdStr(f, buf, 4);
    EXPECT_EQ(0, std::memcmp(buf, "abcd####", 8)) << "four bytes stored and nothing after them";
    RdStr(f, buf, 4);
    EXPECT_STREQ("", buf) << "the next read takes the line end";
    RdStr(f, buf, 4);
    EXPECT_STREQ("xy", buf);
    Close(f);
}

TEST_F(SaveFileTest, ALongerLineIsLeftForTheNextRead) {
    std::string p = Make("s.txt", "abcdefg\nh");
    SaveFile *f = OpenRead(p.c_str());
    char buf[4];
    RdStr(f, buf, 3);
    EXPECT_EQ(0, std::memcmp(buf, "abc", 3));
    RdStr(f, buf, 4);
    EXPECT_EQ(0, std::memcmp(buf, "defg", 4));
    RdStr(f, buf, 4);
    EXPECT_STREQ("", buf);
    RdStr(f, buf, 4);
    EXPECT_STREQ("h", buf);
    Close(f);
}

TEST_F(SaveFileTest, ALoneCrEndsTheLineAndKeepsTheByteAfterIt) {
    std::string p = Make("s.txt", "ab\rcd\r");
    SaveFile *f = OpenRead(p.c_str());
    char buf[8];
    RdStr(f, buf, sizeof buf);
    EXPECT_STREQ("ab", buf);
    RdStr(f, buf, sizeof buf);
    EXPECT_STREQ("cd", buf);
    RdStr(f, buf, sizeof buf);
    EXPECT_STREQ("", buf);
    Close(f);
}

// ---- writing ------------------------------------------------------------------------------------------

TEST_F(SaveFileTest, WritesAreStoredByteForByte) {
    std::string p = Make("w.txt", "");
    SaveFile *f = Open(p.c_str());
    WrCard(f, 0, 0);
    WrLn(f);
    WrCard(f, 4294967295u, 0);
    WrLn(f);
    WrCard(f, 42, 5);
    WrCard(f, 12345, 3);
    WrCard(f, 7, 1);
    WrChar(f, 'x');
    WrChar(f, '\0');
    WrChar(f, '\xff');
    WrLn(f);
    Close(f);
    EXPECT_EQ(Bytes("0\r\n4294967295\r\n   4212345"
                    "7x\0\xff\r\n"),
              Contents(p));
}

TEST_F(SaveFileTest, RewritingShorterKeepsTheOldBytesPastTheNewEnd) {
    std::string p = Make("r.txt", "1234\r\n");
    SaveFile *f = Open(p.c_str());
    Flush(f);
    WrCard(f, 5, 0);
    WrLn(f);
    Close(f);
    EXPECT_EQ("5\r\n4\r\n", Contents(p));
    f = OpenRead(p.c_str());
    EXPECT_EQ(5u, RdCard(f));
    Close(f);
}

TEST_F(SaveFileTest, ReadThenFlushThenWriteStartsAtTheFirstByte) {
    std::string p = Make("h.txt", "300\r\n200\r\n100\r\n");
    SaveFile *f = Open(p.c_str());
    uint32_t a = RdCard(f), b = RdCard(f), c = RdCard(f);
    EXPECT_EQ(600u, a + b + c);
    Flush(f);
    WrCard(f, 1000, 0);
    WrLn(f);
    WrCard(f, 300, 0);
    WrLn(f);
    WrCard(f, 200, 0);
    WrLn(f);
    WrCard(f, 100, 0);
    WrLn(f);
    Close(f);
    EXPECT_EQ("1000\r\n300\r\n200\r\n100\r\n", Contents(p)) << "longer content grows the file";
}

TEST_F(SaveFileTest, WritingAfterReadingOverwritesAtTheSharedPosition) {
    std::string p = Make("m.txt", "11\r\n22\r\n33\r\n");
    SaveFile *f = Open(p.c_str());
    EXPECT_EQ(11u, RdCard(f));
    EXPECT_EQ('\n', RdChar(f));
    WrCard(f, 99, 0);
    EXPECT_EQ('\r', RdChar(f));
    Close(f);
    EXPECT_EQ("11\r\n99\r\n33\r\n", Contents(p));
}

TEST_F(SaveFileTest, NothingWrittenLeavesTheFileUntouched) {
    std::string p = Make("u.txt", "1\r\n2\r\n");
    struct stat before, after;
    ASSERT_EQ(0, stat(p.c_str(), &before));
    SaveFile *f = Open(p.c_str());
    EXPECT_EQ(1u, RdCard(f));
    Flush(f);
    Close(f);
    ASSERT_EQ(0, stat(p.c_str(), &after));
    EXPECT_EQ(before.st_ino, after.st_ino) << "the file should not have been replaced";
    EXPECT_EQ("1\r\n2\r\n", Contents(p));
}

TEST_F(SaveFileTest, WritesToAFileOpenedForReadingAreIgnored) {
    std::string p = Make("ro.txt", "1\r\n");
    SaveFile *f = OpenRead(p.c_str());
    WrCard(f, 9, 0);
    WrChar(f, 'z');
    WrLn(f);
    EXPECT_EQ(1u, RdCard(f));
    Close(f);
    EXPECT_EQ("1\r\n", Contents(p));
}

TEST_F(SaveFileTest, ARewrittenFileKeepsItsPermissionsAndLeavesNoTemporaryFile) {
    std::string p = Make("k.txt", "1\r\n");
    ASSERT_EQ(0, chmod(p.c_str(), 0640));
    SaveFile *f = Open(p.c_str());
    WrCard(f, 2, 0);
    Close(f);
    struct stat st;
    ASSERT_EQ(0, stat(p.c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 07777u);
    EXPECT_EQ("2\r\n", Contents(p));
    EXPECT_TRUE(Others({"k.txt"}).empty()) << "left over: " << Others({"k.txt"})[0];
}

TEST_F(SaveFileTest, AFileInTheWorkingFolderCanBeRewritten) {
    Make("here.txt", "1\r\n");
    char old[4096];
    ASSERT_NE(nullptr, getcwd(old, sizeof old));
    ASSERT_EQ(0, chdir(dir.c_str()));
    SaveFile *f = Open("here.txt");
    WrCard(f, 8, 0);
    Close(f);
    ASSERT_EQ(0, chdir(old));
    EXPECT_EQ("8\r\n", Contents(Path("here.txt")));
}

TEST_F(SaveFileTest, ALinkedSaveFileStaysLinkedAndItsTargetIsRewritten) {
    std::string real = Make("real.txt", "1\r\n");
    std::string link = Path("link.txt");
    ASSERT_EQ(0, symlink(real.c_str(), link.c_str()));
    SaveFile *f = Open(link.c_str());
    WrCard(f, 2, 0);
    Close(f);
    struct stat st;
    ASSERT_EQ(0, lstat(link.c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link should not have been replaced by a plain file";
    EXPECT_EQ("2\r\n", Contents(real));
}

// ---- failures -----------------------------------------------------------------------------------------

TEST_F(SaveFileTest, AMissingFileStopsTheProgramNamingItAndIsNotCreated) {
    std::string p = Path("missing.txt");
    EXPECT_EXIT(Open(p.c_str()), ::testing::ExitedWithCode(1), "Cannot open save file " + p + "\\.");
    EXPECT_EXIT(OpenRead(p.c_str()), ::testing::ExitedWithCode(1), "Cannot open save file " + p + "\\.");
    EXPECT_EXIT(OpenRead(""), ::testing::ExitedWithCode(1), "Cannot open save file");
    struct stat st;
    EXPECT_NE(0, stat(p.c_str(), &st)) << "no save file may be created";
}

TEST_F(SaveFileTest, AFolderIsNoSaveFile) {
    std::string sub = Path("sub");
    ASSERT_EQ(0, mkdir(sub.c_str(), 0755));
    EXPECT_EXIT(Open(sub.c_str()), ::testing::ExitedWithCode(1), "Cannot open save file " + sub + "\\.");
    EXPECT_EXIT(OpenRead(sub.c_str()), ::testing::ExitedWithCode(1), "Cannot open save file " + sub + "\\.");
}

TEST_F(SaveFileTest, APipeIsNoSaveFileAndNeverBlocks) {
    std::string fifo = Path("pipe.txt");
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0644));
    // A blocked open would be ended by the alarm, which is no exit with status 1.
    auto open = [&](bool writable) {
        alarm(5);
        if (writable)
            Open(fifo.c_str());
        else
            OpenRead(fifo.c_str());
        std::_Exit(0);
    };
    EXPECT_EXIT(open(false), ::testing::ExitedWithCode(1), "Cannot open save file " + fifo + "\\.");
    EXPECT_EXIT(open(true), ::testing::ExitedWithCode(1), "Cannot open save file " + fifo + "\\.");
}

TEST_F(SaveFileTest, AWritableFileInAReadOnlyFolderIsRewrittenInPlace) {
    // Permissions do not bind the super-user: the save runs in a child that has become `nobody`.
    std::string sub = Path("ro");
    ASSERT_EQ(0, mkdir(sub.c_str(), 0755));
    std::string p = sub + "/hs.txt";
    std::ofstream(p, std::ios::binary) << "100\r\n90\r\nold tail\r\n";
    struct stat before;
    ASSERT_EQ(0, stat(p.c_str(), &before));
    const uid_t nobody = 65534;
    if (geteuid() == 0) {
        ASSERT_EQ(0, chmod(dir.c_str(), 0755));
        ASSERT_EQ(0, chown(p.c_str(), nobody, nobody));
    } else if (before.st_uid != geteuid()) {
        GTEST_SKIP() << "the file must belong to the user who saves";
    }
    ASSERT_EQ(0, chmod(sub.c_str(), 0555));
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0)) std::_Exit(3);
        if (access(sub.c_str(), W_OK) == 0) std::_Exit(4);  // the folder must refuse new files
        SaveFile *f = Open(p.c_str());
        Flush(f);
        WrCard(f, 7, 0);
        WrLn(f);
        Close(f);
        std::_Exit(0);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    chmod(sub.c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status)) << "the save did not end normally";
    ASSERT_NE(3, WEXITSTATUS(status)) << "could not become nobody";
    ASSERT_NE(4, WEXITSTATUS(status)) << "the folder still takes new files";
    EXPECT_EQ(0, WEXITSTATUS(status)) << "the save stopped the program";
    EXPECT_EQ("7\r\n\r\n90\r\nold tail\r\n", Contents(p)) << "rewritten from the first byte, the rest kept";
    struct stat after;
    ASSERT_EQ(0, stat(p.c_str(), &after));
    EXPECT_EQ(before.st_ino, after.st_ino) << "the same file, rewritten in place";
}

TEST_F(SaveFileTest, AFileThatCannotBeWrittenStopsTheProgramAtOpen) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
    std::string p = Make("locked.txt", "1\r\n");
    ASSERT_EQ(0, chmod(p.c_str(), 0444));
    EXPECT_EXIT(Open(p.c_str()), ::testing::ExitedWithCode(1), "Cannot open save file " + p + "\\.");
    SaveFile *f = OpenRead(p.c_str());
    EXPECT_EQ(1u, RdCard(f));
    Close(f);
}

TEST_F(SaveFileTest, ASaveThatCannotBeWrittenStopsTheProgramAndKeepsTheOldFile) {
    // The folder goes away between opening and closing, so the new file cannot be made.
    std::string sub = Path("gone"), moved = Path("moved");
    ASSERT_EQ(0, mkdir(sub.c_str(), 0755));
    std::string p = sub + "/x.txt";
    std::ofstream(p, std::ios::binary) << "1\r\n";
    auto run = [&]() {
        SaveFile *f = Open(p.c_str());
        WrCard(f, 2, 0);
        if (rename(sub.c_str(), moved.c_str()) != 0) std::_Exit(3);
        Close(f);
        std::_Exit(0);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(1), "Cannot write save file " + p + "\\.");
    EXPECT_EQ("1\r\n", Contents(moved + "/x.txt"));
}

// ---- saves cut short ----------------------------------------------------------------------------------

TEST_F(SaveFileTest, AKilledSaveLeavesTheOldFileOrTheNewOneWhole) {
    // The child rewrites the file again and again, alternately with a long content and a short one that
    // keeps the long one's tail, and is killed at random moments. The file must always be one of the two.
    std::string longer, shorter;
    for (uint32_t k = 0; k < 6000; k++) longer += std::to_string(1000000 + k) + "\r\n";
    for (uint32_t k = 0; k < 3000; k++) shorter += std::to_string(2000000 + k) + "\r\n";
    std::string shortState = shorter + longer.substr(shorter.size());
    std::string p = Make("hs.txt", longer);

    std::mt19937 rng(20240611u);
    std::uniform_int_distribution<int> delayUs(0, 6000);
    int rounds = 0, caughtHalfway = 0, sawLong = 0, sawShort = 0;
    size_t leftBefore = 0;
    auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(2000)) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (uint32_t round = 0;; round++) {
                SaveFile *f = Open(p.c_str());
                Flush(f);
                const std::string &text = (round % 2 == 0) ? shorter : longer;
                for (size_t k = 0; k < text.size(); k += 9) {
                    WrCard(f, (uint32_t)std::strtoul(text.c_str() + k, nullptr, 10), 0);
                    WrLn(f);
                }
                Close(f);
            }
        }
        usleep((useconds_t)delayUs(rng));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child should have been killed, not have ended";
        std::string now = Contents(p);
        ASSERT_TRUE(now == longer || now == shortState)
            << "after kill " << rounds + 1 << " the file holds " << now.size() << " bytes that are neither content";
        sawLong += now == longer;
        sawShort += now == shortState;
        // A new temporary file left behind shows that the kill came in the middle of a save.
        size_t left = Others({"hs.txt"}).size();
        if (left > leftBefore) caughtHalfway++;
        leftBefore = left;
        rounds++;
    }
    // The next save removes what the killed ones left, and only that.
    Make("hs.txt.kwibbel-save-notes", "a file of the player's own");
    Make("other.txt.kwibbel-save-1-Ab3xYz", "another save file's, not ours to judge");
    SaveFile *f = Open(p.c_str());
    WrCard(f, 7, 0);
    Close(f);
    EXPECT_EQ(Others({"hs.txt"}),
              (std::vector<std::string>{"hs.txt.kwibbel-save-notes", "other.txt.kwibbel-save-1-Ab3xYz"}));
    std::printf("%d kills, %d in the middle of writing the new file; the file held the long content %d "
                "times, the short one %d times\n",
                rounds, caughtHalfway, sawLong, sawShort);
    EXPECT_GT(rounds, 20);
}
