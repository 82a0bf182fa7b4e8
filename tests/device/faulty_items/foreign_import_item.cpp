// A Today item that calls a COREDLL function no Inkleaf program imports
// (GetTickCount), so that nothing a stand-in binds for the real item
// answers it. For the fault report's checks.
#include <windows.h>
#include <todaycmn.h>

extern "C" HWND WINAPI InitializeCustomItem(TODAYLISTITEM *, HWND)
{
    return GetTickCount() ? (HWND)0 : (HWND)1;
}
