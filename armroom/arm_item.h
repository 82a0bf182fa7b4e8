// The ARM room: an item built for the device, run by the interpreter inside
// the stand-in's process (32 or 64 bits), its imports bound to the host's
// functions through the boundary.
#pragma once
#include "host/item_library.h"

// Loads the ARM item at PATH, runs its DLL entry with DLL_PROCESS_ATTACH and
// finds ordinal 240. NULL, with ERROR saying why, when it cannot.
ItemLibrary *OpenArmItem(const std::wstring &path, std::wstring *error);
