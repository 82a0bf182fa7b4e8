// The one header through which item and editor code reach the platform.
// On the device it is the SDK's own headers, with the few declarations they
// lack; elsewhere the stand-ins in this folder supply what only the device
// has.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include "../common/compile_check.h"

#ifdef UNDER_CE
#include <todaycmn.h>
#include <aygshell.h>

// What the device's COREDLL exports but the toolchain's headers do not
// declare.
extern "C" BOOL WINAPI TransparentImage(HDC dest, LONG destX, LONG destY, LONG destWidth,
                                        LONG destHeight, HANDLE source, LONG sourceX,
                                        LONG sourceY, LONG sourceWidth, LONG sourceHeight,
                                        COLORREF transparent);
typedef HWND (WINAPI *PFNCUSTOMINITIALIZEITEM)(TODAYLISTITEM *, HWND);

// Clipboard memory: on the device a block from LocalAlloc is its own address.
inline void *LockClipboardMemory(HANDLE memory) { return memory; }
inline void UnlockClipboardMemory(HANDLE) {}
inline SIZE_T ClipboardMemorySize(HANDLE memory) { return LocalSize(memory); }
#else
#include "today.h"
#include "aygshell.h"

// Loads a BMP file into a DIB section whose pixel memory can be addressed
// (GetObject gives bmBits). NULL when the file is missing or not a loadable
// bitmap, including a file shorter than its headers say. Rows stored top
// line first are turned bottom-up.
extern "C" HBITMAP SHLoadDIBitmap(LPCWSTR fileName);

// Copies a rectangle from the source DC to the destination, stretching as
// needed and leaving out source pixels of the transparent colour.
extern "C" BOOL TransparentImage(HDC dest, LONG destX, LONG destY, LONG destWidth, LONG destHeight,
                                 HANDLE source, LONG sourceX, LONG sourceY, LONG sourceWidth,
                                 LONG sourceHeight, COLORREF transparent);

// Clipboard memory: a moveable block on desktop Windows must be locked to
// reach its bytes; on the device these are the block's own address and size.
extern "C" void *LockClipboardMemory(HANDLE memory);
extern "C" void UnlockClipboardMemory(HANDLE memory);
extern "C" SIZE_T ClipboardMemorySize(HANDLE memory);
#endif

#include "navigation_styles.h"

// The 32-bit layouts the item, the editor and the Today screen pass to each
// other: checked in the device's build and in the x86 build.
#ifndef _WIN64
CHECK_SIZE(SHELLEXECUTEINFO, 60);
CHECK_SIZE(BITMAP, 24);
CHECK_SIZE(LOGFONTW, 92);
CHECK_SIZE(TODAYLISTITEM, 628);
CHECK_OFFSET(TODAYLISTITEM, cyp, 72);
CHECK_SIZE(TODAYDRAWWATERMARKINFO, 24);
CHECK_SIZE(SHMENUBARINFO, 36);
CHECK_SIZE(SHACTIVATEINFO, 12);
CHECK_SIZE(SHINITDLGINFO, 12);
#endif
