// Entry routine of the item library.
#include "library.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        return LibraryAttach(instance);
    if (reason == DLL_PROCESS_DETACH)
        LibraryDetach();
    return TRUE;
}
