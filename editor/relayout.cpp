#include "relayout.h"
#include <stdlib.h>
#include <string.h>

// Static control styles that carry an image.
static bool IsIconStyle(DWORD style)
{
    return (style & 0x3) == 0x3;                // SS_ICON
}

static bool IsBitmapStyle(DWORD style)
{
    return (style & 0xE) == 0xE;                // SS_BITMAP
}

// Replaces a static's image by a fresh load of the same resource; when the
// load fails the old image stays.
static void ReloadStaticIcon(HINSTANCE instance, HWND dialog, int id, WORD resource)
{
    HICON previous = (HICON)SendDlgItemMessageW(dialog, id, STM_GETIMAGE, IMAGE_ICON, 0);
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(resource));
    if (!icon)
        return;
    SendDlgItemMessageW(dialog, id, STM_SETIMAGE, IMAGE_ICON, (LPARAM)icon);
    if (previous && previous != icon)           // a shared icon may come back as the same handle
        DestroyIcon(previous);
}

static void ReloadStaticBitmap(HINSTANCE instance, HWND dialog, int id, WORD resource)
{
    HBITMAP previous = (HBITMAP)SendDlgItemMessageW(dialog, id, STM_GETIMAGE, IMAGE_BITMAP, 0);
    HBITMAP bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(resource));
    if (!bitmap)
        return;
    SendDlgItemMessageW(dialog, id, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap);
    if (previous && previous != bitmap)
        DeleteObject(previous);
}

// Sets a control's text from a title of the template. The template's text
// is copied out: nothing about the template's place in memory makes its
// characters 2-byte aligned, and the device faults on an unaligned read.
static void SetTextFromTemplate(HWND dialog, int id, const BYTE *templateBytes,
                                const TemplateField &title)
{
    WCHAR *text = (WCHAR *)malloc((title.textLength + 1) * sizeof(WCHAR));
    if (!text)
        return;
    memcpy(text, templateBytes + title.textOffset, title.textLength * sizeof(WCHAR));
    text[title.textLength] = 0;
    SetDlgItemTextW(dialog, id, text);
    free(text);
}

void RefreshControl(HINSTANCE instance, HWND dialog, const BYTE *templateBytes, const DialogItem &item)
{
    if (!item.classField.isNumber)
        return;
    int id = item.id;
    switch (item.classField.number) {
    case TEMPLATE_CLASS_BUTTON:
    case TEMPLATE_CLASS_STATIC:
        if (!item.title.isNumber)
            SetTextFromTemplate(dialog, id, templateBytes, item.title);
        else if (IsIconStyle(item.style))
            ReloadStaticIcon(instance, dialog, id, item.title.number);
        else if (IsBitmapStyle(item.style))
            ReloadStaticBitmap(instance, dialog, id, item.title.number);
        break;
    case TEMPLATE_CLASS_LISTBOX: {
        LRESULT selection = SendDlgItemMessageW(dialog, id, LB_GETCURSEL, 0, 0);
        if (selection != LB_ERR)
            SendDlgItemMessageW(dialog, id, LB_SETCURSEL, selection, 0);
        break;
    }
    case TEMPLATE_CLASS_COMBOBOX: {
        LRESULT selection = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
        if (selection != CB_ERR)
            SendDlgItemMessageW(dialog, id, CB_SETCURSEL, selection, 0);
        break;
    }
    }
}

// The control's template rectangle in the dialog's current pixels; false
// when the control is missing or the rectangle cannot be converted.
static bool FindControlRect(HWND dialog, const DialogItem &item, HWND *control, RECT *r)
{
    *control = GetDlgItem(dialog, item.id);
    r->left = item.x;
    r->top = item.y;
    r->right = item.x + item.cx;
    r->bottom = item.y + item.cy;
    return *control && MapDialogRect(dialog, r);
}

// Adds a control's move to the batch. A failed deferral abandons the batch,
// as the platform requires (*batch becomes NULL and nothing more is moved).
static bool DeferControlMove(HDWP *batch, HWND control, const RECT &r)
{
    if (*batch)
        *batch = DeferWindowPos(*batch, control, NULL, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, SWP_NOZORDER);
    return *batch != NULL;
}

BOOL RelayoutDialog(HINSTANCE instance, HWND dialog, UINT templateId)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(instance, found) : NULL;
    const BYTE *bytes = loaded ? (const BYTE *)LockResource(loaded) : NULL;
    if (!bytes)
        return FALSE;
    size_t size = SizeofResource(instance, found);
    DialogHeader header;
    if (!ReadDialogHeader(bytes, size, &header) || !DialogTemplateIsComplete(bytes, size))
        return FALSE;
    HDWP batch = BeginDeferWindowPos(header.itemCount);
    if (!batch)
        return FALSE;
    BOOL result = TRUE;
    int unnamed = 0;
    size_t offset = header.itemsOffset;
    DialogItem item;
    for (int i = 0; i < header.itemCount && ReadDialogItem(bytes, size, &offset, &item); i++) {
        HWND control;
        RECT r;
        if (!FindControlRect(dialog, item, &control, &r)) {
            result = FALSE;
            continue;
        }
        if (!DeferControlMove(&batch, control, r))
            result = FALSE;
        RefreshControl(instance, dialog, bytes, item);
        if (item.id == TEMPLATE_ID_NONE)
            unnamed++;
    }
    if (!batch || !EndDeferWindowPos(batch))
        result = FALSE;
    return unnamed >= 2 ? FALSE : result;
}
