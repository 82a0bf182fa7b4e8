// CreateWindowExW with the device's rules for top-level windows. There a
// window that is neither a child nor a popup has no caption unless its style
// asks for one (the shell's title strip shows the program), and
// CW_USEDEFAULT places and sizes it to fill the screen below the title
// strip. Desktop Windows and Wine give such a window a caption and a default
// size of their own. So for every program linked with this platform library
// the import slot of CreateWindowExW is filled here: callers keep calling
// the system's name; child windows and explicit places pass unchanged.
#include <windows.h>
#include <type_traits>
#include "device_screen.h"
#include "import_slot.h"

typedef HWND(WINAPI *CreateWindowFunction)(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU,
                                           HINSTANCE, LPVOID);

static HWND WINAPI DeviceCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x,
                                         int y, int width, int height, HWND parent, HMENU menu,
                                         HINSTANCE instance, LPVOID parameter)
{
    static const CreateWindowFunction system =
        (CreateWindowFunction)GetProcAddress(GetModuleHandleW(L"user32.dll"), "CreateWindowExW");
    if (!system)
        return nullptr;
    if (!(style & WS_CHILD)) {
        // Desktop Windows adds a caption to every overlapped window; a popup
        // keeps exactly the frame its style names.
        if (!(style & (WS_POPUP | WS_CAPTION)))
            style |= WS_POPUP;
        RECT area = ScreenBelowTitleStrip();
        if (x == CW_USEDEFAULT) {
            x = area.left;
            y = area.top;
        }
        if (width == CW_USEDEFAULT) {
            width = area.right - area.left;
            height = area.bottom - area.top;
        }
    }
    return system(exStyle, className, title, style, x, y, width, height, parent, menu, instance, parameter);
}

// The slot that callers' code reads; the linker takes it from here instead
// of from user32's import library.
static_assert(std::is_same<CreateWindowFunction, decltype(&CreateWindowExW)>::value,
              "CreateWindowExW's stand-in has its type");
extern "C" CreateWindowFunction deviceCreateWindowSlot __asm__(IMPORT_SLOT(CreateWindowExW, 48));
CreateWindowFunction deviceCreateWindowSlot = DeviceCreateWindowExW;
