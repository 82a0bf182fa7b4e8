// The editor's main window: the page text under a hint line; a tap opens
// the edit dialog; the menu bar and the accelerators give OK and About.
#pragma once
#include "editor_state.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws the hint and the text buffer into `dc` over the client rectangle.
void PaintMainContent(HDC dc, const RECT &client);

// The hint line over the text, and how far below the top the text starts.
extern const WCHAR kTapHint[];
enum { MAIN_TEXT_TOP = 40 };
