// The ARM room: an item built for the device, run by the interpreter inside
// the stand-in's 32-bit process, its imports bound to the host's functions.
#pragma once
#include "host/item_library.h"

// Loads the ARM item at PATH, runs its DLL entry with DLL_PROCESS_ATTACH and
// finds ordinal 240. NULL, with ERROR saying why, when it cannot (in a
// 64-bit stand-in always: guest addresses are host addresses).
ItemLibrary *OpenArmItem(const std::wstring &path, std::wstring *error);
