#include "pen_input.h"
#include "board_file.h"
#include "board_primitives.h"
#include "settings_store.h"
#include "stroke_replay.h"

static void Repaint(bool erase)
{
    InvalidateRect(g_item.itemWindow, NULL, erase);
}

// Width and height of the Board, 0 x 0 when there is none.
static void BoardSize(int *width, int *height)
{
    BITMAP bm;
    *width = *height = 0;
    if (g_item.boardBitmap && GetObjectW(g_item.boardBitmap, sizeof(bm), &bm) == sizeof(bm)) {
        *width = bm.bmWidth;
        *height = bm.bmHeight;
    }
}

bool InsideBoardArea(int x, int y, int width, int height)
{
    const ItemState &s = g_item;
    if (!s.boardBitmap)
        return false;
    int w = s.interactionState == TOOL_ERASER ? s.eraserWidth : s.penWidth;
    return InsideBoardMargin(s.layout.toolbarHeight, width, height, w, x, y);
}

bool InsideStampArea(int x, int y, int width, int height)
{
    const ItemState &s = g_item;
    return s.boardBitmap && InsideBoardMargin(s.layout.toolbarHeight, width, height, STAMP_MARGIN, x, y);
}

static void ShowPopup(HMENU menu, int x, int y)
{
    POINT pt = {x, y};
    ClientToScreen(g_item.itemWindow, &pt);
    TrackPopupMenuEx(menu, 0, pt.x, pt.y, g_item.itemWindow, NULL);
}

static void ResetStroke()
{
    g_item.strokePointCount = 0;
    g_item.strokeActive = 0;
}

static void CancelStroke()
{
    g_item.strokePointCount = 0;
    g_item.strokeCancelled = 1;
    g_item.strokeActive = 0;
    Repaint(true);
}

static void StorePoint(int x, int y)
{
    ItemState &s = g_item;
    s.strokeX[s.strokePointCount] = x;
    s.strokeY[s.strokePointCount] = y;
    s.strokePointCount++;
    s.lastPenX = x;
    s.lastPenY = y;
}

// One dot of the active tool at item point (x, y), into the Board memory
// `pixels` points to.
static void DotAtItemPoint(int x, int y, void *pixels)
{
    DrawAtBoardPoint(*(const BoardPixels *)pixels, x, y - g_item.layout.toolbarHeight);
}

static void CornerTap(int x, int y)
{
    g_item.menuContext = MENU_CONTEXT_NONE;
    ShowPopup(g_item.graphicsEditMode ? g_item.graphicsItemMenu : g_item.itemMenu, x, y);
    Repaint(true);
}

static void PenDown(int x, int y)
{
    ItemState &s = g_item;
    if (y >= s.itemHeight)
        return;
    if (ItemCellAt(s.layout, x, y) == CELL_CORNER) {
        CornerTap(x, y);
        return;
    }
    if (!s.showImage)
        return;
    if (s.strokeActive) {
        ResetStroke();
        return;
    }
    int width, height;
    BoardSize(&width, &height);
    if (!s.graphicsEditMode)
        return;
    if (!InsideBoardArea(x, y, width, height)) {
        ResetStroke();
        Repaint(true);
        return;
    }
    if (s.interactionState == TOOL_STAMP) {
        if (InsideStampArea(x, y, width, height)) {
            s.lastPenX = x;
            s.lastPenY = y;
            DrawAtPoint(s.boardBitmap, x, y - s.layout.toolbarHeight);
            s.boardDirty = 1;
            Repaint(false);
        }
        return;
    }
    StorePoint(x, y);
    s.strokeActive = 1;
    Repaint(false);
}

static void PenMove(int x, int y)
{
    ItemState &s = g_item;
    if (!s.strokeActive || s.interactionState == TOOL_STAMP)
        return;
    if (y >= s.itemHeight) {
        CancelStroke();
        return;
    }
    int width, height;
    BoardSize(&width, &height);
    if (!s.showImage || !s.graphicsEditMode)
        return;
    if (!InsideBoardArea(x, y, width, height)) {
        CancelStroke();
        return;
    }
    if (s.strokePointCount >= STROKE_CAPACITY)
        return;
    StorePoint(x, y);
    Repaint(false);
}

// Opens a toolbar popup for the tool it belongs to.
static void ToolPopup(MenuContext context, int tool, HMENU menu, int x, int y)
{
    g_item.menuContext = context;
    g_item.interactionState = tool;
    ShowPopup(menu, x, y);
}

// A pen-up on the toolbar: true when a button took it.
static bool ToolbarTap(int x, int y)
{
    ItemState &s = g_item;
    switch (ItemCellAt(s.layout, x, y)) {
    case CELL_PEN_WIDTH:
        ToolPopup(MENU_CONTEXT_PEN_WIDTH, TOOL_PEN, s.penWidthMenu, x, y);
        break;
    case CELL_PEN:
        s.interactionState = TOOL_PEN;
        break;
    case CELL_PEN_COLOR:
        ToolPopup(MENU_CONTEXT_PEN_COLOR, TOOL_PEN, s.penColorMenu, x, y);
        break;
    case CELL_ERASER:
        s.interactionState = TOOL_ERASER;
        break;
    case CELL_ERASER_COLOR:
        ToolPopup(MENU_CONTEXT_ERASER_COLOR, TOOL_ERASER, s.eraserMenu, x, y);
        break;
    case CELL_ERASER_WIDTH:
        ToolPopup(MENU_CONTEXT_ERASER_WIDTH, TOOL_ERASER, s.eraserWidthMenu, x, y);
        break;
    case CELL_STAMP:
        s.interactionState = TOOL_STAMP;
        break;
    case CELL_STAMP_COLOR:
        ToolPopup(MENU_CONTEXT_STAMP_COLOR, TOOL_STAMP, s.stampColorMenu, x, y);
        break;
    case CELL_SHAPE:
        ToolPopup(MENU_CONTEXT_SHAPE, TOOL_STAMP, s.shapeMenu, x, y);
        break;
    case CELL_CLEAR:
        s.menuContext = MENU_CONTEXT_CLEAR_BOARD;
        ShowPopup(s.clearBoardMenu, x, y);
        break;
    case CELL_TEXT_TOGGLE:
        s.showText = !s.showText;
        SaveSettings();
        break;
    case CELL_IMAGE_TOGGLE:
        s.showImage = !s.showImage;
        SaveSettings();
        break;
    case CELL_SAVE:
        if (!s.boardDirty)
            return true;
        // A save that no folder took leaves the changes marked unsaved.
        if (SaveBoard())
            s.boardDirty = 0;
        break;
    default:    // the corner mark, or nothing
        return false;
    }
    Repaint(true);
    return true;
}

static void PenUp(int x, int y)
{
    ItemState &s = g_item;
    s.strokeActive = 0;
    if (s.strokeCancelled) {
        s.strokeCancelled = 0;
        Repaint(true);
        return;
    }
    if (y >= s.itemHeight)
        return;
    int width, height;
    BoardSize(&width, &height);
    if (!s.graphicsEditMode || ToolbarTap(x, y))
        return;
    if (s.showImage && s.interactionState != TOOL_STAMP && InsideBoardArea(x, y, width, height)) {
        // The Board is looked up once for the whole stroke: nothing can
        // replace it while the stroke is replayed.
        BoardPixels pixels;
        if (GetBoardPixels(s.boardBitmap, &pixels)) {
            ReplayStrokePoints(s.strokeX, s.strokeY, s.strokePointCount, DotAtItemPoint, &pixels);
            DotAtItemPoint(x, y, &pixels);
        }
        s.strokePointCount = 0;
        s.boardDirty = 1;
        Repaint(s.interactionState == TOOL_ERASER);
    }
}

static void PointOf(LPARAM lParam, int *x, int *y)
{
    *x = (int)(unsigned)LOWORD(lParam);
    *y = (int)(unsigned)HIWORD(lParam);
}

LRESULT OnPenDown(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    int x, y;
    PointOf(lParam, &x, &y);
    SetCapture(hwnd);
    PenDown(x, y);
    return DefWindowProcW(hwnd, WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT OnPenMove(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    int x, y;
    PointOf(lParam, &x, &y);
    PenMove(x, y);
    return DefWindowProcW(hwnd, WM_MOUSEMOVE, wParam, lParam);
}

LRESULT OnPenUp(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    int x, y;
    PointOf(lParam, &x, &y);
    PenUp(x, y);
    g_item.strokePointCount = 0;
    ReleaseCapture();
    return DefWindowProcW(hwnd, WM_LBUTTONUP, wParam, lParam);
}
