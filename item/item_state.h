// ItemState: the Today item's one global record of settings, page texts,
// run-time flags, colours, layout, menus, icons, Board and stroke state.
// It lives while the library is loaded; item windows come and go.
#pragma once
#include "../platform/device.h"
#include "../common/item_key.h"

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
    DISPLAY_TEXT_UNITS = 1002,
    BOARD_PATH_COUNT = 12
};

struct ColorRGB {
    int red, green, blue;
};

struct ItemState {
    // Persisted settings and their bounds.
    int currentPage = 1;
    int savedPage = 1;
    int fontSize = 8;
    int fontSizeMin = 3;
    int fontSizeMax = 30;
    int itemHeight = 200;
    int itemHeightMin = 40;
    int itemHeightMax = 640;
    int textColorIndex = 17;
    int textColorMax = 18;
    int showText = 1;
    int showImage = 1;
    int graphicsEditMode = 0;

    // Refresh protocol and read bookkeeping.
    int refreshPending = 0;
    int uscreenPending = 0;
    int settingsReadFailed = 0;

    // Page texts (pages 1..5 at index 0..4) and the landing buffer of
    // page reads; heap buffers of PAGE_TEXT_UNITS units from attach to detach.
    WCHAR *pageText[PAGE_COUNT] = {};
    WCHAR *readBuffer = nullptr;

    // Scratch texts of the numeric values, and the editor's page argument.
    WCHAR currentPageText[NUMBER_TEXT_UNITS] = {};
    WCHAR fontSizeText[NUMBER_TEXT_UNITS] = {};
    WCHAR textColorText[NUMBER_TEXT_UNITS] = {};
    WCHAR itemHeightText[NUMBER_TEXT_UNITS] = {};
    WCHAR editModeText[NUMBER_TEXT_UNITS] = {};
    WCHAR showTextText[NUMBER_TEXT_UNITS] = {};
    WCHAR showImageText[NUMBER_TEXT_UNITS] = {};
    WCHAR uscreenText[NUMBER_TEXT_UNITS] = {};
    WCHAR pageArgText[NUMBER_TEXT_UNITS] = {};

    // Library and window.
    int installFolderIndex = 1;
    HINSTANCE moduleInstance = nullptr;
    HWND itemWindow = nullptr;

    // Layout metrics, recomputed on every window message.
    int smallScreen = 0;
    int iconSize = 0, swatchSize = 0, toolbarHeight = 0, toolbarTop = 0;
    int cornerIconX = 0, penButtonX = 0, penSwatchX = 0;
    int eraserButtonX = 0, eraserSwatchX = 0, stampButtonX = 0, stampSwatchX = 0;
    int clearButtonX = 0, textToggleX = 0, imageToggleX = 0, saveButtonX = 0;

    // Rendering.
    WCHAR displayText[DISPLAY_TEXT_UNITS] = {};
    int useThemeTextColor = 1;
    ColorRGB textColorRGB = {0, 0, 0};

    // Tools and colours.
    int interactionState = TOOL_PEN;
    int lastPenX = -1, lastPenY = -1;
    int penWidth = 2;
    int eraserWidth = 5;
    int penColorIndex = 5;
    int eraserColorIndex = 18;
    int clearColorIndex = 18;
    int stampColorIndex = 4;
    int shapeIndex = 1;
    ColorRGB penColorRGB = {255, 0, 0};
    ColorRGB stampColorRGB = {255, 255, 0};
    ColorRGB eraserColorRGB = {0, 0, 0};
    ColorRGB boardBackgroundRGB = {224, 224, 224};
    COLORREF transparentKey = 0;

    // The Board, its memory DCs and its file.
    int boardWidth = 640, boardHeight = 640;
    HBITMAP boardBitmap = nullptr;
    HDC boardDC = nullptr, compositeDC = nullptr;
    HBITMAP compositeBitmap = nullptr;
    HGDIOBJ boardDCPrevBitmap = nullptr, compositeDCPrevBitmap = nullptr;
    int boardFileFound = 0, boardDirty = 0;

    // Popup menus.
    MenuContext menuContext = MENU_CONTEXT_NONE;
    HMENU itemMenu = nullptr, graphicsItemMenu = nullptr, textColorMenu = nullptr;
    HMENU penColorMenu = nullptr, penWidthMenu = nullptr, eraserMenu = nullptr;
    HMENU eraserWidthMenu = nullptr, clearBoardMenu = nullptr;
    HMENU stampColorMenu = nullptr, shapeMenu = nullptr;

    // The stroke being collected.
    int strokeX[STROKE_CAPACITY] = {};
    int strokeY[STROKE_CAPACITY] = {};
    int strokePointCount = 0;
    int strokeActive = 0;
    int strokeCancelled = 0;

    // Toolbar icons by role: [role][0] small set, [role][1] large set.
    HICON icons[ICON_ROLE_COUNT][2] = {};
};

extern ItemState g_item;

// The icon of a role in the set the screen uses.
inline HICON ToolbarIcon(IconRole role)
{
    return g_item.icons[role][g_item.smallScreen ? 0 : 1];
}
