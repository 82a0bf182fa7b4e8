#include "test_support.h"
#include "item/board_primitives.h"
#include "item/install_folders.h"
#include "item/item_window.h"
#include "item/library.h"
#include <algorithm>
#include <string.h>

TodayStandIn g_today;

std::wstring BoardFolder(int index)
{
    WCHAR folder[MAX_PATH];
    return InstallFolder(index, folder) ? L"T:" + std::wstring(folder) : std::wstring();
}

// The program folder that holds install folder `index`.
static std::wstring ProgramFolder(int index)
{
    std::wstring folder = BoardFolder(index);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

static void RemoveTree(const std::wstring &dir)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = dir + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

void RemoveBoardFolders()
{
    for (int index = 1; index <= INSTALL_FOLDER_COUNT; index++)
        RemoveTree(ProgramFolder(index));
    RemoveTree(L"T:\\Storage Card");
}

void MakeBoardFolder(int index)
{
    CreateDirectoryW(ProgramFolder(index).c_str(), nullptr);
    CreateDirectoryW(BoardFolder(index).c_str(), nullptr);
}

std::vector<BYTE> ReadWholeFile(const std::wstring &path)
{
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file, bytes.data(), (DWORD)bytes.size(), &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

std::wstring BinaryDir()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\'));
}

std::vector<std::wstring> FileNamesIn(const std::wstring &folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

void ImportSlotSwap::Set(void *function)
{
    DWORD protect;
    VirtualProtect(slot_, sizeof(*slot_), PAGE_READWRITE, &protect);
    *slot_ = function;
    VirtualProtect(slot_, sizeof(*slot_), protect, &protect);
}

bool FileExists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteWholeFile(const std::wstring &path, const std::vector<BYTE> &bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = bytes.empty() || WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

void SetShellReady(bool ready)
{
    static HANDLE event = CreateEventW(nullptr, TRUE, TRUE, L"SYSTEM/ShellAPIReady");
    if (ready)
        SetEvent(event);
    else
        ResetEvent(event);
}

static LRESULT CALLBACK TodayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case TODAYM_DRAWWATERMARK:
        g_today.watermarkRequests++;
        g_today.lastWatermark = *(TODAYDRAWWATERMARKINFO *)lParam;
        if (g_today.watermarkColor != CLR_INVALID) {
            HBRUSH brush = CreateSolidBrush(g_today.watermarkColor);
            FillRect(g_today.lastWatermark.hdc, &g_today.lastWatermark.rc, brush);
            DeleteObject(brush);
        }
        return TRUE;
    case TODAYM_GETCOLOR:
        return wParam == TODAYCOLOR_TEXT ? g_today.textColor : 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND TodayWindow()
{
    if (!g_today.window) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = TodayProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TestTodayScreen";
        RegisterClassW(&wc);
        g_today.window = CreateWindowExW(0, wc.lpszClassName, L"Today", WS_POPUP | WS_VISIBLE, 0, 0,
                                         480, 640, nullptr, nullptr, wc.hInstance, nullptr);
    }
    return g_today.window;
}

HWND ScreenSizedTodayWindow()
{
    HWND today = TodayWindow();
    SetWindowPos(today, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_SHOWWINDOW);
    return today;
}

void ReloadLibrary()
{
    if (g_item.moduleInstance)
        LibraryDetach();
    SetItemStateDefaults(&g_item);
    LibraryAttach(GetModuleHandleW(nullptr));
    // The item of the tests lies in a program folder of the list; a test
    // that installs it elsewhere sets its own folder.
    g_item.ownFolder[0] = 0;
}

MessageBoxWatcher::MessageBoxWatcher()
{
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
}

DWORD WINAPI MessageBoxWatcher::Run(void *param)
{
    MessageBoxWatcher *self = (MessageBoxWatcher *)param;
    while (!self->stop_) {
        HWND box = FindWindowW(L"#32770", nullptr);
        if (box && IsWindowVisible(box)) {
            wchar_t text[256] = {};
            HWND label = GetDlgItem(box, 0xFFFF);
            if (label)
                GetWindowTextW(label, text, 256);
            self->text_ = text;
            InterlockedIncrement(&self->count_);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            Sleep(100);
        }
        Sleep(10);
    }
    return 0;
}

void ItemTest::SetUp()
{
    SetCurrentDirectoryW(L"T:\\");
    SetShellReady(true);
    DeleteItemKey();
    RemoveBoardFolders();
    MakeBoardFolder(2);
    ReloadLibrary();
    g_today.watermarkRequests = 0;
}

void ItemTest::TearDown()
{
    if (item && IsWindow(item))
        DestroyWindow(item);
    item = nullptr;
    DeleteItemKey();
    RemoveBoardFolders();
}

HWND ItemTest::CreateItem()
{
    item = InitializeCustomItem(&listItem, TodayWindow());
    return item;
}

PixelBytes BoardPixelAt(int column, int storedRow)
{
    BoardPixels board;
    if (!GetBoardPixels(g_item.boardBitmap, &board))
        return PixelBytes{-1, -1, -1};
    const unsigned char *p = board.bits + BoardPixelOffset(board, column, storedRow);
    return PixelBytes{p[0], p[1], p[2]};
}

