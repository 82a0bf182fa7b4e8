// Puts the controls of a dialog back where its template resource places
// them, in the dialog's current dialog units, and refreshes their texts,
// icons, bitmaps and list selections (after the screen turned).
#pragma once
#include "../platform/device.h"
#include "dialog_template.h"

// TRUE when every control was found and placed, the deferred move
// succeeded, and fewer than two controls carry the id -1. FALSE, without
// moving anything, when the template is missing or malformed.
BOOL RelayoutDialog(HINSTANCE instance, HWND dialog, UINT templateId);

// Per-control fix-up after the move: template text of buttons and statics,
// static icons and bitmaps reloaded, list and combo selections re-set.
void RefreshControl(HINSTANCE instance, HWND dialog, const BYTE *templateBytes, const DialogItem &item);
