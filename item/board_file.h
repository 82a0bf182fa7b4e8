// The board file: a 24-bit BMP in the first program folder of the board
// path list that works.
#pragma once
#include "item_state.h"

// Path of entry `index` (1..12) of the board path list, NULL otherwise.
LPCWSTR BoardPath(int index);

// Writes a complete board file at `path`; false when any step failed, in
// which case an earlier file at `path` is left as it was (or, when only the
// final rename failed, the new file stays complete at "<path>.new").
bool WriteBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels);

// Creates a new 640 x 640 file of zero pixels at the first path that takes
// it; tells the user when none does.
bool CreateBoardFile();

// Writes the Board to the first path that takes it; false when none did
// or there is no Board.
bool SaveBoard();

// Loads the Board at item creation, or creates a new grey one.
void LoadBoard();
