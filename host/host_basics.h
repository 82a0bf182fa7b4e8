// What every file of the Today stand-in may use, depending on none of
// them: the exit codes of "run" and the stand-in's window classes.
#pragma once
#include <windows.h>

enum {
    EXIT_OK = 0,
    EXIT_USAGE = 1,
    EXIT_NO_ITEM_DLL = 2,
    EXIT_NO_ITEM_WINDOW = 3,
    EXIT_SCRIPT_FAILED = 4,
    EXIT_ARM_FAULT = 5      // an ARM item's code faulted (armroom/room.h, kArmFaultExit)
};

// Registers a window class of the stand-in's own, with the arrow cursor and
// no background brush.
void RegisterHostClass(LPCWSTR name, WNDPROC proc);
