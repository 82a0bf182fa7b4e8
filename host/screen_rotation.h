// The screen's quarter turn and what the device's system does to the
// windows on it (screen_rotation.cpp; docs/rotation.md says where each step
// comes from).
#pragma once
#include <windows.h>
#include <string>

// Turns the screen to the other orientation: its width and height swap, for
// the X screen, GetSystemMetrics and the DCs alike. On a square screen the
// size stays. Fills `after` with the new size; false, with the reason, when
// the display would not take it.
bool TurnScreen(SIZE *after, std::wstring *error);

// After a turn from `before` to `after`: each visible full-screen top-level
// window (its left, top and right edges at or beyond those of the screen
// below the navigation bar, `barHeight` high) but `keep` is sized to the new
// screen, keeping the room it left free at the bottom (a menu bar's), and so
// gets its WM_SIZE.
void ResizeFullScreenWindows(SIZE before, SIZE after, int barHeight, HWND keep);

// Every top-level window, of every program, gets WM_SETTINGCHANGE with
// SETTINGCHANGE_RESET.
void BroadcastOrientationChange();
