// What the files of the Today stand-in share: the host's one state record,
// its exit codes and timers, and the functions each file offers the others.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/today.h"
#include "text_and_paths.h"

class ItemLibrary;
class PopupMenuDriver;

extern const wchar_t kItemKeyPath[];

enum {
    IDT_POLL = 1,       // refresh query to the item
    IDT_QUIT = 2,       // end of --seconds
    IDT_SCRIPT = 3,     // next script step
    IDT_STEP_GUARD = 4  // a stylus step that stays inside the item too long
};

enum {
    EXIT_OK = 0,
    EXIT_USAGE = 1,
    EXIT_NO_ITEM_DLL = 2,
    EXIT_NO_ITEM_WINDOW = 3,
    EXIT_SCRIPT_FAILED = 4
};

enum ScriptCommand { CmdDown, CmdMove, CmdUp, CmdTap, CmdWait, CmdShot, CmdMenu, CmdKey,
                     CmdWindow, CmdWindowTap, CmdWindowText, CmdWindowCommand, CmdGone, CmdOk };

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

// The host's one state record
struct HostState {
    HINSTANCE instance;

    // options
    DWORD pollMs;
    DWORD secondsMs;
    bool secondsGiven;
    bool interactive;
    COLORREF textColor;
    std::wstring screenshotPath;
    std::wstring scriptPath;

    // Today screen
    HWND today;
    HWND navigationBar;                     // the shell's bar along the top
    int navigationBarHeight;                        // its height: the item window starts below it
    int screenW, screenH;
    HANDLE shellReady;

    // the item
    ItemLibrary *itemLibrary;               // the item's file, loaded
    HWND item;
    TODAYLISTITEM itemInfo;

    // script player
    std::vector<ScriptLine> script;
    size_t scriptPos;
    bool scriptActive;
    bool timeUp;
    bool inStep;                            // inside a script step (possibly in a modal menu)
    int itemCalls;                          // calls into the item still on the stack
    bool stepGuardFired;                    // a popup nobody chooses from was closed
    bool closeRequested;
    bool stylusDown;
    PopupMenuDriver *popupMenuDriver;       // the choice the next "menu" line waits for
    HWND target;                            // another program's window
    bool waiting;                           // a window/gone line is waiting
    DWORD waitStart;                        // since then

    HHOOK mouseBlock;                       // drops real mouse input unless --interactive

    bool finishing;
    int exitCode;
};

extern HostState g;

// item_key.cpp
int InstallItem(const std::wstring &dllPath);
int RemoveItemKey();
int DumpKey(const std::wstring &outPath);

// watermark.cpp
void DrawWatermark(HDC hdc, const RECT *rcToday, POINT dest);

// navigation_bar.cpp
HWND CreateNavigationBar(int width, int height);
// Registers a window class of the stand-in's own, with the arrow cursor and
// no background brush.
void RegisterHostClass(LPCWSTR name, WNDPROC proc);
void DestroyNavigationBar();
// Looks again at the window in front: its title, and whether it wants an "ok".
void RefreshNavigationBar();
// The middle of the "ok" in the bar's client coordinates; false when the
// bar shows none.
bool NavigationBarOkPoint(POINT *point);

// screenshot.cpp
bool TakeScreenshot(const std::wstring &path);

// today_window.cpp
LRESULT SendToItem(UINT msg, WPARAM wParam, LPARAM lParam);
void FinishRun(int exitCode);
int RunToday();                             // options already parsed

// script.cpp
static const DWORD kStepDone = 0xFFFFFFFF;
bool LoadScript(const std::wstring &path, std::wstring *error);
// Runs the script line at scriptPos. Returns the delay before the next step,
// or kStepDone when the run is over (script end or failure).
DWORD RunScriptStep();
void DropPopupMenuDriver();
