// Today-screen definitions as the Windows Mobile 5 SDK declares them
// (todaycmn.h). Used only where that SDK is not available.
#pragma once
#include <windows.h>
#include <stddef.h>

typedef enum _TODAYLISTITEMTYPE {
    tlitOwnerInfo = 0,
    tlitAppointments,
    tlitMail,
    tlitTasks,
    tlitCustom,
    tlitNil
} TODAYLISTITEMTYPE;

typedef struct _TODAYLISTITEM {
    WCHAR szName[32];
    TODAYLISTITEMTYPE tlit;
    DWORD dwOrder;
    DWORD cyp;
    BOOL fEnabled;
    BOOL fOptions;
    DWORD grfFlags;
    WCHAR szDLLPath[MAX_PATH];
    HINSTANCE hinstDLL;
    HWND hwndCustom;
    BOOL fSizeOnDraw;
    BYTE *prgbCachedData;
    DWORD cbCachedData;
} TODAYLISTITEM, *PTODAYLISTITEM;

typedef struct _TODAYDRAWWATERMARKINFO {
    HDC hdc;
    RECT rc;
    HWND hwnd;
} TODAYDRAWWATERMARKINFO;

// Messages the Today screen sends to an item.
#define WM_TODAYCUSTOM_CLEARCACHE          (WM_USER + 242)
#define WM_TODAYCUSTOM_QUERYREFRESHCACHE   (WM_USER + 243)
#define WM_TODAYCUSTOM_RECEIVEDSELECTION   (WM_USER + 244)
#define WM_TODAYCUSTOM_LOSTSELECTION       (WM_USER + 245)
#define WM_TODAYCUSTOM_USERNAVIGATION      (WM_USER + 246)
#define WM_TODAYCUSTOM_ACTION              (WM_USER + 247)
#define WM_TODAYCUSTOM_UNUSED              (WM_USER + 248)

// Messages an item sends to the Today screen.
#define TODAYM_GETCOLOR       (WM_USER + 100)
#define TODAYM_DRAWWATERMARK  (WM_USER + 101)

#define TODAYCOLOR_TEXT       0x10000004
#define TODAYCOLOR_HIGHLIGHT  0x10000022
#define TODAYCOLOR_HIGHLIGHTEDTEXT 0x10000023

typedef HWND (WINAPI *PFNCUSTOMINITIALIZEITEM)(TODAYLISTITEM *, HWND);

