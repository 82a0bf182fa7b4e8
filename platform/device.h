// The one header through which item and editor code reach the platform.
// On the device it is the SDK's own headers; elsewhere the stand-ins in
// this folder supply the few definitions only the device has.
#pragma once
#include <windows.h>
#include <shellapi.h>

#ifdef UNDER_CE
#include <todaycmn.h>
#include <aygshell.h>

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

// Structures whose 32-bit sizes the item and the editor pass or rely on.
#ifndef _WIN64
static_assert(sizeof(SHELLEXECUTEINFOW) == 60, "SHELLEXECUTEINFO is 60 bytes on the device");
static_assert(sizeof(BITMAP) == 24, "BITMAP is 24 bytes on the device");
static_assert(sizeof(LOGFONTW) == 92, "LOGFONT is 92 bytes on the device");
#endif
