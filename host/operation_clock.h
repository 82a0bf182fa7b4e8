// The desktop side of the device's cost table: how long each operation of
// a run (the script's "mark" lines) keeps the item and the programs it
// starts busy, in wall time. On where INKLEAF_METER is set; FinishClock
// appends the times to the meter's file (armroom/meter.h), one line each:
//   time  MARK  OPERATION  SECONDS
// The item's share is the time inside its window procedure and the
// stand-in's calls into the library, less the time its popup menus are
// open (the modal loop waits for the stylus); another program's is the
// time a script step waits for it to become idle.
#pragma once
#include <windows.h>
#include <string>

bool ClockOn();
// The operation NAME begins, for the clock and for every room of the run.
void ClockMark(const std::string &name);
// Times the item window's procedure from now on.
void ClockItemWindow(HWND item);
// Adds SECONDS to the operation in progress.
void ClockAdd(double seconds);
double ClockNow();
// Waits until the program that owns WINDOW is idle (at most 5 s) and adds
// the time since START.
void ClockUntilIdle(HWND window, double start);
void FinishClock();

