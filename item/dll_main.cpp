// Entry routine of the item library.
#include "library.h"

// The loader finds the entry by its C name: the device's headers do not
// declare it, and a C++ name would leave the toolchain's default entry in
// its place, which does nothing.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        return LibraryAttach(instance);
    if (reason == DLL_PROCESS_DETACH)
        LibraryDetach();
    return TRUE;
}
