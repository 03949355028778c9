// The computer's snake: it chooses the direction of its next step from what a player sees on the board
// (walls, both snakes, the knurf blocks). It heads for the nearest ordinary or faster knurf block that it
// reaches before the other snake, but only along a path after which it can still follow its own tail (or,
// playing less well, has room for its length); with no such path it follows its tail or heads into
// the largest free region, counting the cells of its body that it can wait for. It keeps out of the way
// of the blue knurf blocks: out of their reach in the steps in which they may wander and, playing well,
// out of every cell beside one in all its plans. It draws nothing, reads no keys and takes none of the
// game's random numbers: the chances it takes on easy and medium come from a small generator of its own.
#include <algorithm>
#include <cstring>

#include "game/rules/Rules.h"

namespace SnakeProcedures {

// ---- types ---------------------------------------------------------------------------------------------

// What a search keeps out of: nothing, the risky cells of the coming step, or those and the cells beside
// a blue block in the steps ahead in which the knurf blocks wander.
enum MijdEn { MIJD_NIETS, MIJD_NU, MIJD_ALLES };

// How well the computer plays at one difficulty. Easy plays as a beginner: it sees the walls, the
// snakes and the blue blocks' next step, does not run into the other snake's head and mostly keeps out of
// dead ends, but often runs for a knurf block without looking where that leaves it, turns a step late
// and now and then turns the wrong way, in the narrow corridors of a maze often. Medium keeps out of the
// blue blocks' and the other head's next step and of the cells that head reaches first in the steps after,
// makes sure of room for its length rather than of its tail, now and then turns a step late and, in a
// maze, once in a while the wrong way. Hard plans every path to its tail and keeps out of every risk it
// sees.
struct SterkteRec {
    int ruimte;           // takes a path if it can follow its own tail afterwards (0: and after the path's
                          // first step too; with its tail out of reach it then also weighs how long it waits
                          // for its body), or (ruimte > 0) if it then has room for ruimte times its length
    MijdEn vooruit;       // how far ahead it keeps out of risks: of the blue and hand-steered blocks (with
                          // blauw) and the other snake's head (with mijdtKop); all the way: and out of the
                          // cells the other snake's head reaches first
    bool mijdtKop;        // keeps its next cell out of reach of the other snake's head when that moves first
                          // (only with vooruit, which says how far it keeps out of risks at all)
    uint16_t kopVooruit;  // keeping out of the coming step's risks: also out of the cells the other
                          // snake's head reaches first in the first kopVooruit steps (a corridor it
                          // comes down is closed)
    uint32_t blind;       // once in blind decisions on average it takes the nearest knurf block blindly (0: never)
    uint32_t laat;        // once in laat turns on average it goes on straight for one more step (0: never)
    uint32_t verkeerd;    // once in verkeerd turns on average it turns the other way (0: never)
    uint32_t nauw;        // the same in a narrow place (0: as anywhere else)
    bool blauw;           // counts the reach of the blue and hand-steered blocks as a risk
};

// What the snake has left once it has gone along a path.
struct RuimteRec {
    int gebied;      // cells its head can still reach in time, waiting for body cells to be left
    int open;        // of those, the ones it reaches without waiting
    bool staart;     // it reaches a cell of its own body in time: it can follow its tail from there
    int naarStaart;  // steps to the nearest such cell (with staart)
    int wacht;       // steps it waits for the first body cell it waits for (0: none)
};

// How good a move is, worst first.
enum GraadEn { GEEN_ZET, KRAP, RUIM, STAART_BEREIKBAAR, VEILIG_ETEN };

// What the computer remembers of one snake from one step to the next within a game.
struct GeheugenRec {
    uint32_t zaad;                // its own generator
    uint32_t stap;                // decisions made this game
    bool blok[RIJEN * KOLOMMEN];  // cells with a knurf block at the last decision
    uint32_t laatsteZwerf;        // the step in which the knurf blocks were last seen to wander (0: not yet)
    uint32_t periode;             // the fewest steps seen between two such steps (0: not yet known)
};

// ---- state ---------------------------------------------------------------------------------------------

static const int CELLEN = (int)(RIJEN * KOLOMMEN);
static const uint16_t NOOIT = 0xFFFF;
static const uint32_t CEL = Layout::CELL;  // pixels per cell, as the slots' rectangles give them
// Knurf blocks whose paths are checked in one decision, nearest first.
static const int MAX_PADEN = 4;
// The longest list of cells a path can bring: the snake's slots, a path and a doubled cell per step.
static const int MAX_REEKS = (int)SLANGSLOTS + 2 * CELLEN;

static GeheugenRec Geheugen[3];  // per snake 1..2

static const SterkteRec STERKTE[4] = {
    {1, MIJD_NIETS, false, 0, 0, 0, 0, 0, false},
    {1, MIJD_NU, true, 0, 2, 2, 10, 2, true},    // easy
    {1, MIJD_NU, true, 10, 0, 3, 0, 15, true},   // medium
    {0, MIJD_ALLES, true, 0, 0, 0, 0, 0, true},  // hard
};
// How many steps ahead a cell that the other snake's head reaches first counts as closed by its body.
static const uint16_t ANDER_HORIZON = 20;
// A narrow place: at least NAUW_MUREN of the cells within NAUW_AFSTAND rows and columns of the head are
// wall: in a maze's two-wide corridors, not on open ground, along a single wall or in a corner of the edge.
static const int NAUW_AFSTAND = 2, NAUW_MUREN = 10;
// How many of its body's slots past a cell the snake looks for places where its tail stands still.
static const int STILSTAND_VOORUIT = 4;


// The board as one decision sees it, rebuilt for every decision.
static struct {
    GeheugenRec *geheugen;    // what the computer remembers of the snake it steers
    int16_t buur[CELLEN][4];  // the cell one step away in each direction, with the snakes' edge crossing
    bool burenKlaar;
    uint16_t vrij[CELLEN];     // the first step (1: the coming one) in which a head may enter; NOOIT
    bool eten[CELLEN];         // an ordinary or faster knurf block
    bool sneller[CELLEN];      // a faster knurf block
    bool risico[CELLEN];       // something may take the cell in the coming step before this snake moves
    bool kopRisico[CELLEN];    // of those, the cells the other snake's head may take
    bool halo[CELLEN];         // a free cell beside a blue or hand-steered block
    int16_t lijf[SLANGSLOTS];  // the cell of each own slot 0..grootte, -1 for a slot that is no cell
    uint32_t grootte;
    int kop;
    PijlEn richting;
    int achter;     // the cell behind the head, where it may not go
    int andereKop;  // -1 without another snake
    int andereLengte;
    bool ikEerst;         // this snake moves before the other one
    uint16_t kopVooruit;  // as SterkteRec's
    bool risicos;         // there is something to keep out of: searches that keep out of less find the same
} Bord;

// Scratch of the searches.
static struct {
    uint16_t afstand[CELLEN], andereAfstand[CELLEN], proef[CELLEN];
    int16_t vorige[CELLEN], rij[CELLEN];
    uint16_t vrij[CELLEN];  // the board after a path
    bool doel[CELLEN];
    int16_t reeks[MAX_REEKS];
    int zonderWachten;         // rij[0..zonderWachten): the cells the last search reached without waiting
    int eersteWacht;           // then the steps it waited for the first body cell
    uint16_t geraakt[CELLEN];  // a body cell's first touch in a search that waits
    int32_t wacht[CELLEN];     // a heap of the body cells touched too early, the shortest wait first
    int16_t pad[CELLEN + 1];
} Zoeken;

// ---- internal --------------------------------------------------------------------------------------------

static uint32_t Trek() {
    // xorshift32: a whole cycle of 2^32 - 1 states; 0 is no state.
    uint32_t &z = Bord.geheugen->zaad;
    if (z == 0) z = 1;
    z ^= z << 13;
    z ^= z >> 17;
    z ^= z << 5;
    return z;
}

static int CelVan(uint32_t rij, uint32_t kolom) { return (int)((rij - 1) * KOLOMMEN + (kolom - 1)); }

// The game the decision is about; set for the length of one decision.
static const ToestandRec *Zicht;

static const BlokRec &VeldCel(int c) { return Zicht->Veld[c / KOLOMMEN + 1][c % KOLOMMEN + 1]; }

// The board cell a snake slot stands for, -1 for a slot off the board.
static int SlotCel(const BlokRec &slot) {
    if (slot.x1 >= KOLOMMEN * CEL || slot.y1 >= RIJEN * CEL) return -1;
    return CelVan(slot.y1 / CEL + 1, slot.x1 / CEL + 1);
}

static void MaakBuren() {
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            for (int d = 0; d < 4; d++) {
                uint32_t rr = r, kk = k;
                DoorMuur((PijlEn)d, rr, kk);
                VeranderRijKolom(rr, kk, (PijlEn)d);
                Bord.buur[CelVan(r, k)][d] = (int16_t)CelVan(rr, kk);
            }
    Bord.burenKlaar = true;
}

// Counts this decision's step and learns from the board when the knurf blocks that move by themselves
// wander: every few steps, in a fixed rhythm, and a block that wandered leaves a free cell behind. (An
// eaten block leaves the snake's head behind.)
static void VolgKnurfRitme() {
    GeheugenRec &g = *Bord.geheugen;
    uint32_t n = ++g.stap;
    bool gezworven = false;
    for (int c = 0; c < CELLEN; c++) {
        BezetEn b = VeldCel(c).bezet;
        gezworven = gezworven || (n > 1 && g.blok[c] && b == ONBEZET);
        g.blok[c] = b == BLOKJE || b == ALBEWOGEN_BLOKJE;
    }
    if (gezworven) {
        uint32_t tussen = n - 1 - g.laatsteZwerf;
        if (g.laatsteZwerf > 0 && (g.periode == 0 || tussen < g.periode)) g.periode = tussen;
        g.laatsteZwerf = n - 1;
    }
}

// Whether the knurf blocks may wander in step t from now (1: the coming step). Until their rhythm has
// been seen, any step may be one.
static bool Zwerven(uint32_t t) {
    const GeheugenRec &g = *Bord.geheugen;
    if (g.laatsteZwerf == 0 || g.periode == 0) return true;
    return (g.stap + t - 1 - g.laatsteZwerf) % g.periode == 0;
}

// Marks the cells of one snake by the step in which each is left: its slot i is freed in step i + 1
// (counted from the coming step), before this snake moves if that snake moves first.
static void LeesSlang(const BlokRec *slots, uint32_t grootte, uint16_t eerderVrij, bool eigen) {
    for (int i = (int)grootte; i >= 0; i--) {
        int c = SlotCel(slots[i]);
        // A slot whose cell the board no longer shows as a snake stands for nothing.
        if (c >= 0 && VeldCel(c).bezet != SLANG) c = -1;
        if (eigen) Bord.lijf[i] = (int16_t)c;
        if (c >= 0) Bord.vrij[c] = (uint16_t)(i + 2 - eerderVrij);
    }
}

static void LeesBord(uint32_t s, const RijEnKolomRec positie[3], const PijlEn richting[3], const uint32_t grootte[3],
                     uint32_t slangen, const SterkteRec &sterkte) {
    if (!Bord.burenKlaar) MaakBuren();
    for (int c = 0; c < CELLEN; c++) {
        const BlokRec &cel = VeldCel(c);
        bool blok = cel.bezet == BLOKJE || cel.bezet == ALBEWOGEN_BLOKJE;
        Bord.eten[c] = blok && cel.soortblokje != GIFTIG;
        Bord.sneller[c] = blok && cel.soortblokje == SNELLER;
        Bord.vrij[c] = cel.bezet == ONBEZET || Bord.eten[c] ? 1 : NOOIT;
        Bord.risico[c] = false;
        Bord.kopRisico[c] = false;
        Bord.halo[c] = false;
    }

    uint32_t g = grootte[s] + 1 < SLANGSLOTS ? grootte[s] : SLANGSLOTS - 2;
    Bord.grootte = g;
    Bord.kop = CelVan(positie[s].rij, positie[s].kolom);
    Bord.richting = richting[s];
    Bord.achter = Bord.buur[Bord.kop][Tegengesteld(richting[s])];
    Bord.andereKop = -1;
    Bord.ikEerst = true;
    Bord.kopVooruit = sterkte.kopVooruit;
    if (slangen == 2) {
        uint32_t o = 3 - s;
        uint32_t og = grootte[o] + 1 < SLANGSLOTS ? grootte[o] : SLANGSLOTS - 2;
        Bord.ikEerst = s < o;
        Bord.andereKop = CelVan(positie[o].rij, positie[o].kolom);
        Bord.andereLengte = (int)og + 1;
        LeesSlang(Zicht->Slang[o], og, Bord.ikEerst ? 0 : 1, false);
        Bord.vrij[Bord.andereKop] = NOOIT;
    }
    LeesSlang(Zicht->Slang[s], g, 0, true);
    Bord.vrij[Bord.kop] = NOOIT;
    Bord.risicos = Bord.andereKop >= 0;

    // Knurf blocks wander before the snakes move: a blue one may step onto a free neighbour, or onto a
    // knurf block's cell that the sweep (row by row) has emptied before reaching it; the hand-steered
    // one steps in every step. The other snake's head, moving first, may take any cell beside it.
    VolgKnurfRitme();
    if (sterkte.vooruit != MIJD_NIETS && sterkte.blauw) {
        for (int c = 0; c < CELLEN; c++) {
            const BlokRec &cel = VeldCel(c);
            bool manueel = cel.bezet == MANUEEL_BLOKJE;
            if (!manueel && !((cel.bezet == BLOKJE || cel.bezet == ALBEWOGEN_BLOKJE) && cel.soortblokje == GIFTIG))
                continue;
            for (int d = 0; d < 4; d++) {
                int n = Bord.buur[c][d];
                bool vrij = VeldCel(n).bezet == ONBEZET;
                Bord.halo[n] = Bord.halo[n] || vrij;
                Bord.risicos = true;
                if ((manueel || Zwerven(1)) && (vrij || (Bord.eten[n] && n < c))) Bord.risico[n] = true;
            }
        }
    }
    if (Bord.andereKop >= 0 && !Bord.ikEerst && sterkte.mijdtKop)
        for (int d = 0; d < 4; d++) {
            Bord.risico[Bord.buur[Bord.andereKop][d]] = true;
            Bord.kopRisico[Bord.buur[Bord.andereKop][d]] = true;
        }
}

// Whether a search keeps out of cell n when it enters it in step t from now. Beside a blue block it keeps
// out in every step: a block that wanders there while the snake passes a corridor shuts it in, and one
// that wandered there earlier stays a risk.
// A cell that the other snake's head reaches first is closed by its body for as long as that is long;
// keeping out of the coming step's risks only, such a cell counts in the first kopVooruit steps.
static bool Mijden(MijdEn mijd, uint16_t t, int n) {
    if (mijd == MIJD_NIETS) return false;
    if (t == 1) return Bord.risico[n];
    uint16_t a = Bord.andereKop >= 0 ? Zoeken.andereAfstand[n] : NOOIT;
    bool eerder = a < t || (a == t && !Bord.ikEerst);  // the other head gets there first
    if (mijd != MIJD_ALLES) return t <= Bord.kopVooruit && eerder;
    if (Bord.halo[n]) return true;
    return a <= ANDER_HORIZON && eerder && t <= a + Bord.andereLengte;
}

// Breadth-first from cell start, the head there after step t0 from now: a cell is entered when the step
// of arrival is not before its vrij (counted from t0), and not when mijd keeps out of it. Fills afstand
// (steps from start; NOOIT where not reached) and vorige; stops once genoeg cells are reached or, with
// doel, a doel cell. Returns the number of cells reached; gevonden says whether a doel cell was among them.
// With wachten (no vorige then) the snake may also wait for a cell of a snake's body to be left: it
// dawdles in the cells it has reached so far, as long as there are at least as many as steps to wait,
// and enters the cell once it is free.
static int Zoek(int start, uint16_t t0, const uint16_t *vrij, MijdEn mijd, uint16_t *afstand, int16_t *vorige,
                int genoeg, const bool *doel, bool &gevonden, bool wachten = false) {
    std::memset(afstand, 0xFF, sizeof(uint16_t) * CELLEN);
    if (wachten) std::memset(Zoeken.geraakt, 0xFF, sizeof Zoeken.geraakt);
    gevonden = false;
    int kop = 0, staart = 0, bereikt = 0, wachtend = 0;
    bool gewacht = false;  // a doel cell reached after waiting does not count
    afstand[start] = 0;
    Zoeken.rij[staart++] = (int16_t)start;
    Zoeken.zonderWachten = CELLEN + 1;
    auto neem = [&](int n, uint16_t stap, int c) {
        afstand[n] = stap;
        if (vorige) vorige[n] = (int16_t)c;
        Zoeken.rij[staart++] = (int16_t)n;
        bereikt++;
        gevonden = doel && doel[n] && !gewacht;
        return gevonden || bereikt >= genoeg;
    };
    for (;;) {
        while (kop < staart) {
            int c = Zoeken.rij[kop++];
            uint16_t stap = (uint16_t)(afstand[c] + 1);
            for (int d = 0; d < 4; d++) {
                int n = Bord.buur[c][d];
                if (afstand[n] != NOOIT) continue;
                if (vrij[n] > stap) {
                    // Left later: remembered with the first step in which the snake could stand beside it.
                    if (wachten && vrij[n] != NOOIT && Zoeken.geraakt[n] == NOOIT) {
                        Zoeken.geraakt[n] = stap;
                        Zoeken.wacht[wachtend++] = -((vrij[n] - stap) * CELLEN + n);
                        std::push_heap(Zoeken.wacht, Zoeken.wacht + wachtend);
                    }
                    continue;
                }
                if (Mijden(mijd, (uint16_t)(t0 + stap), n)) continue;
                if (start == Bord.kop && t0 + stap == 1 && n == Bord.achter) continue;  // a snake never reverses
                if (neem(n, stap, c)) return bereikt;
            }
        }
        // The body cell with the shortest wait, if the snake has the room to wait for it.
        int voor = staart;
        while (wachtend > 0 && staart == voor) {
            int n = -Zoeken.wacht[0] % CELLEN;
            if (vrij[n] - Zoeken.geraakt[n] > bereikt) break;
            std::pop_heap(Zoeken.wacht, Zoeken.wacht + wachtend--);
            if (afstand[n] != NOOIT || Mijden(mijd, (uint16_t)(t0 + vrij[n]), n)) continue;
            if (!gewacht) {
                Zoeken.zonderWachten = staart;
                // With a single cell reached there is no room to dawdle in: such a wait counts as the
                // longest there is.
                Zoeken.eersteWacht = bereikt < 2 ? CELLEN : vrij[n] - Zoeken.geraakt[n];
            }
            gewacht = true;
            if (neem(n, vrij[n], -1)) return bereikt;
        }
        if (staart == voor) return bereikt;
    }
}

// What the snake has left after going along pad[1..lengte] from its head, eating on the way: the board
// then, searched from the path's end. genoeg limits the count; zoekStaart stops once the tail is found.
static RuimteRec RuimteNaPad(const int16_t *pad, int lengte, MijdEn mijd, int genoeg, bool zoekStaart) {
    // Every cell the snake stands on, slot 0 first, with a doubled cell for each knurf block eaten.
    int n = 0;
    for (uint32_t i = 0; i <= Bord.grootte; i++) Zoeken.reeks[n++] = Bord.lijf[i];
    int gegeten = 0;
    for (int j = 1; j <= lengte; j++) {
        if (Bord.eten[pad[j]]) {
            Zoeken.reeks[n] = Zoeken.reeks[n - 1];
            n++;
            gegeten++;
        }
        Zoeken.reeks[n++] = pad[j];
    }
    int slots = (int)Bord.grootte + gegeten + 1;  // slot 0 .. the new head

    for (int c = 0; c < CELLEN; c++) {
        uint16_t v = Bord.vrij[c];
        Zoeken.vrij[c] = v == NOOIT ? NOOIT : (v > lengte ? (uint16_t)(v - lengte) : 1);
        Zoeken.doel[c] = false;
    }
    for (uint32_t i = 0; i <= Bord.grootte; i++)
        if (Bord.lijf[i] >= 0) Zoeken.vrij[Bord.lijf[i]] = 1;
    // Where the tail stands still for a step (a slot that is no cell, or a doubled one after a knurf block),
    // a head that follows it closely catches up with it: a body cell counts as reached in time only with a
    // step to spare for each such slot soon after it.
    for (int i = n - 1; i >= n - slots; i--) {
        int c = Zoeken.reeks[i];
        if (c < 0) continue;
        int stilstand = 0;
        for (int m = i + 1; m <= i + STILSTAND_VOORUIT && m < n; m++)
            stilstand += Zoeken.reeks[m] < 0 || Zoeken.reeks[m] == Zoeken.reeks[m - 1] ? 1 : 0;
        Zoeken.vrij[c] = (uint16_t)(i - (n - slots) + 2 + stilstand);
        Zoeken.doel[c] = true;
    }
    int kop = pad[lengte];
    Zoeken.vrij[kop] = NOOIT;
    Zoeken.doel[kop] = false;

    RuimteRec ruimte{};
    ruimte.gebied = Zoek(kop, (uint16_t)lengte, Zoeken.vrij, mijd, Zoeken.proef, nullptr, genoeg,
                         zoekStaart ? Zoeken.doel : nullptr, ruimte.staart, true);
    bool gewacht = Zoeken.zonderWachten <= ruimte.gebied;
    ruimte.open = gewacht ? Zoeken.zonderWachten - 1 : ruimte.gebied;
    ruimte.wacht = gewacht ? Zoeken.eersteWacht : 0;
    for (int i = 1; i <= ruimte.open && !ruimte.staart; i++) {
        ruimte.staart = Zoeken.doel[Zoeken.rij[i]];
        ruimte.naarStaart = ruimte.staart ? Zoeken.proef[Zoeken.rij[i]] : 0;
    }
    return ruimte;
}

static int RichtingNaar(int van, int naar) {
    for (int d = 0; d < 4; d++)
        if (Bord.buur[van][d] == naar) return d;
    return -1;
}

// The path from the head to cell doel along the last search, in pad[1..]; its length.
static int Pad(int doel) {
    int lengte = Zoeken.afstand[doel];
    for (int c = doel, j = lengte; j >= 1; j--) {
        Zoeken.pad[j] = (int16_t)c;
        c = Zoeken.vorige[c];
    }
    return lengte;
}

// A path to the nearest knurf block that leaves the snake safe (blind: any path), the ones it reaches
// before the other snake first, faster blocks only with snellerOok: the direction of its first step, or -1.
static int NaarEten(const SterkteRec &sterkte, MijdEn mijd, bool snellerOok, bool blind) {
    bool gevonden;
    Zoek(Bord.kop, 0, Bord.vrij, mijd, Zoeken.afstand, Zoeken.vorige, CELLEN, nullptr, gevonden);
    int blokken[MAX_PADEN + 1], sleutel[MAX_PADEN + 1];
    int aantal = 0;
    for (int c = 0; c < CELLEN; c++) {
        if (!Bord.eten[c] || Zoeken.afstand[c] == NOOIT || (Bord.sneller[c] && !snellerOok)) continue;
        bool eerst = Bord.andereKop < 0 || Zoeken.afstand[c] < Zoeken.andereAfstand[c] ||
                     (Zoeken.afstand[c] == Zoeken.andereAfstand[c] && Bord.ikEerst);
        int k = Zoeken.afstand[c] + (eerst ? 0 : CELLEN);
        int i = aantal < MAX_PADEN ? aantal++ : MAX_PADEN;
        while (i > 0 && sleutel[i - 1] > k) {
            blokken[i] = blokken[i - 1];
            sleutel[i] = sleutel[i - 1];
            i--;
        }
        blokken[i] = c;
        sleutel[i] = k;
    }
    for (int i = 0; i < aantal; i++) {
        int lengte = Pad(blokken[i]);
        // Out of options, it may risk a blue block's wandering for a knurf block, not the other head.
        if (mijd == MIJD_NIETS && Bord.kopRisico[Zoeken.pad[1]]) continue;
        if (blind) return RichtingNaar(Bord.kop, Zoeken.pad[1]);
        int nodig = (int)Bord.grootte + 2;  // its cells after eating
        int genoeg = sterkte.ruimte > 0 ? nodig * sterkte.ruimte : CELLEN;
        RuimteRec r = RuimteNaPad(Zoeken.pad, lengte, mijd, genoeg, true);
        if (r.staart && sterkte.ruimte == 0 && lengte > 1) {
            // The block may wander off before the snake gets there: its first step must leave it its
            // tail as well.
            int16_t eerste[2] = {0, Zoeken.pad[1]};
            if (!RuimteNaPad(eerste, 1, mijd, CELLEN, true).staart) continue;
        }
        if (r.staart || (sterkte.ruimte > 0 && r.open >= genoeg)) return RichtingNaar(Bord.kop, Zoeken.pad[1]);
    }
    return -1;
}

// With no knurf block to be had safely: the move that keeps the tail in reach, out of a blue block's
// way, the longest way round to its tail (the body then lies close, and the free cells stay in one piece),
// then with the most room; with its tail out of reach, the most room (and, playing its best, the shortest
// wait).
static int Uitwijken(const SterkteRec &sterkte, MijdEn mijd, GraadEn &graad) {
    int beste = -1;
    int besteGebied = 0;
    bool besteHalo = false;
    graad = GEEN_ZET;
    for (int d = 0; d < 4; d++) {
        int n = Bord.buur[Bord.kop][d];
        if ((PijlEn)d == Tegengesteld(Bord.richting) || Bord.vrij[n] > 1 || Mijden(mijd, 1, n)) continue;
        int16_t stap[2] = {0, (int16_t)n};
        RuimteRec r = RuimteNaPad(stap, 1, mijd, CELLEN, false);
        int nodig = (int)Bord.grootte + 1 + (Bord.eten[n] ? 1 : 0);
        GraadEn g = r.staart ? STAART_BEREIKBAAR : r.gebied >= nodig ? RUIM : KRAP;
        // A faster block speeds up the other player too: it counts as a risk when two snakes play.
        bool halo = Bord.halo[n] || (Bord.andereKop >= 0 && Bord.sneller[n]);
        // With its tail in reach, its tail farthest, then the most room it reaches without waiting (where
        // its tail leads it anyway); without, the most room counting the body cells it can wait for, then
        // (playing its best) the shortest wait for its body to open a way.
        int wacht = sterkte.ruimte == 0 ? r.wacht : 0;
        int gebied = g == STAART_BEREIKBAAR ? r.naarStaart * CELLEN + r.open : r.gebied * CELLEN - wacht;
        bool beter = g > graad || (g == graad && besteHalo && !halo) ||
                     (g == graad && halo == besteHalo &&
                      (gebied > besteGebied || (gebied == besteGebied && (PijlEn)d == Bord.richting)));
        if (beste < 0 || beter) {
            beste = d;
            graad = g;
            besteGebied = gebied;
            besteHalo = halo;
        }
    }
    return beste;
}

// The computer: knurf blocks first, then its tail or room; out of every risk it can see first, then out
// of the risks of the coming step only. It takes a risk (a blue block or the other snake's head may get
// there first) only for its tail or a knurf block, or when nothing else is left. Against another snake it
// leaves the faster blocks alone (they speed up the game for both) unless nothing else is to be had safely.
static int Zoekend(const SterkteRec &sterkte) {
    bool gevonden;
    if (Bord.andereKop >= 0)
        Zoek(Bord.andereKop, 0, Bord.vrij, MIJD_NIETS, Zoeken.andereAfstand, nullptr, CELLEN, nullptr, gevonden);
    bool blind = sterkte.blind > 0 && Trek() % sterkte.blind == 0;
    int beste = -1;
    GraadEn besteGraad = GEEN_ZET;
    for (int m = sterkte.vooruit; m >= MIJD_NIETS; m--) {
        if (m == MIJD_NIETS && besteGraad >= RUIM) break;
        int d = NaarEten(sterkte, (MijdEn)m, Bord.andereKop < 0, blind);
        if (d < 0 && Bord.andereKop >= 0) d = NaarEten(sterkte, (MijdEn)m, true, blind);
        if (d >= 0) return d;
        GraadEn graad;
        d = Uitwijken(sterkte, (MijdEn)m, graad);
        if (d < 0) continue;
        if (graad >= STAART_BEREIKBAAR) return d;
        // A risky move counts as one grade lower than a safe one.
        if (m == MIJD_NIETS && sterkte.vooruit != MIJD_NIETS && graad > GEEN_ZET) graad = (GraadEn)(graad - 1);
        if (beste < 0 || graad > besteGraad) {
            beste = d;
            besteGraad = graad;
        }
        if (!Bord.risicos) break;
    }
    return beste;
}

// Whether the head stands in a narrow place (see NAUW_MUREN).
static bool Nauw(const ToestandRec &t) {
    int rij = Bord.kop / (int)KOLOMMEN, kolom = Bord.kop % (int)KOLOMMEN, muren = 0;
    for (int r = std::max(0, rij - NAUW_AFSTAND); r <= std::min((int)RIJEN - 1, rij + NAUW_AFSTAND); r++)
        for (int k = std::max(0, kolom - NAUW_AFSTAND); k <= std::min((int)KOLOMMEN - 1, kolom + NAUW_AFSTAND); k++)
            muren += t.Veld[r + 1][k + 1].bezet == MUUR ? 1 : 0;
    return muren >= NAUW_MUREN;
}

// ---- exported ----------------------------------------------------------------------------------------------

void ComputerNieuwSpel(uint32_t zaad) {
    std::memset(Geheugen, 0, sizeof Geheugen);
    for (uint32_t s = 1; s <= 2; s++) Geheugen[s].zaad = zaad != 0 ? zaad + s - 1 : s;
}

PijlEn ComputerRichting(const ToestandRec &t, uint32_t s) {
    if (s < 1 || s > 2) return LINKS;
    const SterkteRec &sterkte = STERKTE[t.Diff < 1 ? 1 : t.Diff > 3 ? 3 : t.Diff];
    Zicht = &t;
    Bord.geheugen = &Geheugen[s];
    LeesBord(s, t.positie, t.richting, t.grootte, t.slangen, sterkte);
    int d = Zoekend(sterkte);
    Zicht = nullptr;
    if (d < 0) return t.richting[s];
    // A wrong turn: the other way, where that can be entered and is out of the risks seen.
    uint32_t verkeerd = sterkte.nauw > 0 && Nauw(t) ? sterkte.nauw : sterkte.verkeerd;
    if ((PijlEn)d != t.richting[s] && verkeerd > 0) {
        PijlEn anders = Tegengesteld((PijlEn)d);
        int n = Bord.buur[Bord.kop][anders];
        if (Bord.vrij[n] <= 1 && !Bord.risico[n] && Trek() % verkeerd == 0) return anders;
    }
    // A late turn: straight on for one more step, where that can be entered and is out of the risks seen.
    int rechtdoor = Bord.buur[Bord.kop][t.richting[s]];
    if ((PijlEn)d != t.richting[s] && sterkte.laat > 0 && Bord.vrij[rechtdoor] <= 1 && !Bord.risico[rechtdoor] &&
        Trek() % sterkte.laat == 0)
        return t.richting[s];
    return (PijlEn)d;
}

}  // namespace SnakeProcedures
