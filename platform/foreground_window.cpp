// SetForegroundWindow as the device has it. There a window handle with its
// lowest bit set stands for the window together with its owned windows: the
// foremost of them (an open dialog, say) comes to the front and is
// activated. Desktop Windows rejects such a handle, and Wine activates a
// window of another process without raising it above the others. So for
// every program linked with this platform library the import slot of
// SetForegroundWindow is filled here: callers keep calling the system's
// name; the marked handle is resolved and the window raised.
#include <windows.h>
#include <type_traits>
#include "import_slot.h"

typedef BOOL(WINAPI *SetForegroundWindowFunction)(HWND);

static void RaiseWindow(HWND window)
{
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

static BOOL WINAPI DeviceSetForegroundWindow(HWND window)
{
    static const SetForegroundWindowFunction system = (SetForegroundWindowFunction)GetProcAddress(
        GetModuleHandleW(L"user32.dll"), "SetForegroundWindow");
    if ((ULONG_PTR)window & 1) {
        HWND owner = (HWND)((ULONG_PTR)window & ~(ULONG_PTR)1);
        RaiseWindow(owner);                 // its owned windows stay above it
        HWND popup = GetLastActivePopup(owner);
        window = popup ? popup : owner;
    }
    if (!system || !system(window))
        return FALSE;
    RaiseWindow(window);
    return TRUE;
}

// The slot that callers' code reads; the linker takes it from here instead
// of from user32's import library.
static_assert(std::is_same<SetForegroundWindowFunction, decltype(&SetForegroundWindow)>::value,
              "SetForegroundWindow's stand-in has its type");
extern "C" SetForegroundWindowFunction deviceSetForegroundWindowSlot
    __asm__(IMPORT_SLOT(SetForegroundWindow, 4));
SetForegroundWindowFunction deviceSetForegroundWindowSlot = DeviceSetForegroundWindow;
