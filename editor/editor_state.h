// EditorState: the page editor's one record of process-wide state.
#pragma once
#include "../platform/device.h"
#include "../common/item_key.h"

enum {
    EDITOR_NAME_UNITS = 100,        // title and class name buffers
    USCREEN_TEXT_UNITS = 20,        // scratch text for "uscreen"
};

struct EditorState {
    HINSTANCE instance;             // resources and dialogs
    HWND menuBar;                   // none when its creation failed
    SHACTIVATEINFO activateInfo;    // handed to the shell's activation handling
    int editorPage;                 // from the command line; a page only when 1..5
    WCHAR *textBuffer;              // PAGE_TEXT_UNITS: shown and edited
    WCHAR *readBuffer;              // PAGE_TEXT_UNITS: landing place of registry reads
    WCHAR uscreenText[USCREEN_TEXT_UNITS];
    WCHAR title[EDITOR_NAME_UNITS];
    WCHAR className[EDITOR_NAME_UNITS];
};

extern EditorState g_editor;

// What the main window shows until a page text is read.
extern const WCHAR kStartupErrorText[];

bool EditorPageIsValid();

// Zeroes the record, allocates both text buffers (the text buffer holding
// the start-up error text, the read buffer empty) and takes the page from
// the command line. False when out of memory.
bool InitEditorState(HINSTANCE instance, LPCWSTR commandLine);

// Frees both text buffers (the main window's end).
void FreeEditorBuffers();
