#include "editor_state.h"
#include "command_line.h"
#include <string.h>

EditorState g_editor;

const WCHAR kStartupErrorText[] =
    L"\r\nERROR!!!\r\nThis software is for\r\n'Inkleaf.'\r\nThis software must be\r\n"
    L"launched from 'Inkleaf'\r\non Today screen\r\n\r\nTap on [ok] button to eixt.";

bool EditorPageIsValid()
{
    return g_editor.editorPage >= 1 && g_editor.editorPage <= PAGE_COUNT;
}

bool InitEditorState(HINSTANCE instance, LPCWSTR commandLine)
{
    memset(&g_editor, 0, sizeof(g_editor));
    g_editor.textBuffer = (WCHAR *)LocalAlloc(LPTR, PAGE_TEXT_UNITS * sizeof(WCHAR));
    g_editor.readBuffer = (WCHAR *)LocalAlloc(LPTR, PAGE_TEXT_UNITS * sizeof(WCHAR));
    if (!g_editor.textBuffer || !g_editor.readBuffer) {
        FreeEditorBuffers();
        return false;
    }
    memcpy(g_editor.textBuffer, kStartupErrorText, sizeof(kStartupErrorText));
    g_editor.editorPage = PageFromCommandLine(commandLine);
    g_editor.instance = instance;
    return true;
}

void FreeEditorBuffers()
{
    if (g_editor.textBuffer)
        LocalFree(g_editor.textBuffer);
    if (g_editor.readBuffer)
        LocalFree(g_editor.readBuffer);
    g_editor.textBuffer = NULL;
    g_editor.readBuffer = NULL;
}
