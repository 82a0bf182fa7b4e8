// The imports of arm_imports.h that can fail, as INKLEAF_FAIL_CALL fails
// them (armroom/fail_calls.h): every allocation, creation, file, registry,
// clipboard, resource and shell call the two programs import, with the
// word its prototype returns on failure and the last error the device
// gives it then. A registry function returns its error as well.
//
// Left out: calls whose result says nothing of a failure (SetTextColor,
// InvalidateRect, SelectObject), and the calls that give something back
// (CloseHandle, RegCloseKey, CloseClipboard, DeleteObject, DestroyWindow,
// LocalFree, free): failing one would only keep what the program meant to
// let go, a state no device reaches (an open clipboard nobody can close).
// BeginPaint's DC comes with the paint the system asks for; it is left
// out with them.
#pragma once
#include <windows.h>

enum : DWORD {
    kNoMemory = ERROR_NOT_ENOUGH_MEMORY,   // allocations and creations
    kDiskFull = ERROR_DISK_FULL,           // writes
    kReadFault = ERROR_READ_FAULT,         // reads and queries of a file
    kDenied = ERROR_ACCESS_DENIED,         // a file or the clipboard in use
};

// X(NAME, RESULT, LAST_ERROR)
#define FAILABLE_CALLS(X) \
    X(AppendMenuW, FALSE, kNoMemory) \
    X(BeginDeferWindowPos, 0, kNoMemory) \
    X(CreateCompatibleBitmap, 0, kNoMemory) \
    X(CreateCompatibleDC, 0, kNoMemory) \
    X(CreateEventW, 0, kNoMemory) \
    X(CreateFileW, 0xFFFFFFFFu, kNoMemory) \
    X(CreateFontIndirectW, 0, kNoMemory) \
    X(CreatePopupMenu, 0, kNoMemory) \
    X(CreateSolidBrush, 0, kNoMemory) \
    X(CreateWindowExW, 0, kNoMemory) \
    X(DeferWindowPos, 0, kNoMemory) \
    X(DeleteFileW, FALSE, kDenied) \
    X(DialogBoxIndirectParamW, 0xFFFFFFFFu, kNoMemory) \
    X(EmptyClipboard, FALSE, kDenied) \
    X(FindResourceW, 0, kNoMemory) \
    X(GetClipboardData, 0, kNoMemory) \
    X(GetDC, 0, kNoMemory) \
    X(GetFileAttributesW, 0xFFFFFFFFu, kReadFault) \
    X(GetFileSize, 0xFFFFFFFFu, kReadFault) \
    X(GetModuleFileNameW, 0, kNoMemory) \
    X(LoadAcceleratorsW, 0, kNoMemory) \
    X(LoadBitmapW, 0, kNoMemory) \
    X(LoadIconW, 0, kNoMemory) \
    X(LoadImageW, 0, kNoMemory) \
    X(LoadResource, 0, kNoMemory) \
    X(LoadStringW, 0, kNoMemory) \
    X(LocalAlloc, 0, kNoMemory) \
    X(MessageBoxW, 0, kNoMemory) \
    X(MoveFileW, FALSE, kDiskFull) \
    X(OpenClipboard, FALSE, kDenied) \
    X(ReadFile, FALSE, kReadFault) \
    X(RegCreateKeyExW, kNoMemory, kNoMemory) \
    X(RegQueryValueExW, kNoMemory, kNoMemory) \
    X(RegSetValueExW, kDiskFull, kDiskFull) \
    X(RegisterClassW, 0, kNoMemory) \
    X(SHCreateMenuBar, FALSE, kNoMemory) \
    X(SHInitDialog, FALSE, kNoMemory) \
    X(SHInitExtraControls, FALSE, kNoMemory) \
    X(SHLoadDIBitmap, 0, kNoMemory) \
    X(SetClipboardData, 0, kNoMemory) \
    X(SetFileAttributesW, FALSE, kDenied) \
    X(ShellExecuteEx, FALSE, kNoMemory) \
    X(SizeofResource, 0, kNoMemory) \
    X(TrackPopupMenuEx, 0, kNoMemory) \
    X(WriteFile, FALSE, kDiskFull) \
    X(malloc, 0, kNoMemory) \
    X(realloc, 0, kNoMemory)
