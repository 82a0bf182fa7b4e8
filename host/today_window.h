// The Today window: the Today screen of a "run", hosting the item under the
// shell's navigation bar and playing the script (today_window.cpp).
#pragma once
#include <windows.h>
#include <string>

// How "run" was asked to go: main.cpp reads them from the command line.
struct TodayOptions {
    DWORD pollMs = 2000;                    // interval of the refresh query
    DWORD secondsMs = 10000;                // the run ends after them...
    bool secondsGiven = false;              // ...when given
    bool interactive = false;               // until the window is closed
    COLORREF textColor = RGB(0, 0, 128);    // theme text colour
    std::wstring screenshotPath;            // written just before exiting
    std::wstring scriptPath;                // played when given
    bool answerBoxes = false;               // message boxes get OK (host/box_answerer.h)
};

// Runs the Today screen with the item until the run ends. Returns the exit
// code (host_basics.h).
int RunToday(const TodayOptions &options);
