// CreateWindowExW and DialogBoxIndirectParamW with the device's rules for
// top-level windows. There a window that is neither a child nor a popup has
// no caption unless its style asks for one (the shell's navigation bar shows
// the program), and CW_USEDEFAULT places and sizes it to fill the screen
// below the navigation bar, and a dialog is kept on the screen below the bar.
// Wine gives such a window a caption and a default size of its own, and
// keeps a dialog only on the screen: a dialog placed at the top of its
// owner's client area has its caption over the navigation bar. So for every
// program linked with this platform library the import slots of both
// functions are filled here: callers keep calling the system's names; child
// windows and explicit places pass unchanged.
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
        RECT area = ScreenBelowNavigationBar();
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

typedef INT_PTR(WINAPI *DialogBoxFunction)(HINSTANCE, LPCDLGTEMPLATEW, HWND, DLGPROC, LPARAM);

// What the placing procedure needs until the dialog's own takes over.
struct DialogStart {
    DLGPROC procedure;
    LPARAM parameter;
};

// Moves a dialog onto the screen below the navigation bar, as far as it fits;
// its top left corner stays on the screen.
static void PlaceDialog(HWND dialog)
{
    RECT r;
    GetWindowRect(dialog, &r);
    RECT area = ScreenBelowNavigationBar();
    if (r.right > area.right)
        OffsetRect(&r, area.right - r.right, 0);
    if (r.bottom > area.bottom)
        OffsetRect(&r, 0, area.bottom - r.bottom);
    if (r.left < area.left)
        OffsetRect(&r, area.left - r.left, 0);
    if (r.top < area.top)
        OffsetRect(&r, 0, area.top - r.top);
    SetWindowPos(dialog, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dialog being created on this thread.
static thread_local const DialogStart *t_starting;

// The dialog's procedure until WM_INITDIALOG: passes each message on to the
// caller's procedure; at WM_INITDIALOG it places the dialog first, gives the
// caller's procedure its value, and leaves it every later message.
static INT_PTR CALLBACK PlacingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    const DialogStart *start = t_starting;
    if (!start)
        return FALSE;
    if (message != WM_INITDIALOG)
        return start->procedure ? start->procedure(dialog, message, wParam, lParam) : FALSE;
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, (LONG_PTR)start->procedure);
    if (!(GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD))
        PlaceDialog(dialog);
    return start->procedure ? start->procedure(dialog, message, wParam, start->parameter) : TRUE;
}

static INT_PTR WINAPI DeviceDialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate,
                                                    HWND owner, DLGPROC procedure, LPARAM parameter)
{
    static const DialogBoxFunction system =
        (DialogBoxFunction)GetProcAddress(GetModuleHandleW(L"user32.dll"), "DialogBoxIndirectParamW");
    if (!system)
        return -1;
    DialogStart start = {procedure, parameter};
    const DialogStart *outer = t_starting;
    t_starting = &start;
    INT_PTR result = system(instance, dialogTemplate, owner, PlacingDialogProc, 0);
    t_starting = outer;
    return result;
}

static_assert(std::is_same<DialogBoxFunction, decltype(&DialogBoxIndirectParamW)>::value,
              "DialogBoxIndirectParamW's stand-in has its type");
extern "C" DialogBoxFunction deviceDialogBoxSlot __asm__(IMPORT_SLOT(DialogBoxIndirectParamW, 20));
DialogBoxFunction deviceDialogBoxSlot = DeviceDialogBoxIndirectParamW;
