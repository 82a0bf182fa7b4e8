// Every function the device's item and editor import, or may call
// (platform/device_functions.txt), as the ARM room binds it: the DLL, the
// name (for an import by ordinal only, the name its header gives it), the
// ordinal it is imported by (0: by name), its argument words and what it
// is bound to:
//   Wine      Wine's own function, whose meaning is the device's;
//   Platform  what the desktop build of the same program gets for the name:
//             platform/'s function for what only the device has or where
//             platform/ gives the device's behaviour, else Wine's (each
//             program registers its own, see RegisterPlatformFunction);
//   Device    the room's function (armroom/device_calls.cpp) where the
//             device's meaning differs from the desktop's, or where what
//             crosses needs more than the prototype's types say (messages,
//             procedures, the guest's heap, the bitmaps' bits);
//   Runtime   the C runtime's, on guest memory (armroom/device_calls.cpp);
//   Variadic  a runtime function with "...": the words given are the fixed
//             ones, the rest are read as the format asks;
//   Standin   the stand-in's own, for what it must intercept.
// How each argument crosses follows from the bound function's prototype
// (armroom/crossing.h); the 32-bit builds check the words against the
// real prototypes. An import not in this list stops the run when called,
// naming it.
#pragma once

#define ARM_IMPORTS(X) \
    X(COREDLL, AppendMenuW, 0, 4, Device) \
    X(COREDLL, BeginDeferWindowPos, 0, 1, Wine) \
    X(COREDLL, BeginPaint, 0, 2, Wine) \
    X(COREDLL, BitBlt, 0, 9, Wine) \
    X(COREDLL, CheckMenuItem, 0, 3, Wine) \
    X(COREDLL, ClientToScreen, 0, 2, Wine) \
    X(COREDLL, CloseClipboard, 0, 0, Wine) \
    X(COREDLL, CloseHandle, 0, 1, Wine) \
    X(COREDLL, CreateCompatibleBitmap, 0, 3, Wine) \
    X(COREDLL, CreateCompatibleDC, 0, 1, Wine) \
    X(COREDLL, CreateEventW, 0, 4, Wine) \
    X(COREDLL, CreateFileW, 0, 7, Wine) \
    X(COREDLL, CreateFontIndirectW, 0, 1, Wine) \
    X(COREDLL, CreatePopupMenu, 0, 0, Wine) \
    X(COREDLL, CreateSolidBrush, 0, 1, Wine) \
    X(COREDLL, CreateWindowExW, 0, 12, Platform) \
    X(COREDLL, DefWindowProcW, 0, 4, Device) \
    X(COREDLL, DeferWindowPos, 0, 8, Wine) \
    X(COREDLL, DeleteDC, 0, 1, Wine) \
    X(COREDLL, DeleteFileW, 0, 1, Wine) \
    X(COREDLL, DeleteObject, 0, 1, Device) \
    X(COREDLL, DestroyIcon, 0, 1, Wine) \
    X(COREDLL, DestroyMenu, 0, 1, Wine) \
    X(COREDLL, DestroyWindow, 0, 1, Wine) \
    X(COREDLL, DialogBoxIndirectParamW, 0, 5, Device) \
    X(COREDLL, DisableThreadLibraryCalls, 0, 1, Device) \
    X(COREDLL, DispatchMessageW, 0, 1, Wine) \
    X(COREDLL, DrawIconEx, 0, 9, Wine) \
    X(COREDLL, DrawTextW, 0, 5, Wine) \
    X(COREDLL, EmptyClipboard, 0, 0, Wine) \
    X(COREDLL, EndDeferWindowPos, 0, 1, Wine) \
    X(COREDLL, EndDialog, 0, 2, Wine) \
    X(COREDLL, EndPaint, 0, 2, Wine) \
    X(COREDLL, FindResourceW, 0, 3, Wine) \
    X(COREDLL, FindWindowW, 0, 2, Wine) \
    X(COREDLL, GetClientRect, 0, 2, Wine) \
    X(COREDLL, GetClipboardData, 0, 1, Device) \
    X(COREDLL, GetDC, 0, 1, Wine) \
    X(COREDLL, GetDeviceCaps, 0, 2, Wine) \
    X(COREDLL, GetDlgItem, 0, 2, Wine) \
    X(COREDLL, GetDlgItemTextW, 0, 4, Wine) \
    X(COREDLL, GetFileAttributesW, 0, 1, Wine) \
    X(COREDLL, GetFileSize, 0, 2, Wine) \
    X(COREDLL, GetLastError, 0, 0, Wine) \
    X(COREDLL, GetMessageW, 0, 4, Wine) \
    X(COREDLL, GetModuleFileNameW, 0, 3, Device) \
    X(COREDLL, GetObjectW, 0, 3, Device) \
    X(COREDLL, GetParent, 0, 1, Wine) \
    X(COREDLL, GetStockObject, 0, 1, Wine) \
    X(COREDLL, GetSystemMetrics, 0, 1, Wine) \
    X(COREDLL, GetWindowRect, 0, 2, Wine) \
    X(COREDLL, GetWindowTextW, 0, 3, Wine) \
    X(COREDLL, InvalidateRect, 0, 3, Wine) \
    X(COREDLL, LoadAcceleratorsW, 0, 2, Wine) \
    X(COREDLL, LoadBitmapW, 0, 2, Wine) \
    X(COREDLL, LoadIconW, 0, 2, Wine) \
    X(COREDLL, LoadImageW, 0, 6, Wine) \
    X(COREDLL, LoadResource, 0, 2, Device) \
    X(COREDLL, LoadStringW, 0, 4, Device) \
    X(COREDLL, LocalAlloc, 0, 2, Device) \
    X(COREDLL, LocalFree, 0, 1, Device) \
    X(COREDLL, LocalSize, 0, 1, Device) \
    X(COREDLL, MapDialogRect, 0, 2, Wine) \
    X(COREDLL, MessageBoxW, 0, 4, Wine) \
    X(COREDLL, MoveFileW, 0, 2, Wine) \
    X(COREDLL, MoveWindow, 0, 6, Wine) \
    X(COREDLL, OpenClipboard, 0, 1, Wine) \
    X(COREDLL, OutputDebugStringW, 0, 1, Wine) \
    X(COREDLL, PeekMessageW, 0, 5, Wine) \
    X(COREDLL, PostMessageW, 0, 4, Device) \
    X(COREDLL, PostQuitMessage, 0, 1, Wine) \
    X(COREDLL, ReadFile, 0, 5, Device) \
    X(COREDLL, Rectangle, 0, 5, Wine) \
    X(COREDLL, RegCloseKey, 0, 1, Wine) \
    X(COREDLL, RegCreateKeyExW, 0, 9, Wine) \
    X(COREDLL, RegQueryValueExW, 0, 6, Wine) \
    X(COREDLL, RegSetValueExW, 0, 6, Wine) \
    X(COREDLL, RegisterClassW, 0, 1, Device) \
    X(COREDLL, ReleaseCapture, 0, 0, Wine) \
    X(COREDLL, ReleaseDC, 0, 2, Wine) \
    X(COREDLL, RemoveMenu, 0, 3, Wine) \
    X(COREDLL, SHLoadDIBitmap, 0, 1, Platform) \
    X(COREDLL, SelectObject, 0, 2, Wine) \
    X(COREDLL, SendDlgItemMessageW, 0, 5, Device) \
    X(COREDLL, SendMessageW, 0, 4, Device) \
    X(COREDLL, SetBkMode, 0, 2, Wine) \
    X(COREDLL, SetCapture, 0, 1, Wine) \
    X(COREDLL, SetClipboardData, 0, 2, Device) \
    X(COREDLL, SetDlgItemTextW, 0, 3, Wine) \
    X(COREDLL, SetFileAttributesW, 0, 2, Wine) \
    X(COREDLL, SetForegroundWindow, 0, 1, Platform) \
    X(COREDLL, SetPixel, 0, 4, Wine) \
    X(COREDLL, SetTextColor, 0, 2, Wine) \
    X(COREDLL, ShellExecuteEx, 0, 1, Standin) \
    X(COREDLL, ShowWindow, 0, 2, Wine) \
    X(COREDLL, SizeofResource, 0, 2, Wine) \
    X(COREDLL, TerminateProcess, 0, 2, Device) \
    X(COREDLL, TrackPopupMenuEx, 0, 6, Wine) \
    X(COREDLL, TranslateAcceleratorW, 0, 3, Wine) \
    X(COREDLL, TranslateMessage, 0, 1, Wine) \
    X(COREDLL, TransparentImage, 0, 11, Platform) \
    X(COREDLL, UnregisterClassW, 0, 2, Wine) \
    X(COREDLL, UpdateWindow, 0, 1, Wine) \
    X(COREDLL, VirtualProtect, 0, 4, Device) \
    X(COREDLL, VirtualQuery, 0, 3, Device) \
    X(COREDLL, WaitForSingleObject, 0, 2, Wine) \
    X(COREDLL, WriteFile, 0, 5, Device) \
    X(COREDLL, _fcloseall, 0, 0, Runtime) \
    X(COREDLL, _fpreset, 0, 0, Runtime) \
    X(COREDLL, _snwprintf, 0, 3, Variadic) \
    X(COREDLL, _wcsicmp, 0, 2, Runtime) \
    X(COREDLL, fflush, 0, 1, Runtime) \
    X(COREDLL, free, 0, 1, Runtime) \
    X(COREDLL, malloc, 0, 1, Runtime) \
    X(COREDLL, mbstowcs, 0, 3, Runtime) \
    X(COREDLL, memcmp, 0, 3, Runtime) \
    X(COREDLL, memcpy, 0, 3, Runtime) \
    X(COREDLL, memset, 0, 3, Runtime) \
    X(COREDLL, realloc, 0, 2, Runtime) \
    X(COREDLL, strlen, 0, 1, Runtime) \
    X(COREDLL, wcscat, 0, 2, Runtime) \
    X(COREDLL, wcslen, 0, 1, Runtime) \
    X(COREDLL, wcsrchr, 0, 2, Runtime) \
    X(COREDLL, wsprintfW, 0, 2, Variadic) \
    X(AYGSHELL, SHCreateMenuBar, 0, 1, Platform) \
    X(AYGSHELL, SHInitDialog, 0, 1, Platform) \
    X(AYGSHELL, SHInitExtraControls, 0, 0, Platform) \
    X(AYGSHELL, SHHandleWMSettingChange, 83, 4, Platform) \
    X(AYGSHELL, SHHandleWMActivate, 84, 5, Platform)
