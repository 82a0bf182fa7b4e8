// Points one of the test program's import slots (platform/import_slot.h)
// at a function of the test's, and back.
#pragma once
#include <windows.h>

// Sets SLOT to FUNCTION; returns what it held.
template <class F>
F PatchImportSlot(F &slot, F function)
{
    DWORD old;
    VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &old);
    F was = slot;
    slot = function;
    VirtualProtect(&slot, sizeof slot, old, &old);
    return was;
}
