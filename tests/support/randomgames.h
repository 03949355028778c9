// Random recorded games on the shipped levels, played through the rules alone: every mode, level and
// difficulty, the computer in its mode, players that mostly steer sensibly and sometimes at random, held
// keys and pauses. The replay tests run a share of them; the replay bench all of a thousand.
#pragma once

#include <cstdio>
#include <string>

#include "game/rules/Replay.h"

namespace RandomGames {

using namespace SnakeProcedures;

// The five shipped levels, from the source tree's data folder (FALSE when one cannot be read).
inline bool ReadLevels(const std::string &folder, LevelRec levels[5]) {
    static const char *const files[5] = {"muur.txt", "geenmuur.txt", "smiley.txt", "insane.txt", "custom.txt"};
    for (int i = 0; i < 5; i++) {
        std::FILE *f = std::fopen((folder + "/" + files[i]).c_str(), "rb");
        if (!f) return false;
        char line[256];
        for (uint32_t r = 1; r <= RIJEN; r++) {
            uint32_t n = 0;
            if (std::fgets(line, sizeof line, f))
                while (line[n] && line[n] != '\r' && line[n] != '\n') n++;
            LevelRij(levels[i], r, line, n);
        }
        std::fclose(f);
    }
    return true;
}

struct Dice {
    uint32_t x;
    uint32_t Next(uint32_t n) {
        x = x * 1103515245u + 12345u;
        return (x >> 8) % n;
    }
};

// Plays game `number` (its mode, level, difficulty and seeds follow from the number) for at most
// `longest` steps, recording it into o; t holds the state at its end.
inline void Play(uint32_t number, const LevelRec levels[5], uint32_t longest, OpnameRec &o, ToestandRec &t) {
    Dice d{number * 2654435761u + 7};
    GameModeEn mode = (GameModeEn)(number % MODE_COUNT);
    uint32_t level = (number / MODE_COUNT) % 5;
    SpelStartRec start{levels[level], level, ModeSettings(mode), (int32_t)(1 + number / 20 % 3), d.Next(1u << 30) + 1};
    // The shipped custom level has no start for a second player: the one-player game instead.
    if (!BeginSpel(t, start, nullptr)) {
        start.mode = ModeSettings(MODE_ONE_PLAYER);
        BeginSpel(t, start, nullptr);
    }
    uint32_t computerSeed = d.Next(1u << 30) + 1;
    ComputerNieuwSpel(computerSeed);
    OpnameBegin(o, start, computerSeed);
    uint32_t spelers = t.mode.spelers;
    bool holding[3] = {false, false, false};
    for (uint32_t s = 0; s < longest; s++) {
        InvoerRec in{};
        for (uint32_t p = 1; p <= spelers; p++) {
            bool snake = p <= t.slangen;
            if (p == t.mode.computer || (snake && d.Next(60) != 0)) {
                PijlEn way = ComputerRichting(t, p);
                QueueTurn(t, in, p, way, false);
                // Now and then a key held for a while, the way the snake goes anyway.
                if (d.Next(40) == 0) holding[p] = !holding[p];
                in.vast[p] = holding[p];
                in.vastRichting[p] = holding[p] ? way : LINKS;
            } else if (d.Next(3) == 0) {
                QueueTurn(t, in, p, (PijlEn)d.Next(4), !snake);
                if (d.Next(4) == 0) QueueTurn(t, in, p, (PijlEn)d.Next(4), !snake);
            }
            if (!snake && d.Next(30) == 0) {
                in.vast[p] = true;
                in.vastRichting[p] = (PijlEn)d.Next(4);
            }
        }
        GameEndRec end;
        bool on = Stap(t, in, end, nullptr);
        OpnameStap(o, in, d.Next(200) == 0, t);
        if (!on) {
            int32_t points[3];
            EindPunten(t, end, points);
            OpnameEinde(o, EINDE_GECRASHT, points, t);
            return;
        }
    }
    OpnameEinde(o, EINDE_VERLATEN, t.Score, t);
}

}  // namespace RandomGames
