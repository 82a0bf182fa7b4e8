#include "commands.h"
#include "board_primitives.h"
#include "install_folders.h"
#include "item_commands.h"
#include "menus.h"
#include "page_paste.h"
#include "settings_store.h"
#include "../common/registry_text.h"
#include <string.h>

static void Repaint()
{
    InvalidateRect(g_item.itemWindow, NULL, TRUE);
}

static WCHAR *CurrentPageText()
{
    int page = g_item.currentPage;
    return (page >= 1 && page <= PAGE_COUNT) ? g_item.pageText[page - 1] : NULL;
}

static void StartEditor()
{
    ItemState &s = g_item;
    FormatDecimal(s.currentPage, s.pageArgText, NUMBER_TEXT_UNITS);
    WCHAR editor[MAX_PATH];
    EditorPath(s.installFolderIndex, editor);
    SHELLEXECUTEINFO info = {};
    info.cbSize = sizeof(info);
    info.lpFile = editor;
    info.lpParameters = s.pageArgText;
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteEx(&info);
    s.refreshPending = 1;
    Repaint();
}

// Copy: false when the clipboard could not be opened.
static bool CopyPage()
{
    if (!OpenClipboard(g_item.itemWindow))
        return false;
    EmptyClipboard();
    HLOCAL memory = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, (UINT)PAGE_TEXT_UNITS * sizeof(WCHAR));
    WCHAR *text = memory ? (WCHAR *)LockClipboardMemory(memory) : NULL;
    const WCHAR *page = CurrentPageText();
    if (text && page) {
        int length = TextLength(page, PAGE_TEXT_MAX_CHARS);
        memcpy(text, page, length * sizeof(WCHAR));
        text[length] = 0;
    }
    if (memory)
        UnlockClipboardMemory(memory);
    // The clipboard owns the memory once it takes it; otherwise it is ours.
    if (memory && (!text || !SetClipboardData(CF_UNICODETEXT, memory)))
        LocalFree(memory);
    CloseClipboard();
    return true;
}

// The clipboard's text, locked, and its length bounded by the size of its
// memory: a block without a terminator is never read past its end. NULL
// when the clipboard holds no text.
static const WCHAR *LockClipboardText(HANDLE *handle, int *length)
{
    *handle = GetClipboardData(CF_UNICODETEXT);
    const WCHAR *text = *handle ? (const WCHAR *)LockClipboardMemory(*handle) : NULL;
    if (text) {
        *length = ClipboardTextLength(text, ClipboardMemorySize(*handle));
    }
    return text;
}

// Paste (append false) or Paste to end (append true).
static void PastePage(bool append)
{
    ItemState &s = g_item;
    if (!OpenClipboard(s.itemWindow)) {
        CloseClipboard();
        return;
    }
    HANDLE handle;
    int length = 0;
    const WCHAR *text = LockClipboardText(&handle, &length);
    if (!text) {
        CloseClipboard();
        return;
    }
    if (WCHAR *page = CurrentPageText())
        PasteIntoPage(page, text, length, append);
    UnlockClipboardMemory(handle);
    CloseClipboard();
    SaveSettings();
    if (append)
        s.refreshPending = 1;
    Repaint();
    if (append)
        UpdateWindow(s.itemWindow);
}

// Fills the Board with the clear colour. Without a Board nothing changes,
// and nothing is marked for saving.
static void ClearBoard()
{
    if (!g_item.boardBitmap)
        return;
    FillBoard(g_item.boardBitmap);
    g_item.boardDirty = 1;
}

// A colour chosen in a popup, by the popup that was opened last.
static void ApplyColor(int index)
{
    ItemState &s = g_item;
    switch (s.menuContext) {
    case MENU_CONTEXT_PEN_COLOR:
        s.penColorIndex = index;
        ResolveColor(COLOR_TARGET_PEN);
        RefreshMenuChecks(CHECKS_PEN_COLOR);
        break;
    case MENU_CONTEXT_CLEAR_BOARD:
        s.eraserColorIndex = s.clearColorIndex = index;
        ResolveColor(COLOR_TARGET_CLEAR);
        ClearBoard();
        RefreshMenuChecks(CHECKS_ERASER_COLOR);
        break;
    case MENU_CONTEXT_ERASER_COLOR:
        s.eraserColorIndex = s.clearColorIndex = index;
        ResolveColor(COLOR_TARGET_ERASER);
        RefreshMenuChecks(CHECKS_ERASER_COLOR);
        s.interactionState = TOOL_ERASER;
        break;
    case MENU_CONTEXT_STAMP_COLOR:
        s.stampColorIndex = index;
        ResolveColor(COLOR_TARGET_STAMP);
        RefreshMenuChecks(CHECKS_STAMP_COLOR);
        s.interactionState = TOOL_STAMP;
        break;
    default:
        s.interactionState = TOOL_PEN;
        s.textColorIndex = index;
        ResolveColor(COLOR_TARGET_TEXT);
        SaveSettings();
        RefreshMenuChecks(CHECKS_TEXT_COLOR);
        break;
    }
    Repaint();
}

// "Transparent eraser" and "Use Transparent to delete".
static void ApplyTransparent()
{
    MenuContext context = g_item.menuContext;
    if (context == MENU_CONTEXT_CLEAR_BOARD || context == MENU_CONTEXT_ERASER_COLOR)
        ApplyColor(PALETTE_TRANSPARENT);
    else
        Repaint();
}

static void ClearWithEraser()
{
    ItemState &s = g_item;
    MenuContext context = s.menuContext;
    s.menuContext = MENU_CONTEXT_NONE;
    if (context == MENU_CONTEXT_CLEAR_BOARD) {
        ClearBoard();
        Repaint();
    }
}

static void ApplyWidth(int width)
{
    ItemState &s = g_item;
    if (s.menuContext == MENU_CONTEXT_PEN_WIDTH) {
        s.penWidth = width;
        RefreshMenuChecks(CHECKS_PEN_WIDTH);
    } else if (s.menuContext == MENU_CONTEXT_ERASER_WIDTH) {
        s.eraserWidth = width;
        RefreshMenuChecks(CHECKS_ERASER_WIDTH);
    }
}

// Larger or smaller text: a step past the bounds leaves the size.
static void ChangeTextSize(int step)
{
    ItemState &s = g_item;
    int size = s.fontSize + step;
    if (size >= s.fontSizeMin && size <= s.fontSizeMax)
        s.fontSize = size;
    SaveSettings();
    Repaint();
}

// Larger or smaller window, clamped to the bounds; the Today screen is
// asked to resize the item.
static void ChangeItemHeight(int step)
{
    ItemState &s = g_item;
    int height = s.itemHeight + step;
    s.itemHeight = height < s.itemHeightMin ? s.itemHeightMin
                 : height > s.itemHeightMax ? s.itemHeightMax : height;
    s.refreshPending = 1;
    SaveSettings();
    Repaint();
}

LRESULT OnItemCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    ItemState &s = g_item;
    UINT id = LOWORD(wParam);
    switch (id) {
    case IDM_ENTER_EDIT_MODE: s.graphicsEditMode = 1; SaveSettings(); break;
    case IDM_EXIT_EDIT_MODE: s.graphicsEditMode = 0; SaveSettings(); break;
    case IDM_EDIT_TEXT: StartEditor(); break;
    case IDM_COPY:
        if (!CopyPage())
            return 0;
        break;
    case IDM_PASTE: PastePage(false); break;
    case IDM_PASTE_TO_END: PastePage(true); break;
    case IDM_LARGER_TEXT: ChangeTextSize(1); break;
    case IDM_SMALLER_TEXT: ChangeTextSize(-1); break;
    case IDM_LARGER_WINDOW: ChangeItemHeight(20); break;
    case IDM_SMALLER_WINDOW: ChangeItemHeight(-20); break;
    case IDM_TRANSPARENT: ApplyTransparent(); break;
    case IDM_CLEAR_WITH_ERASER: ClearWithEraser(); break;
    default:
        if (PaletteIndexOfCommand(id) >= 0)
            ApplyColor(PaletteIndexOfCommand(id));
        else if (WidthOfCommand(id))
            ApplyWidth(WidthOfCommand(id));
        else if (ShapeOfCommand(id)) {
            s.shapeIndex = ShapeOfCommand(id);
            RefreshMenuChecks(CHECKS_SHAPE);
        }
        break;
    }
    return DefWindowProcW(hwnd, WM_COMMAND, wParam, lParam);
}
