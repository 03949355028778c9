// Wimdows: the game's one window, served by a thread of its own, with keyboard and mouse input and an
// off-screen back buffer that every drawing call paints into.
//
// Thread rules: every procedure is called on the main thread unless its line says otherwise; the window
// thread only turns platform events into input state and shows finished pictures.
// Game units: every position and size here is in the units of the size Window was given (800 by 680 for
// the game), whatever the window's real size: the layer shows the picture as large as the window allows,
// centred on black bars, and maps pointer positions back into these units (positions on the bars lie
// outside the picture). Only the layer knows the window's size, the scale and the back buffer's factor.
// Errors: no procedure throws. A picture handle is 1..n in the order of successful loads and 0 means
// "no picture"; drawing 0, a handle out of range or anything while no window is active does nothing.
// Colours are 0x00BBGGRR (red in the low byte); the top byte is ignored.
// Key codes are the Win32 virtual-key numbers (letters 65..90, digits 48..57, Enter 13, Escape 27,
// Space 32, arrows 37..40 ...); the controls file stores them.
// Closing: when the player closes the window, GetKey returns 0, Wait returns at once and
// WindowClosed() turns TRUE, so every screen can return to its caller instead of waiting for ever.
#pragma once

#include <cstdint>

namespace Wimdows {

enum WinState : uint8_t { STATE_DEAD = 0, STATE_ACTIVE = 1, STATE_ERROR = 2 };

// The layer's numbers, each a plain 32-bit value: a loaded picture (1..n, 0 none), a colour (0x00BBGGRR),
// a key (a Win32 virtual-key code, 0..255).
typedef uint32_t PictureHandle;
typedef uint32_t Colour;
typedef uint32_t KeyCode;

// ---- the keys the game names ------------------------------------------------------------------------

const KeyCode KEY_BACKSPACE = 8, KEY_ENTER = 13, KEY_ESCAPE = 27, KEY_SPACE = 32;
const KeyCode KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40;  // player 1's keys as shipped
const KeyCode KEY_D = 68, KEY_M = 77, KEY_P = 80;
const KeyCode KEY_F2 = 113, KEY_F3 = 114, KEY_F11 = 122;
// A pad button that stands for no key of the game's; only a press-any-key screen takes it.
const KeyCode KEY_PAD_BUTTON = 7;
// Keys the game keeps for itself, never steering keys: P pauses a game and Escape leaves it; F11 (and
// Alt+Enter) switches between the window and fullscreen, F2 turns the music and F3 the sound effects on
// and off, at any moment: those three are the window layer's and never reach the key table or the queue.
const KeyCode RESERVED_KEYS[] = {KEY_P, KEY_ESCAPE, KEY_F11, KEY_F2, KEY_F3};
// TRUE for a key of RESERVED_KEYS.
bool IsReservedKey(KeyCode key);
// What a key does in a menu: the arrows (and a pad's d-pad, whatever keys it stands for) move the highlight,
// Enter picks, Escape goes back.
enum MenuKey : uint8_t { MENU_NONE, MENU_UP, MENU_DOWN, MENU_LEFT, MENU_RIGHT, MENU_PICK, MENU_BACK };
MenuKey MenuKeyOf(KeyCode key);
// TRUE for a code that a key of the keyboard gives (the table of the layer's key codes).
bool IsKey(KeyCode key);
// The name a player knows a key by ("A", "Left arrow", "Keypad 4"), into name (size bytes, NUL-ended);
// "key " and its number for a code no key has.
void KeyName(KeyCode key, char *name, uint32_t size);

// ---- gamepads ------------------------------------------------------------------------------------------
//
// A pad reaches the game only as keys: pads 1 and 2 (the first two connected; they may come and go at any
// time) stand for the four keys SetPadKeys gives them, held and typed by the d-pad and the left stick; Start
// is P, Back is Escape, A is Enter, B is Escape (or, while PadBIsEscape(FALSE), a key of no meaning), any
// other button KEY_PAD_BUTTON.

const uint32_t MAX_PADS = 2;
// Pad `pad` (1..MAX_PADS) stands for these direction keys from now on; any thread.
void SetPadKeys(uint32_t pad, KeyCode right, KeyCode left, KeyCode up, KeyCode down);
// Whether a pad's B button is Escape (TRUE at start; a game turns it off, so B cannot leave it).
void PadBIsEscape(bool escape);
// TRUE when the key last taken from the queue (GetKey, GetFreshKey, PollKey, PollFreshKey) came from a pad.
bool KeyCameFromPad();

// A procedure that receives a pointer position in game units.
typedef void (*MouseProc)(int32_t x, int32_t y);
// A procedure that stands in for a wait of `ms` milliseconds (tests).
typedef void (*WaitProc)(uint32_t ms);

// Where the window stands on the desktop, in the desktop's pixels: its client area's size out of
// fullscreen, the top-left of its frame out of fullscreen where the platform tells it (positioned), and
// fullscreen.
struct Placement {
    int32_t x, y;
    uint32_t width, height;
    bool positioned;
    bool fullscreen;
};

// What the player asked of the program with the window's own keys and frame, as bits of a request word.
const uint32_t REQUEST_MUSIC = 1;      // F2: music on or off
const uint32_t REQUEST_EFFECTS = 2;    // F3: sound effects on or off
const uint32_t REQUEST_PLACEMENT = 4;  // moved, resized or switched to or from fullscreen (at most every 0.5 s)
// A procedure that handles requests (bits of REQUEST_*).
typedef void (*RequestProc)(uint32_t requests);

// ---- window and input ----------------------------------------------------------------------------

// Module start-up: prepares the keyboard state; a second call does nothing.
void InitWimdows();
// Opens the window with caption `title` for a game of x by y units, resizable, with a client area of x by y
// pixels unless SetPlacement asked for another; returns once it is usable or has failed (then State() is
// STATE_DEAD and a line was written to the console). Closes an open one first.
void Window(const char *title, uint32_t x, uint32_t y);
// Before Window: the placement the next window opens with (used once). A width or height of 0 asks for the
// largest scale at which the game fits in about 85 % of the display's usable area (a whole number from 2
// on, never below 1); a position off every display is left to the platform.
void SetPlacement(const Placement &p);
// The window's placement as last seen (after it closed: as it was then); any thread.
Placement GetPlacement();
// Installs the procedure that handles the player's requests (null: they wait). It runs on the main thread
// inside Wait, GetKey and GetFreshKey whenever requests are pending, so in every screen's waiting.
void OnRequests(RequestProc proc);
// Closes the window, if any; returns when the window thread has freed everything.
void KillWindow();
// The window's state as the handshake sees it.
WinState State();
// TRUE while key k (0..255) is held; FALSE for k above 255.
bool KeyDown(KeyCode k);
// Removes and returns the oldest queued key press; waits for one. 0 when no window can send one any more.
KeyCode GetKey();
// As GetKey, but auto-repeats (presses of a key that was held already) are dropped: what it returns was
// pressed anew. With FlushKeys before it, a key held from an earlier screen cannot answer it.
KeyCode GetFreshKey();
// Removes and returns the oldest queued key press, or 0 at once when the queue is empty.
KeyCode PollKey();
// As PollKey, but auto-repeats are dropped: 0 at once when no press made anew is queued.
KeyCode PollFreshKey();
// Discards every queued key press; the held-key table stays as it is.
void FlushKeys();
// The last pointer position from a move in game units, each coordinate the unsigned 16-bit reading (so -1
// reads 65535); (0, 0) at first.
void MousePos(int32_t &x, int32_t &y);
// Installs the left-button-release handler (null removes it); it runs on the window thread.
void OnMouseLeftUp(MouseProc proc);
// Installs the handler of the second press of a double click (null removes it); window thread. That press
// is no ordinary press; its release still goes to the release handler.
void OnMouseLeftDouble(MouseProc proc);
// TRUE from the moment the player closed the window (title bar or window manager) for the rest of the run.
bool WindowClosed();
// TRUE while the window has the keyboard focus; TRUE when no window is open.
bool HasFocus();

// ---- drawing ---------------------------------------------------------------------------------------

// TRUE: drawing reaches the window only at UpdateWindow; FALSE: every call shows at once.
void SetBuffering(bool state);
// Shows the whole back buffer in the window.
void UpdateWindow();
// Paints the whole back buffer black.
void ClearScreen();
// A rectangle with inclusive corners (sorted), filled or as a one-pixel frame.
void Rectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Colour color, bool fill);
// Keeps a copy of a rectangle of the back buffer (inclusive corners, clipped), replacing any kept before.
void KeepArea(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// Paints the kept copy back where it came from and forgets it; nothing when none is kept.
void RestoreArea();
// Font number (0..5, others as 0) and colour for the following text.
void SetFont(uint32_t style, Colour color);
// Draws zero-terminated UTF-8 text with its top-left corner at (x, y), background transparent.
void Text(const char *text, int32_t x, int32_t y);
// Draws a signed number in decimal at (x, y).
void TextInt(int32_t number, int32_t x, int32_t y);
// The size in pixels of `text` in font number `style`; 0 by 0 while no window is active.
void GetTextSize(const char *text, uint32_t style, uint32_t &width, uint32_t &height);
// Writes nr in decimal into chp (at least 12 characters) with a terminating zero.
void Int2Char(char *chp, int32_t nr);
// The folder that relative picture file names are read from ("" or null: the working folder). Set it
// before the window opens: the window's icon comes from it too.
void SetDataFolder(const char *folder);
// The folder the running program's file lies in, ending in "/"; "" when the platform cannot tell.
const char *ProgramFolder();
// Loads a BMP file (or, when it is not there, the PNG of the same name) stretched to width by height; the
// handle, or 0 when the file cannot be loaded.
PictureHandle LoadBitmap(const char *file, uint32_t width, uint32_t height);
// A short note over the window's picture, shown at once and gone after ms milliseconds by itself, whatever
// the screen under it draws meanwhile (the back buffer never holds it): a box filled with `ground` and
// framed twice in `line`, and the text in font `style` and colour `letters` at (textX, textY). A newer
// note replaces it; a change of the buffer's factor ends it.
struct Note {
    int32_t x0, y0, x1, y1;
    Colour ground, line;
    const char *text;
    uint32_t style;
    Colour letters;
    int32_t textX, textY;
};
void ShowNote(const Note &note, uint32_t ms);
// Draws a loaded picture with its top-left corner at (x, y).
void DrawBitmap(PictureHandle bitmap, int32_t x, int32_t y);
// Draws `bitmap` through a black-and-white mask: white copies the picture, black keeps the buffer.
void DrawMaskBitmap(PictureHandle bitmap, PictureHandle maskbitmap, int32_t x, int32_t y);

// ---- waiting, inspection and simulated input (the game's pacing and the tests) ---------------------

// The one wait of the game: sleeps ms milliseconds without busy waiting; returns at once once the player
// closed the window; with a wait procedure installed, calls that instead of sleeping.
void Wait(uint32_t ms);
// As Wait, but ends early once a key pressed anew is queued (also one queued before the call; FlushKeys
// first to ignore those) or the left button is released; TRUE when that ended it. Leaves the queue as it is.
bool WaitForPress(uint32_t ms);
// Installs a procedure that every Wait calls instead of sleeping (null: real waits again).
void SetWaitProc(WaitProc proc);
// The back buffer's pixels per game unit: 2 while the window shows the game at 1.5 times its size or more
// (pictures from the set at twice the size, text at twice the pixel size), else 1; 1 with no window.
uint32_t BufferFactor();
// The colour 0x00BBGGRR of the back buffer at game unit (x, y) (the unit's top-left pixel); 0 outside the
// buffer or with no window.
Colour BufferPixel(int32_t x, int32_t y);
// The same for the picture the window shows now (before its scaling to the window's size).
Colour ScreenPixel(int32_t x, int32_t y);
// A hash of every pixel of the back buffer (tests compare pictures step by step); a fixed value with no
// window.
uint64_t BufferHash();
// Writes the picture the window shows now, at the back buffer's size (game units times BufferFactor, no
// bars), to a BMP file; FALSE when there is no window or the file fails.
bool SaveScreen(const char *file);
// Feed input exactly as the window thread does for a real key or button (any thread); positions are the
// window's pixels, mapped into game units like real ones.
void SimulateKeyDown(KeyCode k);
void SimulateKeyUp(KeyCode k);
void SimulateMouseMove(int32_t x, int32_t y);
void SimulateLeftUp(int32_t x, int32_t y);
void SimulateLeftDouble(int32_t x, int32_t y);
// Resizes the window's client area to w by h pixels as the player's dragging would; returns once the window
// thread has done it (any thread).
void SimulateResize(uint32_t w, uint32_t h);

}  // namespace Wimdows
