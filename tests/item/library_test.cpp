// Library load and unload: buffers, menus, icons and the window class.
#include "test_support.h"
#include "item/item_commands.h"
#include "item/library.h"

namespace {

TEST(Library, TextsAtLoadBeforeAnyWindow)
{
    ReloadLibrary();
    EXPECT_STREQ(L"Welcome to 'Inkleaf'!\r\nTap on upper left corner to edit this\r\ntext or graphics to display.",
                 g_item.pageText[0]);
    EXPECT_STREQ(L"(tab4: Tap upper left corner\r\nto edit text)", g_item.pageText[3]);
    EXPECT_STREQ(L"INITIAL TEXT", g_item.readBuffer);
    EXPECT_EQ(nullptr, g_item.itemWindow);
    EXPECT_EQ(RGB(224, 224, 224), g_item.transparentKey);
}

TEST(Library, ClassNameResourceCarriesItsTerminator)
{
    // A NULL buffer gives the resource's own text, its length in the word
    // before it; a real buffer still gets a copy.
    HINSTANCE self = GetModuleHandleW(nullptr);
    const wchar_t *text = (const wchar_t *)(INT_PTR)LoadStringW(self, 1, nullptr, 0);
    ASSERT_TRUE(text);
    EXPECT_EQ(13, text[-1]);
    EXPECT_EQ(0, text[12]);
    EXPECT_STREQ(L"inkleaf_item", text);
    wchar_t copy[20] = {};
    EXPECT_EQ(13, LoadStringW(self, 1, copy, 20));
    EXPECT_STREQ(L"inkleaf_item", copy);
    EXPECT_EQ(0, LoadStringW(self, 2, nullptr, 0));   // no such string
}

TEST(Library, EveryIconIsLoadedAtTheScreenSize)
{
    ReloadLibrary();
    for (int role = 0; role < ICON_ROLE_COUNT; role++)
        for (int set = 0; set < 2; set++) {
            HICON icon = g_item.icons[role][set];
            ASSERT_TRUE(icon) << role << "/" << set;
            ICONINFO info;
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bm;
            GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
            EXPECT_EQ(16, bm.bmWidth) << role << "/" << set;   // the prefix runs at 96 dpi
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
}

// The icon size follows the screen's DPI: each size is probed in a process
// of its own, since the resolution is read once per process.
TEST(Library, IconSizeFollowsTheScreenDpi)
{
    HKEY desktop;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0,
                                           KEY_ALL_ACCESS, &desktop));
    const DWORD dpis[] = {96, 131, 192};
    const int sizes[] = {16, 22, 32};
    for (int i = 0; i < 3; i++) {
        RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, (const BYTE *)&dpis[i], 4);
        std::wstring command = L"\"" + BinaryDir() + L"\\icon_size_probe.exe\"";
        STARTUPINFOW si = {sizeof(si)};
        PROCESS_INFORMATION pi;
        ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi));
        WaitForSingleObject(pi.hProcess, 30000);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        EXPECT_EQ((DWORD)sizes[i], code) << "at " << dpis[i] << " dpi";
    }
    const DWORD normal = 96;
    RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, (const BYTE *)&normal, 4);
    RegCloseKey(desktop);
}

TEST(Library, PopupsCarryTheirEntriesInOrder)
{
    ReloadLibrary();
    const ItemState &s = g_item;
    struct Count { HMENU menu; int items; };
    const Count counts[] = {{s.itemMenu, 15}, {s.graphicsItemMenu, 15}, {s.textColorMenu, 18},
                            {s.penColorMenu, 17}, {s.penWidthMenu, 10}, {s.eraserMenu, 18},
                            {s.eraserWidthMenu, 10}, {s.clearBoardMenu, 19}, {s.stampColorMenu, 17},
                            {s.shapeMenu, 12}};
    for (const Count &c : counts)
        EXPECT_EQ(c.items, GetMenuItemCount(c.menu));
    wchar_t label[64];
    GetMenuStringW(s.itemMenu, 0, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"To Graphics Edit mode(&G)", label);
    GetMenuStringW(s.graphicsItemMenu, 0, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"Exit Graphics Edit mode(&Q)", label);
    EXPECT_EQ(s.textColorMenu, GetSubMenu(s.itemMenu, 14));
    EXPECT_EQ(s.textColorMenu, GetSubMenu(s.graphicsItemMenu, 14));
    GetMenuStringW(s.eraserMenu, 12, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"Blue eraser", label);
    GetMenuStringW(s.clearBoardMenu, 18, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"Use Khaki to delete", label);
    GetMenuStringW(s.shapeMenu, 6, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"Circle (filled) - S", label);
    EXPECT_EQ((UINT)IDM_CIRCLE_FILLED_S, GetMenuItemID(s.shapeMenu, 6));
    EXPECT_EQ((UINT)IDM_COLOR_PINK, GetMenuItemID(s.penColorMenu, 4));
}

TEST(Library, UnloadDestroysEveryMenuOnce)
{
    ReloadLibrary();
    HMENU menus[] = {g_item.itemMenu, g_item.graphicsItemMenu, g_item.textColorMenu, g_item.shapeMenu};
    LibraryDetach();
    for (HMENU m : menus)
        EXPECT_FALSE(IsMenu(m));
    EXPECT_EQ(nullptr, g_item.pageText[0]);
    EXPECT_EQ(nullptr, g_item.moduleInstance);
    WNDCLASSW wc;
    EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), L"inkleaf_item", &wc));
    ReloadLibrary();
}

// The real library, loaded, unloaded and loaded again in this process.
TEST(Library, TheDllLoadsUnloadsAndLoadsAgain)
{
    std::wstring dll = BinaryDir() + L"\\inkleaf_item.dll";
    SetCurrentDirectoryW(L"T:\\");
    SetShellReady(true);
    for (int round = 0; round < 2; round++) {
        HMODULE module = LoadLibraryW(dll.c_str());
        ASSERT_TRUE(module) << round;
        WNDCLASSW wc;
        EXPECT_TRUE(GetClassInfoW(module, L"inkleaf_item", &wc)) << round;
        EXPECT_EQ(nullptr, GetProcAddress(module, "InitializeCustomItem"));
        auto init = (PFNCUSTOMINITIALIZEITEM)GetProcAddress(module, MAKEINTRESOURCEA(240));
        ASSERT_TRUE(init);
        MakeBoardFolder(2);
        TODAYLISTITEM listItem = {};
        HWND item = init(&listItem, TodayWindow());
        ASSERT_TRUE(item) << round;
        EXPECT_EQ(TRUE, SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&listItem, 0));
        EXPECT_EQ(200u, listItem.cyp);
        DestroyWindow(item);
        EXPECT_TRUE(FreeLibrary(module));
        EXPECT_FALSE(GetClassInfoW(module, L"inkleaf_item", &wc)) << round;
    }
    DeleteItemKey();
    RemoveBoardFolders();
}

typedef void *(__cdecl *MallocFn)(size_t);
#ifdef _WIN64
extern "C" MallocFn mallocSlot __asm__("__imp_malloc");
#else
extern "C" MallocFn mallocSlot __asm__("__imp__malloc");
#endif
void *__cdecl NoMemory(size_t) { return nullptr; }
LRESULT CALLBACK SentinelProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

// A load whose page buffers cannot be had fails, registers no class, and
// the detach the loader then sends undoes nothing it did not do: a class
// of the host's named after the host's string 1 stays registered. In a
// child process: malloc is made to fail there through its import slot.
TEST(LibraryDeathTest, AFailedLoadUnloadsOnce)
{
    EXPECT_EXIT(
        {
            LibraryDetach();
            SetItemStateDefaults(&g_item);
            HINSTANCE self = GetModuleHandleW(nullptr);
            WNDCLASSW sentinel = {};
            sentinel.lpfnWndProc = SentinelProc;
            sentinel.hInstance = self;
            sentinel.lpszClassName = L"inkleaf_item";   // this program's string 1 as well
            bool ok = RegisterClassW(&sentinel) != 0;
            DWORD protect;
            VirtualProtect(&mallocSlot, sizeof(mallocSlot), PAGE_READWRITE, &protect);
            MallocFn real = mallocSlot;
            mallocSlot = NoMemory;
            bool attached = LibraryAttach(self);
            mallocSlot = real;
            LibraryDetach();    // as the loader does after a failed attach
            WNDCLASSW found = {};
            ok = ok && !attached && GetClassInfoW(self, L"inkleaf_item", &found) &&
                 found.lpfnWndProc == SentinelProc && g_item.pageText[0] == nullptr &&
                 g_item.itemMenu == nullptr;
            ExitProcess(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
