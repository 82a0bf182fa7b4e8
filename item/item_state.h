// ItemState: the Today item's one global record of settings, page texts,
// run-time flags, colours, layout, menus, icons, Board and stroke state.
// It lives while the library is loaded; item windows come and go.
#pragma once
#include "../platform/device.h"
#include "../common/item_key.h"
#include "item_layout.h"

enum MenuContext {
    MENU_CONTEXT_NONE,
    MENU_CONTEXT_PEN_COLOR,
    MENU_CONTEXT_PEN_WIDTH,
    MENU_CONTEXT_ERASER_COLOR,
    MENU_CONTEXT_ERASER_WIDTH,
    MENU_CONTEXT_CLEAR_BOARD,
    MENU_CONTEXT_STAMP_COLOR,
    MENU_CONTEXT_SHAPE
};

enum InteractionState {
    TOOL_PEN = 1,
    TOOL_ERASER = 2,
    TOOL_STAMP = 3
};

// Toolbar icon roles; each has a small-screen and a large-screen icon.
enum IconRole {
    ICON_CORNER,
    ICON_PEN_ON,
    ICON_PEN_OFF,
    ICON_SWATCH_FRAME,
    ICON_LOWER_MARK,
    ICON_ERASER_ON,
    ICON_ERASER_OFF,
    ICON_STAMP_ON,
    ICON_STAMP_OFF,
    ICON_CLEAR,
    ICON_TEXT_SHOWN,
    ICON_TEXT_HIDDEN,
    ICON_IMAGE_SHOWN,
    ICON_IMAGE_HIDDEN,
    ICON_SAVE,
    ICON_ROLE_COUNT
};

enum {
    STROKE_CAPACITY = 1498,
    DISPLAY_TEXT_UNITS = 1002
};

struct ColorRGB {
    int red, green, blue;
};

struct ItemState {
    // Persisted settings and their bounds.
    int currentPage;
    int savedPage;
    int fontSize;
    int fontSizeMin;
    int fontSizeMax;
    int itemHeight;
    int itemHeightMin;
    int itemHeightMax;
    int textColorIndex;
    int textColorMax;
    int showText;
    int showImage;
    int graphicsEditMode;

    // Refresh protocol and read bookkeeping.
    int refreshPending;
    int uscreenPending;
    int settingsReadFailed;

    // Page texts (pages 1..5 at index 0..4) and the landing buffer of
    // page reads; heap buffers of PAGE_TEXT_UNITS units from attach to detach.
    WCHAR *pageText[PAGE_COUNT];
    WCHAR *readBuffer;

    // Scratch texts of the numeric values, and the editor's page argument.
    WCHAR currentPageText[NUMBER_TEXT_UNITS];
    WCHAR fontSizeText[NUMBER_TEXT_UNITS];
    WCHAR textColorText[NUMBER_TEXT_UNITS];
    WCHAR itemHeightText[NUMBER_TEXT_UNITS];
    WCHAR editModeText[NUMBER_TEXT_UNITS];
    WCHAR showTextText[NUMBER_TEXT_UNITS];
    WCHAR showImageText[NUMBER_TEXT_UNITS];
    WCHAR uscreenText[NUMBER_TEXT_UNITS];
    WCHAR pageArgText[NUMBER_TEXT_UNITS];

    // Library and window: the folder of the item's files (see
    // install_folders.h), and the DLL's own folder when it lies outside
    // the program folders the item knows ("" otherwise).
    int installFolderIndex;
    WCHAR ownFolder[MAX_PATH];
    HINSTANCE moduleInstance;
    HWND itemWindow;

    // Layout: what it was last worked out from and the result
    // (item_layout.h), worked out again on every window message.
    ItemLayoutInput layoutInput;
    ItemLayout layout;

    // Rendering.
    WCHAR displayText[DISPLAY_TEXT_UNITS];
    int useThemeTextColor;
    ColorRGB textColorRGB;

    // Tools and colours.
    int interactionState;
    int lastPenX, lastPenY;
    int penWidth;
    int eraserWidth;
    int penColorIndex;
    int eraserColorIndex;
    int clearColorIndex;
    int stampColorIndex;
    int shapeIndex;
    ColorRGB penColorRGB;
    ColorRGB stampColorRGB;
    ColorRGB eraserColorRGB;
    ColorRGB boardBackgroundRGB;
    COLORREF transparentKey;

    // The Board, its memory DCs and its file.
    int boardWidth, boardHeight;
    HBITMAP boardBitmap;
    HDC boardDC, compositeDC;
    HBITMAP compositeBitmap;
    HGDIOBJ boardDCPrevBitmap, compositeDCPrevBitmap;
    int boardFileFound, boardDirty;

    // Popup menus.
    MenuContext menuContext;
    HMENU itemMenu, graphicsItemMenu, textColorMenu;
    HMENU penColorMenu, penWidthMenu, eraserMenu;
    HMENU eraserWidthMenu, clearBoardMenu;
    HMENU stampColorMenu, shapeMenu;

    // The stroke being collected.
    int strokeX[STROKE_CAPACITY];
    int strokeY[STROKE_CAPACITY];
    int strokePointCount;
    int strokeActive;
    int strokeCancelled;

    // Toolbar icons by role: [role][0] small set, [role][1] large set.
    HICON icons[ICON_ROLE_COUNT][2];
};

extern ItemState g_item;

// Sets every field of a state record to its load-time value.
void SetItemStateDefaults(ItemState *state);

// The icon of a role in the set the screen uses.
inline HICON ToolbarIcon(IconRole role)
{
    return g_item.icons[role][g_item.layout.smallScreen ? 0 : 1];
}
