// StandardMenu: picture buttons in vertical columns, and a menu that polls for a click on one of them.
//
// The one pending click is written by the left-release handler on the window thread and tested and
// consumed by the main thread; both sides take `clickLock`, so a click is consumed whole or left whole.
#include "support/StandardMenu.h"

#include <cstring>
#include <mutex>

#include "wimdows/Wimdows.h"

namespace StandardMenu {

// ---- state --------------------------------------------------------------------------------------------

// The menus' one pending click: absent at start, replaced by every newer release, consumed by the button
// that contains it, dropped when a menu shows its buttons.
static struct {
    std::mutex lock;
    bool present;
    ClickRc click;
    bool secondHalf;  // the release to come ends the second press of a double click
    bool shownSince;  // a menu has shown its buttons since the last release
} pending;

// The keyboard's highlight. A menu left with the keyboard hands it on, so the next menu starts with its first
// button highlighted; the mouse takes over again as soon as it moves.
static struct {
    bool active;
    int32_t mouseX, mouseY;  // where the pointer was when the keyboard took over
} keyboard;

static bool started;

// A menu's pause between two passes, in milliseconds.
static const uint32_t MENU_POLL_MS = 25;

// ---- internal -----------------------------------------------------------------------------------------

// The left-release handler: runs on the window thread with the release position. The second half of a
// double click whose first half was released before the running menu showed belongs to that first click,
// made on an earlier screen: it is no choice in this menu.
static void RegisterLeftClick(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> hold(pending.lock);
    bool stray = pending.secondHalf && pending.shownSince;
    pending.secondHalf = false;
    pending.shownSince = false;
    if (stray) return;
    pending.present = true;
    pending.click.x = x;
    pending.click.y = y;
}

// The double-click handler: runs on the window thread when the second press of a double click comes.
static void RegisterLeftDouble(int32_t, int32_t) {
    std::lock_guard<std::mutex> hold(pending.lock);
    pending.secondHalf = true;
}

// Registered on every use: closing a window drops the handlers, and the next window needs them again.
static void Listen() {
    Wimdows::OnMouseLeftUp(RegisterLeftClick);
    Wimdows::OnMouseLeftDouble(RegisterLeftDouble);
}

// ---- exported -----------------------------------------------------------------------------------------

void InitStandardMenu() {
    if (started) return;
    started = true;
    Wimdows::InitWimdows();
    std::lock_guard<std::mutex> hold(pending.lock);
    pending.present = false;
}

BitmapName MakeBitmapName(const char *file) {
    BitmapName result;
    std::memset(result.name, 0, sizeof result.name);
    if (file != nullptr) std::strncpy(result.name, file, sizeof result.name - 1);
    return result;
}

ButtonRc CreateButtonX(int32_t w, int32_t h, ButtonType flags, ButtonStrings bitmaps) {
    ButtonRc button;
    std::memset(&button, 0, sizeof button);
    // Negative sizes would wrap into huge unsigned ones; such a button is empty instead.
    if (w < 0) w = 0;
    if (h < 0) h = 0;
    const uint32_t uw = static_cast<uint32_t>(w), uh = static_cast<uint32_t>(h);
    // Load order: normal, normal mask, mouse-over, mouse-over mask.
    button.bitmap[0] = Wimdows::LoadBitmap(bitmaps.normal.name, uw, uh);
    if (flags.withMask) button.mask[0] = Wimdows::LoadBitmap(bitmaps.normalMask.name, uw, uh);
    if (flags.withMouseOver) {
        button.bitmap[1] = Wimdows::LoadBitmap(bitmaps.mouseOver.name, uw, uh);
        if (flags.withMask) {
            if (bitmaps.mouseOverMask.name[0] == '=')
                button.mask[1] = button.mask[0];
            else
                button.mask[1] = Wimdows::LoadBitmap(bitmaps.mouseOverMask.name, uw, uh);
        }
    }
    button.width = w;
    button.height = h;
    button.type = flags;
    button.visible = true;
    return button;
}

ButtonRc CreateButton(int32_t w, int32_t h, BitmapName normal, BitmapName mouseOver) {
    ButtonType flags;
    flags.withMouseOver = true;
    flags.withMask = false;
    ButtonStrings names;
    names.normal = normal;
    names.mouseOver = mouseOver;
    names.normalMask = MakeBitmapName(" ");
    names.mouseOverMask = MakeBitmapName(" ");
    return CreateButtonX(w, h, flags, names);
}

void SetVerticalMenu(int32_t x0, int32_t y0, int32_t yGap, ButtonRc *buttons, int n) {
    if (buttons == nullptr || n < 1) return;
    buttons[0].x0 = x0;
    buttons[0].y0 = y0;
    for (int k = 1; k < n; k++) {
        buttons[k].x0 = buttons[k - 1].x0;
        buttons[k].y0 = buttons[k - 1].y0 + yGap;
    }
}

bool InButton(const ButtonRc &button, int32_t x, int32_t y) {
    // 64-bit sums: a button near the top of the 32-bit range must not wrap round.
    const int64_t right = int64_t(button.x0) + button.width;
    const int64_t bottom = int64_t(button.y0) + button.height;
    return button.x0 < x && x < right && button.y0 < y && y < bottom;
}

// Draws the button, with its mouse-over picture when `lit`.
static void DrawButtonAs(const ButtonRc &button, bool lit) {
    if (!button.visible) return;
    const int over = (button.type.withMouseOver && lit) ? 1 : 0;
    if (button.type.withMask)
        Wimdows::DrawMaskBitmap(button.bitmap[over], button.mask[over], button.x0, button.y0);
    else
        Wimdows::DrawBitmap(button.bitmap[over], button.x0, button.y0);
}

// The next visible button from `from` in steps of `step` (1 or -1), round the menu; -1 when none is visible.
static int NextVisible(const ButtonRc *menu, int n, int from, int step) {
    for (int i = 1; i <= n; i++) {
        int k = ((from + step * i) % n + n) % n;
        if (menu[k].visible) return k;
    }
    return -1;
}

// Takes the menu keys typed since the last pass: the highlight moves, Enter picks it, Escape picks `back`.
// The picked button's index, or -1.
static int32_t KeyboardChoice(const ButtonRc *menu, int n, int32_t back, int &highlight) {
    for (Wimdows::KeyCode key = Wimdows::PollFreshKey(); key != 0; key = Wimdows::PollFreshKey()) {
        Wimdows::MenuKey what = Wimdows::MenuKeyOf(key);
        if (what == Wimdows::MENU_NONE) continue;
        if (!keyboard.active) {
            keyboard.active = true;
            Wimdows::MousePos(keyboard.mouseX, keyboard.mouseY);
            highlight = -1;
        }
        switch (what) {
        case Wimdows::MENU_UP:
        case Wimdows::MENU_LEFT: highlight = NextVisible(menu, n, highlight < 0 ? 0 : highlight, -1); break;
        case Wimdows::MENU_DOWN:
        case Wimdows::MENU_RIGHT: highlight = NextVisible(menu, n, highlight, 1); break;
        case Wimdows::MENU_PICK:
            if (highlight >= 0) return highlight;
            highlight = NextVisible(menu, n, -1, 1);
            break;
        default:
            if (back >= 0 && back < n && menu[back].visible) return back;
            break;
        }
    }
    return -1;
}

void DrawButton(const ButtonRc &button) {
    int32_t x = 0, y = 0;
    Wimdows::MousePos(x, y);
    DrawButtonAs(button, InButton(button, x, y));
}

bool ButtonSelected(const ButtonRc &button) {
    if (!button.visible) return false;
    Listen();
    std::lock_guard<std::mutex> hold(pending.lock);
    if (pending.present && InButton(button, pending.click.x, pending.click.y)) {
        pending.present = false;
        return true;
    }
    return false;
}

int32_t MenuSelection(ButtonRc *menu, int n, int32_t back, int32_t start) {
    if (menu == nullptr || n < 1) return -1;
    // A menu picked with the keyboard leads to one with its start (or first) button highlighted.
    int highlight = -1;
    if (keyboard.active)
        highlight = start >= 0 && start < n && menu[start].visible ? start : NextVisible(menu, n, -1, 1);
    // Only clicks released and keys pressed once the buttons are on the screen count: one made before (on
    // an earlier screen, or the second click of a double click that chose this menu) picks nothing here.
    Listen();
    Wimdows::UpdateWindow();
    for (int k = 0; k < n; k++) {
        if (keyboard.active)
            DrawButtonAs(menu[k], k == highlight);
        else
            DrawButton(menu[k]);
    }
    Wimdows::UpdateWindow();
    Wimdows::FlushKeys();
    {
        std::lock_guard<std::mutex> hold(pending.lock);
        pending.present = false;
        pending.shownSince = true;
    }
    for (;;) {
        // A closed window sends no more clicks: the caller returns up instead of waiting for ever.
        if (Wimdows::WindowClosed()) return -1;
        int32_t x = 0, y = 0;
        Wimdows::MousePos(x, y);
        if (keyboard.active && (x != keyboard.mouseX || y != keyboard.mouseY)) keyboard.active = false;
        int32_t picked = KeyboardChoice(menu, n, back, highlight);
        if (picked >= 0) return Wimdows::WindowClosed() ? -1 : picked;
        Wimdows::UpdateWindow();
        for (int k = 0; k < n; k++) {
            DrawButtonAs(menu[k], keyboard.active ? k == highlight : InButton(menu[k], x, y));
            if (ButtonSelected(menu[k])) {
                keyboard.active = false;
                return Wimdows::WindowClosed() ? -1 : k;
            }
        }
        Wimdows::Wait(MENU_POLL_MS);
    }
}

}  // namespace StandardMenu
