// Shared fixtures of the item tests: the item key, the scratch drive that
// holds the board folders, a Today-screen parent window and fresh loads of
// the item library inside the test process.
#pragma once
#include "item/item_state.h"
#include <gtest/gtest.h>
#include "../common/item_key_fixture.h"
#include <string>
#include <vector>

// Board folders live on drive T:, the current drive of the tests.
std::wstring BoardFolder(int index);            // "T:\Programmi\inkleaf_item" ...
void RemoveBoardFolders();
void MakeBoardFolder(int index);
std::vector<BYTE> ReadWholeFile(const std::wstring &path);
bool FileExists(const std::wstring &path);
// The folder of the test program, where the programs it starts are built.
std::wstring BinaryDir();
bool WriteWholeFile(const std::wstring &path, const std::vector<BYTE> &bytes);

// Names of the files in a folder, sorted.
std::vector<std::wstring> FileNamesIn(const std::wstring &folder);

// Points one of this program's import slots at another function while it
// is in scope: the code under test calls the system through the slot.
class ImportSlotSwap {
public:
    template <class Function> ImportSlotSwap(Function *slot, Function replacement)
        : slot_((void **)slot), saved_((void *)*slot) { Set((void *)replacement); }
    ~ImportSlotSwap() { Set(saved_); }
    template <class Function> Function Saved() const { return (Function)saved_; }
private:
    void Set(void *function);
    void **slot_;
    void *saved_;
};

// Signals or clears the shell's ready event.
void SetShellReady(bool ready);

// A top-level window that answers the Today screen's item messages.
struct TodayStandIn {
    HWND window = nullptr;
    int watermarkRequests = 0;
    TODAYDRAWWATERMARKINFO lastWatermark = {};
    COLORREF textColor = RGB(0, 0, 128);
    // When set, the watermark is this solid colour over the asked rectangle;
    // CLR_INVALID draws nothing.
    COLORREF watermarkColor = CLR_INVALID;
};
extern TodayStandIn g_today;
HWND TodayWindow();
// The stand-in moved to the top-left corner and sized to the whole screen,
// as the Today screen is on the device.
HWND ScreenSizedTodayWindow();

// Unloads and reloads the item library state: load-time values, buffers,
// menus, icons and class, with this executable's resources.
void ReloadLibrary();

// Clears any MessageBox the item shows, remembering its text.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    int Count() const { return count_; }
    std::wstring LastText() const { return text_; }
private:
    static DWORD WINAPI Run(void *self);
    HANDLE thread_;
    volatile LONG stop_ = 0;
    volatile LONG count_ = 0;
    std::wstring text_;
};

// Chooses from the next popup menu that opens, as a user would (the Today
// stand-in's own driver): PopupMenuDriver chooser({L"label"}) chooses that
// entry, an empty path closes the menu without a choice; Menu() tells
// which menu it was.
#include "host/popup_menu_driver.h"

// The base of every test that touches the item key or the board folders.
class ItemTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND CreateItem();          // InitializeCustomItem under the Today stand-in
    TODAYLISTITEM listItem = {};
    HWND item = nullptr;
};

// Pixel helpers on the Board of g_item.
struct PixelBytes { int blue, green, red; };
PixelBytes BoardPixelAt(int column, int storedRow);

// A toolbar cell as the item lays it out in graphics edit mode, in whatever
// mode it is now, on the screen of its last layout.
inline LayoutRect ToolbarCell(ItemCell cell)
{
    ItemLayoutInput input = g_item.layoutInput;
    input.graphicsEditMode = 1;
    ItemLayout layout;
    LayOutItem(input, &layout);
    return layout.cells[cell];
}
