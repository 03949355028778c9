// What both headless benchmarks share: a play folder of their own, a quiet console, and percentiles.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

// Makes a fresh play folder under /tmp (`name` in its name) with copies of the shipped save files and the
// generated pictures and sounds linked in (or empty folders for them, without `withData`), works in it, and
// sends the game's console lines to /dev/null. The real standard output, for the figures; -1 on failure.
inline int StartInBenchFolder(const char *name, bool withData, std::filesystem::path &play) {
    namespace fs = std::filesystem;
    std::string pattern = std::string("/tmp/kwibbel-") + name + "-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return -1;
    }
    play = pattern;
    fs::path data = KWIBBEL_DATA_DIR;
    for (const char *part : {"bitmap", "audio"}) {
        if (withData)
            fs::create_directory_symlink(data / part, play / part);
        else
            fs::create_directory(play / part);
    }
    fs::copy(data / "savefiles", play / "savefiles");
    fs::current_path(play);
    int out = dup(1);
    int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, 1);
    return out;
}

// Leaves the play folder and removes it.
inline void LeaveBenchFolder(const std::filesystem::path &play) {
    std::filesystem::current_path("/");
    std::error_code ec;
    std::filesystem::remove_all(play, ec);
}

// The p-quantile (0..1) of the values, by the nearest rank; 0 for none.
inline double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t i = (size_t)(p * (double)(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}
