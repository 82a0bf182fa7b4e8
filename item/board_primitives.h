// Board primitives on the item's Board bitmap: dots, stamps, fill, and the
// palette lookup of the item's colours.
#pragma once
#include "item_state.h"
#include "board_pixels.h"

// The pixel memory of a Board bitmap, or false when there is no Board or
// its layout is not one the pixel writers can address.
bool GetBoardPixels(HBITMAP board, BoardPixels *pixels);

// One pen dot, eraser dot or shape stamp at Board point (x, y).
void DrawAtPoint(HBITMAP board, int x, int y);
// The same into Board memory already looked up with GetBoardPixels, for
// callers that draw many dots into a Board that cannot change meanwhile.
void DrawAtBoardPoint(const BoardPixels &pixels, int x, int y);

// The whole Board in eraserColorRGB.
void FillBoard(HBITMAP board);

enum ColorTarget {
    COLOR_TARGET_TEXT = 0,
    COLOR_TARGET_PEN = 1,
    COLOR_TARGET_CLEAR = 3,
    COLOR_TARGET_ERASER = 4,
    COLOR_TARGET_STAMP = 5
};

// Sets the colour components of a target from its palette index field.
void ResolveColor(int target);

// Stamps shape shapeIndex anchored at Board point (x, y).
void StampShape(const BoardPixels &board, int x, int y);
