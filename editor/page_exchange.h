// The editor's side of the page text exchange with the item: one page
// value and the "uscreen" flag under the item key, written as REG_SZ text
// without terminator.
#pragma once
#include "editor_state.h"

// Reads the page's value into the read buffer and, when that succeeds,
// copies it into the text buffer. For a page outside 1..5 the key is only
// opened and closed.
void ReadPageText();

// Writes the text buffer to the page's value. For a page outside 1..5 the
// key is only opened and closed.
void WritePageText();

// Writes "uscreen" = "1", the editor's signal to the item.
void SetUscreen();
