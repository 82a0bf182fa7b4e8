#include "dialogs.h"
#include "page_exchange.h"
#include "relayout.h"
#include "resources/editor_resource.h"

void ShowTemplateDialog(HWND owner, UINT id, DLGPROC procedure)
{
    HRSRC found = FindResourceW(g_editor.instance, MAKEINTRESOURCEW(id), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(g_editor.instance, found) : NULL;
    const DLGTEMPLATE *dialogTemplate = loaded ? (const DLGTEMPLATE *)LockResource(loaded) : NULL;
    if (!dialogTemplate)
        return;
    DialogBoxIndirectParamW(g_editor.instance, dialogTemplate, owner, procedure, 0);
}

// Edit dialog: starts from the text stored now.
static INT_PTR OnEditInit(HWND dialog)
{
    ReadPageText();
    SendDlgItemMessageW(dialog, IDC_PAGE_TEXT, EM_LIMITTEXT, PAGE_TEXT_UNITS, 0);
    SetDlgItemTextW(dialog, IDC_PAGE_TEXT, g_editor.textBuffer);
    return TRUE;
}

// Edit dialog OK: keeps at most 999 characters, never an empty text.
static void OnEditOk(HWND dialog)
{
    if (g_editor.textBuffer) {
        GetWindowTextW(GetDlgItem(dialog, IDC_PAGE_TEXT), g_editor.textBuffer, PAGE_TEXT_UNITS);
        if (g_editor.textBuffer[0] == 0) {
            g_editor.textBuffer[0] = L' ';
            g_editor.textBuffer[1] = 0;
        }
        WritePageText();
    }
    EndDialog(dialog, 0);
}

static INT_PTR OnEditCommand(HWND dialog, WORD command)
{
    switch (command) {
    case IDOK: OnEditOk(dialog); break;
    case IDCANCEL: EndDialog(dialog, 0); break;     // nothing is written
    }
    return TRUE;
}

INT_PTR CALLBACK EditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnEditInit(dialog);
    case WM_COMMAND: return OnEditCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

// About dialog: full screen, with the shell's done button and an empty bar.
static INT_PTR OnAboutInit(HWND dialog)
{
    SHINITDLGINFO info = {};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU;
    SHInitDialog(&info);
    return TRUE;
}

static INT_PTR OnAboutCommand(HWND dialog, WORD command)
{
    if (command != IDOK)
        return FALSE;
    EndDialog(dialog, IDOK);
    return TRUE;
}

// Closing the About dialog tells the item to refresh.
static INT_PTR OnAboutClose(HWND dialog)
{
    EndDialog(dialog, ABOUT_CLOSED_RESULT);
    SetUscreen();
    return TRUE;
}

// The screen turned or changed size: lay the controls out again.
static INT_PTR OnAboutSize(HWND dialog)
{
    RelayoutDialog(g_editor.instance, dialog, IDD_ABOUT);
    return FALSE;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnAboutInit(dialog);
    case WM_COMMAND: return OnAboutCommand(dialog, LOWORD(wParam));
    case WM_CLOSE: return OnAboutClose(dialog);
    case WM_SIZE: return OnAboutSize(dialog);
    }
    return FALSE;
}
