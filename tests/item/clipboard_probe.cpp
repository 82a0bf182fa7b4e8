// Another program on the same desktop, for the clipboard and start-up tests:
//   clipboard_probe set TEXT      puts TEXT on the clipboard
//   clipboard_probe raw N         puts N characters 'r' with no terminator
//   clipboard_probe get FILE      writes the clipboard text to FILE (UTF-16)
//   (any other command line)      writes the command line to T:\probe_args.txt
#include <windows.h>
#include <string.h>
#include <wchar.h>

static int PutOnClipboard(const wchar_t *text, size_t units, size_t bytes)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    wchar_t *p = (wchar_t *)GlobalLock(memory);
    memcpy(p, text, units * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr))
        return 2;
    EmptyClipboard();
    bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return ok ? 0 : 3;
}

static int WriteFileText(const wchar_t *path, const wchar_t *text, size_t units)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 4;
    DWORD written;
    WriteFile(file, text, (DWORD)(units * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc == 3 && !wcscmp(argv[1], L"set"))
        return PutOnClipboard(argv[2], wcslen(argv[2]) + 1, (wcslen(argv[2]) + 1) * sizeof(wchar_t));
    if (argc == 3 && !wcscmp(argv[1], L"raw")) {
        size_t n = (size_t)_wtoi(argv[2]);
        wchar_t *text = new wchar_t[n + 1];
        for (size_t i = 0; i < n; i++)
            text[i] = L'r';
        int rc = PutOnClipboard(text, n, n * sizeof(wchar_t));
        delete[] text;
        return rc;
    }
    if (argc == 3 && !wcscmp(argv[1], L"get")) {
        if (!OpenClipboard(nullptr))
            return 2;
        HANDLE memory = GetClipboardData(CF_UNICODETEXT);
        const wchar_t *text = memory ? (const wchar_t *)GlobalLock(memory) : nullptr;
        int rc = text ? WriteFileText(argv[2], text, wcsnlen(text, GlobalSize(memory) / 2)) : 5;
        if (text)
            GlobalUnlock(memory);
        CloseClipboard();
        return rc;
    }
    const wchar_t *line = GetCommandLineW();
    return WriteFileText(L"T:\\probe_args.txt", line, wcslen(line));
}
