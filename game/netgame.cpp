// A game over the network: the same loop as every game, with this machine's player on its player-1 keys,
// each step's input exchanged with the other machine (the step waits until both are there), a pause that
// either player asks for held on both, and the reason shown when the other player left or the connection
// broke. The host's and the joiner's screens lead up to it.
#include <ifaddrs.h>
#include <netinet/in.h>

#include <arpa/inet.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "network/Network.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

Network::Session *NetwerkSessie;
uint32_t GastSpeler;
const LevelRec *LevelVanBuiten;

// After this long without the other's input a sign says why the game stands still.
static const uint32_t WACHT_TEKEN_MS = 300;
static const uint32_t PAUZE_WACHTTIJD = 1000;
// Why the last network game ended, when it was not this player's doing or a crash ("" else).
static std::string Einde;
// The last step whose input carries this player's pause, so a held P asks once.
static uint32_t PauzeGevraagdTot;
static bool PauzeGevraagd;
// Whether the window had the focus at the last step: losing it asks for a pause once (the other player
// may go on meanwhile).
static bool HadFocus;
// Escape was typed: this player's words ask to end the game, which ends on both before the same step.
static bool Verlaten;

// The network screens: a picture with a panel, the lines in it, and where.
static const char *const NET_BACKGROUND = "bitmap/networkscreen.bmp";
static const int32_t LINE_Y0 = 150, LINE_STEP = 36;
static const uint32_t LINE_WIDTH = 660;
static const char *const MOEILIJKHEID[4] = {"", "easy", "medium", "hard"};
static const uint32_t HEAD_COLOUR = 0x3CC9FF, INK = 0xFFF2EE, MUTED = 0xC8B8A8, WARN = 0x6A7AFF;

// ---- internal --------------------------------------------------------------------------------------------

static uint32_t NowMs() {
    using namespace std::chrono;
    return (uint32_t)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// This player's part of a step's input as a word (its player's nine bits, from bit 0).
static uint16_t EigenWoord(const InvoerRec &invoer, uint32_t speler) {
    return (uint16_t)((PakInvoer(invoer, false) >> (9 * (speler - 1))) & 0x1FFu);
}

// The pause before the next step: both stand still until either presses P anew (at the earliest a second
// after it began); a sign says whose pause it is. Turns typed meanwhile are dropped (this step's input is
// already both players'). FALSE when the game is to be left.
static bool NetwerkPauze(bool eigen) {
    Network::Session *s = NetwerkSessie;
    uint32_t stap = Network::NextStep(s);
    Wimdows::FlushKeys();
    ShowSign(eigen ? "Paused: press P to go on" : "The other player paused: P goes on");
    uint32_t begin = NowMs();
    for (;;) {
        if (Network::Service(s, 10) != Network::PLAYING) {
            Einde = Network::Problem(s);
            return false;
        }
        if (Network::GoCame(s, stap)) break;
        Wimdows::Wait(10);
        if (Wimdows::WindowClosed()) return false;
        // As in a game at one keyboard, the keys count from a second after the pause began.
        if (NowMs() - begin < PAUZE_WACHTTIJD) continue;
        uint32_t xKey = Wimdows::PollFreshKey();
        if (xKey == Wimdows::KEY_ESCAPE) return false;
        if (xKey == Wimdows::KEY_P) {
            Network::SendGo(s, stap);
            break;
        }
    }
    Wimdows::RestoreArea();
    Wimdows::UpdateWindow();
    return true;
}

// Text cut at spaces into lines of at most `breedte` pixels in font `stijl`.
static std::vector<std::string> Afgebroken(const std::string &tekst, uint32_t stijl, uint32_t breedte) {
    std::vector<std::string> lijnen(1);
    size_t begin = 0;
    while (begin <= tekst.size()) {
        size_t eind = tekst.find(' ', begin);
        std::string woord = tekst.substr(begin, eind == std::string::npos ? std::string::npos : eind - begin);
        std::string proef = lijnen.back().empty() ? woord : lijnen.back() + " " + woord;
        uint32_t w = 0, h = 0;
        Wimdows::GetTextSize(proef.c_str(), stijl, w, h);
        if (w > breedte && !lijnen.back().empty())
            lijnen.push_back(woord);
        else
            lijnen.back() = proef;
        if (eind == std::string::npos) break;
        begin = eind + 1;
    }
    return lijnen;
}

// The network screen: heading kop, lines regels[0..n-1] (the first brighter, the last in red when it
// says what went wrong; a long one goes on on the next line), the footer voet.
static void NetScherm(const char *kop, const std::string regels[], uint32_t n, const char *voet,
                      bool laatsteFout = false) {
    Wimdows::ClearScreen();
    Wimdows::DrawBitmap(Wimdows::LoadBitmap(NET_BACKGROUND, 800, 680), 0, 0);
    CentredText(kop, 1, HEAD_COLOUR, LINE_Y0);
    int32_t y = LINE_Y0 + 60;
    for (uint32_t i = 0; i < n; i++)
        for (const std::string &lijn : Afgebroken(regels[i], 0, LINE_WIDTH)) {
            CentredText(lijn.c_str(), 0, i == 0 ? INK : laatsteFout && i + 1 == n ? WARN : MUTED, y);
            y += LINE_STEP;
        }
    if (voet) CentredText(voet, 0, MUTED, 560);
    Wimdows::UpdateWindow();
}

// What ended a network game or kept it from starting, until a key is pressed anew.
static void Bericht(const char *kop, const std::string &regel) {
    Wimdows::FlushKeys();
    const std::string regels[1] = {regel};
    NetScherm(kop, regels, 1, "Press any key to go back to the menu.");
    Wimdows::GetFreshKey();
}

// The game of session s from its start, as both machines play it; back at the end (or when it ended).
static void SpeelNetwerkSpel(Network::Session *s) {
    const Network::StartRec &st = Network::Start(s);
    if (st.mode != MODE_SNAKE_VS_SNAKE && st.mode != MODE_SNAKE_VS_KNURF) {
        Bericht("The network game ended", "The host offers a game mode this machine does not play over the network.");
        return;
    }
    LevelRec level;
    std::memcpy(level.rijen, st.level, sizeof level.rijen);
    // The mode, difficulty and seeds are the host's; this machine's own settings come back afterwards.
    GameModeEn eigenMode = GameMode();
    int32_t eigenDiff = Diff;
    uint32_t eigenZaad = SpelZaad, eigenComputerZaad = ComputerZaad;
    SetGameMode((GameModeEn)st.mode);
    Diff = st.diff;
    SpelZaad = st.seed;
    // No computer plays, but the replay keeps its seed: the same on both, so both files are the same.
    ComputerZaad = st.seed;
    LevelVanBuiten = &level;
    NetwerkSessie = s;
    GastSpeler = 3 - Network::OwnPlayer(s);
    PauzeGevraagd = false;
    HadFocus = Wimdows::HasFocus();
    Verlaten = false;
    Einde.clear();

    uint32_t keuze = st.levelNumber;
    StartGame(keuze);

    NetwerkSessie = nullptr;
    GastSpeler = 0;
    LevelVanBuiten = nullptr;
    SetGameMode(eigenMode);
    Diff = eigenDiff;
    SpelZaad = eigenZaad;
    ComputerZaad = eigenComputerZaad;
    if (!Einde.empty()) {
        std::printf("\nNetwork game: %s\n", Einde.c_str());
        std::fflush(stdout);
    }
    if (!Einde.empty() && !Wimdows::WindowClosed()) Bericht("The network game ended", Einde);
}

// This machine's addresses as a player would type them (IPv4, the loopback last).
static std::string Adressen() {
    std::string lijst, lus;
    ifaddrs *alle = nullptr;
    if (getifaddrs(&alle) != 0) return "";
    for (ifaddrs *a = alle; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
        char tekst[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &((sockaddr_in *)a->ifa_addr)->sin_addr, tekst, sizeof tekst);
        std::string &doel = std::strncmp(tekst, "127.", 4) == 0 ? lus : lijst;
        if (lijst.size() + lus.size() < 200) doel += (doel.empty() ? "" : ", ") + std::string(tekst);
    }
    freeifaddrs(alle);
    return lijst.empty() ? lus : lijst + ", " + lus;
}

// The start of a network game on level levelchoice in mode, with the difficulty chosen and a new seed, and
// the pace it begins at; FALSE with reden when the level cannot be played in that mode.
static bool NetwerkStart(uint32_t levelchoice, GameModeEn mode, Network::StartRec &start, uint32_t &wachttijd,
                         std::string &reden) {
    static ToestandRec proef;
    static SpelStartRec ss;
    ss = SpelStartRec{};
    uint32_t grootte[3] = {0, 0, 0};
    RijEnKolomRec positie[3] = {};
    ReadLevel(levelchoice, grootte, positie, &ss.level);
    ss.levelNummer = levelchoice;
    ss.mode = ModeSettings(mode);
    ss.diff = Diff;
    uint64_t klok = (uint64_t)std::chrono::steady_clock::now().time_since_epoch().count();
    ss.zaad = (uint32_t)(klok ^ (klok >> 32)) | 1u;
    const char *waarom = nullptr;
    if (!BeginSpel(proef, ss, nullptr, &waarom)) {
        reden = std::string("It cannot be played: ") + (waarom ? waarom : "no start") + ".";
        return false;
    }
    std::memcpy(start.level, ss.level.rijen, sizeof start.level);
    start.levelNumber = (uint8_t)levelchoice;
    start.mode = (uint8_t)mode;
    start.diff = (uint8_t)Diff;
    start.seed = ss.zaad;
    wachttijd = (uint32_t)proef.DelaySnake;
    return true;
}

// ---- the loop's part ---------------------------------------------------------------------------------------

void NetwerkBesturing(BesturingRec besturing[3]) {
    uint32_t p = Network::OwnPlayer(NetwerkSessie);
    BesturingRec eigen = besturing[1];
    besturing[1] = besturing[2] = BesturingRec{};
    besturing[p] = eigen;
}

bool NetwerkStap(const ToestandRec &t, InvoerRec &invoer, uint32_t getypt, bool &gepauzeerd) {
    Network::Session *s = NetwerkSessie;
    // The step before this one has run: its state's hash goes to the other machine.
    if (t.teller > Network::NextStep(s)) Network::StepDone(s, ToestandHash(t));
    if (Wimdows::WindowClosed()) return false;
    Verlaten = Verlaten || (getypt & 2u) || Wimdows::KeyDown(Wimdows::KEY_ESCAPE);
    // P typed or held, or the window lost the focus: a pause on both, at the step this input is for.
    uint32_t stap = Network::NextStep(s);
    bool focus = Wimdows::HasFocus();
    bool vraag = (getypt & 1u) || Wimdows::KeyDown(Wimdows::KEY_P) || (HadFocus && !focus);
    HadFocus = focus;
    if (PauzeGevraagd && stap > PauzeGevraagdTot) PauzeGevraagd = false;
    vraag = vraag && !PauzeGevraagd;
    if (vraag) {
        PauzeGevraagd = true;
        PauzeGevraagdTot = stap + Network::Start(s).delay;
    }
    uint32_t p = Network::OwnPlayer(s);
    Network::PutWord(s, (uint16_t)(EigenWoord(invoer, p) | (vraag ? Network::WORD_PAUSE : 0) |
                                   (Verlaten ? Network::WORD_LEAVE : 0)));

    uint16_t woorden[3];
    uint32_t begin = NowMs();
    bool teken = false;
    while (!Network::StepReady(s, woorden)) {
        if (Network::Service(s, 10) != Network::PLAYING) {
            Einde = Network::Problem(s);
            break;
        }
        if (!teken && NowMs() - begin >= WACHT_TEKEN_MS) {
            ShowSign("Waiting for the other player");
            teken = true;
        }
        Wimdows::Wait(0);
        // Escape while the other machine keeps silent leaves at once.
        if (Wimdows::WindowClosed() || (teken && Wimdows::KeyDown(Wimdows::KEY_ESCAPE))) break;
    }
    if (teken) {
        Wimdows::RestoreArea();
        Wimdows::UpdateWindow();
    }
    if (!Network::StepReady(s, woorden)) return false;
    if ((woorden[1] | woorden[2]) & Network::WORD_LEAVE) {
        if (!(woorden[p] & Network::WORD_LEAVE)) Einde = "The other player left.";
        return false;
    }
    uint32_t woord = (woorden[1] & 0x1FFu) | (uint32_t)(woorden[2] & 0x1FFu) << 9;
    bool pauze = ((woorden[1] | woorden[2]) & Network::WORD_PAUSE) != 0;
    bool eigenPauze = (woorden[p] & Network::WORD_PAUSE) != 0;
    bool geenPauze;
    if (!PakUit(woord, invoer, geenPauze)) invoer = InvoerRec{};
    if (pauze) {
        gepauzeerd = true;
        if (!NetwerkPauze(eigenPauze)) return false;
    }
    return true;
}

// The host's screen: the game offered on port `port` until a player comes (then the game) or Escape.
static void HostGame(uint16_t port, GameModeEn mode, uint32_t levelchoice) {
    // The level is read now: a custom level travels as it is at this moment.
    Network::StartRec start{};
    uint32_t wachttijd = 0;
    std::string probleem;
    if (!NetwerkStart(levelchoice, mode, start, wachttijd, probleem)) {
        Bericht("This level can't be played over the network", probleem);
        return;
    }
    Network::Session *s = Network::Host(port, Network::OwnVersions(REGELS_VERSIE), probleem);
    if (!s) {
        Bericht("No game can be hosted", probleem);
        return;
    }
    const std::string regels[4] = {"Waiting for a player on port " + std::to_string(port),
                                   "This machine: " + Adressen(),
                                   std::string("Game: ") + GameModeName(mode) + ", level " +
                                       std::to_string(levelchoice + 1) + ", " + MOEILIJKHEID[start.diff],
                                   "The other player joins with one of these addresses."};
    Wimdows::FlushKeys();
    NetScherm("Host a game", regels, 4, "Escape cancels.");
    for (;;) {
        Network::StatusEn st = Network::Service(s, 20);
        Wimdows::Wait(0);
        if (Wimdows::WindowClosed() || Wimdows::PollFreshKey() == Wimdows::KEY_ESCAPE) break;
        if (st == Network::READY) {
            start.delay = (uint8_t)Network::DelayFor(Network::RoundTrip(s), wachttijd);
            if (Network::SendStart(s, start)) SpeelNetwerkSpel(s);
            break;
        }
        if (st != Network::WAITING) {
            Bericht("The network game ended", Network::Problem(s));
            break;
        }
    }
    Network::Close(s);
}

// The character a key types into an address, or 0.
static char AdresTeken(uint32_t key) {
    if (key >= '0' && key <= '9') return (char)key;
    if (key >= 'A' && key <= 'Z') return (char)(key - 'A' + 'a');
    if (key >= 96 && key <= 105) return (char)('0' + key - 96);
    switch (key) {
    case 110:
    case 190: return '.';
    case 189: return '-';
    case 186: return ':';
    default: return 0;
    }
}

// The joiner's screen: an address typed (or given: connects at once), Enter connects; the game when the
// host answers, else a line that says why and the address to mend; Escape goes back.
static void JoinGame(std::string adres) {
    std::string regel;
    bool meteen = !adres.empty();
    for (;;) {
        if (!meteen) {
            const std::string regels[3] = {"The host's address, and :port when not " +
                                               std::to_string(Network::DEFAULT_PORT) + ":",
                                           adres + "_", regel};
            Wimdows::FlushKeys();
            NetScherm("Join a game", regels, 3, "Enter connects. Escape goes back.", true);
            uint32_t key = Wimdows::GetFreshKey();
            if (key == 0 || key == Wimdows::KEY_ESCAPE || Wimdows::WindowClosed()) return;
            if (key == Wimdows::KEY_BACKSPACE && !adres.empty()) adres.pop_back();
            char c = AdresTeken(key);
            if (c != 0 && adres.size() < 60) adres += c;
            if (key != Wimdows::KEY_ENTER || adres.empty()) continue;
        }
        meteen = false;
        std::string naam = adres;
        uint32_t port = Network::DEFAULT_PORT;
        size_t dubbelpunt = adres.rfind(':');
        if (dubbelpunt != std::string::npos) {
            naam = adres.substr(0, dubbelpunt);
            char *rest = nullptr;
            port = (uint32_t)std::strtoul(adres.c_str() + dubbelpunt + 1, &rest, 10);
            if (*rest != 0 || port == 0 || port > 65535) {
                regel = "The port after the colon is a number from 1 to 65535.";
                continue;
            }
        }
        std::string probleem;
        Network::Session *s =
            Network::Join(naam.c_str(), (uint16_t)port, Network::OwnVersions(REGELS_VERSIE), probleem);
        if (!s) {
            regel = probleem;
            continue;
        }
        const std::string regels[1] = {"Connecting to " + naam + " on port " + std::to_string(port) + "..."};
        NetScherm("Join a game", regels, 1, "Escape cancels.");
        Network::StatusEn st = Network::WAITING;
        while (st == Network::WAITING) {
            st = Network::Service(s, 20);
            Wimdows::Wait(0);
            if (Wimdows::WindowClosed() || Wimdows::PollFreshKey() == Wimdows::KEY_ESCAPE) break;
        }
        if (st == Network::PLAYING) {
            SpeelNetwerkSpel(s);
            Network::Close(s);
            return;
        }
        regel = st == Network::NO_ANSWER
                    ? "Nobody answered at " + naam + " on port " + std::to_string(port) + " within 5 seconds."
                    : Network::Problem(s);
        Network::Close(s);
        if (Wimdows::WindowClosed()) return;
    }
}

// ---- exported ----------------------------------------------------------------------------------------------

void PlayOverTheNetwork(bool host, GameModeEn mode, uint32_t level, const char *address, uint16_t port) {
    Music::StopSound(Songs.menu);
    if (host)
        HostGame(port, mode == MODE_SNAKE_VS_KNURF ? mode : MODE_SNAKE_VS_SNAKE, level < 5 ? level : 0);
    else
        JoinGame(address ? address : "");
    if (!Wimdows::WindowClosed()) Music::PlaySound(Songs.menu, true);
}

}  // namespace SnakeProcedures
