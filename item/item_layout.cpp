#include "item_layout.h"
#include "../common/compile_check.h"
#include "../common/navigation_bar.h"

// Gaps between the toolbar's groups: after a swatch, and after the clear
// button and each toggle.
enum { GAP_AFTER_SWATCH = 7, GAP_AFTER_BUTTON = 4 };

static LayoutRect Square(int left, int top, int size)
{
    LayoutRect rect = {left, top, left + size, top + size};
    return rect;
}

static const LayoutRect kNoRect = {0, 0, 0, 0};

// A tool's button and its swatch's two half-buttons, from `left`; returns
// where the next group starts.
static int LayOutTool(ItemLayout *l, ItemCell button, int left)
{
    int swatchX = left + l->iconSize;
    l->cells[button] = Square(left, l->toolbarTop, l->iconSize);
    l->cells[button + 1] = Square(swatchX, l->toolbarTop, l->swatchSize);
    l->cells[button + 2] = Square(swatchX, l->toolbarTop + l->swatchSize, l->swatchSize);
    return swatchX + l->swatchSize + GAP_AFTER_SWATCH;
}

void LayOutItem(const ItemLayoutInput &in, ItemLayout *l)
{
    l->smallScreen = in.screenWidth < LARGE_SCREEN_MIN_WIDTH;
    l->iconSize = l->smallScreen ? 16 : 32;
    l->swatchSize = l->smallScreen ? 8 : 16;
    l->toolbarHeight = l->smallScreen ? 19 : 35;
    l->toolbarTop = 1;

    l->cells[CELL_CORNER] = Square(2, l->toolbarTop, l->iconSize);
    int x = l->smallScreen ? 29 : 45;
    x = LayOutTool(l, CELL_PEN, x);
    x = LayOutTool(l, CELL_ERASER, x);
    x = LayOutTool(l, CELL_STAMP, x);
    l->cells[CELL_CLEAR] = Square(x, l->toolbarTop, l->iconSize);
    x += l->iconSize + GAP_AFTER_BUTTON;
    l->cells[CELL_TEXT_TOGGLE] = Square(x, l->toolbarTop, l->iconSize);
    x += l->iconSize + GAP_AFTER_BUTTON;
    l->cells[CELL_IMAGE_TOGGLE] = Square(x, l->toolbarTop, l->iconSize);
    // The save button leaves one button's room after the image toggle.
    x += 2 * (l->iconSize + GAP_AFTER_BUTTON);
    l->cells[CELL_SAVE] = Square(x, l->toolbarTop, l->iconSize);
    if (!in.graphicsEditMode)
        for (int cell = CELL_CORNER + 1; cell < ITEM_CELL_COUNT; cell++)
            l->cells[cell] = kNoRect;

    l->cornerTapArea = Square(0, 0, l->iconSize);
    LayoutRect text = {5, in.graphicsEditMode ? l->iconSize + 3 : 3, in.itemWidth, in.itemHeight};
    l->text = text;
    int boardTop = in.graphicsEditMode ? l->toolbarHeight : 0;
    LayoutRect board = {0, boardTop, in.boardWidth, boardTop + in.boardHeight};
    l->board = board;
    LayoutRect bar = {0, 0, in.screenWidth, NavigationBarHeightAt(in.screenDpiY)};
    l->navigationBar = bar;
}

bool InsideBoardMargin(int boardTop, int width, int height, int margin, int x, int y)
{
    return margin < x && x < width - margin && margin + boardTop < y && y < height - margin + boardTop;
}

bool RectHolds(const LayoutRect &r, int x, int y)
{
    return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

bool RectIsEmpty(const LayoutRect &r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

// The toolbar's hit order.
static const ItemCell kToolbarHitOrder[] = {
    CELL_PEN_WIDTH, CELL_PEN, CELL_PEN_COLOR,
    CELL_ERASER, CELL_ERASER_COLOR, CELL_ERASER_WIDTH,
    CELL_STAMP, CELL_STAMP_COLOR, CELL_SHAPE,
    CELL_CLEAR, CELL_TEXT_TOGGLE, CELL_IMAGE_TOGGLE, CELL_SAVE};
COMPILE_CHECK(every_toolbar_cell_is_in_the_hit_order,
              COUNT_OF(kToolbarHitOrder) == ITEM_CELL_COUNT - 1);

ItemCell ItemCellAt(const ItemLayout &layout, int x, int y)
{
    if (RectHolds(layout.cornerTapArea, x, y))
        return CELL_CORNER;
    for (size_t i = 0; i < COUNT_OF(kToolbarHitOrder); i++) {
        LayoutRect tap = layout.cells[kToolbarHitOrder[i]];
        if (RectIsEmpty(tap))
            continue;
        tap.right++;
        tap.bottom++;
        if (RectHolds(tap, x, y))
            return kToolbarHitOrder[i];
    }
    return CELL_NONE;
}
