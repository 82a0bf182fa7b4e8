// The script language of "run --script" and its player, one line per step
// from the Today window's script timer.
//
// Script lines ('#' starts a comment line):
//   down X Y | move X Y | up X Y | tap X Y   stylus messages to the item window,
//                                            at its client point (X, Y)
//   tap @CELL (and down, up, move)           the same at the centre of a toolbar
//                                            cell on this screen: @corner, @pen,
//                                            @pen-color, @pen-width, @eraser, ...
//                                            @save (item/item_layout.h's order)
//   wait MS                                  let the message loop run MS ms
//   shot FILE.png                            screenshot now
//   menu LABEL[>SUBLABEL...]                 choose an entry of the popup menu
//                                            that the previous stylus line opened
//   key VK                                   WM_KEYDOWN/WM_KEYUP to the item
//   poll                                     the Today screen's refresh query now
//   paint                                    the item window painted again now
//   mark NAME                                the user's operation NAME begins (the
//                                            device's cost table, host/operation_clock.h);
//                                            marks that open the script name the
//                                            item's start
//
// Other programs the item starts (its page editor) are reached by the title
// of one of their top-level windows, which becomes the target of the lines
// after it:
//   window TITLE                             wait (up to 10 s) for that window
//   wtap X Y                                 a tap at its client point (X, Y)
//   wtext ID TEXT                            set the text of its control ID
//                                            ("\n" in TEXT is a line break)
//   wcommand ID                              WM_COMMAND ID, as a button sends
//   gone                                     wait (up to 10 s) until it is closed
//
// The shell's navigation bar along the top of the screen:
//   ok                                       wait (up to 10 s) until the bar
//                                            shows its "ok" for the window in
//                                            front, and tap it
//
// The device itself:
//   rotate                                   turn the screen between portrait
//                                            and landscape; right after a
//                                            stylus line whose popup menu is
//                                            still open, it turns while the
//                                            popup shows (which closes it)
#include "script.h"
#include "host_basics.h"
#include "item/item_layout.h"
#include "operation_clock.h"
#include "navigation_bar.h"
#include "popup_menu_driver.h"
#include "text_and_paths.h"

#include <cstdio>
#include <cwchar>
#include <vector>

static const DWORD kMenuTimeoutMs = 5000;
static const DWORD kStepGuardMs = 5000;
// How long a stylus step followed by "rotate" shows its popup before the turn.
static const DWORD kTurnDuringStepMs = 400;

// A turn of the screen armed during a stylus step, and what came of it.
enum StepTurn { StepTurnNone, StepTurnArmed, StepTurnDone, StepTurnFailed };

enum ScriptCommand { CmdDown, CmdMove, CmdUp, CmdTap, CmdWait, CmdShot, CmdMenu, CmdKey,
                     CmdWindow, CmdWindowTap, CmdWindowText, CmdWindowCommand, CmdGone, CmdOk,
                     CmdPoll, CmdPaint, CmdMark, CmdRotate };

struct ScriptLine {
    int lineNo;
    ScriptCommand cmd;
    int x, y;                               // down, move, up, tap
    DWORD ms;                               // wait
    std::wstring path;                      // shot (resolved)
    std::vector<std::wstring> menuPath;     // menu
    UINT vk;                                // key
    std::wstring text;                      // window title, control text
    int id;                                 // wtext, wcommand
};

// The player's state: the script, where it is, and what its lines left
// for the lines after them.
struct ScriptPlayer {
    std::vector<ScriptLine> script;
    size_t pos;                             // the line the next step runs
    bool stepGuardFired;                    // a popup nobody chooses from was closed
    bool stylusDown;
    PopupMenuDriver *popupMenuDriver;       // the choice the next "menu" line waits for
    HWND target;                            // another program's window
    bool waiting;                           // a window/gone line is waiting
    DWORD waitStart;                        // since then
    double clockStart;                      // when the waiting line began, for the clock
    StepTurn stepTurn;                      // a "rotate" line run during a stylus step
};

static ScriptPlayer s_player;

// The "menu" line's choice is made by a driver thread that the stylus line
// before it starts, while the UI thread sits in the item's modal
// TrackPopupMenuEx.
static void StartPopupMenuDriver(const std::vector<std::wstring> &path)
{
    s_player.popupMenuDriver = new PopupMenuDriver(path, kMenuTimeoutMs);
}

void DropPopupMenuDriver()
{
    delete s_player.popupMenuDriver;
    s_player.popupMenuDriver = NULL;
}

// The toolbar cells by name, in the item's order of cells.
static const wchar_t *const kCellNames[ITEM_CELL_COUNT] = {
    L"corner", L"pen", L"pen-color", L"pen-width", L"eraser", L"eraser-color", L"eraser-width",
    L"stamp", L"stamp-color", L"shape", L"clear", L"text", L"image", L"save"};

// The centre of the cell NAME in graphics edit mode on this screen.
static bool CellCentre(const std::wstring &name, POINT *centre)
{
    for (int cell = 0; cell < ITEM_CELL_COUNT; cell++) {
        if (name != kCellNames[cell])
            continue;
        ItemLayoutInput in = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CXSCREEN), 0, 1, 0, 0};
        ItemLayout layout;
        LayOutItem(in, &layout);
        const LayoutRect &r = layout.cells[cell];
        centre->x = (r.left + r.right) / 2;
        centre->y = (r.top + r.bottom) / 2;
        return true;
    }
    return false;
}

bool LoadScript(const std::wstring &path, std::wstring *error)
{
    FILE *f = _wfopen(path.c_str(), L"rb");
    if (!f) {
        *error = L"cannot read script " + path;
        return false;
    }
    std::string raw;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) raw.append(buf, n);
    fclose(f);
    if (raw.size() >= 3 && (BYTE)raw[0] == 0xEF && (BYTE)raw[1] == 0xBB && (BYTE)raw[2] == 0xBF)
        raw.erase(0, 3);
    std::wstring text = FromUtf8(raw);

    size_t start = 0;
    int lineNo = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        lineNo++;
        if (line.empty() || line[0] == L'#') continue;

        size_t sp = line.find_first_of(L" \t");
        std::wstring cmd = line.substr(0, sp);
        std::wstring rest = sp == std::wstring::npos ? L"" : Trim(line.substr(sp));
        std::vector<std::wstring> args;
        for (size_t p = 0; p < rest.size();) {
            size_t q = rest.find_first_of(L" \t", p);
            if (q == std::wstring::npos) q = rest.size();
            if (q > p) args.push_back(rest.substr(p, q - p));
            p = q + 1;
        }

        ScriptLine sl;
        sl.lineNo = lineNo;
        sl.x = sl.y = 0;
        sl.ms = 0;
        sl.vk = 0;
        wchar_t where[32];
        swprintf(where, 32, L"script line %d: ", lineNo);
        long a = 0, b = 0;
        bool stylus = cmd == L"down" || cmd == L"move" || cmd == L"up" || cmd == L"tap";
        if (stylus && args.size() == 1 && args[0][0] == L'@') {
            POINT centre;
            if (!CellCentre(args[0].substr(1), &centre)) {
                *error = std::wstring(where) + L"no toolbar cell \"" + args[0] + L"\"";
                return false;
            }
            sl.cmd = cmd == L"down" ? CmdDown : cmd == L"move" ? CmdMove : cmd == L"up" ? CmdUp : CmdTap;
            sl.x = centre.x;
            sl.y = centre.y;
        } else if (stylus) {
            if (args.size() != 2 || !ParseInt(args[0], &a) || !ParseInt(args[1], &b)) {
                *error = std::wstring(where) + L"expected \"" + cmd + L" X Y\"";
                return false;
            }
            sl.cmd = cmd == L"down" ? CmdDown : cmd == L"move" ? CmdMove : cmd == L"up" ? CmdUp : CmdTap;
            sl.x = (int)a;
            sl.y = (int)b;
        } else if (cmd == L"wait") {
            if (args.size() != 1 || !ParseInt(args[0], &a) || a < 0) {
                *error = std::wstring(where) + L"expected \"wait MS\"";
                return false;
            }
            sl.cmd = CmdWait;
            sl.ms = (DWORD)a;
        } else if (cmd == L"shot") {
            if (rest.empty()) {
                *error = std::wstring(where) + L"expected \"shot FILE.png\"";
                return false;
            }
            sl.cmd = CmdShot;
            sl.path = ResolvePath(rest);
        } else if (cmd == L"menu") {
            sl.cmd = CmdMenu;
            for (size_t p = 0; p <= rest.size();) {
                size_t q = rest.find(L'>', p);
                if (q == std::wstring::npos) q = rest.size();
                sl.menuPath.push_back(Trim(rest.substr(p, q - p)));
                p = q + 1;
            }
            for (size_t i = 0; i < sl.menuPath.size(); i++) {
                if (sl.menuPath[i].empty()) {
                    *error = std::wstring(where) + L"expected \"menu LABEL[>SUBLABEL]\"";
                    return false;
                }
            }
            ScriptCommand last = s_player.script.empty() ? CmdWait : s_player.script.back().cmd;
            bool afterStylus = last == CmdDown || last == CmdMove || last == CmdUp || last == CmdTap ||
                               last == CmdKey;
            if (!afterStylus) {
                *error = std::wstring(where) + L"\"menu\" must follow the tap that opens the popup";
                return false;
            }
        } else if (cmd == L"window") {
            if (rest.empty()) {
                *error = std::wstring(where) + L"expected \"window TITLE\"";
                return false;
            }
            sl.cmd = CmdWindow;
            sl.text = rest;
        } else if (cmd == L"wtap") {
            if (args.size() != 2 || !ParseInt(args[0], &a) || !ParseInt(args[1], &b)) {
                *error = std::wstring(where) + L"expected \"wtap X Y\"";
                return false;
            }
            sl.cmd = CmdWindowTap;
            sl.x = (int)a;
            sl.y = (int)b;
        } else if (cmd == L"wtext" || cmd == L"wcommand") {
            if (args.empty() || !ParseInt(args[0], &a) || (cmd == L"wcommand" && args.size() != 1)) {
                *error = std::wstring(where) + L"expected \"" + cmd + (cmd == L"wtext" ? L" ID TEXT\"" : L" ID\"");
                return false;
            }
            sl.cmd = cmd == L"wtext" ? CmdWindowText : CmdWindowCommand;
            sl.id = (int)a;
            size_t at = rest.find_first_of(L" \t");
            sl.text = at == std::wstring::npos ? L"" : Trim(rest.substr(at));
            for (size_t nl; (nl = sl.text.find(L"\\n")) != std::wstring::npos;)
                sl.text.replace(nl, 2, L"\r\n");     // "\n" in a script is a line break
        } else if (cmd == L"mark") {
            if (rest.empty()) {
                *error = std::wstring(where) + L"expected \"mark NAME\"";
                return false;
            }
            sl.cmd = CmdMark;
            sl.text = rest;
        } else if (cmd == L"poll" || cmd == L"paint") {
            sl.cmd = cmd == L"poll" ? CmdPoll : CmdPaint;
        } else if (cmd == L"gone" || cmd == L"ok") {
            if (!rest.empty()) {
                *error = std::wstring(where) + L"\"" + cmd + L"\" takes nothing after it";
                return false;
            }
            sl.cmd = cmd == L"gone" ? CmdGone : CmdOk;
        } else if (cmd == L"rotate") {
            if (!rest.empty()) {
                *error = std::wstring(where) + L"\"rotate\" takes nothing after it";
                return false;
            }
            sl.cmd = CmdRotate;
        } else if (cmd == L"key") {
            if (args.size() != 1 || !ParseInt(args[0], &a) || a <= 0 || a > 255) {
                *error = std::wstring(where) + L"expected \"key VK\" (a virtual-key number)";
                return false;
            }
            sl.cmd = CmdKey;
            sl.vk = (UINT)a;
        } else {
            *error = std::wstring(where) + L"unknown command \"" + cmd + L"\"";
            return false;
        }
        s_player.script.push_back(sl);
    }
    return true;
}

static void SendStylus(const ScriptHost &host, UINT msg, WPARAM keys, int x, int y)
{
    host.sendToItem(msg, keys, MAKELPARAM((WORD)(SHORT)x, (WORD)(SHORT)y));
}

// A step that waits for something to happen looks again every
// kLookAgainMs, for up to kWaitLimitMs from its first look.
static const DWORD kLookAgainMs = 50, kWaitLimitMs = 10000;
enum Wait { WaitDone, WaitAgain, WaitTimedOut };

static Wait Await(bool done)
{
    if (!s_player.waiting) {
        s_player.waiting = true;
        s_player.waitStart = GetTickCount();
        s_player.clockStart = ClockNow();
    }
    if (!done && GetTickCount() - s_player.waitStart < kWaitLimitMs)
        return WaitAgain;
    s_player.waiting = false;
    return done ? WaitDone : WaitTimedOut;
}

static void ScriptFailed(const ScriptHost &host, const ScriptLine &line, const std::wstring &what)
{
    ErrorOut(L"script line %d: %ls", line.lineNo, what.c_str());
    // What the screen showed when the line failed, for whoever looks into it.
    host.takeScreenshot(ResolvePath(L"script-failed.png"));
    host.finishRun(EXIT_SCRIPT_FAILED);
}

// A visible top-level window with this exact title (another program may
// own hidden windows of the same title). The navigation bar, which shows
// the title of the window in front, is not one of them.
struct TitleSearch {
    const wchar_t *title;
    HWND found;
};

static BOOL CALLBACK MatchVisibleTitle(HWND window, LPARAM param)
{
    TitleSearch *search = (TitleSearch *)param;
    wchar_t title[256];
    if (window != NavigationBarWindow() && IsWindowVisible(window) && GetWindowTextW(window, title, 256) &&
        !wcscmp(title, search->title)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

static HWND FindVisibleWindow(const std::wstring &title)
{
    TitleSearch search = {title.c_str(), nullptr};
    EnumWindows(MatchVisibleTitle, (LPARAM)&search);
    return search.found;
}

static void Mark(const ScriptLine &line)
{
    char name[256];
    int length = WideCharToMultiByte(CP_UTF8, 0, line.text.c_str(), (int)line.text.size(), name, sizeof name - 1,
                                     NULL, NULL);
    ClockMark(std::string(name, length > 0 ? length : 0));
}

void RunLeadingMarks()
{
    for (; s_player.pos < s_player.script.size() && s_player.script[s_player.pos].cmd == CmdMark; s_player.pos++)
        Mark(s_player.script[s_player.pos]);
}

bool ScriptAtEnd()
{
    return s_player.pos >= s_player.script.size();
}

void ScriptStepGuardFired()
{
    s_player.stepGuardFired = true;
}

void ScriptScreenTurnedDuringStep(bool turned)
{
    if (s_player.stepTurn == StepTurnArmed)
        s_player.stepTurn = turned ? StepTurnDone : StepTurnFailed;
}

DWORD RunScriptStep(const ScriptHost &host)
{
    if (s_player.pos >= s_player.script.size()) return kStepDone;
    const ScriptLine &line = s_player.script[s_player.pos];
    bool menuFollows = s_player.pos + 1 < s_player.script.size() && s_player.script[s_player.pos + 1].cmd == CmdMenu;
    bool turnFollows = s_player.pos + 1 < s_player.script.size() && s_player.script[s_player.pos + 1].cmd == CmdRotate;

    switch (line.cmd) {
    case CmdDown:
    case CmdUp:
    case CmdTap:
    case CmdMove:
    case CmdKey:
        // A popup that no "menu" line chooses from would hold the script
        // forever; the guard closes it and fails the line.
        if (menuFollows)
            StartPopupMenuDriver(s_player.script[s_player.pos + 1].menuPath);
        else
            host.startStepGuard(kStepGuardMs);
        s_player.stepGuardFired = false;
        // A popup the step opens stays open until the turn that follows.
        s_player.stepTurn = turnFollows ? StepTurnArmed : StepTurnNone;
        if (turnFollows)
            host.startTurnDuringStep(kTurnDuringStepMs);
        if (line.cmd == CmdDown || line.cmd == CmdTap) {
            s_player.stylusDown = true;
            SendStylus(host, WM_LBUTTONDOWN, MK_LBUTTON, line.x, line.y);
        }
        if (line.cmd == CmdMove)
            SendStylus(host, WM_MOUSEMOVE, s_player.stylusDown ? MK_LBUTTON : 0, line.x, line.y);
        if (line.cmd == CmdUp || line.cmd == CmdTap) {
            s_player.stylusDown = false;
            SendStylus(host, WM_LBUTTONUP, 0, line.x, line.y);
        }
        if (line.cmd == CmdKey) {
            host.sendToItem(WM_KEYDOWN, line.vk, 1);
            host.sendToItem(WM_KEYUP, line.vk, 0xC0000001);
        }
        host.stopStepGuard();
        if (turnFollows)
            host.stopTurnDuringStep();
        if (s_player.stepTurn == StepTurnFailed) {
            ScriptFailed(host, s_player.script[s_player.pos + 1], L"the screen did not turn");
            return kStepDone;
        }
        if (s_player.stepGuardFired) {
            ScriptFailed(host, line, L"a popup menu opened that no \"menu\" line chooses from");
            return kStepDone;
        }
        // The "rotate" after it ran while the step's popup showed.
        s_player.pos += s_player.stepTurn == StepTurnDone ? 2 : 1;
        s_player.stepTurn = StepTurnNone;
        return 0;

    case CmdWait:
        s_player.pos++;
        return line.ms;

    case CmdShot:
        if (!host.takeScreenshot(line.path)) {
            ScriptFailed(host, line, L"screenshot failed");
            return kStepDone;
        }
        s_player.pos++;
        return 0;

    case CmdWindow:
    case CmdGone: {
        HWND found = line.cmd == CmdWindow ? FindVisibleWindow(line.text) : s_player.target;
        Wait wait = Await(line.cmd == CmdWindow ? found != nullptr : !IsWindow(found));
        if (wait == WaitAgain)
            return kLookAgainMs;
        if (wait == WaitTimedOut) {
            ScriptFailed(host, line, line.cmd == CmdWindow ? L"no window \"" + line.text + L"\" appeared"
                                                     : L"the window was not closed");
            return kStepDone;
        }
        if (line.cmd == CmdWindow) {
            s_player.target = found;
            ClockUntilIdle(found, s_player.clockStart);
        } else {
            ClockAdd(ClockNow() - s_player.clockStart);
        }
        s_player.pos++;
        return 0;
    }

    case CmdPoll:
    case CmdPaint:
        if (line.cmd == CmdPoll)
            host.pollItem();
        else
            host.paintItem();
        s_player.pos++;
        return 0;

    case CmdMark:
        Mark(line);
        s_player.pos++;
        return 0;

    case CmdOk: {
        RefreshNavigationBar();
        POINT ok;
        Wait wait = Await(NavigationBarOkPoint(&ok));
        if (wait == WaitAgain)
            return kLookAgainMs;
        if (wait == WaitTimedOut) {
            ScriptFailed(host, line, L"the navigation bar shows no \"ok\" for the window in front");
            return kStepDone;
        }
        LPARAM at = MAKELPARAM(ok.x, ok.y);
        SendMessageW(NavigationBarWindow(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(NavigationBarWindow(), WM_LBUTTONUP, 0, at);
        s_player.pos++;
        return 0;
    }

    case CmdRotate: {
        double start = ClockNow();
        if (!host.turnScreen()) {
            ScriptFailed(host, line, L"the screen did not turn");
            return kStepDone;
        }
        // Another program's share: until it has laid itself out again.
        if (s_player.target && IsWindow(s_player.target))
            ClockUntilIdle(s_player.target, start);
        s_player.pos++;
        return 0;
    }

    case CmdWindowTap:
    case CmdWindowText:
    case CmdWindowCommand: {
        if (!s_player.target || !IsWindow(s_player.target)) {
            ScriptFailed(host, line, L"no window to act on: a \"window\" line must come first");
            return kStepDone;
        }
        double start = ClockNow();
        if (line.cmd == CmdWindowTap) {
            PostMessageW(s_player.target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(line.x, line.y));
            PostMessageW(s_player.target, WM_LBUTTONUP, 0, MAKELPARAM(line.x, line.y));
        } else if (line.cmd == CmdWindowText) {
            HWND control = GetDlgItem(s_player.target, line.id);
            if (!control || !SetWindowTextW(control, line.text.c_str())) {
                ScriptFailed(host, line, L"the window has no control with that id");
                return kStepDone;
            }
        } else {
            PostMessageW(s_player.target, WM_COMMAND, MAKEWPARAM(line.id, BN_CLICKED), 0);
        }
        ClockUntilIdle(s_player.target, start);
        s_player.pos++;
        return 0;
    }

    case CmdMenu: {
        if (!s_player.popupMenuDriver) {
            ScriptFailed(host, line, L"no menu choice was prepared");
            return kStepDone;
        }
        if (s_player.popupMenuDriver->Running()) return 20;    // still choosing; look again soon
        bool chosen = s_player.popupMenuDriver->Wait();
        std::wstring error = s_player.popupMenuDriver->Error();
        DropPopupMenuDriver();
        if (!chosen) {
            ScriptFailed(host, line, error);
            return kStepDone;
        }
        s_player.pos++;
        return 0;
    }
    }
    return 0;
}
