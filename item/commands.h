// The popup menus' commands.
#pragma once
#include "item_state.h"

// WM_COMMAND: acts on the command in the low word of wParam.
LRESULT OnItemCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
