// Stand-ins for the Pocket PC shell's dialog set-up and activation calls
// that the editor makes. They do what the editor relies on, no more:
// full-screen dialogs below the navigation bar, and focus kept across
// activation. The menu bar is in menu_bar.cpp, the "SIPPREF" control in
// sippref.cpp.
#include "aygshell.h"
#include "device_screen.h"

// Takes away a full-screen dialog's caption and frame: on the device the
// navigation bar shows its title, and the dialog's client area is all of it.
static void RemoveCaption(HWND dialog)
{
    LONG style = GetWindowLongW(dialog, GWL_STYLE);
    LONG exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
    SetWindowLongW(dialog, GWL_STYLE, style & ~(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
    SetWindowLongW(dialog, GWL_EXSTYLE,
                   exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Sizing covers the screen below the navigation bar, as on the device
// (there is no input panel here, so SIZEDLG and SIZEDLGFULLSCREEN agree); a
// full-screen dialog loses its caption, which the bar shows instead.
// EMPTYMENU adds an empty bar below the dialog. DONEBUTTON leaves the
// property by which the navigation bar knows to show its "ok" for the
// dialog. SIPDOWN has nothing to lower.
BOOL WINAPI SHInitDialog(SHINITDLGINFO *info)
{
    if (!info || !(info->dwMask & SHIDIM_FLAGS) || !IsWindow(info->hDlg))
        return FALSE;
    HWND dialog = info->hDlg;
    DWORD flags = info->dwFlags;
    if (flags & SHIDIF_DONEBUTTON)
        SetPropW(dialog, SHELL_DONE_BUTTON_PROPERTY, (HANDLE)1);
    HWND bar = nullptr;
    if (flags & SHIDIF_EMPTYMENU) {
        SHMENUBARINFO mb = {};
        mb.cbSize = sizeof(mb);
        mb.hwndParent = dialog;
        mb.dwFlags = SHCMBF_EMPTYBAR;
        if (SHCreateMenuBar(&mb))
            bar = mb.hwndMB;
    }
    if (flags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR))
        RemoveCaption(dialog);
    if (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) {
        RECT area = ScreenBelowNavigationBar();
        RECT barRect = {};
        if (bar)
            GetWindowRect(bar, &barRect);
        int barHeight = barRect.bottom - barRect.top;
        if (!(flags & SHIDIF_FULLSCREENNOMENUBAR))
            area.bottom -= barHeight;
        MoveWindow(dialog, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
        if (bar)
            MoveWindow(bar, area.left, area.bottom, area.right - area.left, barHeight, TRUE);
    }
    return TRUE;
}

static bool IsWindowOrChild(HWND window, HWND candidate)
{
    return candidate && (candidate == window || IsChild(window, candidate));
}

// Remembers the focus when the window is deactivated and gives it back (or
// to the window itself) when it is activated again.
BOOL WINAPI SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO *info,
                               DWORD flags)
{
    if (!info || info->cbSize != sizeof(SHACTIVATEINFO))
        return FALSE;
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        info->hwndLastFocus = IsWindowOrChild(window, focus) ? focus : nullptr;
        info->fActive = 0;
        return TRUE;
    }
    info->fActive = 1;
    if (HIWORD(wParam))
        return TRUE;                // minimized: no focus
    HWND last = info->hwndLastFocus;
    SetFocus(IsWindow(last) && IsWindowOrChild(window, last) ? last : window);
    return TRUE;
}

// Setting changes concern the input panel, which does not exist here.
BOOL WINAPI SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO *info)
{
    return info && info->cbSize == sizeof(SHACTIVATEINFO);
}
