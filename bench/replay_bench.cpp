// Replays: a thousand recorded random games (every mode, level and difficulty, the computer, turns, held
// keys and pauses) written, read back and verified; the size of their files; what recording costs a step.
//   cmake --build build --target replay_bench && build/bench/replay_bench [games]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/randomgames.h"

using namespace SnakeProcedures;
using Clock = std::chrono::steady_clock;

static OpnameRec recorded, read;
static ToestandRec state, check;
static LevelRec levels[5];

int main(int argc, char **argv) {
    uint32_t games = argc > 1 ? (uint32_t)std::atoi(argv[1]) : 1000;
    if (!RandomGames::ReadLevels(KWIBBEL_SOURCE_DIR "/data/savefiles", levels)) {
        std::fprintf(stderr, "replay_bench: the shipped levels cannot be read\n");
        return 1;
    }
    uint64_t steps = 0, bytes = 0, headerBytes = 0, verified = 0;
    size_t largest = 0;
    double playSeconds = 0, verifySeconds = 0;
    for (uint32_t n = 0; n < games; n++) {
        Clock::time_point t0 = Clock::now();
        RandomGames::Play(n, levels, 20000, recorded, state);
        Clock::time_point t1 = Clock::now();
        std::string text;
        char fault[200] = "";
        bool ok = SchrijfOpname(recorded, text) && LeesOpname(text.data(), text.size(), read, fault, sizeof fault) &&
                  ControleerOpname(read, check, fault, sizeof fault);
        playSeconds += std::chrono::duration<double>(t1 - t0).count();
        verifySeconds += std::chrono::duration<double>(Clock::now() - t1).count();
        if (ok)
            verified++;
        else
            std::printf("game %u does not verify: %s\n", n, fault);
        steps += recorded.stappen;
        bytes += text.size();
        headerBytes += text.find("input\n") + 6;
        if (text.size() > largest) largest = text.size();
    }
    std::printf("%llu of %u random games verify (%llu steps; played in %.1f s, read and verified in %.1f s)\n",
                (unsigned long long)verified, games, (unsigned long long)steps, playSeconds, verifySeconds);
    double perStep = (double)(bytes - headerBytes) / (double)(steps ? steps : 1);
    std::printf("file: %.0f bytes of header, %.2f bytes per step; largest %zu bytes\n", (double)headerBytes / games,
                perStep, largest);
    // Ten minutes at medium's start pace (150 ms a step) and at hard's (80 ms).
    for (uint32_t ms : {150u, 80u})
        std::printf("a 10-minute game at %u ms a step: about %.1f KB\n", ms,
                    ((double)headerBytes / games + perStep * 600000.0 / ms) / 1024.0);

    // What recording adds to a step: the same inputs stepped with and without it.
    const uint32_t rounds = 200000;
    RandomGames::Play(3, levels, 20000, recorded, state);
    InvoerRec in{};
    in.beurten[1] = BeurtenRec{{BOVEN, LINKS}, 2};
    OpnameBegin(read, recorded.start, 0);
    Clock::time_point t0 = Clock::now();
    for (uint32_t i = 0; i < rounds; i++) OpnameStap(read, in, false, state);
    double each = std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / rounds;
    std::printf("recording a step: %.1f ns on average (a word, and a state hash every %u steps); no allocation\n", each,
                (unsigned)CONTROLE_STAPPEN);
    t0 = Clock::now();
    for (uint32_t i = 0; i < 1000; i++) (void)ToestandHash(state);
    std::printf("one state hash: %.1f us\n",
                std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / 1000);
    return verified == games ? 0 : 1;
}
