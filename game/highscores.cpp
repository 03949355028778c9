// The ten best scores in "savefiles/highscores.txt", best first, and the end of a crashed game: the end
// picture with the words of what happened and why and the points of each player, the scores merged into
// the file, and the table with this game's scores highlighted (rows that keep a replay can be watched).
#include <cctype>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

static const char *const HIGHSCORE_FILE = "savefiles/highscores.txt";
static const uint32_t ENTRIES = 10;
// Scores are signed 32-bit; a hand-edited larger entry counts as the largest possible score.
static const uint32_t LARGEST_SCORE = 2147483647u;

// Each at least 4.5 times as bright as the black under the numbers (contrast ratio), as every text of the game.
static const uint32_t COLOUR_SHARED = 0xFFA86F;   // light blue: both players' equal score
static const uint32_t COLOUR_PLAYER1 = 0x5A6AFF;  // light red
static const uint32_t COLOUR_PLAYER2 = 0x00B000;  // green
static const uint32_t COLOUR_OTHER = 0xC0C0C0;    // light grey
// The mark before a row that keeps a replay, and the frame of the chosen row.
static const char *const PLAY_MARK = "\xE2\x96\xB6 replay";  // a right-pointing triangle
static const uint32_t REPLAY_MARK = 0xA0A0A0, REPLAY_CHOSEN = 0x3CC9FF, REPLAY_HINT = 0xC8B4A0;
// The table picture's row plates span these columns; the mark stands at the right of a row's dark box, the
// hint under the trophy.
static const int32_t ROW_LEFT = 100, ROW_RIGHT = 569, REPLAY_MARK_X = 470, REPLAY_HINT_X = 600, REPLAY_HINT_Y = 556;
static const char *const REPLAY_HINT_LINES[2] = {"\xE2\x86\x91 \xE2\x86\x93 choose a replay,", "Enter watches it."};
static const uint32_t KEY_R = 'R';
static const char *const REPLAY_HINT_END = "Press R to watch this game again";
static const uint32_t REPLAY_NOTE_GROUND = 0x301A12;
static const uint32_t END_WAIT = 4000;  // the end picture shows this long (ms)

// What the game-over screen can tell, besides the mode.
enum GameEndKindEn : uint8_t { END_SNAKE1, END_SNAKE2, END_BOTH, END_CAUGHT };

// The lettering of the headline: the player it is about, in the player's colour (0x00BBGGRR).
static const uint32_t WORDS_RED = 0x7A8AFF, WORDS_GREEN = 0x9AE38F, WORDS_AMBER = 0x3CC9FF, WORDS_LIME = 0x8EEB9C;
static const uint32_t WORDS_INK = 0xFFF2EE;
// Written in the empty band below the picture's art.
static const int32_t HEADLINE_Y = Layout::GAME_OVER_WORDS_TOP + 10;
static const int32_t LINE_Y[2] = {Layout::GAME_OVER_WORDS_TOP + 66, Layout::GAME_OVER_WORDS_TOP + 96};
static const int32_t POINTS_Y = Layout::GAME_OVER_WORDS_TOP + 130;

// Every end a mode can have, with what the screen then says; the first row of a mode stands in for an end
// the mode cannot have. In the lines, each %s is what happened to a crashed snake (see Cause): the snake
// the row is about, or in the rows of both snakes, the first and then the second.
static const struct {
    GameModeEn mode;
    GameEndKindEn end;
    const char *picture, *headline;
    uint32_t colour;
    const char *lines[2];
} END_WORDS[] = {
    {MODE_ONE_PLAYER, END_SNAKE1, "bitmap/gameover.bmp", "Player 1", WORDS_RED, {"Your snake %s.", ""}},
    {MODE_SNAKE_VS_SNAKE,
     END_SNAKE1,
     "bitmap/gameover.bmp",
     "Player 1",
     WORDS_RED,
     {"The red snake %s.", "That ends the game for both."}},
    {MODE_SNAKE_VS_SNAKE,
     END_SNAKE2,
     "bitmap/gameover2.bmp",
     "Player 2",
     WORDS_GREEN,
     {"The green snake %s.", "That ends the game for both."}},
    {MODE_SNAKE_VS_SNAKE,
     END_BOTH,
     "bitmap/gameoverboth.bmp",
     "Player 1 and player 2",
     WORDS_AMBER,
     {"Both snakes crashed in the same step:", "red %s, green %s."}},
    {MODE_SNAKE_VS_KNURF,
     END_SNAKE1,
     "bitmap/gameover.bmp",
     "Player 1",
     WORDS_RED,
     {"The red snake %s.", "Its points go to the knurf player."}},
    {MODE_SNAKE_VS_KNURF,
     END_CAUGHT,
     "bitmap/gameoverknurf.bmp",
     "Player 2",
     WORDS_LIME,
     {"The green knurf has caught the red snake!", "The snake's points stay with player 1."}},
    {MODE_SNAKE_VS_COMPUTER,
     END_SNAKE1,
     "bitmap/gameover.bmp",
     "Player 1",
     WORDS_RED,
     {"Your red snake %s: the computer wins.", "Only your score goes into the table."}},
    {MODE_SNAKE_VS_COMPUTER,
     END_SNAKE2,
     "bitmap/gameover2.bmp",
     "The computer",
     WORDS_GREEN,
     {"The computer's green snake %s: you win!", "Only your score goes into the table."}},
    {MODE_SNAKE_VS_COMPUTER,
     END_BOTH,
     "bitmap/gameoverboth.bmp",
     "Player 1 and the computer",
     WORDS_AMBER,
     {"Both snakes crashed in the same step:", "you %s, the computer %s."}},
};

// The points line of each mode: every player in play by name, the points the game keeps.
static const char *const POINTS_WORDS[MODE_COUNT] = {"Score: %d", "Player 1: %d     Player 2: %d",
                                                     "Player 1 (snake): %d     Player 2 (knurf): %d",
                                                     "You: %d     Computer: %d"};
static const uint32_t POINTS_COLOUR = 0x3CC9FF;  // amber

// ---- internal --------------------------------------------------------------------------------------------

// Reads the ten entries of the open highscore file into table[1..10].
static void ReadTable(SaveFile *file, uint32_t table[ENTRIES + 1]) {
    for (uint32_t i = 1; i <= ENTRIES; i++) {
        table[i] = RdCount(file, LARGEST_SCORE);
    }
}

// The scores of the game's players that may enter the table, in player order: every player's but the
// computer's and, over the network, the other machine's. Returns how many.
static uint32_t ScoresToEnter(const int32_t punten[3], int32_t scores[3]) {
    uint32_t players = AantalSpelers < 2 ? AantalSpelers : 2, n = 0;
    for (uint32_t p = 1; p <= players; p++)
        if (p != ComputerSpeler && p != GastSpeler) scores[++n] = punten[p];
    return n;
}

// Merges this game's scores into the file, which is rewritten from its first byte every time; FALSE (the
// file as it was) when it cannot be read or written. Another copy of the game saving at the same moment
// waits for this one, so that neither table loses the other's score.
static bool SaveScore(const int32_t punten[3]) {
    uint32_t highscores[ENTRIES + 1];
    int lock = LockPlayFolder();
    SaveFile *file = TryOpen(HIGHSCORE_FILE, true);
    if (!file) {
        UnlockPlayFolder(lock);
        return false;
    }
    ReadTable(file, highscores);
    int32_t scores[3] = {0, 0, 0};
    EnterScores(highscores, scores, ScoresToEnter(punten, scores));
    Flush(file);
    for (uint32_t i = 1; i <= ENTRIES; i++) {
        WrCard(file, highscores[i], 0);
        WrLn(file);
    }
    bool saved = TryClose(file);
    if (saved) BewaarRijOpnames(highscores, scores, ScoresToEnter(punten, scores));
    UnlockPlayFolder(lock);
    if (saved) {
        std::fputs("\nHighscore has been saved.", stdout);
        std::fflush(stdout);
    }
    return saved;
}

// The table: each row's number in its colour, a play mark before the rows that keep a replay, a frame
// round the chosen one (0: none).
static void DrawTable(const uint32_t table[ENTRIES + 1], const uint32_t colours[ENTRIES + 1],
                      const std::string replays[ENTRIES + 1], uint32_t chosen) {
    Wimdows::ClearScreen();
    Wimdows::DrawBitmap(Wimdows::LoadBitmap("bitmap/highscoretable.bmp", 800, 680), 0, 0);
    bool any = false;
    for (uint32_t i = 1; i <= ENTRIES; i++) {
        int32_t y = Layout::HighscoreY((int32_t)i);
        if (!replays[i].empty()) {
            any = true;
            Wimdows::SetFont(3, i == chosen ? REPLAY_CHOSEN : REPLAY_MARK);
            Wimdows::Text(PLAY_MARK, REPLAY_MARK_X, y + 10);
        }
        if (i == chosen) {
            // A frame round the row's plate.
            for (int32_t d = 0; d < 2; d++)
                Wimdows::Rectangle(ROW_LEFT + d, y - 6 + d, ROW_RIGHT - d, y + 38 - d, REPLAY_CHOSEN, false);
        }
        Wimdows::SetFont(1, colours[i]);
        Wimdows::TextInt((int32_t)table[i], Layout::HIGHSCORE_X, y);
    }
    if (any) {
        Wimdows::SetFont(3, REPLAY_HINT);
        for (int line = 0; line < 2; line++)
            Wimdows::Text(REPLAY_HINT_LINES[line], REPLAY_HINT_X, REPLAY_HINT_Y + 20 * line);
    }
    Wimdows::UpdateWindow();
}

// Says why replay file `file` cannot be played, until a key is pressed anew.
static void ReplayRefused(const char *file, const char *why) {
    char line[260];
    std::snprintf(line, sizeof line, "%s.", why);
    line[0] = (char)std::toupper((unsigned char)line[0]);
    Wimdows::FlushKeys();
    Wimdows::ClearScreen();
    CentredText("This replay cannot be played", 1, WORDS_AMBER, 230);
    CentredText(file, 0, WORDS_INK, 300);
    CentredText(line, 0, WORDS_INK, 340);
    CentredText("Press a key to go back to the table.", 0, WORDS_INK, 420);
    Wimdows::UpdateWindow();
    Wimdows::GetFreshKey();
}

// The next row after `from` (up or down, round) that keeps a replay; from itself when none other does.
static uint32_t NextReplayRow(const std::string replays[ENTRIES + 1], uint32_t from, bool down) {
    uint32_t row = from;
    for (uint32_t n = 0; n < ENTRIES; n++) {
        row = down ? (row >= ENTRIES ? 1 : row + 1) : (row <= 1 ? ENTRIES : row - 1);
        if (!replays[row].empty()) return row;
    }
    return from;
}

// The table with the rows of scores[1..2] highlighted (each set to -1 once shown) until a key is pressed
// anew; the failure screen instead when the file cannot be read. Rows that keep a replay are chosen with
// the arrows or the pointer and played with Enter or a click; any other key leaves.
static void ShowTable(int32_t scores[3]) {
    Wimdows::FlushKeys();
    // Looking at the table needs no write access to it.
    uint32_t table[ENTRIES + 1];
    SaveFile *file = TryOpen(HIGHSCORE_FILE, false);
    if (!file) {
        ShowSaveFailure();
        return;
    }
    ReadTable(file, table);
    Close(file);

    uint32_t colours[ENTRIES + 1];
    HighlightRows(table, scores, colours);
    std::string replays[ENTRIES + 1];
    RijOpnames(table, replays);
    bool any = false;
    for (uint32_t i = 1; i <= ENTRIES; i++) any = any || !replays[i].empty();
    uint32_t chosen = 0;
    DrawTable(table, colours, replays, chosen);
    if (!any) {
        // A key held from before (a direction held through the crash) repeats: only a new press closes it.
        Wimdows::GetFreshKey();
        return;
    }

    // The rows as places for the pointer; a click from an earlier screen is dropped first.
    StandardMenu::ButtonRc rows[ENTRIES + 1] = {};
    for (uint32_t i = 1; i <= ENTRIES; i++)
        rows[i] = StandardMenu::ButtonRc{Layout::HIGHSCORE_X - 50,
                                         Layout::HighscoreY((int32_t)i) - 8,
                                         310,
                                         Layout::HIGHSCORE_TEXT_HEIGHT + 14,
                                         true,
                                         {false, false},
                                         {0, 0},
                                         {0, 0}};
    StandardMenu::ButtonRc whole{0, 0, 800, 680, true, {false, false}, {0, 0}, {0, 0}};
    StandardMenu::ButtonSelected(whole);
    int32_t lastX = -1, lastY = -1;
    Wimdows::MousePos(lastX, lastY);
    for (;;) {
        // No key can come any more without a window.
        if (Wimdows::WindowClosed() || Wimdows::State() != Wimdows::STATE_ACTIVE) return;
        uint32_t play = 0, before = chosen;
        uint32_t key = Wimdows::PollFreshKey();
        if (key == Wimdows::KEY_UP || key == Wimdows::KEY_DOWN)
            chosen =
                NextReplayRow(replays, chosen == 0 && key == Wimdows::KEY_UP ? 1 : chosen, key == Wimdows::KEY_DOWN);
        else if (key == Wimdows::KEY_ENTER && chosen != 0)
            play = chosen;
        else if (key != 0)
            return;
        int32_t x, y;
        Wimdows::MousePos(x, y);
        for (uint32_t i = 1; i <= ENTRIES; i++) {
            if (replays[i].empty()) continue;
            if ((x != lastX || y != lastY) && StandardMenu::InButton(rows[i], x, y)) chosen = i;
            if (StandardMenu::ButtonSelected(rows[i])) play = i;
        }
        StandardMenu::ButtonSelected(whole);
        lastX = x;
        lastY = y;
        if (play != 0) {
            char why[200];
            Music::StopSound(Songs.menu);
            if (LaadReplay(replays[play].c_str(), why, sizeof why))
                KijkGeladen();
            else
                ReplayRefused(replays[play].c_str(), why);
            if (Wimdows::WindowClosed()) return;
            Music::PlaySound(Songs.menu, true);
            chosen = play;
            DrawTable(table, colours, replays, chosen);
            continue;
        }
        if (chosen != before) DrawTable(table, colours, replays, chosen);
        Wimdows::Wait(25);
    }
}

// What happened to a snake that could not move.
static const char *Cause(OorzaakEn oorzaak) {
    switch (oorzaak) {
    case OORZAAK_MUUR: return "hit a wall";
    case OORZAAK_EIGEN_LIJF: return "hit its own body";
    case OORZAAK_ANDERE_SLANG: return "hit the other snake";
    case OORZAAK_GIFTIG: return "ate a blue knurf";
    case OORZAAK_KNURFSPELER: return "hit the knurf";
    default: return "crashed";
    }
}

// The screen's words over its picture.
static void DrawWords(const GameOverWordsRec &words) {
    CentredText(words.headline, 1, words.colour, HEADLINE_Y);
    for (int i = 0; i < 2; i++)
        if (words.lines[i][0]) CentredText(words.lines[i], 0, WORDS_INK, LINE_Y[i]);
    CentredText(words.points, 0, POINTS_COLOUR, POINTS_Y);
}

// The end picture and its words, and the game-over sound.
static void ShowEnd(GameModeEn mode, const GameEndRec &end, const int32_t punten[3]) {
    GameOverWordsRec words = GameOverWords(mode, end, punten);
    Wimdows::ClearScreen();
    Wimdows::DrawBitmap(Wimdows::LoadBitmap(words.picture, 800, 680), 0, 0);
    DrawWords(words);
    Wimdows::UpdateWindow();
    Music::PlaySound(Songs.gameover, false);
}

// Under the end's words: how to watch the game again.
static void ShowReplayHint() {
    CentredText(REPLAY_HINT_END, 3, REPLAY_HINT, Layout::SCREEN_HEIGHT - 28);
    Wimdows::UpdateWindow();
}

// Waits ms, or until R is pressed (TRUE); other keys are dropped, as the table that follows would drop
// them. After a few presses of other keys the rest of the time is simply waited.
static bool WaitForR(uint32_t ms) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
    Wimdows::FlushKeys();
    for (int presses = 0; presses <= 8; presses++) {
        for (uint32_t key = Wimdows::PollKey(); key != 0; key = Wimdows::PollKey())
            if (key == KEY_R) return true;
        int64_t left =
            presses == 0 ? ms : std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return false;
        if (presses == 8)
            Wimdows::Wait((uint32_t)left);
        else if (!Wimdows::WaitForPress((uint32_t)left))
            return false;
    }
    return false;
}

// ---- exported ----------------------------------------------------------------------------------------------

GameOverWordsRec GameOverWords(GameModeEn mode, const GameEndRec &end, const int32_t punten[3]) {
    GameEndKindEn kind = END_SNAKE1;
    if (end.caught)
        kind = END_CAUGHT;
    else if (end.crashed[1] && end.crashed[2])
        kind = END_BOTH;
    else if (end.crashed[2])
        kind = END_SNAKE2;
    const auto *found = &END_WORDS[0];
    for (const auto &row : END_WORDS) {
        if (row.mode != mode) continue;
        if (found->mode != mode || row.end == kind) found = &row;
        if (row.end == kind) break;
    }
    GameOverWordsRec words{found->picture, found->headline, found->colour, {}, {}};
    // The snake a row is about first: snake 2 in the rows of snake 2's crash.
    const char *first = Cause(end.oorzaak[kind == END_SNAKE2 ? 2 : 1]), *second = Cause(end.oorzaak[2]);
    for (int i = 0; i < 2; i++) std::snprintf(words.lines[i], sizeof words.lines[i], found->lines[i], first, second);
    std::snprintf(words.points, sizeof words.points, POINTS_WORDS[found->mode], punten[1], punten[2]);
    return words;
}

void EnterScores(uint32_t table[11], const int32_t scores[3], uint32_t players) {
    for (uint32_t j = 1; j <= players && j <= 2; j++) {
        int64_t score = scores[j];
        for (uint32_t i = 1; i <= ENTRIES; i++) {
            if ((int64_t)table[i] <= score) {
                for (uint32_t k = ENTRIES; k > i; k--) table[k] = table[k - 1];
                table[i] = (uint32_t)score;
                break;
            }
        }
    }
}

void HighlightRows(const uint32_t table[11], int32_t scores[3], uint32_t colours[11]) {
    uint32_t shared = 0;
    for (uint32_t i = 1; i <= ENTRIES; i++) {
        int64_t s = table[i];
        if (scores[1] == s && scores[2] == s && shared < 2) {
            colours[i] = COLOUR_SHARED;
            shared++;
            if (shared == 2) {
                scores[1] = -1;
                scores[2] = -1;
            }
        } else if (scores[1] == s) {
            colours[i] = COLOUR_PLAYER1;
            scores[1] = -1;
        } else if (scores[2] == s) {
            colours[i] = COLOUR_PLAYER2;
            scores[2] = -1;
        } else {
            colours[i] = COLOUR_OTHER;
        }
    }
}

void LeesHighscore(const int32_t nieuw[3]) {
    int32_t gezocht[3] = {0, nieuw ? nieuw[1] : -1, nieuw ? nieuw[2] : -1};
    ShowTable(gezocht);
}

void GameOverScreen(GameModeEn mode, const GameEndRec &end, const int32_t punten[3]) {
    ShowEnd(mode, end, punten);
    // Over the picture's line about the table: a replay saves nothing.
    const int32_t top = Layout::SCREEN_HEIGHT - 82, bottom = top + 36;
    Wimdows::Rectangle(190, top, 610, bottom, REPLAY_NOTE_GROUND, true);
    Wimdows::Rectangle(190, top, 610, bottom, REPLAY_CHOSEN, false);
    CentredText("A replay: no score goes into the table", 3, REPLAY_HINT, top + 9);
    Wimdows::UpdateWindow();
    Wimdows::FlushKeys();
    Wimdows::WaitForPress(END_WAIT);
    Wimdows::FlushKeys();
}

void GameOver(const GameEndRec &end, const int32_t punten[3]) {
    Music::StopSound(Songs.game);
    Wimdows::ClearScreen();
    Wimdows::UpdateWindow();
    ShowEnd(GameMode(), end, punten);
    ShowReplayHint();
    // The game is over even when the window was closed: its scores are kept whatever comes next.
    bool saved = SaveScore(punten);
    if (Wimdows::WindowClosed()) return;
    // R, while the end is shown, watches the game again.
    if (WaitForR(END_WAIT) && KijkLaatste() && !Wimdows::WindowClosed()) {
        ShowEnd(GameMode(), end, punten);
        ShowReplayHint();
    }
    if (Wimdows::WindowClosed()) return;
    if (!saved) {
        ShowSaveFailure();
        return;
    }
    // The computer's score is not in the table, so no row is highlighted for it.
    int32_t nieuw[3] = {0, punten[1], punten[2]};
    if (ComputerSpeler >= 1 && ComputerSpeler <= 2) nieuw[ComputerSpeler] = -1;
    if (GastSpeler >= 1 && GastSpeler <= 2) nieuw[GastSpeler] = -1;
    Wimdows::ClearScreen();
    LeesHighscore(nieuw);
}

}  // namespace SnakeProcedures
