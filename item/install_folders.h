// Where the item's files lie: the folder "inkleaf_item" under the device's
// program folder, whose name depends on the device's language, so the item
// tries a fixed list of twelve; or, when the item's DLL was installed
// anywhere else (on a storage card), the DLL's own folder, tried first.
#pragma once
#include "item_state.h"

enum {
    // Positions 1..12 are the program folders of the list. Position 0 is
    // the DLL's own folder, tried only when it is none of the twelve.
    OWN_FOLDER_INDEX = 0,
    INSTALL_FOLDER_COUNT = 12
};

// Whether `folder` is one of the twelve, with or without a drive letter.
bool IsListedInstallFolder(LPCWSTR folder);

// Remembers the folder of the module's file when it is none of the twelve
// (a drive letter is not part of the comparison); otherwise the walk
// starts at position 1 as it always did.
void FindOwnInstallFolder(HINSTANCE module);

// The first position a walk over the install folders tries: 0 when the
// DLL lies outside the twelve, 1 otherwise.
int FirstInstallFolderIndex();

// The folder of position `index` ("\Programmi\inkleaf_item" ...), and
// "<that folder>\<fileName>"; false for a position without a folder or a
// path longer than MAX_PATH.
bool InstallFolder(int index, WCHAR folder[MAX_PATH]);
bool InstallFolderFile(int index, LPCWSTR fileName, WCHAR path[MAX_PATH]);

// The board file of a position of the walk.
bool BoardPath(int index, WCHAR path[MAX_PATH]);

// The editor of an install folder index; any index without a folder gives
// "\program files\inkleaf_item\inkpad_app.exe".
void EditorPath(int installFolderIndex, WCHAR path[MAX_PATH]);
