// LoadStringW as the device has it. There a NULL buffer with a length of 0
// asks for the string resource itself: the result is the address of its
// read-only text (the word before it holds its length in characters).
// Desktop Windows and Wine answer 0 to a NULL buffer. So for every module
// linked with this platform library the import slot of LoadStringW is
// filled here: callers keep calling the system's name; that one form is
// answered from the resource, every other call goes to the system.
#include <windows.h>
#include <type_traits>
#include "import_slot.h"

typedef int(WINAPI *LoadStringFunction)(HINSTANCE, UINT, LPWSTR, int);

// The text of string `id`: strings are stored sixteen to a block, each as
// a length word followed by that many characters.
static const WCHAR *FindStringResource(HINSTANCE instance, UINT id)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW((id >> 4) + 1), (LPCWSTR)RT_STRING);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const WCHAR *entry = loaded ? (const WCHAR *)LockResource(loaded) : nullptr;
    if (!entry)
        return nullptr;
    const WCHAR *end = entry + SizeofResource(instance, found) / sizeof(WCHAR);
    for (UINT i = 0; i < (id & 15); i++) {
        if (entry >= end)
            return nullptr;
        entry += 1 + *entry;
    }
    if (entry >= end || *entry == 0 || entry + 1 + *entry > end)
        return nullptr;
    return entry + 1;
}

static int WINAPI DeviceLoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax)
{
    static const LoadStringFunction system =
        (LoadStringFunction)GetProcAddress(GetModuleHandleW(L"user32.dll"), "LoadStringW");
    if (!buffer && bufferMax == 0) {
        // The device's result is an int. A 64-bit module placed above 2 GiB
        // (its image base is set low so that it is not) gets 0 rather than
        // a cut-off address.
        INT_PTR text = (INT_PTR)FindStringResource(instance, id);
        return (INT_PTR)(int)text == text ? (int)text : 0;
    }
    return system ? system(instance, id, buffer, bufferMax) : 0;
}

// The slot that callers' code reads; the linker takes it from here instead
// of from user32's import library. The stand-in has the system function's
// type, calling convention included, so that the slot's name holds.
static_assert(std::is_same<LoadStringFunction, decltype(&LoadStringW)>::value,
              "LoadStringW's stand-in has its type");
extern "C" LoadStringFunction deviceLoadStringSlot __asm__(IMPORT_SLOT(LoadStringW, 16));
LoadStringFunction deviceLoadStringSlot = DeviceLoadStringW;
