// Start-up of the page editor: page number, single instance, window class,
// main window above its menu bar, and the message loop.
#pragma once
#include "editor_state.h"

// The whole program: returns the exit code (WM_QUIT's wParam, or 0 when
// the start ends early).
int RunEditor(HINSTANCE instance, LPCWSTR commandLine, int showCommand);

// Brings a running editor (and its open dialog) to the front; false when
// there is none.
bool ActivateRunningEditor();

bool RegisterMainWindowClass();
HWND CreateMainWindow();

// Shortens the main window by the menu bar's height, so that the bar lies
// below it.
void FitAboveMenuBar(HWND window);
