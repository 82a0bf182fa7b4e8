#include "box_answerer.h"
#include "text_and_paths.h"

#include <windows.h>

static const DWORD kLookEveryMs = 200;

static BOOL CALLBACK AnswerBox(HWND window, LPARAM)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = L"";
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
        !GetClassNameW(window, className, 16) || wcscmp(className, L"#32770") != 0)
        return TRUE;
    // A message box's text is its static control 0xFFFF; a dialog of the
    // item's own has none and is left to the script.
    wchar_t text[256] = L"";
    if (!GetDlgItem(window, 0xFFFF) || !GetDlgItemTextW(window, 0xFFFF, text, 256))
        return TRUE;
    ErrorOut(L"answered the message box \"%ls\" with OK", text);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

static DWORD WINAPI AnswerBoxes(void *)
{
    for (;;) {
        Sleep(kLookEveryMs);
        EnumWindows(AnswerBox, 0);
    }
}

void StartAnsweringBoxes()
{
    HANDLE thread = CreateThread(NULL, 0, AnswerBoxes, NULL, 0, NULL);
    if (thread)
        CloseHandle(thread);
}
