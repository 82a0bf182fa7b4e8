// Benchmarks of the whole item under Wine: pen moves with the paint they
// cause, pen-up replay, stamps, the Board fill, saving the Board, a full
// paint and the settings reload. Each operation is timed beside a limit
// measured in the same run on the same DCs, files and keys; times come from
// QueryPerformanceCounter. Never part of the tests: nothing here passes or
// fails on a time.
//
//   item_bench.exe [RUNS] [GROUP...]   groups: pen-move pen-up stamps save paint settings
#include "bench_shapes.h"
#include "bench_stroke.h"
#include "wine_timing.h"
#include "tests/item/test_support.h"
#include "item/board_file.h"
#include "item/item_window.h"
#include "item/board_primitives.h"
#include "item/settings_store.h"
#include "item/stamp_shapes.h"
#include "item/stroke_replay.h"
#include <set>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

const size_t kBoardBytes = 640u * 640u * 3u;

HWND g_itemWindow;

void Send(UINT message, int x, int y)
{
    SendMessageW(g_itemWindow, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

// The item in graphics edit mode, as tall as its 640-pixel Board, with a
// page of text; the Today stand-in fills the screen and paints a watermark.
void CreateBenchItem()
{
    SetCurrentDirectoryW(L"T:\\");
    SetShellReady(true);
    DeleteItemKey();
    RemoveBoardFolders();
    MakeBoardFolder(2);
    ReloadLibrary();
    g_today.watermarkColor = RGB(70, 130, 180);
    g_today.textColor = RGB(20, 110, 40);
    static TODAYLISTITEM listItem;
    g_itemWindow = InitializeCustomItem(&listItem, ScreenSizedTodayWindow());
    StoreText(L"cheight", L"640");
    StoreText(L"ptext1", L"Shopping:\r\nbread, milk, apples\r\nCall the garage at 5");
    MoveWindow(g_itemWindow, 0, 0, GetSystemMetrics(SM_CXSCREEN), 640, TRUE);
    g_item.itemHeight = 640;
    g_item.graphicsEditMode = 1;
    g_item.penColorRGB = {30, 200, 160};
    UpdateWindow(g_itemWindow);
}

// The preview's SetPixel calls for the newest point, as the paint makes
// them, on the item's window DC.
void PreviewSetPixels(HDC dc, int x, int y, int w, COLORREF color)
{
    if (w == 1) {
        SetPixel(dc, x, y, color);
        return;
    }
    for (int dy = -w; dy <= w - 2; dy++)
        for (int dx = -(w - 1); dx <= w - 1; dx++) {
            bool topCorner = dy == -w && (dx == -(w - 1) || dx == w - 1);
            bool bottomRight = dy == w - 2 && dx == w - 1;
            if (!topCorner && !bottomRight)
                SetPixel(dc, x + dx, y + dy, color);
        }
}

// What a pen move's paint does besides its preview, each timed beside the
// whole move: the settings reread that every paint makes, and the corner
// icon and toolbar icons that the paint draws again during a stroke.
void PenMoveParts(double move)
{
    const std::string whole = "pen move + paint, width 1";
    Row("  of which: ReloadSettings", Measure([] { ReloadSettings(); }), whole, move);
    const ItemState &s = g_item;
    const struct {
        IconRole role;
        ItemCell cell;
    } icons[] = {
        {ICON_CORNER, CELL_CORNER},            {ICON_PEN_ON, CELL_PEN},
        {ICON_SWATCH_FRAME, CELL_PEN_COLOR},   {ICON_LOWER_MARK, CELL_PEN_COLOR},
        {ICON_STAMP_OFF, CELL_STAMP},          {ICON_SWATCH_FRAME, CELL_STAMP_COLOR},
        {ICON_LOWER_MARK, CELL_STAMP_COLOR},   {ICON_ERASER_OFF, CELL_ERASER},
        {ICON_SWATCH_FRAME, CELL_ERASER_COLOR}, {ICON_LOWER_MARK, CELL_ERASER_COLOR},
        {ICON_CLEAR, CELL_CLEAR},              {ICON_TEXT_SHOWN, CELL_TEXT_TOGGLE},
        {ICON_IMAGE_SHOWN, CELL_IMAGE_TOGGLE}, {ICON_SAVE, CELL_SAVE},
    };
    auto drawIcons = [&icons, &s](HDC dc) {
        for (const auto &icon : icons) {
            const LayoutRect &cell = s.layout.cells[icon.cell];
            DrawIconEx(dc, cell.left, cell.top, ToolbarIcon(icon.role), 0, 0, 0, nullptr, DI_NORMAL);
        }
    };
    HDC dc = GetDC(g_itemWindow);
    double drawn = Measure([dc, &drawIcons] { drawIcons(dc); });
    // The same icons into a memory DC: what the icons cost without the screen.
    HDC memoryDC = CreateCompatibleDC(dc);
    HBITMAP band = CreateCompatibleBitmap(dc, GetSystemMetrics(SM_CXSCREEN), s.layout.toolbarHeight);
    HGDIOBJ previous = SelectObject(memoryDC, band);
    double offscreen = Measure([memoryDC, &drawIcons] { drawIcons(memoryDC); });
    SelectObject(memoryDC, previous);
    DeleteObject(band);
    DeleteDC(memoryDC);
    ReleaseDC(g_itemWindow, dc);
    // The least any paint costs: the update region made and taken again.
    double empty = Measure([] {
        InvalidateRect(g_itemWindow, nullptr, FALSE);
        PAINTSTRUCT ps;
        BeginPaint(g_itemWindow, &ps);
        EndPaint(g_itemWindow, &ps);
    });
    Row("  of which: 14 DrawIconEx (corner, toolbar)", drawn, whole, move);
    Row("  the same 14 DrawIconEx into a memory DC", offscreen, whole, move);
    Row("  of which: InvalidateRect + BeginPaint + EndPaint", empty, whole, move);
}

void BenchPenMove()
{
    g_item.interactionState = TOOL_PEN;
    const int x = 100, y = 100;
    for (int width : {1, 2, 10}) {
        g_item.penWidth = width;
        Send(WM_LBUTTONDOWN, x, y);
        UpdateWindow(g_itemWindow);
        int step = 0;
        double move = Measure([] { g_item.strokePointCount = 1; }, [&step, x, y] {
            // Alternate between two neighbouring points: each move is stored
            // and repainted.
            Send(WM_MOUSEMOVE, x + (step++ & 1), y);
            UpdateWindow(g_itemWindow);
        });
        HDC dc = GetDC(g_itemWindow);
        const ColorRGB &c = g_item.penColorRGB;
        double preview = Measure([dc, x, y, width, &c] {
            PreviewSetPixels(dc, x, y, width, RGB(c.red, c.green, c.blue));
        });
        ReleaseDC(g_itemWindow, dc);
        g_item.strokePointCount = 1;
        Send(WM_LBUTTONUP, x, y);
        ValidateRect(g_itemWindow, nullptr);
        int pixels = width == 1 ? 1 : (2 * width - 1) * (2 * width - 1) - 3;
        Row("pen move + paint, width " + std::to_string(width), move,
            "SetPixel preview (" + std::to_string(pixels) + " px)", preview);
        if (width == 1)
            PenMoveParts(move);
    }
}

int g_xs[BENCH_STROKE_POINTS], g_ys[BENCH_STROKE_POINTS];
long g_dots;

void CountDot(int, int, void *)
{
    g_dots++;
}

void BenchPenUp()
{
    MakeBenchStroke(g_xs, g_ys, g_item.layout.toolbarHeight);
    g_dots = 0;
    ReplayStrokePoints(g_xs, g_ys, BENCH_STROKE_POINTS, CountDot, nullptr);
    g_dots++;   // the dot at the pen-up point
    g_item.interactionState = TOOL_PEN;
    const int upX = g_xs[BENCH_STROKE_POINTS - 1], upY = g_ys[BENCH_STROKE_POINTS - 1];
    for (int width : {2, 10}) {
        g_item.penWidth = width;
        double up = Measure(
            [] {
                memcpy(g_item.strokeX, g_xs, sizeof(g_xs));
                memcpy(g_item.strokeY, g_ys, sizeof(g_ys));
                g_item.strokePointCount = BENCH_STROKE_POINTS;
                g_item.strokeActive = 1;
                ValidateRect(g_itemWindow, nullptr);
            },
            [upX, upY] { Send(WM_LBUTTONUP, upX, upY); });
        ValidateRect(g_itemWindow, nullptr);
        size_t bytes = (size_t)g_dots * ((2 * width - 1) * (2 * width - 1) - 4) * 3;
        Row("pen-up replay, 1498 points, width " + std::to_string(width), up,
            "memset " + std::to_string(bytes) + " B", MemsetMedian(bytes),
            std::to_string(g_dots) + " dots");
    }
}

void BenchStamps()
{
    std::string limit = "memset " + std::to_string(kBoardBytes) + " B";
    double memsetBoard = MemsetMedian(kBoardBytes);
    g_item.interactionState = TOOL_STAMP;
    for (const BenchShape &shape : kShapeList) {
        g_item.shapeIndex = shape.number;
        double stamp = Measure([] { DrawAtPoint(g_item.boardBitmap, 320, 320); });
        Row(std::string("stamp ") + shape.name, stamp, limit, memsetBoard);
    }
    g_item.interactionState = TOOL_PEN;
    ColorRGB eraser = g_item.eraserColorRGB;
    g_item.eraserColorRGB = {250, 240, 110};
    double fill = Measure([] { FillBoard(g_item.boardBitmap); });
    g_item.eraserColorRGB = eraser;
    Row("FillBoard 640 x 640", fill, limit, MemsetMedian(kBoardBytes));
}

void BenchSave()
{
    double save = Measure([] { SaveBoard(); });
    std::wstring path = BoardFolder(2) + L"\\bench_raw.bin";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    BoardPixels pixels;
    GetBoardPixels(g_item.boardBitmap, &pixels);
    const DWORD bytes = 54 + (DWORD)kBoardBytes;
    std::vector<BYTE> data(bytes);
    memcpy(data.data() + 54, pixels.bits, kBoardBytes);
    double raw = Measure([file, &data, bytes] {
        DWORD written = 0;
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        WriteFile(file, data.data(), bytes, &written, nullptr);
    });
    CloseHandle(file);
    DeleteFileW(path.c_str());
    Row("SaveBoard", save, "WriteFile " + std::to_string(bytes) + " B", raw);
}

void BenchPaint()
{
    // A Board with something to show: the stroke and a few stamps.
    MakeBenchStroke(g_xs, g_ys, g_item.layout.toolbarHeight);
    g_item.interactionState = TOOL_PEN;
    g_item.penWidth = 2;
    memcpy(g_item.strokeX, g_xs, sizeof(g_xs));
    memcpy(g_item.strokeY, g_ys, sizeof(g_ys));
    g_item.strokePointCount = BENCH_STROKE_POINTS;
    g_item.strokeActive = 1;
    Send(WM_LBUTTONUP, g_xs[BENCH_STROKE_POINTS - 1], g_ys[BENCH_STROKE_POINTS - 1]);
    g_item.interactionState = TOOL_STAMP;
    for (int shape : {SHAPE_STAR_L, SHAPE_HEART_L, SHAPE_CIRCLE_OUTLINE_L})
        DrawAtPoint(g_item.boardBitmap, 100 + 150 * (shape % 3), 200);
    g_item.interactionState = TOOL_PEN;
    GdiFlush();
    g_item.graphicsEditMode = 0;
    // The item's WM_PAINT, and the same after the Today screen's watermark
    // erase (WM_ERASEBKGND), which the item hands to the Today screen.
    HDC dc = GetDC(g_itemWindow);
    auto blit = [dc] {
        const ItemState &s = g_item;
        BitBlt(s.compositeDC, 0, 0, 640, 640, s.boardDC, 0, 0, SRCCOPY);
        TransparentImage(dc, 0, 0, s.boardWidth, s.boardHeight, s.compositeDC, 0, 0, s.boardWidth,
                         s.boardHeight, s.transparentKey);
    };
    auto [paint, blits] = MeasureInTurns(
        [] {
            InvalidateRect(g_itemWindow, nullptr, FALSE);
            UpdateWindow(g_itemWindow);
        },
        blit);
    auto [paintAndErase, blitsAgain] = MeasureInTurns(
        [] {
            InvalidateRect(g_itemWindow, nullptr, TRUE);
            UpdateWindow(g_itemWindow);
        },
        blit);
    ReleaseDC(g_itemWindow, dc);
    g_item.graphicsEditMode = 1;
    RECT client;
    GetClientRect(g_itemWindow, &client);
    std::string size = std::to_string(client.right) + " x " + std::to_string(client.bottom) + " item";
    Row("full paint, Board and text (WM_PAINT)", paint, "BitBlt 640 x 640 + TransparentImage", blits, size);
    Row("  the same after the watermark erase", paintAndErase, "BitBlt 640 x 640 + TransparentImage",
        blitsAgain, size);
}

void BenchSettings()
{
    double reload = Measure([] { ReloadSettings(); });
    double one = Measure([] {
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, 0, const_cast<LPWSTR>(L""), 0,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition) == ERROR_SUCCESS) {
            WCHAR text[16];
            DWORD type = 0, bytes = sizeof(text);
            RegQueryValueExW(key, L"fonts", nullptr, &type, (BYTE *)text, &bytes);
            RegCloseKey(key);
        }
    });
    Row("ReloadSettings", reload, "RegCreateKeyExW + RegQueryValueExW + RegCloseKey", one);
}

} // namespace

int main(int argc, char **argv)
{
    std::set<std::string> groups;
    for (int i = 1; i < argc; i++) {
        if (atoi(argv[i]) > 0)
            g_runs = atoi(argv[i]);
        else
            groups.insert(argv[i]);
    }
    auto wanted = [&groups](const char *group) { return groups.empty() || groups.count(group); };
    CreateBenchItem();
    if (!g_itemWindow) {
        fprintf(stderr, "item_bench: the item window was not created\n");
        return 1;
    }
    snprintf(g_where, sizeof(g_where), "wine %dx%d @%d", GetSystemMetrics(SM_CXSCREEN),
             GetSystemMetrics(SM_CYSCREEN), [] {
                 HDC screen = GetDC(nullptr);
                 int dpi = GetDeviceCaps(screen, LOGPIXELSY);
                 ReleaseDC(nullptr, screen);
                 return dpi;
             }());
    if (wanted("pen-move"))
        BenchPenMove();
    if (wanted("pen-up"))
        BenchPenUp();
    if (wanted("stamps"))
        BenchStamps();
    if (wanted("save"))
        BenchSave();
    if (wanted("paint"))
        BenchPaint();
    if (wanted("settings"))
        BenchSettings();
    DestroyWindow(g_itemWindow);
    DeleteItemKey();
    RemoveBoardFolders();
    return 0;
}
