#include "library.h"
#include "install_folders.h"
#include "item_window.h"
#include "menus.h"
#include "scaling.h"
#include "resources/item_resource.h"
#include <stdlib.h>
#include <string.h>

ItemState g_item;

void SetItemStateDefaults(ItemState *state)
{
    ItemState &s = *state;
    // Everything not named below starts as zero: handles, buffers, texts,
    // flags, layout metrics, the stroke and the icons.
    memset(&s, 0, sizeof(s));

    // Persisted settings and their bounds.
    s.currentPage = 1;
    s.savedPage = 1;
    s.fontSize = 8;
    s.fontSizeMin = 3;
    s.fontSizeMax = 30;
    s.itemHeight = 200;
    s.itemHeightMin = 40;
    s.itemHeightMax = 640;
    s.textColorIndex = 17;      // the Today theme's text colour
    s.textColorMax = 18;
    s.showText = 1;
    s.showImage = 1;

    // Library: the install folder the board path list tries first.
    s.installFolderIndex = 1;

    // Rendering: black text until the theme's colour is asked for.
    s.useThemeTextColor = 1;
    s.textColorRGB.red = s.textColorRGB.green = s.textColorRGB.blue = 0;

    // Tools and colours: a green pen of width 2 (its components stay red
    // until item creation resolves the index), a transparent eraser of
    // width 5 and clear colour, a yellow stamp of the first shape.
    s.interactionState = TOOL_PEN;
    s.lastPenX = s.lastPenY = -1;
    s.penWidth = 2;
    s.eraserWidth = 5;
    s.penColorIndex = 5;
    s.eraserColorIndex = 18;
    s.clearColorIndex = 18;
    s.stampColorIndex = 4;
    s.shapeIndex = 1;
    s.penColorRGB.red = 255;
    s.stampColorRGB.red = s.stampColorRGB.green = 255;
    s.boardBackgroundRGB.red = s.boardBackgroundRGB.green = s.boardBackgroundRGB.blue = 224;

    // The Board as the item creates it.
    s.boardWidth = s.boardHeight = 640;

    s.menuContext = MENU_CONTEXT_NONE;
}

const WCHAR *const kPageTextsAtAttach[PAGE_COUNT] = {
    L"Welcome to 'Inkleaf'!\r\nTap on upper left corner to edit this\r\ntext or graphics to display.",
    L"(tab2: Tap upper left corner\r\nto edit text)",
    L"(tab3: Tap upper left corner\r\nto edit text)",
    L"(tab4: Tap upper left corner\r\nto edit text)",
    L"(tab5: Tap upper left corner\r\nto edit text)",
};
const WCHAR kReadBufferAtAttach[] = L"INITIAL TEXT";

// Icon resources in load order, with their role and set (0 small, 1 large).
static const struct {
    int id;
    IconRole role;
    int large;
} kIcons[30] = {
    {IDI_CORNER_LARGE, ICON_CORNER, 1},         {IDI_ERASER_ON_LARGE, ICON_ERASER_ON, 1},
    {IDI_ERASER_OFF_LARGE, ICON_ERASER_OFF, 1}, {IDI_CLEAR_LARGE, ICON_CLEAR, 1},
    {IDI_PEN_ON_LARGE, ICON_PEN_ON, 1},         {IDI_PEN_OFF_LARGE, ICON_PEN_OFF, 1},
    {IDI_SWATCH_FRAME_LARGE, ICON_SWATCH_FRAME, 1}, {IDI_LOWER_MARK_LARGE, ICON_LOWER_MARK, 1},
    {IDI_IMAGE_SHOWN_LARGE, ICON_IMAGE_SHOWN, 1}, {IDI_SAVE_LARGE, ICON_SAVE, 1},
    {IDI_IMAGE_HIDDEN_LARGE, ICON_IMAGE_HIDDEN, 1}, {IDI_TEXT_SHOWN_LARGE, ICON_TEXT_SHOWN, 1},
    {IDI_TEXT_HIDDEN_LARGE, ICON_TEXT_HIDDEN, 1}, {IDI_STAMP_ON_LARGE, ICON_STAMP_ON, 1},
    {IDI_STAMP_OFF_LARGE, ICON_STAMP_OFF, 1},   {IDI_CORNER_SMALL, ICON_CORNER, 0},
    {IDI_ERASER_ON_SMALL, ICON_ERASER_ON, 0},   {IDI_ERASER_OFF_SMALL, ICON_ERASER_OFF, 0},
    {IDI_CLEAR_SMALL, ICON_CLEAR, 0},           {IDI_PEN_ON_SMALL, ICON_PEN_ON, 0},
    {IDI_PEN_OFF_SMALL, ICON_PEN_OFF, 0},       {IDI_SWATCH_FRAME_SMALL, ICON_SWATCH_FRAME, 0},
    {IDI_LOWER_MARK_SMALL, ICON_LOWER_MARK, 0}, {IDI_IMAGE_SHOWN_SMALL, ICON_IMAGE_SHOWN, 0},
    {IDI_SAVE_SMALL, ICON_SAVE, 0},             {IDI_IMAGE_HIDDEN_SMALL, ICON_IMAGE_HIDDEN, 0},
    {IDI_TEXT_SHOWN_SMALL, ICON_TEXT_SHOWN, 0}, {IDI_TEXT_HIDDEN_SMALL, ICON_TEXT_HIDDEN, 0},
    {IDI_STAMP_ON_SMALL, ICON_STAMP_ON, 0},     {IDI_STAMP_OFF_SMALL, ICON_STAMP_OFF, 0},
};

static WCHAR *NewTextBuffer(const WCHAR *text)
{
    WCHAR *buffer = (WCHAR *)malloc(PAGE_TEXT_UNITS * sizeof(WCHAR));
    if (buffer)
        memcpy(buffer, text, (wcslen(text) + 1) * sizeof(WCHAR));
    return buffer;
}

static void FreeTextBuffers()
{
    ItemState &s = g_item;
    for (int page = 0; page < PAGE_COUNT; page++) {
        free(s.pageText[page]);
        s.pageText[page] = NULL;
    }
    free(s.readBuffer);
    s.readBuffer = NULL;
}

static void RegisterItemClass()
{
    LPCWSTR name = ItemClassName();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ItemWindowProc;
    wc.hInstance = g_item.moduleInstance;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = name;
    UnregisterClassW(name, g_item.moduleInstance);
    RegisterClassW(&wc);
}

bool LibraryAttach(HINSTANCE instance)
{
    ItemState &s = g_item;
    SetItemStateDefaults(&s);
    s.moduleInstance = instance;
    FindOwnInstallFolder(instance);
    s.transparentKey = RGB(s.boardBackgroundRGB.red, s.boardBackgroundRGB.green,
                           s.boardBackgroundRGB.blue);
    bool buffers = true;
    for (int page = 0; page < PAGE_COUNT; page++)
        buffers &= (s.pageText[page] = NewTextBuffer(kPageTextsAtAttach[page])) != NULL;
    buffers &= (s.readBuffer = NewTextBuffer(kReadBufferAtAttach)) != NULL;
    if (!buffers) {
        // Every page needs its buffer: without them the library does not
        // load. Nothing else was made yet, and the detach that the loader
        // sends after a failed attach finds nothing to undo.
        FreeTextBuffers();
        s.moduleInstance = NULL;
        return false;
    }
    BuildPopupMenus();
    int cx = MulDivRound(16, ScreenDpiX(), 96);
    int cy = MulDivRound(16, ScreenDpiY(), 96);
    for (size_t i = 0; i < COUNT_OF(kIcons); i++)
        s.icons[kIcons[i].role][kIcons[i].large] =
            (HICON)LoadImageW(instance, MAKEINTRESOURCEW(kIcons[i].id), IMAGE_ICON, cx, cy, 0);
    RegisterItemClass();
    s.itemWindow = NULL;
    return true;
}

void LibraryDetach()
{
    ItemState &s = g_item;
    if (!s.moduleInstance)
        return;                 // never attached, or attached and detached already
    for (int role = 0; role < ICON_ROLE_COUNT; role++)
        for (int set = 0; set < 2; set++) {
            if (s.icons[role][set])
                DestroyIcon(s.icons[role][set]);
            s.icons[role][set] = NULL;
        }
    FreeTextBuffers();
    DestroyPopupMenus();
    UnregisterClassW(ItemClassName(), s.moduleInstance);
    s.moduleInstance = NULL;
}
