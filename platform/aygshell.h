// Pocket PC shell (AYGSHELL) definitions that the editor uses, with the
// device's 32-bit structure layouts. Used only where the device SDK is not
// available; aygshell.cpp, menu_bar.cpp and sippref.cpp stand in for the
// functions.
#pragma once
#include <windows.h>

// Menu bar creation: SHCreateMenuBar.
typedef struct tagSHMENUBARINFO {
    DWORD cbSize;           // 36
    HWND hwndParent;
    DWORD dwFlags;          // SHCMBF_*
    UINT nToolBarId;        // SHMENUBAR resource (RCDATA) id
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;            // out: the menu bar window
    COLORREF clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;

#define SHCMBF_EMPTYBAR       0x0001
#define SHCMBF_HIDDEN         0x0002
#define SHCMBF_HIDESIPBUTTON  0x0004
#define SHCMBF_COLORBK        0x0008
#define SHCMBF_HMENU          0x0010

#define SHCMBM_GETSUBMENU     (WM_USER + 401)

// Words of the SHMENUBAR resource.
#ifndef NOMENU
#define NOMENU 0xFFFF
#endif
#ifndef I_IMAGENONE
#define I_IMAGENONE (-2)
#endif

// Activation bookkeeping: SHHandleWMActivate, SHHandleWMSettingChange.
typedef struct tagSHACTIVATEINFO {
    DWORD cbSize;           // 12
    HWND hwndLastFocus;
    UINT fSipUp : 1;
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
} SHACTIVATEINFO, *PSHACTIVATEINFO;

// Dialog set-up: SHInitDialog.
typedef struct tagSHINITDLGINFO {
    DWORD dwMask;           // SHIDIM_FLAGS
    HWND hDlg;
    DWORD dwFlags;          // SHIDIF_*
} SHINITDLGINFO, *PSHINITDLGINFO;

#define SHIDIM_FLAGS                0x0001

#define SHIDIF_DONEBUTTON           0x0001
#define SHIDIF_SIZEDLG              0x0002
#define SHIDIF_SIZEDLGFULLSCREEN    0x0004
#define SHIDIF_SIPDOWN              0x0008
#define SHIDIF_FULLSCREENNOMENUBAR  0x0010
#define SHIDIF_EMPTYMENU            0x0020


// Window class of the input-panel helper control, the last control of a
// dialog that wants the input panel raised for its edit controls.
#define WC_SIPPREF L"SIPPREF"

extern "C" {
// Registers the shell's extra control classes ("SIPPREF").
BOOL WINAPI SHInitExtraControls(void);
// Creates the menu bar of a window from its SHMENUBAR resource; fills hwndMB.
BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *info);
// Sizes a dialog and gives it the shell's done button and menu bar.
BOOL WINAPI SHInitDialog(SHINITDLGINFO *info);
// Activation and setting changes of a top-level window.
BOOL WINAPI SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO *info,
                               DWORD flags);
BOOL WINAPI SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam,
                                    SHACTIVATEINFO *info);
}
