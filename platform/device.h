// The one header through which item and editor code reach the platform.
// On the device it is the SDK's own headers; elsewhere the stand-ins in
// this folder supply the few definitions only the device has.
#pragma once
#include <windows.h>

#ifdef UNDER_CE
#include <todaycmn.h>
#include <aygshell.h>
#else
#include "today.h"

// Loads a BMP file into a DIB section whose pixel memory can be addressed
// (GetObject gives bmBits). NULL when the file is missing or not a loadable
// bitmap, including a file shorter than its headers say. Rows stored top
// line first are turned bottom-up.
extern "C" HBITMAP SHLoadDIBitmap(LPCWSTR fileName);
#endif
