// The board file: a 24-bit BMP in the first folder of the install folder
// walk that works.
#pragma once
#include "item_state.h"
#include "board_keep.h"

// Writes a complete board file at `path`; false when the path does not
// open for writing, holds a file the item cannot load and cannot keep or
// cannot read just now, or the file could not be written. What was at
// `path` is never lost: the new file is written beside it as "<path>.new"
// and then takes its place, or, without room for that, the old file is
// rewritten in place; a file the item cannot load is kept under a keep
// name first.
bool WriteBoardFile(LPCWSTR path, int width, int height, const BYTE *pixels);

// Creates a new 640 x 640 file in the Board's background colour in the
// first folder of the walk that takes it (written whole beside the board
// path, then put in place); tells the user when none does or the file
// could not be written there.
bool CreateBoardFile();

// Writes the Board in the first folder of the walk whose board path opens
// for writing; false when none opens, the file could not be written there
// (the save never moves on to another folder), or there is no Board.
bool SaveBoard();

// Loads the Board at item creation, or creates a new grey one. A save cut
// short is settled first: a whole "<path>.new" takes the place of the
// board file. A non-empty file that is not a Board is kept under the first
// free keep name beside it before a Board replaces it; one that cannot be
// kept stays where it is, and its path counts as taken. A whole Board that
// the loader cannot make into a bitmap just now (short of memory), or a
// file that cannot be read just now, is left as it is: the item goes on
// without a Board, and nothing is created or saved.
void LoadBoard();
