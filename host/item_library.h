// The item's library as the Today window holds it: a desktop DLL the
// system loads, or an ARM file the interpreter runs (armroom/). Either way
// the window talks to the item through the item's window afterwards.
#pragma once
#include <windows.h>
#include <string>

#include "platform/today.h"

class ItemLibrary {
public:
    virtual ~ItemLibrary() {}   // unloads the library
    // The instance handle the item gets in TODAYLISTITEM::hinstDLL.
    virtual HINSTANCE Instance() const = 0;
    // Calls export ordinal 240, InitializeCustomItem; NULL when it made no window.
    virtual HWND Initialize(TODAYLISTITEM *info, HWND parent) = 0;
};

// Opens the item's file: an x86 or x64 DLL through LoadLibrary, an ARM file
// (PE machine 0x1C0 or 0x1C2) through OpenArmItem. NULL, with ERROR saying
// why, when it cannot.
ItemLibrary *OpenItemLibrary(const std::wstring &path, std::wstring *error);
