// Kwibbel: the program's start and the main menu, from which every other screen is reached and to which
// every screen returns.
#include "main/Kwibbel.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/Game.h"
#include "music/Music.h"
#include "network/Network.h"
#include "support/StandardLib.h"
#include "support/StandardMenu.h"
#include "wimdows/Wimdows.h"

namespace Kwibbel {

using namespace SnakeProcedures;

// ---- internal -----------------------------------------------------------------------------------------

// The main menu's choices, in button order.
enum HoofdMenuKeuze { PLAY = 0, OPTIONS = 1, LEVELMAKER = 2, HIGHSCORE = 3, HELP = 4, QUIT = 5 };

// The help picture until the next key; a key typed before it opened, or held from before, does not close it.
static void HelpScreen(uint32_t help) {
    Wimdows::FlushKeys();
    Wimdows::DrawBitmap(help, 0, 0);
    Wimdows::UpdateWindow();
    Wimdows::GetFreshKey();
}

// The level editor under its own music; the menu music starts again from its beginning afterwards.
static void LevelEditor() {
    Music::StopSound(Songs.menu);
    Music::PlaySound(Songs.lvlmaker, true);
    LevelMaker();
    Music::StopSound(Songs.lvlmaker);
    if (!Wimdows::WindowClosed()) Music::PlaySound(Songs.menu, true);
}

// ---- exported -----------------------------------------------------------------------------------------

void StartModules() {
    Wimdows::InitWimdows();
    StandardLib::InitStandardLib();
    StandardMenu::InitStandardMenu();
    InitSnakeProcedures();
}

void SetDefaults() {
    Diff = 2;
    SetGameMode(MODE_ONE_PLAYER);
}

void StartMenu() {
    Wimdows::SetBuffering(true);
    if (!Wimdows::WindowClosed()) Music::PlaySound(Songs.menu, true);
    bool quit = false;
    // Back from a screen that only shows something (help, highscores), the keyboard's light stays on its button.
    int32_t lit = -1;
    while (!quit && !Wimdows::WindowClosed()) {
        StandardMenu::ButtonRc HoofdMenuButton[6];
        LaadHoofdMenu(HoofdMenuButton);
        const uint32_t background = Wimdows::LoadBitmap("bitmap/backgroundmenu.bmp", 800, 680);
        const uint32_t help = Wimdows::LoadBitmap("bitmap/helptext.bmp", 800, 680);
        Wimdows::DrawBitmap(background, 0, 0);
        Wimdows::UpdateWindow();
        const int32_t choice = StandardMenu::MenuSelection(HoofdMenuButton, 6, -1, lit);
        if (Wimdows::WindowClosed()) break;
        lit = choice == HIGHSCORE || choice == HELP ? choice : -1;
        switch (choice) {
        case PLAY:
            Music::PlaySound(Songs.click, false);
            Slots();
            break;
        case OPTIONS:
            Music::PlaySound(Songs.click, false);
            Options();
            break;
        case LEVELMAKER:
            Music::PlaySound(Songs.click, false);
            LevelEditor();
            break;
        case HIGHSCORE:
            Music::PlaySound(Songs.click, false);
            LeesHighscore();
            break;
        case HELP:
            Music::PlaySound(Songs.click, false);
            HelpScreen(help);
            break;
        case QUIT: quit = true; break;
        default:
            std::fputs("error! wrong button number!\n", stdout);
            std::fflush(stdout);
            break;
        }
    }
    // Closing the window ends the run the way the quit button does.
    Quit();
    Music::StopMusic();
}

static void Usage(std::FILE *to) {
    std::fprintf(to, "Usage: kwibbel [--help | --version | --replay FILE | --verify FILE | --host [PORT] | --join "
                     "ADDRESS[:PORT]]\n");
}

// A network game the command line asked for: the host's screen (on port) or the joiner's (to address).
static struct {
    bool host, join;
    uint16_t port;
    std::string address;
} CommandLineGame;

// A port number of the command line (1..65535); 0 for anything else.
static uint16_t PortArgument(const char *text) {
    char *end = nullptr;
    unsigned long port = std::strtoul(text, &end, 10);
    return *text >= '0' && *text <= '9' && *end == 0 && port >= 1 && port <= 65535 ? (uint16_t)port : 0;
}

// The exit status of an answer on stdout: 0 when it reached it, 1 (and a line on stderr) when the write failed.
static int Answered() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    std::fprintf(stderr, "kwibbel: cannot write to the standard output.\n");
    return 1;
}

int Main(int argc, char **argv) {
    if (argc > 1) {
        const std::string arg = argv[1];
        if (argc == 3 && arg == "--verify") return VerifyReplay(argv[2]);
        if (argc == 3 && arg == "--replay") {
            // Read before the play folder becomes the working folder, so a relative name means what it says.
            char why[200];
            if (!LaadReplay(argv[2], why, sizeof why)) return 2;
            if (!PreparePlayFolder()) return 1;
            return Run(true);
        }
        if (arg == "--host" && (argc == 2 || (argc == 3 && PortArgument(argv[2]) != 0))) {
            CommandLineGame.host = true;
            CommandLineGame.port = argc == 3 ? PortArgument(argv[2]) : Network::DEFAULT_PORT;
            if (!PreparePlayFolder()) return 1;
            return Run();
        }
        if (argc == 3 && arg == "--join" && argv[2][0] != 0) {
            CommandLineGame.join = true;
            CommandLineGame.address = argv[2];
            if (!PreparePlayFolder()) return 1;
            return Run();
        }
        if (argc == 2 && (arg == "--help" || arg == "-h")) {
            const std::string folder = PlayFolderPath().empty() ? "~/.local/share/kwibbel" : PlayFolderPath();
            std::printf("Kwibbel %s: a snake game for one or two players at one keyboard.\n", KWIBBEL_VERSION);
            Usage(stdout);
            std::printf("Player 1 steers with the arrow keys, player 2 with W, A, S and D (both can be changed under\n"
                        "Options, Controls), or each with a gamepad; P pauses, Escape leaves a game. The menus take\n"
                        "the mouse, or the arrow keys, Enter and Escape. F11 switches fullscreen, F2 the music and\n"
                        "F3 the sound effects.\n"
                        "Highscores, keys and the custom level are kept in %s/savefiles, the replays of the\n"
                        "last game and of every highscore in %s/replays.\n"
                        "  --replay FILE  watch a replay (1-4 the pace, P pause, Right one step, Escape leaves)\n"
                        "  --verify FILE  play a replay with no window: exit 0 when it ends as recorded, 1 when\n"
                        "                 it differs, 2 when the file cannot be read\n"
                        "  --host [PORT]  host a game over the network (snake against snake on the first level)\n"
                        "                 on UDP port PORT, %u if not given\n"
                        "  --join ADDRESS[:PORT]  join the game a host offers at ADDRESS (a name or numbers)\n",
                        folder.c_str(), folder.c_str(), (unsigned)Network::DEFAULT_PORT);
            return Answered();
        }
        if (argc == 2 && arg == "--version") {
            std::printf("Kwibbel %s\n", KWIBBEL_VERSION);
            return Answered();
        }
        std::fprintf(stderr, "kwibbel: unexpected argument '%s'\n", argc == 2 ? argv[1] : argv[2]);
        Usage(stderr);
        return 2;
    }
    if (!PreparePlayFolder()) return 1;
    return Run();
}

int Run(bool replay) {
    StartModules();
    SetDefaults();
    LoadSettings();
    Wimdows::Window("Kwibbel", Layout::SCREEN_WIDTH, Layout::SCREEN_HEIGHT);
    if (Wimdows::State() != Wimdows::STATE_ACTIVE) return 1;
    // The pads stand for the players' keys from the first menu on.
    BesturingRec keys[3];
    LeesBesturing(keys);
    Load();
    if (replay) {
        KijkGeladen();
        Quit();
        Music::StopMusic();
    } else {
        // A network game the command line asked for comes first; then the menu, as after every game.
        if (CommandLineGame.host || CommandLineGame.join) {
            Wimdows::SetBuffering(true);
            PlayOverTheNetwork(CommandLineGame.host, MODE_SNAKE_VS_SNAKE, 0, CommandLineGame.address.c_str(),
                               CommandLineGame.port);
        }
        StartMenu();
    }
    SaveSettings();
    Wimdows::KillWindow();
    return 0;
}

}  // namespace Kwibbel
