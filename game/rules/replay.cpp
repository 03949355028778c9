// Replays: a game's start laid from a level as text, the state's hash, a step's input in a word, the
// recording, its text file written and read back (every number and character of it checked), and a
// recording verified by playing it through the step.
#include "game/rules/Replay.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

static const char *const KOP = "KWIBBEL-REPLAY";
static const char RICHTING_LETTER[4] = {'L', 'R', 'U', 'D'};  // by PijlEn
static const uint32_t REGEL_BREEDTE = 96;                     // the steps' lines are wrapped after this

// ---- internal --------------------------------------------------------------------------------------------

static void Fout(char *fout, size_t lengte, const char *formaat, ...) {
    if (!fout || lengte == 0) return;
    va_list args;
    va_start(args, formaat);
    std::vsnprintf(fout, lengte, formaat, args);
    va_end(args);
}

// FNV-1a over the little-endian bytes of each value, the same on any machine.
struct Hasher {
    uint64_t h = 1469598103934665603ull;
    void Add(uint64_t waarde, uint32_t bytes) {
        for (uint32_t i = 0; i < bytes; i++) {
            h ^= (waarde >> (8 * i)) & 0xFF;
            h *= 1099511628211ull;
        }
    }
    void Blok(const BlokRec &b) {
        Add(b.x1, 4);
        Add(b.x2, 4);
        Add(b.y1, 4);
        Add(b.y2, 4);
        Add(b.bezet, 1);
        Add(b.soortblokje, 1);
        Add(b.BeginPosSlang, 1);
        Add(b.BeginPosSlang2, 1);
    }
};

static bool IsLetter(char c, char &richting) {
    const char *p = std::strchr("LRUD", c);
    if (!p || c == 0) return false;
    richting = (char)(p - "LRUD");
    return true;
}

// ---- the level as text -----------------------------------------------------------------------------

void LevelRij(LevelRec &level, uint32_t rij, const char *regel, uint32_t lengte) {
    if (rij < 1 || rij > RIJEN) return;
    for (uint32_t k = 0; k < KOLOMMEN; k++) {
        char c = k < lengte ? regel[k] : '-';
        level.rijen[rij - 1][k] = (c == 'M' || c == 'S' || c == 'T') ? c : '-';
    }
}

void LegLevel(BlokRec veld[RIJEN + 1][KOLOMMEN + 1], const LevelRec &level, uint32_t grootte[3],
              RijEnKolomRec positie[3]) {
    VensterInBlokken(veld);
    grootte[1] = grootte[2] = 0;
    for (uint32_t rij = 1; rij <= RIJEN; rij++) {
        for (uint32_t kolom = 1; kolom <= KOLOMMEN; kolom++) {
            BlokRec &cel = veld[rij][kolom];
            char c = level.rijen[rij - 1][kolom - 1];
            if (c == 'M') {
                cel.bezet = MUUR;
            } else if (c == '-') {
                cel.soortblokje = NORMAAL;
            } else if (c == 'S' || c == 'T') {
                uint32_t p = c == 'S' ? 1 : 2;
                if (grootte[p] == 0) positie[p] = RijEnKolomRec{rij, kolom};
                grootte[p]++;
            }
        }
    }
}

const char *WaaromNietSpeelbaar(const ModeRec &mode, const uint32_t grootte[3], const RijEnKolomRec positie[3]) {
    uint32_t players = mode.spelers < 2 ? 1 : 2;
    uint32_t snakes = (players == 2 && mode.manueel >= 1) ? 1 : players;
    for (uint32_t p = 1; p <= players; p++) {
        bool knurf = p > snakes;
        if (grootte[p] == 0) {
            if (knurf) return "it has no start for the knurf block of player 2";
            return p == 1 ? "it has no start for snake 1" : "it has no start for snake 2";
        }
        // The snake is laid on the cells right of its first start cell, up to column kolom + grootte.
        // A run that fits on the row also fits in the snake's slots (at most 39 of 1200).
        if (positie[p].kolom + grootte[p] > KOLOMMEN) {
            if (knurf) return "the knurf block of player 2 would start beyond column 40";
            return p == 1 ? "snake 1 would reach beyond column 40" : "snake 2 would reach beyond column 40";
        }
    }
    return nullptr;
}

// ---- a game's start ----------------------------------------------------------------------------------

bool BeginSpel(ToestandRec &t, const SpelStartRec &start, GebeurtenissenRec *uit, const char **reden) {
    uint32_t grootte[3] = {0, 0, 0};
    RijEnKolomRec positie[3] = {};
    LegLevel(t.Veld, start.level, grootte, positie);
    // Nothing of an earlier game stays behind on the board (the snakes' slots are laid by NieuwSpel, and a
    // slot past a snake's head is written before it is read).
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) t.Veld[r][k].soortblokje = NORMAAL;
    const char *waarom = WaaromNietSpeelbaar(start.mode, grootte, positie);
    if (reden) *reden = waarom;
    if (waarom) return false;
    NieuwSpel(t, start.mode, start.diff, StandardLib::GeneratorFromSeed(start.zaad), grootte, positie, uit);
    return true;
}

// ---- the state's hash --------------------------------------------------------------------------------

uint64_t ToestandHash(const ToestandRec &t) {
    Hasher h;
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) h.Blok(t.Veld[r][k]);
    for (uint32_t p = 0; p <= MAX_SPELERS; p++) {
        h.Add(t.grootte[p], 4);
        h.Add(t.positie[p].rij, 4);
        h.Add(t.positie[p].kolom, 4);
        h.Add(t.richting[p], 1);
        h.Add(t.beurten[p].aantal, 4);
        for (uint32_t i = 0; i < 2; i++) h.Add(i < t.beurten[p].aantal ? t.beurten[p].beurt[i] : 0, 1);
        h.Add((uint32_t)t.Score[p], 4);
        // A snake's slots past its head (and the one after it) hold nothing the game reads, nor do those of
        // a snake not in play.
        if (p >= 1 && p <= t.slangen) {
            uint32_t tot = t.grootte[p] + 1 < SLANGSLOTS ? t.grootte[p] + 1 : SLANGSLOTS - 1;
            for (uint32_t i = 0; i <= tot; i++) h.Blok(t.Slang[p][i]);
        }
    }
    h.Add((uint32_t)t.DelaySnake, 4);
    h.Add((uint32_t)t.Diff, 4);
    h.Add(t.mode.spelers, 4);
    h.Add(t.mode.blokjeManueel, 1);
    h.Add(t.mode.manueel, 4);
    h.Add(t.mode.automatisch, 4);
    h.Add(t.mode.computer, 4);
    h.Add(t.slangen, 4);
    h.Add(t.teller, 4);
    h.Add(t.alleenGewoneBlokjes, 1);
    for (uint32_t w : t.random.words) h.Add(w, 4);
    h.Add(t.random.i, 4);
    h.Add(t.random.j, 4);
    h.Add(t.random.pseudoSeed, 4);
    h.Add(t.random.pseudo, 1);
    return h.h;
}

// ---- one step's input in a word ----------------------------------------------------------------------

uint32_t PakInvoer(const InvoerRec &invoer, bool pauze) {
    uint32_t woord = pauze ? PAUZE_BIT : 0;
    for (uint32_t p = 1; p <= MAX_SPELERS; p++) {
        const BeurtenRec &b = invoer.beurten[p];
        uint32_t aantal = b.aantal > 2 ? 2 : b.aantal;
        uint32_t speler = aantal;
        for (uint32_t i = 0; i < aantal; i++) speler |= (uint32_t)(b.beurt[i] & 3) << (2 + 2 * i);
        if (invoer.vast[p]) speler |= 1u << 6 | (uint32_t)(invoer.vastRichting[p] & 3) << 7;
        woord |= speler << (9 * (p - 1));
    }
    return woord;
}

bool PakUit(uint32_t woord, InvoerRec &invoer, bool &pauze) {
    invoer = InvoerRec{};
    pauze = false;
    if (woord >> 19 != 0) return false;
    for (uint32_t p = 1; p <= MAX_SPELERS; p++) {
        uint32_t speler = (woord >> (9 * (p - 1))) & 0x1FF;
        uint32_t aantal = speler & 3;
        bool vast = (speler >> 6) & 1;
        // Only the words PakInvoer makes: no third turn, nothing in a turn or held direction not given.
        if (aantal == 3 || (speler >> (2 + 2 * aantal) & ((1u << (4 - 2 * aantal)) - 1)) != 0 ||
            (!vast && (speler >> 7) != 0)) {
            invoer = InvoerRec{};
            return false;
        }
        invoer.beurten[p].aantal = aantal;
        for (uint32_t i = 0; i < aantal; i++) invoer.beurten[p].beurt[i] = (PijlEn)((speler >> (2 + 2 * i)) & 3);
        invoer.vast[p] = vast;
        invoer.vastRichting[p] = vast ? (PijlEn)((speler >> 7) & 3) : LINKS;
    }
    pauze = (woord & PAUZE_BIT) != 0;
    return true;
}

// ---- the recording -------------------------------------------------------------------------------------

void OpnameBegin(OpnameRec &o, const SpelStartRec &start, uint32_t computerZaad) {
    o.start = start;
    o.computerZaad = computerZaad;
    o.stappen = 0;
    o.einde = EINDE_VERLATEN;
    o.punten[0] = o.punten[1] = o.punten[2] = 0;
    o.hash = 0;
    o.controles = 0;
    o.vol = false;
}

void OpnameStap(OpnameRec &o, const InvoerRec &invoer, bool pauze, const ToestandRec &t) {
    if (o.stappen >= MAX_OPNAME_STAPPEN) {
        o.vol = true;
        return;
    }
    o.invoer[o.stappen++] = PakInvoer(invoer, pauze);
    if (o.stappen % CONTROLE_STAPPEN == 0 && o.controles < MAX_CONTROLES) o.controle[o.controles++] = ToestandHash(t);
}

void OpnameEinde(OpnameRec &o, EindeEn einde, const int32_t punten[3], const ToestandRec &t) {
    o.einde = einde;
    for (uint32_t p = 0; p <= MAX_SPELERS; p++) o.punten[p] = p == 0 ? 0 : punten[p];
    o.hash = ToestandHash(t);
}

// ---- writing -----------------------------------------------------------------------------------------------

GameModeEn ModeVan(const ModeRec &mode) {
    for (uint32_t m = 0; m < MODE_COUNT; m++) {
        const ModeRec &r = ModeSettings((GameModeEn)m);
        if (r.spelers == mode.spelers && r.blokjeManueel == mode.blokjeManueel && r.manueel == mode.manueel &&
            r.automatisch == mode.automatisch && r.computer == mode.computer)
            return (GameModeEn)m;
    }
    return MODE_COUNT;
}

static void Regel(std::string &tekst, const char *formaat, ...) {
    char regel[128];
    va_list args;
    va_start(args, formaat);
    std::vsnprintf(regel, sizeof regel, formaat, args);
    va_end(args);
    tekst += regel;
    tekst += '\n';
}

bool SchrijfOpname(const OpnameRec &o, std::string &tekst) {
    GameModeEn mode = ModeVan(o.start.mode);
    if (mode == MODE_COUNT || o.vol || o.stappen > MAX_OPNAME_STAPPEN) return false;
    tekst.clear();
    Regel(tekst, "%s %u", KOP, (unsigned)OPNAME_FORMAAT);
    Regel(tekst, "rules %u", (unsigned)REGELS_VERSIE);
    Regel(tekst, "level %u", (unsigned)o.start.levelNummer);
    Regel(tekst, "mode %u", (unsigned)mode);
    Regel(tekst, "difficulty %d", (int)o.start.diff);
    Regel(tekst, "seed %u", (unsigned)o.start.zaad);
    Regel(tekst, "computer-seed %u", (unsigned)o.computerZaad);
    for (uint32_t r = 0; r < RIJEN; r++) Regel(tekst, "row %.40s", o.start.level.rijen[r]);
    Regel(tekst, "steps %u", (unsigned)o.stappen);
    Regel(tekst, "ending %s", o.einde == EINDE_GECRASHT ? "crashed" : "left");
    Regel(tekst, "score1 %d", (int)o.punten[1]);
    Regel(tekst, "score2 %d", (int)o.punten[2]);
    Regel(tekst, "hash %016llx", (unsigned long long)o.hash);
    for (uint32_t i = 0; i < o.controles; i++) Regel(tekst, "check %016llx", (unsigned long long)o.controle[i]);
    tekst += "input\n";

    // Steps with nothing new (no turn, no pause, the same keys held) go as their number in a row; any
    // other step as letters, after the number of quiet steps before it: P paused, H or h and a letter (or
    // -) player 1's or 2's held key now, then player 1's turns in capitals and player 2's in small letters.
    bool vast[3] = {false, false, false};
    PijlEn vastRichting[3] = {LINKS, LINKS, LINKS};
    uint32_t rij = 0, regel = 0;
    auto Woord = [&](const std::string &w) {
        if (regel > 0 && regel + 1 + w.size() > REGEL_BREEDTE) {
            tekst += '\n';
            regel = 0;
        } else if (regel > 0) {
            tekst += ' ';
            regel++;
        }
        tekst += w;
        regel += (uint32_t)w.size();
    };
    for (uint32_t s = 0; s < o.stappen; s++) {
        InvoerRec in;
        bool pauze;
        PakUit(o.invoer[s], in, pauze);
        std::string w;
        if (pauze) w += 'P';
        for (uint32_t p = 1; p <= MAX_SPELERS; p++) {
            if (in.vast[p] != vast[p] || (in.vast[p] && in.vastRichting[p] != vastRichting[p])) {
                w += p == 1 ? 'H' : 'h';
                char c = in.vast[p] ? RICHTING_LETTER[in.vastRichting[p] & 3] : '-';
                w += p == 1 ? c : (char)(c == '-' ? c : c + ('a' - 'A'));
                vast[p] = in.vast[p];
                vastRichting[p] = in.vastRichting[p];
            }
        }
        for (uint32_t p = 1; p <= MAX_SPELERS; p++)
            for (uint32_t i = 0; i < in.beurten[p].aantal; i++)
                w += (char)(RICHTING_LETTER[in.beurten[p].beurt[i] & 3] + (p == 1 ? 0 : 'a' - 'A'));
        if (w.empty()) {
            rij++;
            continue;
        }
        Woord(rij > 0 ? std::to_string(rij) + w : w);
        rij = 0;
    }
    if (rij > 0) Woord(std::to_string(rij));
    if (regel > 0) tekst += '\n';
    tekst += "end\n";
    return true;
}

// ---- reading -----------------------------------------------------------------------------------------------

namespace {

// The text as lines, each checked before it is looked at.
struct Lezer {
    const char *tekst;
    size_t lengte, pos;
    uint32_t nummer;  // the line last read, from 1
    char regel[256];  // no line of the format is longer
    bool te_lang;
    bool op;  // the text ended before a line was asked for
};

// The next line into l.regel (without its line end); FALSE at the end of the text or for a line longer
// than any the format has (te_lang set).
bool VolgendeRegel(Lezer &l) {
    if (l.pos >= l.lengte) {
        l.op = true;
        return false;
    }
    l.nummer++;
    size_t n = 0;
    while (l.pos < l.lengte && l.tekst[l.pos] != '\n') {
        if (n + 1 >= sizeof l.regel) {
            l.te_lang = true;
            return false;
        }
        l.regel[n++] = l.tekst[l.pos++];
    }
    if (l.pos < l.lengte) l.pos++;
    if (n > 0 && l.regel[n - 1] == '\r') n--;
    l.regel[n] = 0;
    return true;
}

// A whole decimal number of at most 10 digits in 0..grootste, all of s.
bool Getal(const char *s, uint64_t grootste, uint64_t &waarde) {
    waarde = 0;
    size_t n = std::strlen(s);
    if (n == 0 || n > 10) return false;
    for (size_t i = 0; i < n; i++) {
        if (s[i] < '0' || s[i] > '9') return false;
        waarde = waarde * 10 + (uint64_t)(s[i] - '0');
    }
    return waarde <= grootste;
}

// Sixteen hex digits, all of s.
bool Hex(const char *s, uint64_t &waarde) {
    waarde = 0;
    if (std::strlen(s) != 16) return false;
    for (int i = 0; i < 16; i++) {
        char c = s[i];
        uint64_t d = (c >= '0' && c <= '9')   ? (uint64_t)(c - '0')
                     : (c >= 'a' && c <= 'f') ? (uint64_t)(c - 'a' + 10)
                                              : 99;
        if (d == 99) return false;
        waarde = waarde << 4 | d;
    }
    return true;
}

// "key value": the value, when the line's key is sleutel.
const char *Waarde(const char *regel, const char *sleutel) {
    size_t n = std::strlen(sleutel);
    if (std::strncmp(regel, sleutel, n) != 0 || regel[n] != ' ') return nullptr;
    return regel + n + 1;
}

// When the last line could not be read (the text ended, or the line is longer than any of the format),
// says so in fout and gives TRUE.
bool Kort(const Lezer &l, char *fout, size_t lengte) {
    if (l.te_lang)
        Fout(fout, lengte, "line %u is too long", (unsigned)l.nummer);
    else if (l.op)
        Fout(fout, lengte, "it ends after line %u (cut short?)", (unsigned)l.nummer);
    return l.te_lang || l.op;
}

}  // namespace

bool LeesOpname(const char *tekst, size_t lengte, OpnameRec &o, char *fout, size_t foutLengte) {
    Lezer l{tekst, lengte, 0, 0, {0}, false, false};
    for (size_t i = 0; i < lengte; i++) {
        unsigned char c = (unsigned char)tekst[i];
        if (c == 0 || (c < 32 && c != '\n' && c != '\r' && c != '\t') || c >= 127) {
            Fout(fout, foutLengte, "it is not a replay file (it holds binary data)");
            return false;
        }
    }
    if (!VolgendeRegel(l) || std::strncmp(l.regel, KOP, std::strlen(KOP)) != 0) {
        Fout(fout, foutLengte, "it is not a replay file (no %s line at its start)", KOP);
        return false;
    }
    uint64_t formaat;
    const char *v = Waarde(l.regel, KOP);
    if (!v || !Getal(v, 0xFFFFFFFFull, formaat) || formaat == 0) {
        Fout(fout, foutLengte, "line 1 has no format version");
        return false;
    }
    if (formaat != OPNAME_FORMAAT) {
        Fout(fout, foutLengte, "it is in replay format %llu; this game reads format %u", (unsigned long long)formaat,
             (unsigned)OPNAME_FORMAAT);
        return false;
    }

    // The header: every key once, in this order.
    static const struct {
        const char *sleutel;
        uint64_t grootste;
    } SLEUTELS[] = {{"rules", 0xFFFFFFFFull}, {"level", 4},
                    {"mode", MODE_COUNT - 1}, {"difficulty", 3},
                    {"seed", 0xFFFFFFFFull},  {"computer-seed", 0xFFFFFFFFull}};
    uint64_t waarden[6];
    for (uint32_t i = 0; i < 6; i++) {
        if (!VolgendeRegel(l) || !(v = Waarde(l.regel, SLEUTELS[i].sleutel))) {
            if (!Kort(l, fout, foutLengte))
                Fout(fout, foutLengte, "line %u should say \"%s\"", (unsigned)l.nummer, SLEUTELS[i].sleutel);
            return false;
        }
        if (!Getal(v, SLEUTELS[i].grootste, waarden[i])) {
            Fout(fout, foutLengte, "line %u: %s must be a number from 0 to %llu", (unsigned)l.nummer,
                 SLEUTELS[i].sleutel, (unsigned long long)SLEUTELS[i].grootste);
            return false;
        }
    }
    if (waarden[0] != REGELS_VERSIE) {
        Fout(fout, foutLengte, "it was recorded under rules %llu; this game plays rules %u",
             (unsigned long long)waarden[0], (unsigned)REGELS_VERSIE);
        return false;
    }
    if (waarden[3] < 1) {
        Fout(fout, foutLengte, "line %u: difficulty must be 1, 2 or 3", (unsigned)(l.nummer - 2));
        return false;
    }
    o.start.levelNummer = (uint32_t)waarden[1];
    o.start.mode = ModeSettings((GameModeEn)waarden[2]);
    o.start.diff = (int32_t)waarden[3];
    o.start.zaad = (uint32_t)waarden[4];
    o.computerZaad = (uint32_t)waarden[5];

    for (uint32_t r = 0; r < RIJEN; r++) {
        if (!VolgendeRegel(l) || !(v = Waarde(l.regel, "row")) || std::strlen(v) != KOLOMMEN ||
            std::strspn(v, "M-ST") != KOLOMMEN) {
            if (!Kort(l, fout, foutLengte))
                Fout(fout, foutLengte, "line %u should be row %u of the level: 40 cells of M, -, S and T",
                     (unsigned)l.nummer, (unsigned)r + 1);
            return false;
        }
        std::memcpy(o.start.level.rijen[r], v, KOLOMMEN);
    }
    {
        BlokRec veld[RIJEN + 1][KOLOMMEN + 1];
        uint32_t grootte[3] = {0, 0, 0};
        RijEnKolomRec positie[3] = {};
        LegLevel(veld, o.start.level, grootte, positie);
        if (const char *waarom = WaaromNietSpeelbaar(o.start.mode, grootte, positie)) {
            Fout(fout, foutLengte, "its level cannot be played: %s", waarom);
            return false;
        }
    }

    uint64_t stappen, s1, s2;
    if (!VolgendeRegel(l) || !(v = Waarde(l.regel, "steps")) || !Getal(v, 0xFFFFFFFFFFull, stappen)) {
        if (!Kort(l, fout, foutLengte))
            Fout(fout, foutLengte, "line %u should say \"steps\" and a number", (unsigned)l.nummer);
        return false;
    }
    if (stappen > MAX_OPNAME_STAPPEN) {
        Fout(fout, foutLengte, "it says %llu steps, more than a replay holds (%u)", (unsigned long long)stappen,
             (unsigned)MAX_OPNAME_STAPPEN);
        return false;
    }
    o.stappen = (uint32_t)stappen;
    if (!VolgendeRegel(l) || !(v = Waarde(l.regel, "ending")) ||
        (std::strcmp(v, "crashed") != 0 && std::strcmp(v, "left") != 0)) {
        if (!Kort(l, fout, foutLengte))
            Fout(fout, foutLengte, "line %u should say \"ending crashed\" or \"ending left\"", (unsigned)l.nummer);
        return false;
    }
    o.einde = std::strcmp(v, "crashed") == 0 ? EINDE_GECRASHT : EINDE_VERLATEN;
    if (!VolgendeRegel(l) || !(v = Waarde(l.regel, "score1")) || !Getal(v, 0x7FFFFFFF, s1) || !VolgendeRegel(l) ||
        !(v = Waarde(l.regel, "score2")) || !Getal(v, 0x7FFFFFFF, s2)) {
        if (!Kort(l, fout, foutLengte))
            Fout(fout, foutLengte, "line %u should give a score from 0 to 2147483647", (unsigned)l.nummer);
        return false;
    }
    o.punten[0] = 0;
    o.punten[1] = (int32_t)s1;
    o.punten[2] = (int32_t)s2;
    if (!VolgendeRegel(l) || !(v = Waarde(l.regel, "hash")) || !Hex(v, o.hash)) {
        if (!Kort(l, fout, foutLengte))
            Fout(fout, foutLengte, "line %u should say \"hash\" and 16 hex digits", (unsigned)l.nummer);
        return false;
    }
    o.controles = 0;
    uint32_t verwacht = o.stappen / CONTROLE_STAPPEN;
    for (;;) {
        if (!VolgendeRegel(l)) {
            Kort(l, fout, foutLengte);
            return false;
        }
        if (std::strcmp(l.regel, "input") == 0) break;
        if (!(v = Waarde(l.regel, "check")) || o.controles >= verwacht || !Hex(v, o.controle[o.controles])) {
            Fout(fout, foutLengte, "line %u: expected %u check lines and then \"input\"", (unsigned)l.nummer,
                 (unsigned)verwacht);
            return false;
        }
        o.controles++;
    }
    if (o.controles != verwacht) {
        Fout(fout, foutLengte, "it has %u check lines where %u steps need %u", (unsigned)o.controles,
             (unsigned)o.stappen, (unsigned)verwacht);
        return false;
    }

    // The steps.
    uint32_t s = 0;
    bool vast[3] = {false, false, false};
    PijlEn vastRichting[3] = {LINKS, LINKS, LINKS};
    for (;;) {
        if (!VolgendeRegel(l)) {
            Fout(fout, foutLengte, l.te_lang ? "line %u is too long" : "it ends after %u of its steps (cut short?)",
                 (unsigned)(l.te_lang ? l.nummer : s));
            return false;
        }
        if (std::strcmp(l.regel, "end") == 0) break;
        char *woord = l.regel;
        while (*woord) {
            while (*woord == ' ' || *woord == '\t') woord++;
            if (!*woord) break;
            char *eind = woord + std::strcspn(woord, " \t");
            char bewaar = *eind;
            *eind = 0;
            if (s >= o.stappen) {
                Fout(fout, foutLengte, "line %u: more steps than the %u it says", (unsigned)l.nummer,
                     (unsigned)o.stappen);
                return false;
            }
            // A count of quiet steps, and then perhaps the letters of one step more.
            char *c = woord;
            if (*c >= '0' && *c <= '9') {
                char *na = c + std::strspn(c, "0123456789");
                char letter = *na;
                *na = 0;
                uint64_t rij;
                bool telt = Getal(c, o.stappen - s, rij) && rij > 0;
                *na = letter;
                if (!telt) {
                    Fout(fout, foutLengte, "line %u: \"%.20s\" is no count of steps within the %u it says",
                         (unsigned)l.nummer, woord, (unsigned)o.stappen);
                    return false;
                }
                InvoerRec in{};
                for (uint32_t p = 1; p <= MAX_SPELERS; p++) {
                    in.vast[p] = vast[p];
                    in.vastRichting[p] = vast[p] ? vastRichting[p] : LINKS;
                }
                uint32_t w = PakInvoer(in, false);
                for (uint64_t i = 0; i < rij; i++) o.invoer[s++] = w;
                c = na;
                if (*c && s >= o.stappen) {
                    Fout(fout, foutLengte, "line %u: more steps than the %u it says", (unsigned)l.nummer,
                         (unsigned)o.stappen);
                    return false;
                }
            }
            if (*c) {
                InvoerRec in{};
                bool pauze = false;
                bool goed = true;
                if (*c == 'P') {
                    pauze = true;
                    c++;
                }
                for (uint32_t p = 1; p <= MAX_SPELERS && goed; p++) {
                    char teken = p == 1 ? 'H' : 'h';
                    if (*c != teken) continue;
                    char r = p == 1 ? c[1]
                                    : (char)(c[1] >= 'a' && c[1] <= 'z' ? c[1] - ('a' - 'A')
                                             : c[1] == '-'              ? '-'
                                                                        : 0);
                    char d;
                    if (r == '-') {
                        vast[p] = false;
                    } else if (IsLetter(r, d)) {
                        vast[p] = true;
                        vastRichting[p] = (PijlEn)d;
                    } else {
                        goed = false;
                        break;
                    }
                    c += 2;
                }
                for (uint32_t p = 1; p <= MAX_SPELERS; p++) {
                    in.vast[p] = vast[p];
                    in.vastRichting[p] = vast[p] ? vastRichting[p] : LINKS;
                }
                for (; *c && goed; c++) {
                    uint32_t p = (*c >= 'a' && *c <= 'z') ? 2 : 1;
                    char d;
                    if (!IsLetter(p == 1 ? *c : (char)(*c - ('a' - 'A')), d)) {
                        goed = false;
                        break;
                    }
                    BeurtenRec &b = in.beurten[p];
                    if (b.aantal >= 2) {
                        Fout(fout, foutLengte, "line %u: step %u has more turns than a step takes (two)",
                             (unsigned)l.nummer, (unsigned)s + 1);
                        return false;
                    }
                    b.beurt[b.aantal++] = (PijlEn)d;
                }
                if (!goed) {
                    Fout(fout, foutLengte, "line %u: \"%.20s\" is no step", (unsigned)l.nummer, woord);
                    return false;
                }
                o.invoer[s++] = PakInvoer(in, pauze);
            }
            *eind = bewaar;
            woord = eind;
        }
    }
    if (s != o.stappen) {
        Fout(fout, foutLengte, "it holds %u steps where it says %u", (unsigned)s, (unsigned)o.stappen);
        return false;
    }
    while (VolgendeRegel(l)) {
        if (l.regel[0] != 0) {
            Fout(fout, foutLengte, "line %u: nothing may follow \"end\"", (unsigned)l.nummer);
            return false;
        }
    }
    o.vol = false;
    return true;
}

// ---- verifying -----------------------------------------------------------------------------------------

bool ControleerOpname(const OpnameRec &o, ToestandRec &t, char *fout, size_t foutLengte) {
    const char *waarom = nullptr;
    if (!BeginSpel(t, o.start, nullptr, &waarom)) {
        Fout(fout, foutLengte, "its level cannot be played: %s", waarom ? waarom : "?");
        return false;
    }
    bool verder = true;
    GameEndRec einde{};
    uint32_t klopt = 0;  // the last step whose check matched
    for (uint32_t s = 0; s < o.stappen && s < MAX_OPNAME_STAPPEN; s++) {
        InvoerRec in;
        bool pauze;
        if (!PakUit(o.invoer[s], in, pauze)) {
            Fout(fout, foutLengte, "step %u holds no input a game can make", (unsigned)s + 1);
            return false;
        }
        if (!verder) {
            Fout(fout, foutLengte, "the game ends at step %u, but the replay goes on to step %u", (unsigned)s,
                 (unsigned)o.stappen);
            return false;
        }
        verder = Stap(t, in, einde, nullptr);
        uint32_t n = s + 1;
        if (n % CONTROLE_STAPPEN == 0 && n / CONTROLE_STAPPEN <= o.controles) {
            if (ToestandHash(t) != o.controle[n / CONTROLE_STAPPEN - 1]) {
                Fout(fout, foutLengte, "the game first differs between step %u and step %u", (unsigned)klopt + 1,
                     (unsigned)n);
                return false;
            }
            klopt = n;
        }
    }
    if (o.einde == EINDE_GECRASHT && verder) {
        Fout(fout, foutLengte, "the game has not ended after its %u steps, as recorded", (unsigned)o.stappen);
        return false;
    }
    // The points the file says the game kept must be the game's.
    int32_t punten[3] = {0, t.Score[1], t.Score[2]};
    if (o.einde == EINDE_GECRASHT) EindPunten(t, einde, punten);
    for (uint32_t p = 1; p <= MAX_SPELERS; p++) {
        if (punten[p] != o.punten[p]) {
            Fout(fout, foutLengte, "it says player %u kept %d points, but the game gives %d", (unsigned)p,
                 (int)o.punten[p], (int)punten[p]);
            return false;
        }
    }
    if (ToestandHash(t) != o.hash) {
        Fout(fout, foutLengte, "the game first differs between step %u and step %u", (unsigned)klopt + 1,
             (unsigned)o.stappen);
        return false;
    }
    return true;
}

}  // namespace SnakeProcedures
