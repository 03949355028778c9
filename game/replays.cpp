// The replays the player keeps and watches: the last game and the game of every highscore row, kept in
// the play folder's replays/ folder; watching one on the game's own screen at 1, 2, 4 or 8 times its pace;
// a replay file played or verified from the command line. A replay file may come from anyone: it is read
// whole within a bound and every word of it checked before anything is shown.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

static const char *const MAP = "replays";
static const char *const LAATSTE = "replays/last.replay";
// A row's replay: "replays/row-<score>-<stamp>.replay"; of two rows with the same score the higher one has
// the newer stamp.
static const char *const RIJ_BEGIN = "row-";
static const char *const EINDE = ".replay";
// No replay the game writes comes near this; a longer file is refused unread.
static const size_t GROOTSTE_BESTAND = 16u << 20;

// The last game's recording (the loop's) and its text, for its highscore rows and for R after it.
static const OpnameRec *laatste;
static std::string laatsteTekst;
// The replay being watched or verified (too large for a stack).
static OpnameRec Bekeken;
static ToestandRec Controle;
static GebeurtenissenRec KijkGebeurtenissen;

// While a replay plays, the right of the score panel (where the game's keys are shown) says so and names
// the watcher's keys, on the panel's own ground: a gradient from its top row to its bottom row.
static const int32_t BORD_X0 = 410, BORD_Y0 = Layout::PANEL_Y + 3, BORD_Y1 = Layout::SCREEN_HEIGHT - 1;
static const uint32_t GROND_BOVEN = 0x462319, GROND_ONDER = 0x1D0E0A;  // 0x00BBGGRR
static const uint32_t BORD_KOP = 0x3CC9FF, BORD_LETTERS = 0xC8B4A0;
static const uint32_t SNELHEDEN[4] = {1, 2, 4, 8};
static const uint32_t PAUZE_TEKEN_MS = 700;  // a pause of the game shows this long (at 1x)

// ---- internal --------------------------------------------------------------------------------------------

struct RijBestandRec {
    uint32_t score;
    uint64_t stempel;
    std::string naam;
};

// The digits of s (at most `grootste` of them) as a number; FALSE for anything else.
static bool Cijfers(const std::string &s, size_t grootste, uint64_t &waarde) {
    if (s.empty() || s.size() > grootste) return false;
    waarde = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        waarde = waarde * 10 + (uint64_t)(c - '0');
    }
    return true;
}

// The row replays in the folder, best score first, newest first among equal scores.
static std::vector<RijBestandRec> RijBestanden() {
    std::vector<RijBestandRec> lijst;
    DIR *map = opendir(MAP);
    if (!map) return lijst;
    size_t begin = std::strlen(RIJ_BEGIN), einde = std::strlen(EINDE);
    while (struct dirent *e = readdir(map)) {
        std::string naam = e->d_name;
        if (naam.size() <= begin + einde || naam.compare(0, begin, RIJ_BEGIN) != 0 ||
            naam.compare(naam.size() - einde, einde, EINDE) != 0)
            continue;
        std::string midden = naam.substr(begin, naam.size() - begin - einde);
        size_t streep = midden.find('-');
        uint64_t score, stempel;
        if (streep == std::string::npos || !Cijfers(midden.substr(0, streep), 10, score) || score > 0x7FFFFFFF ||
            !Cijfers(midden.substr(streep + 1), 19, stempel))
            continue;
        lijst.push_back(RijBestandRec{(uint32_t)score, stempel, std::string(MAP) + "/" + naam});
    }
    closedir(map);
    std::sort(lijst.begin(), lijst.end(), [](const RijBestandRec &a, const RijBestandRec &b) {
        return a.score != b.score ? a.score > b.score : a.stempel > b.stempel;
    });
    return lijst;
}

// Which file belongs to each row 1..10 of table ("" none); the rest of the files in overig.
static void KoppelRijen(const uint32_t table[11], std::string namen[11], std::vector<std::string> *overig) {
    std::vector<RijBestandRec> lijst = RijBestanden();
    std::vector<bool> gebruikt(lijst.size(), false);
    for (uint32_t i = 1; i <= 10; i++) {
        namen[i].clear();
        for (size_t f = 0; f < lijst.size(); f++) {
            if (!gebruikt[f] && lijst[f].score == table[i]) {
                gebruikt[f] = true;
                namen[i] = lijst[f].naam;
                break;
            }
        }
    }
    for (size_t f = 0; overig && f < lijst.size(); f++)
        if (!gebruikt[f]) overig->push_back(lijst[f].naam);
}

static bool SchrijfBestand(const char *naam, const std::string &tekst) {
    mkdir(MAP, 0755);
    std::vector<unsigned char> bytes(tekst.begin(), tekst.end());
    if (ReplaceFile(naam, bytes)) return true;
    std::printf("\nThe replay %s could not be saved: %s.\n", naam, std::strerror(errno));
    std::fflush(stdout);
    return false;
}

// The panel's sign while a replay plays: "Replay — 1×" (or paused) and the watcher's keys.
static void TekenReplayBord(uint32_t snelheid, bool stil) {
    auto kanaal = [](uint32_t kleur, int shift) { return (int32_t)((kleur >> shift) & 0xFF); };
    for (int32_t y = BORD_Y0; y <= BORD_Y1; y++) {
        uint32_t kleur = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            int32_t a = kanaal(GROND_BOVEN, shift), b = kanaal(GROND_ONDER, shift);
            kleur |= (uint32_t)(a + (b - a) * (y - BORD_Y0) / (BORD_Y1 - BORD_Y0)) << shift;
        }
        Wimdows::Rectangle(BORD_X0, y, Layout::SCREEN_WIDTH - 1, y, kleur, true);
    }
    char tekst[48];
    if (stil)
        std::snprintf(tekst, sizeof tekst, "Replay \xE2\x80\x94 paused");
    else
        std::snprintf(tekst, sizeof tekst, "Replay \xE2\x80\x94 %u\xC3\x97", (unsigned)snelheid);
    Wimdows::SetFont(1, BORD_KOP);
    Wimdows::Text(tekst, BORD_X0 + 20, Layout::PANEL_Y + 12);
    Wimdows::SetFont(3, BORD_LETTERS);
    Wimdows::Text(stil ? "P go on     \xE2\x86\x92 one step     Esc leave" : "1 2 3 4 pace     P pause     Esc leave",
                  BORD_X0 + 22, Layout::PANEL_Y + 52);
}

struct KijkRec {
    uint32_t snelheid;  // 1, 2, 4 or 8
    bool stil;          // paused by the watcher
};

// Waits ms of the game's time for the next step, answering the watcher's keys: 1-4 the pace, P pause and
// go on, Right while paused one step. FALSE to stop watching (Escape, the window closed).
static bool KijkWacht(KijkRec &k, uint32_t ms) {
    using Klok = std::chrono::steady_clock;
    Klok::time_point tot = Klok::now() + std::chrono::milliseconds(ms / k.snelheid);
    for (;;) {
        if (Wimdows::WindowClosed()) return false;
        for (uint32_t toets = Wimdows::PollFreshKey(); toets != 0; toets = Wimdows::PollFreshKey()) {
            if (toets == Wimdows::KEY_ESCAPE) return false;
            if (toets >= '1' && toets <= '4') {
                k.snelheid = SNELHEDEN[toets - '1'];
                tot = Klok::now() + std::chrono::milliseconds(ms / k.snelheid);
            } else if (toets == Wimdows::KEY_P) {
                k.stil = !k.stil;
            } else if (toets == Wimdows::KEY_RIGHT && k.stil) {
                return true;
            } else {
                continue;
            }
            TekenReplayBord(k.snelheid, k.stil);
            Wimdows::UpdateWindow();
        }
        if (k.stil) {
            Wimdows::WaitForPress(1000);
            continue;
        }
        Klok::time_point nu = Klok::now();
        if (nu >= tot) return true;
        Wimdows::WaitForPress((uint32_t)std::chrono::duration_cast<std::chrono::milliseconds>(tot - nu).count() + 1);
    }
}

// Reads and checks a replay file into Bekeken; FALSE with fout saying what is wrong.
static bool LaadBestand(const char *naam, char *fout, size_t lengte) {
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(naam, bytes, GROOTSTE_BESTAND)) {
        if (errno == EFBIG)
            std::snprintf(fout, lengte, "it is larger than any replay (over %u MB)",
                          (unsigned)(GROOTSTE_BESTAND >> 20));
        else
            std::snprintf(fout, lengte, "%s", std::strerror(errno));
        return false;
    }
    return LeesOpname((const char *)bytes.data(), bytes.size(), Bekeken, fout, lengte);
}

// ---- exported ----------------------------------------------------------------------------------------------

void BewaarLaatsteBeeld(const char *soort) {
    const char *prefix = std::getenv("KWIBBEL_LAST_PICTURE");
    if (!prefix || !*prefix) return;
    char naam[4096];
    std::snprintf(naam, sizeof naam, "%s-%s.bmp", prefix, soort);
    Wimdows::UpdateWindow();
    Wimdows::SaveScreen(naam);
}

void BewaarOpname(const OpnameRec &o) {
    laatste = &o;
    laatsteTekst.clear();
    if (!SchrijfOpname(o, laatsteTekst)) {
        laatsteTekst.clear();
        return;
    }
    SchrijfBestand(LAATSTE, laatsteTekst);
}

void BewaarRijOpnames(const uint32_t table[11], const int32_t scores[3], uint32_t n) {
    if (!laatsteTekst.empty()) {
        uint64_t stempel = (uint64_t)std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count() *
                           10;
        for (uint32_t j = 1; j <= n && j <= 2; j++) {
            bool inTabel = false;
            for (uint32_t i = 1; i <= 10; i++) inTabel = inTabel || (scores[j] >= 0 && table[i] == (uint32_t)scores[j]);
            if (!inTabel) continue;
            char naam[96];
            std::snprintf(naam, sizeof naam, "%s/%s%d-%llu%s", MAP, RIJ_BEGIN, (int)scores[j],
                          (unsigned long long)(stempel + j), EINDE);
            SchrijfBestand(naam, laatsteTekst);
        }
    }
    // A replay whose row dropped out of the table goes with it.
    std::string namen[11];
    std::vector<std::string> overig;
    KoppelRijen(table, namen, &overig);
    for (const std::string &naam : overig) unlink(naam.c_str());
}

void RijOpnames(const uint32_t table[11], std::string namen[11]) { KoppelRijen(table, namen, nullptr); }

bool KijkOpname(const OpnameRec &o) {
    ToestandRec &t = Spel;
    BitmapsRec bitmaps;
    Wimdows::FlushKeys();
    Wimdows::ClearScreen();
    LoadBitmaps(bitmaps);
    if (Wimdows::WindowClosed()) return false;
    KijkGebeurtenissen.aantal = 0;
    if (!BeginSpel(t, o.start, &KijkGebeurtenissen)) return false;
    TekenMuren(bitmaps);
    TekenScorebord(t, bitmaps);
    TekenGebeurtenissen(t, KijkGebeurtenissen, bitmaps);
    KijkRec k{1, false};
    TekenReplayBord(k.snelheid, k.stil);
    // As in the game, the count runs over the board it starts on.
    if (!Countdown(bitmaps)) return false;
    Music::PlaySound(Songs.game, true);

    GameEndRec einde{};
    bool verder = true, gekeken = true;
    for (uint32_t s = 0; s < o.stappen && verder; s++) {
        InvoerRec in;
        bool pauze;
        PakUit(o.invoer[s], in, pauze);
        if (pauze) {
            ShowSign("The game was paused here");
            bool door = KijkWacht(k, PAUZE_TEKEN_MS);
            Wimdows::RestoreArea();
            if (!door) {
                gekeken = false;
                break;
            }
        }
        if (!KijkWacht(k, (uint32_t)(t.DelaySnake > 0 ? t.DelaySnake : 0))) {
            gekeken = false;
            break;
        }
        KijkGebeurtenissen.aantal = 0;
        verder = Stap(t, in, einde, &KijkGebeurtenissen);
        TekenGebeurtenissen(t, KijkGebeurtenissen, bitmaps);
        for (uint32_t i = 0; i < KijkGebeurtenissen.aantal; i++)
            if (KijkGebeurtenissen.lijst[i].soort == G_PUNTEN) {
                TekenReplayBord(k.snelheid, k.stil);
                break;
            }
        Wimdows::UpdateWindow();
    }
    Music::StopSound(Songs.game);
    if (gekeken && !verder) BewaarLaatsteBeeld("replay");
    if (gekeken && !verder && !Wimdows::WindowClosed()) {
        int32_t punten[3];
        EindPunten(t, einde, punten);
        GameOverScreen(ModeVan(o.start.mode), einde, punten);
    }
    Wimdows::FlushKeys();
    return gekeken;
}

bool KijkLaatste() { return laatste && KijkOpname(*laatste); }

bool LaadReplay(const char *naam, char *fout, size_t lengte) {
    if (LaadBestand(naam, fout, lengte)) return true;
    std::printf("\nkwibbel: %s: %s.\n", naam, fout);
    std::fflush(stdout);
    return false;
}

bool KijkGeladen() { return KijkOpname(Bekeken); }

int VerifyReplay(const char *naam) {
    char fout[200];
    if (!LaadBestand(naam, fout, sizeof fout)) {
        std::fprintf(stderr, "kwibbel: %s: %s.\n", naam, fout);
        return 2;
    }
    if (!ControleerOpname(Bekeken, Controle, fout, sizeof fout)) {
        std::printf("kwibbel: %s: %s.\n", naam, fout);
        std::fflush(stdout);
        return 1;
    }
    std::printf("kwibbel: %s: the replay plays its %u steps to the recorded end.\n", naam, (unsigned)Bekeken.stappen);
    std::fflush(stdout);
    return 0;
}

}  // namespace SnakeProcedures
