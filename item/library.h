// What the item library prepares at load and releases at unload.
#pragma once
#include "item_state.h"

// False when the page buffers cannot be had; the library then does not load.
bool LibraryAttach(HINSTANCE instance);
void LibraryDetach();

// Page texts every new load starts with.
extern const WCHAR *const kPageTextsAtAttach[PAGE_COUNT];
extern const WCHAR kReadBufferAtAttach[];
