// The board file: a 24-bit BMP in the first program folder of the board
// path list that works.
#pragma once
#include "item_state.h"

// Path of entry `index` (1..12) of the board path list, NULL otherwise.
LPCWSTR BoardPath(int index);

// Writes a complete board file at `path`; false when the path does not
// open for writing or the file could not be written. What was at `path`
// is never lost: the new file is written beside it as "<path>.new" and
// then takes its place, or, without room for that, the old file is
// rewritten in place.
bool WriteBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels);

// Creates a new 640 x 640 file of zero pixels in the first folder of the
// list whose board path opens for writing; tells the user when none does
// or the file could not be written there.
bool CreateBoardFile();

// Writes the Board in the first folder of the list whose board path opens
// for writing; false when none opens, the file could not be written there
// (the save never moves on to another folder), or there is no Board.
bool SaveBoard();

// Loads the Board at item creation, or creates a new grey one. A save cut
// short is settled first; a non-empty file that does not load is kept as
// "inkleaf_board.unloadable.bmp" beside it before anything replaces it.
void LoadBoard();
