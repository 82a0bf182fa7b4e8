// The stand-in's window classes (host_basics.h).
#include "host_basics.h"

void RegisterHostClass(LPCWSTR name, WNDPROC proc)
{
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}
