// The screen after a save file failed while the game ran: which file, what went wrong in a player's words,
// and that the file on disk is as it was; then the game goes back to the menu.
#include <cstdio>

#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

// The picture, and over its empty band the file, what went wrong and what that means for the file.
static const char *const FAILED_PICTURE = "bitmap/savefailed.bmp";
static const int32_t FAILED_LINE_Y[3] = {Layout::REFUSED_WORDS_TOP + 10, Layout::REFUSED_WORDS_TOP + 80,
                                         Layout::REFUSED_WORDS_TOP + 130};
static const uint32_t FAILED_AMBER = 0x3CC9FF, FAILED_INK = 0xFFF2EE;

// ---- exported ----------------------------------------------------------------------------------------------

void ShowSaveFailure() {
    if (Wimdows::WindowClosed()) return;
    SaveFailureRec failure = LastSaveFailure();
    char what[200];
    std::snprintf(what, sizeof what, "It could not be %s: %s.", failure.writing ? "saved" : "read", failure.problem);
    Wimdows::FlushKeys();
    Wimdows::ClearScreen();
    Wimdows::DrawBitmap(Wimdows::LoadBitmap(FAILED_PICTURE, 800, 680), 0, 0);
    CentredText(failure.file, 1, FAILED_AMBER, FAILED_LINE_Y[0]);
    CentredText(what, 0, FAILED_INK, FAILED_LINE_Y[1]);
    CentredText("The file on disk is as it was: nothing was half-written.", 0, FAILED_INK, FAILED_LINE_Y[2]);
    Wimdows::UpdateWindow();
    Wimdows::GetFreshKey();
}

}  // namespace SnakeProcedures
