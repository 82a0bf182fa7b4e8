// The "SIPPREF" control. On the device this hidden control, placed last in a
// dialog, raises the input panel while an edit control of that dialog has
// the focus. Here there is no input panel: the control only has to exist so
// that dialogs naming its class can be created.
#include "aygshell.h"

static LRESULT CALLBACK SipPrefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// Registers the class for every module of the process; TRUE when it exists.
BOOL RegisterSipPrefClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = SipPrefWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = WC_SIPPREF;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Registers the extra controls of dialogs: the "SIPPREF" control.
BOOL WINAPI SHInitExtraControls(void)
{
    return RegisterSipPrefClass();
}
