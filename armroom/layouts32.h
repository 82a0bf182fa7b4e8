// The 32-bit layouts of the structures that cross between the device's ARM
// code and the host: the device's own (i686's too), each pointer and handle
// a 32-bit word, so that a host of either width reads a structure where the
// guest wrote it. The declarations are plain C++98, as the device's build
// takes them: it checks each against its own headers
// (tests/device/layouts32_check.cpp), and the x86 build against its own
// (armroom/layouts32.cpp).
//
// Below them, for the host only, how each structure crosses the boundary:
// ToHost fills the host's structure from the guest's, ToGuest the guest's
// from the host's, field by field by the boundary's rules. Host fields the
// guest's layout lacks are zero after ToHost.
#pragma once
#include <windows.h>
#include <stdint.h>

namespace guest32 {

struct MSG {
    uint32_t hwnd;
    UINT message;
    uint32_t wParam;
    uint32_t lParam;
    DWORD time;
    POINT pt;
};

struct PAINTSTRUCT {
    uint32_t hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

struct WNDCLASSW {
    UINT style;
    uint32_t lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    uint32_t hInstance;
    uint32_t hIcon;
    uint32_t hCursor;
    uint32_t hbrBackground;
    uint32_t lpszMenuName;
    uint32_t lpszClassName;
};

struct CREATESTRUCTW {
    uint32_t lpCreateParams;
    uint32_t hInstance;
    uint32_t hMenu;
    uint32_t hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    uint32_t lpszName;
    uint32_t lpszClass;
    DWORD dwExStyle;
};

struct WINDOWPOS {
    uint32_t hwnd;
    uint32_t hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};

struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    uint32_t lppos;         // a WINDOWPOS
};

// The same layout on both sides: points only.
struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct STYLESTRUCT {
    DWORD styleOld;
    DWORD styleNew;
};

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    uint32_t bmBits;
};

struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    uint32_t dshSection;
    DWORD dsOffset;
};

struct SHELLEXECUTEINFOW {
    DWORD cbSize;
    ULONG fMask;
    uint32_t hwnd;
    uint32_t lpVerb;
    uint32_t lpFile;
    uint32_t lpParameters;
    uint32_t lpDirectory;
    int nShow;
    uint32_t hInstApp;
    uint32_t lpIDList;
    uint32_t lpClass;
    uint32_t hkeyClass;
    DWORD dwHotKey;
    uint32_t hIcon;
    uint32_t hProcess;
};

// The device's has no hbmpItem (the host's last field): 44 bytes, the size
// the host knows as its older one.
struct MENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    uint32_t hSubMenu;
    uint32_t hbmpChecked;
    uint32_t hbmpUnchecked;
    uint32_t dwItemData;
    uint32_t dwTypeData;
    UINT cch;
};

struct SHMENUBARINFO {
    DWORD cbSize;
    uint32_t hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    uint32_t hInstRes;
    int nBmpId;
    int cBmpImages;
    uint32_t hwndMB;
    COLORREF clrBk;
};

struct SHINITDLGINFO {
    DWORD dwMask;
    uint32_t hDlg;
    DWORD dwFlags;
};

struct SHACTIVATEINFO {
    DWORD cbSize;
    uint32_t hwndLastFocus;
    // The bit fields in one word, from bit 0: fSipUp, fSipOnDeactivation,
    // fActive (one bit each), fReserved (29).
    DWORD bits;
};

struct TODAYLISTITEM {
    WCHAR szName[32];
    DWORD tlit;             // TODAYLISTITEMTYPE
    DWORD dwOrder;
    DWORD cyp;
    BOOL fEnabled;
    BOOL fOptions;
    DWORD grfFlags;
    WCHAR szDLLPath[MAX_PATH];
    uint32_t hinstDLL;
    uint32_t hwndCustom;
    BOOL fSizeOnDraw;
    uint32_t prgbCachedData;
    DWORD cbCachedData;
};

struct TODAYDRAWWATERMARKINFO {
    uint32_t hdc;
    RECT rc;
    uint32_t hwnd;
};

struct MEMORY_BASIC_INFORMATION {
    uint32_t BaseAddress;
    uint32_t AllocationBase;
    DWORD AllocationProtect;
    DWORD RegionSize;
    DWORD State;
    DWORD Protect;
    DWORD Type;
};

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};

}  // namespace guest32

#ifndef UNDER_CE
#include <shellapi.h>

#include "armroom/boundary.h"
#include "platform/aygshell.h"
#include "platform/today.h"

// For each structure S: Layout32<S>::Guest, and
//   void ToHost(Boundary &b, const guest32::S &guest, S &host, const char *what);
//   void ToGuest(Boundary &b, const S &host, guest32::S &guest, const char *what);
// WHAT names the structure in a refusal. A field that holds a procedure
// (WNDCLASSW::lpfnWndProc) crosses as the bare word: the room puts its own
// in its place. A cbSize crosses as the other side's size of the structure.
#define INKLEAF_LAYOUT32(S)                                                          \
    template <>                                                                      \
    struct Layout32<S> {                                                             \
        typedef guest32::S Guest;                                                    \
    };                                                                               \
    void ToHost(Boundary &b, const guest32::S &guest, S &host, const char *what);    \
    void ToGuest(Boundary &b, const S &host, guest32::S &guest, const char *what);

INKLEAF_LAYOUT32(MSG)
INKLEAF_LAYOUT32(PAINTSTRUCT)
INKLEAF_LAYOUT32(WNDCLASSW)
INKLEAF_LAYOUT32(CREATESTRUCTW)
INKLEAF_LAYOUT32(WINDOWPOS)
INKLEAF_LAYOUT32(MINMAXINFO)
INKLEAF_LAYOUT32(STYLESTRUCT)
// bmBits: host bits reach the guest mapped into its memory (a DIB
// section's, for as long as the host keeps them), not copied.
INKLEAF_LAYOUT32(BITMAP)
INKLEAF_LAYOUT32(DIBSECTION)
INKLEAF_LAYOUT32(SHELLEXECUTEINFOW)
// dwTypeData crosses as a string (or the integer it may be); a caller that
// hands it as GetMenuItemInfoW's buffer of cch characters translates it
// itself.
INKLEAF_LAYOUT32(MENUITEMINFOW)
INKLEAF_LAYOUT32(SHMENUBARINFO)
INKLEAF_LAYOUT32(SHINITDLGINFO)
INKLEAF_LAYOUT32(SHACTIVATEINFO)
// prgbCachedData: cbCachedData bytes, copied for the guest where the host's
// lie outside its memory.
INKLEAF_LAYOUT32(TODAYLISTITEM)
INKLEAF_LAYOUT32(TODAYDRAWWATERMARKINFO)
// BaseAddress and AllocationBase are guest addresses on the guest's side:
// ToGuest takes host pointers into guest memory, as the room computes them
// for the guest's own regions (it fills the guest's structure itself for a
// range no region holds).
INKLEAF_LAYOUT32(MEMORY_BASIC_INFORMATION)
INKLEAF_LAYOUT32(TPMPARAMS)
#undef INKLEAF_LAYOUT32

// lppos points at a WINDOWPOS of its own layout. ToHost converts the
// guest's into POSITION, which the caller owns, and points lppos there;
// ToGuest converts the host's into a copy in the guest's scratch space.
template <>
struct Layout32<NCCALCSIZE_PARAMS> {
    typedef guest32::NCCALCSIZE_PARAMS Guest;
};
void ToHost(Boundary &b, const guest32::NCCALCSIZE_PARAMS &guest, NCCALCSIZE_PARAMS &host,
            WINDOWPOS &position, const char *what);
void ToGuest(Boundary &b, const NCCALCSIZE_PARAMS &host, guest32::NCCALCSIZE_PARAMS &guest,
             const char *what);

// The guest address of a copy of HOST in the guest's layout, in scratch
// space; 0 for NULL.
template <class S>
uint32_t GuestCopyOf(Boundary &b, const S *host, const char *what)
{
    if (!host)
        return 0;
    typename Layout32<S>::Guest guest;
    ToGuest(b, *host, guest, what);
    return b.GuestCopy(&guest, sizeof guest, what);
}
#endif
