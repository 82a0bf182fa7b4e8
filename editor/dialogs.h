// The editor's two modal dialogs, shown from their template resources.
#pragma once
#include "editor_state.h"

// Shows a dialog modally from template `id` with `owner`; nothing when the
// template cannot be found.
void ShowTemplateDialog(HWND owner, UINT id, DLGPROC procedure);

// Edit dialog (129): the page text in an edit box; OK writes it.
INT_PTR CALLBACK EditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// About dialog (106): full screen, laid out again when the screen turns;
// closing it through WM_CLOSE signals the item (its OK does not).
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The result of an About dialog closed through WM_CLOSE.
enum { ABOUT_CLOSED_RESULT = 16 };
