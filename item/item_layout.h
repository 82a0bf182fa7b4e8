// Where each part of the item is, worked out from numbers alone: the
// screen's width and dpi, the item's size and mode, the Board's size. Free of Win32
// calls; the window code, painting, pen input and the tests all ask these
// two functions rather than working a rectangle out for themselves.
#pragma once

// A rectangle of item pixels: right and bottom are the first column and row
// outside it.
struct LayoutRect {
    int left, top, right, bottom;
};

// What a tap can find on the item: the corner mark, then the toolbar's cells
// from left to right (a tool's button, then its swatch's upper and lower
// half-button).
enum ItemCell {
    CELL_CORNER,
    CELL_PEN,
    CELL_PEN_COLOR,
    CELL_PEN_WIDTH,
    CELL_ERASER,
    CELL_ERASER_COLOR,
    CELL_ERASER_WIDTH,
    CELL_STAMP,
    CELL_STAMP_COLOR,
    CELL_SHAPE,
    CELL_CLEAR,
    CELL_TEXT_TOGGLE,
    CELL_IMAGE_TOGGLE,
    CELL_SAVE,
    ITEM_CELL_COUNT,
    CELL_NONE = ITEM_CELL_COUNT
};

// A screen below this width takes the small toolbar (16-pixel icons).
enum { LARGE_SCREEN_MIN_WIDTH = 325 };

// What the layout is worked out from. The screen's vertical dpi sizes the
// navigation bar (0 or less: 96).
struct ItemLayoutInput {
    int screenWidth;
    int itemWidth, itemHeight;
    int graphicsEditMode;
    int boardWidth, boardHeight;
    int screenDpiY;
};

struct ItemLayout {
    // The toolbar's metrics on this screen.
    int smallScreen;
    int iconSize, swatchSize, toolbarHeight, toolbarTop;
    // Where each cell is drawn: a button iconSize square, a half-button
    // swatchSize square; in normal mode only the corner mark, the toolbar's
    // cells being empty.
    LayoutRect cells[ITEM_CELL_COUNT];
    // Where a tap opens the item's popup, in either mode.
    LayoutRect cornerTapArea;
    // The page text's rectangle, and where the Board is drawn.
    LayoutRect text;
    LayoutRect board;
    // The shell's navigation bar across the top of the screen, in screen
    // pixels: the Today screen shows the item from its bottom edge down.
    LayoutRect navigationBar;
};

// The whole layout for one input.
void LayOutItem(const ItemLayoutInput &input, ItemLayout *layout);

// The cell a tap at item point (x, y) finds, or CELL_NONE. A toolbar cell
// takes the taps on its right and bottom edge lines as well, so neighbours
// share a line; where they do, the cell earlier in the toolbar's hit order
// wins: the pen's width half before the pen's button and colour half, the
// eraser's and the stamp's buttons before their colour and lower halves.
ItemCell ItemCellAt(const ItemLayout &layout, int x, int y);

// A stamp's anchor keeps this many pixels and one more from each edge of
// the Board, where every shape fits whole.
enum { STAMP_MARGIN = 17 };

// Whether item point (x, y) lies more than `margin` pixels inside a Board
// of width x height whose top row the item shows at row `boardTop`: where
// a dot of a tool `margin` wide, or a stamp, falls whole on the Board.
bool InsideBoardMargin(int boardTop, int width, int height, int margin, int x, int y);

// Whether a rectangle holds point (x, y); whether it is empty.
bool RectHolds(const LayoutRect &rect, int x, int y);
bool RectIsEmpty(const LayoutRect &rect);
