// The script player of "run --script" (its language is described in
// script.cpp). The Today window runs it one step at a time from its script
// timer and hands each step what it may ask of the window.
#pragma once
#include <windows.h>
#include <string>

// What a script step asks of the Today window.
struct ScriptHost {
    // A message to the item window, counted as a call into the item.
    LRESULT (*sendToItem)(UINT msg, WPARAM wParam, LPARAM lParam);
    // The screen as a PNG at the path; false when it was not written.
    bool (*takeScreenshot)(const std::wstring &path);
    // Ends the run with an exit code (host_basics.h).
    void (*finishRun)(int exitCode);
    // Starts the guard of a stylus step: if the step is still inside the
    // item after ms, the window calls ScriptStepGuardFired and closes the
    // popup menu the step opened. stopStepGuard ends it.
    void (*startStepGuard)(DWORD ms);
    void (*stopStepGuard)();
    // Turns the screen, as the device's rotation does; false when it did
    // not turn (the window said why).
    bool (*turnScreen)();
    // A turn while a stylus step is still inside the item (in the popup it
    // opened): after ms the window turns the screen and calls
    // ScriptScreenTurnedDuringStep; stopTurnDuringStep ends the wait.
    void (*startTurnDuringStep)(DWORD ms);
    void (*stopTurnDuringStep)();
    // The Today screen's refresh query to the item.
    void (*pollItem)();
    // The item window painted again, at once.
    void (*paintItem)();
};

static const DWORD kStepDone = 0xFFFFFFFF;
bool LoadScript(const std::wstring &path, std::wstring *error);
// Runs the "mark" lines that open the script: they name the item's start.
void RunLeadingMarks();
// Runs the script line it is at. Returns the delay before the next step,
// or kStepDone when the run is over (script end or failure).
DWORD RunScriptStep(const ScriptHost &host);
// Whether every line has run.
bool ScriptAtEnd();
// The guard of the running step ran out: the step fails.
void ScriptStepGuardFired();
// The screen turned (or failed to) during the running stylus step.
void ScriptScreenTurnedDuringStep(bool turned);
void DropPopupMenuDriver();
