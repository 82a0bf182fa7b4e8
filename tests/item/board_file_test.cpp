// The board file: format, the walk over the program folders, and saves that
// never lose the previous file.
#include "test_support.h"
#include "item/board_file.h"
#include "item/board_format.h"
#include "item/board_primitives.h"
#include "item/install_folders.h"
#include "item/item_commands.h"
#include "item/menus.h"
#include "common/item_key.h"
#include "platform/import_slot.h"
#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <stdint.h>
#include <string.h>

namespace {

const size_t kFileBytes = 1228854;

std::wstring BoardFile(int index)
{
    return BoardFolder(index) + L"\\inkleaf_board.bmp";
}

// A 640 x 640 board file of one colour with one marked pixel.
std::vector<BYTE> MarkedBoardFile(BYTE grey, int column, int row)
{
    std::vector<BYTE> file(kFileBytes, grey);
    BuildBoardFileHeaders(640, 640, file.data());
    size_t at = 54 + ((size_t)row * 640 + column) * 3;
    file[at] = 10;
    file[at + 1] = 20;
    file[at + 2] = 30;
    return file;
}

// Byte `at` of a file, -1 when the file is shorter.
int FileByte(const std::wstring &path, size_t at)
{
    std::vector<BYTE> file = ReadWholeFile(path);
    return at < file.size() ? file[at] : -1;
}

class BoardFileTest : public ItemTest {};

TEST_F(BoardFileTest, FirstStartCreatesAGreyBoardAtTheFirstExistingFolder)
{
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(2, g_item.installFolderIndex);
    EXPECT_EQ(0, g_item.boardFileFound);
    std::vector<BYTE> file = ReadWholeFile(BoardFile(2));
    ASSERT_EQ(kFileBytes, file.size());
    unsigned char headers[BOARD_HEADERS_BYTES];
    BuildBoardFileHeaders(640, 640, headers);
    EXPECT_EQ(0, memcmp(headers, file.data(), sizeof(headers)));
    size_t grey = 0;
    for (size_t i = 54; i < file.size(); i++)
        grey += file[i] == 224;
    EXPECT_EQ(kFileBytes - 54, grey);
    EXPECT_FALSE(FileExists(BoardFile(2) + L".new"));
    EXPECT_EQ(224, g_item.eraserColorRGB.red);
    PixelBytes p = BoardPixelAt(639, 0);
    EXPECT_EQ(224, p.blue);
}

TEST_F(BoardFileTest, PixelOffsetsInTheFileFollowTheBoard)
{
    ASSERT_TRUE(CreateItem());
    g_item.penWidth = 1;
    g_item.penColorRGB = {30, 20, 10};
    DrawAtPoint(g_item.boardBitmap, 100, 200);
    ASSERT_TRUE(SaveBoard());
    std::vector<BYTE> file = ReadWholeFile(BoardFile(2));
    ASSERT_EQ(kFileBytes, file.size());
    size_t at = 54 + ((size_t)440 * 640 + 100) * 3;
    EXPECT_EQ(10, file[at]);
    EXPECT_EQ(20, file[at + 1]);
    EXPECT_EQ(30, file[at + 2]);
}

TEST_F(BoardFileTest, AFileOnlyAtEntryFiveIsLoadedThenSavedToEntryOne)
{
    MakeBoardFolder(1);
    MakeBoardFolder(5);
    ASSERT_TRUE(WriteWholeFile(BoardFile(5), MarkedBoardFile(200, 5, 6)));
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(1, g_item.boardFileFound);
    EXPECT_EQ(1, g_item.installFolderIndex);
    EXPECT_EQ(MarkedBoardFile(200, 5, 6), ReadWholeFile(BoardFile(1)));
    EXPECT_EQ(10, BoardPixelAt(5, 6).blue);
    // The next creation loads from entry 1.
    DestroyWindow(item);
    ASSERT_TRUE(WriteWholeFile(BoardFile(5), MarkedBoardFile(100, 0, 0)));
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(10, BoardPixelAt(5, 6).blue);
    EXPECT_EQ(200, BoardPixelAt(0, 0).blue);
}

TEST_F(BoardFileTest, AnEmptyOrUnusableFileIsReplacedByAFreshBoard)
{
    const std::vector<BYTE> whole = MarkedBoardFile(1, 0, 0);
    auto changed = [&whole](size_t at, BYTE value) {
        std::vector<BYTE> f = whole;
        f[at] = value;
        return f;
    };
    const std::vector<BYTE> unusable[] = {
        {},                                              // 0 bytes
        std::vector<BYTE>(whole.begin(), whole.begin() + 5000),   // cut short
        std::vector<BYTE>(whole.begin(), whole.end() - 1),
        changed(28, 32),                                 // 32 bits a pixel, too short
        changed(28, 8),                                  // 8 bits a pixel
        changed(18, 0x81),                               // 641 wide: rows need padding
        changed(30, 1),                                  // compressed
        changed(0, 'X'),                                 // not a bitmap
    };
    for (const auto &bytes : unusable) {
        ReloadLibrary();
        ASSERT_TRUE(WriteWholeFile(BoardFile(2), bytes));
        ASSERT_TRUE(CreateItem());
        EXPECT_EQ(0, g_item.boardFileFound) << bytes.size();
        std::vector<BYTE> file = ReadWholeFile(BoardFile(2));
        ASSERT_EQ(kFileBytes, file.size());
        EXPECT_EQ(224, file[54]);
        EXPECT_EQ(224, file[kFileBytes - 1]);
        DestroyWindow(item);
    }
}

TEST_F(BoardFileTest, ATopDownFileLoadsTheRightWayUp)
{
    std::vector<BYTE> file = MarkedBoardFile(70, 5, 6);   // file row 6: image line 6
    file[22] = 0x80;                                      // height -640
    file[23] = 0xFD;
    file[24] = 0xFF;
    file[25] = 0xFF;
    ASSERT_TRUE(WriteWholeFile(BoardFile(2), file));
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(1, g_item.boardFileFound);
    EXPECT_EQ(10, BoardPixelAt(5, 633).blue);
    EXPECT_EQ(70, BoardPixelAt(5, 6).blue);
    // Saved back in the board file's own bottom-up order.
    EXPECT_EQ(MarkedBoardFile(70, 5, 633), ReadWholeFile(BoardFile(2)));
}

TEST_F(BoardFileTest, AnEmptyFileGivesWayToALoadableOneFurtherOn)
{
    MakeBoardFolder(5);
    ASSERT_TRUE(WriteWholeFile(BoardFile(2), {}));
    ASSERT_TRUE(WriteWholeFile(BoardFile(5), MarkedBoardFile(50, 1, 1)));
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(1, g_item.boardFileFound);
    EXPECT_EQ(2, g_item.installFolderIndex);
    EXPECT_EQ(MarkedBoardFile(50, 1, 1), ReadWholeFile(BoardFile(2)));
}

TEST_F(BoardFileTest, NoFolderAtAllTellsTheUserOnceAndGoesOnWithoutABoard)
{
    RemoveBoardFolders();
    MessageBoxWatcher boxes;
    ASSERT_TRUE(CreateItem()) << "the window is created without a Board";
    EXPECT_EQ(1, boxes.Count());
    EXPECT_EQ(L"Failed to create a file1.", boxes.LastText());
    EXPECT_EQ(12, g_item.installFolderIndex);
    EXPECT_EQ(nullptr, g_item.boardBitmap);
    EXPECT_FALSE(SaveBoard());
    DrawAtPoint(g_item.boardBitmap, 100, 100);
    FillBoard(g_item.boardBitmap);
    EXPECT_EQ(12, g_item.installFolderIndex);
    // Clearing a Board that is not there changes nothing to be saved: no
    // save button.
    g_item.menuContext = MENU_CONTEXT_CLEAR_BOARD;
    SendMessageW(item, WM_COMMAND, IDM_COLOR_BLUE, 0);
    g_item.menuContext = MENU_CONTEXT_CLEAR_BOARD;
    SendMessageW(item, WM_COMMAND, IDM_CLEAR_WITH_ERASER, 0);
    EXPECT_EQ(0, g_item.boardDirty);
}

TEST_F(BoardFileTest, SaveThatNoFolderAcceptsLeavesEveryFileAsItWas)
{
    MakeBoardFolder(3);
    MakeBoardFolder(5);
    ASSERT_TRUE(CreateItem());
    ASSERT_EQ(2, g_item.installFolderIndex);
    std::vector<BYTE> before = MarkedBoardFile(80, 3, 3);
    for (int index : {2, 3, 5})
        ASSERT_TRUE(WriteWholeFile(BoardFile(index), before));
    // Another program holds each file open without sharing: none can be replaced.
    std::vector<HANDLE> held;
    for (int index : {2, 3, 5})
        held.push_back(CreateFileW(BoardFile(index).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    for (HANDLE h : held)
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
    g_item.installFolderIndex = 7;
    FillBoard(g_item.boardBitmap);
    EXPECT_FALSE(SaveBoard());
    EXPECT_EQ(7, g_item.installFolderIndex);
    for (HANDLE h : held)
        CloseHandle(h);
    for (int index : {2, 3, 5}) {
        EXPECT_EQ(before, ReadWholeFile(BoardFile(index))) << index;
        EXPECT_FALSE(FileExists(BoardFile(index) + L".new")) << index;
    }
}

// The test runner makes T:\Programmi a 2 MiB file system: one board file
// fits there with some room to spare, a second one beside it does not.
bool LowRoomStore()
{
    ULARGE_INTEGER available, total, free;
    return GetDiskFreeSpaceExW(L"T:\\Programmi\\", &available, &total, &free) &&
           total.QuadPart <= (4u << 20);
}

#define REQUIRE_LOW_ROOM_STORE()                                                               \
    if (!LowRoomStore())                                                                       \
    GTEST_SKIP() << "T:\\Programmi is not a small file system (mount needs root)"

// A Board drawn and saved on a store without room for a second copy stays
// in its folder: the next creation loads the drawing from there.
TEST_F(BoardFileTest, ALowRoomStoreKeepsTheBoardInItsFolder)
{
    REQUIRE_LOW_ROOM_STORE();
    MakeBoardFolder(1);
    const std::vector<BYTE> b0 = MarkedBoardFile(90, 2, 2);
    ASSERT_TRUE(WriteWholeFile(BoardFile(1), b0));
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(1, g_item.boardFileFound);
    EXPECT_EQ(1, g_item.installFolderIndex);
    EXPECT_EQ(b0, ReadWholeFile(BoardFile(1)));
    EXPECT_FALSE(FileExists(BoardFile(2)));
    // B1: the Board filled with another grey, saved, and the item made again.
    g_item.eraserColorRGB = {40, 40, 40};
    FillBoard(g_item.boardBitmap);
    ASSERT_TRUE(SaveBoard());
    EXPECT_EQ(1, g_item.installFolderIndex);
    EXPECT_FALSE(FileExists(BoardFile(1) + L".new"));
    DestroyWindow(item);
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(1, g_item.installFolderIndex);
    EXPECT_EQ(40, BoardPixelAt(2, 2).blue);
    EXPECT_EQ(40, BoardPixelAt(639, 639).red);
    EXPECT_FALSE(FileExists(BoardFile(2)));
    // A save that fits nowhere in its folder fails there and leaves a file of
    // another size as it was; it never moves on.
    RemoveBoardFolders();
    MakeBoardFolder(1);
    MakeBoardFolder(2);
    ASSERT_TRUE(WriteWholeFile(BoardFolder(1) + L"\\filler", std::vector<BYTE>(1800000, 7)));
    ASSERT_TRUE(WriteWholeFile(BoardFile(1), std::vector<BYTE>(100, 1)));
    EXPECT_FALSE(SaveBoard());
    EXPECT_EQ(std::vector<BYTE>(100, 1), ReadWholeFile(BoardFile(1)));
    EXPECT_EQ(1, g_item.installFolderIndex);
    EXPECT_FALSE(FileExists(BoardFile(1) + L".new"));
    EXPECT_FALSE(FileExists(BoardFile(2)));
}

// Runs cut_child.exe JOB CUT (see there) and returns its exit code: 9 when
// it was cut, 0 when its job ran to its end.
DWORD RunCutChild(const std::wstring &job, const std::wstring &cut)
{
    std::wstring command = L"\"" + BinaryDir() + L"\\cut_child.exe\" " + job + L" " + cut;
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION child;
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &child)) {
        ADD_FAILURE() << "cut_child.exe does not start";
        return ~0u;
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.hProcess, 30000));
    DWORD code = ~0u;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return code;
}

// A save of a Board of grey `grey` at the first existing folder, cut at
// `cut`; true when the cut was met, false when the save ran to its end.
bool SaveCutShort(int grey, const std::wstring &cut)
{
    DWORD code = RunCutChild(L"save:" + std::to_wstring(grey), cut);
    EXPECT_TRUE(code == 9 || code == 0) << "the save itself failed: " << code;
    return code == 9;
}

// A process cut right after any call of a save: the next creation finds
// the old drawing or the new one, never a fresh Board, and its own save
// leaves no "<path>.new" behind.
TEST_F(BoardFileTest, ASaveCutAfterAnyStepLosesNeitherDrawing)
{
    const std::vector<BYTE> old = MarkedBoardFile(90, 2, 2);
    int cuts = 0, sawOld = 0, sawNew = 0;
    for (int step = 1; step < 60; step++) {
        ReloadLibrary();
        ASSERT_TRUE(WriteWholeFile(BoardFile(2), old));
        DeleteFileW((BoardFile(2) + L".new").c_str());
        bool wasCut = SaveCutShort(30, L"after:" + std::to_wstring(step));
        ASSERT_TRUE(CreateItem()) << step;
        EXPECT_EQ(1, g_item.boardFileFound) << "cut after call " << step;
        int grey = BoardPixelAt(100, 100).blue;
        EXPECT_TRUE(grey == 90 || grey == 30) << "cut after call " << step << ": " << grey;
        sawOld += grey == 90;
        sawNew += grey == 30;
        EXPECT_FALSE(FileExists(BoardFile(2) + L".new")) << step;
        EXPECT_EQ(kFileBytes, ReadWholeFile(BoardFile(2)).size()) << step;
        DestroyWindow(item);
        if (!wasCut)
            break;
        cuts++;
    }
    EXPECT_GE(cuts, 6) << "the save makes at least this many calls";
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}

// Without room for a second copy the old file is rewritten in place: a cut
// halfway through that leaves new pixels up to the cut and old ones after
// it, and the next creation loads it.
TEST_F(BoardFileTest, ACutInPlaceRewriteStillLoads)
{
    REQUIRE_LOW_ROOM_STORE();
    MakeBoardFolder(1);
    ASSERT_TRUE(WriteWholeFile(BoardFile(1), MarkedBoardFile(90, 2, 2)));
    // The first large write is the new copy's, which does not fit; the
    // second rewrites the old file.
    ASSERT_TRUE(SaveCutShort(30, L"within:2"));
    EXPECT_FALSE(FileExists(BoardFile(1) + L".new"));
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(1, g_item.boardFileFound);
    EXPECT_EQ(1, g_item.installFolderIndex);
    EXPECT_EQ(30, BoardPixelAt(0, 0).blue);
    EXPECT_EQ(90, BoardPixelAt(639, 639).blue);
}

// A valid BMP of another shape than the Board's: `bits` 8 (with a grey
// palette), 24 or 32, rows padded to 4 bytes.
std::vector<BYTE> OtherBitmapFile(int width, int height, int bits)
{
    size_t palette = bits == 8 ? 256 * 4 : 0;
    size_t row = ((size_t)width * bits + 31) / 32 * 4;
    size_t offset = 54 + palette;
    std::vector<BYTE> file(offset + row * height, 0x5A);
    auto put32 = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++)
            file[at + i] = (BYTE)(v >> (8 * i));
    };
    memset(file.data(), 0, 54);
    file[0] = 'B';
    file[1] = 'M';
    put32(2, (uint32_t)file.size());
    put32(10, (uint32_t)offset);
    put32(14, 40);
    put32(18, (uint32_t)width);
    put32(22, (uint32_t)height);
    file[26] = 1;
    file[28] = (BYTE)bits;
    for (size_t i = 0; i < palette; i += 4)
        file[54 + i] = file[55 + i] = file[56 + i] = (BYTE)(i / 4);
    return file;
}

// Where the n-th file the item cannot load is kept beside the board file
// of entry 2.
std::wstring KeptFile(int n)
{
    return BoardFolder(2) + (n == 1 ? std::wstring(L"\\inkleaf_board.unloadable.bmp")
                                    : L"\\inkleaf_board.unloadable." + std::to_wstring(n) + L".bmp");
}

// Users' pictures the item cannot draw on, met in turn at the board path:
// each is kept byte for byte under the first free keep name beside the
// fresh Board, none in place of another; an empty file is simply replaced.
TEST_F(BoardFileTest, EveryFileTheItemCannotLoadIsKeptBesideTheFreshBoard)
{
    const std::vector<BYTE> pictures[] = {
        OtherBitmapFile(641, 640, 24), OtherBitmapFile(640, 640, 8), OtherBitmapFile(640, 640, 32)};
    for (const auto &picture : pictures) {
        ReloadLibrary();
        ASSERT_TRUE(WriteWholeFile(BoardFile(2), picture));
        ASSERT_TRUE(CreateItem());
        EXPECT_EQ(0, g_item.boardFileFound);
        std::vector<BYTE> board = ReadWholeFile(BoardFile(2));
        ASSERT_EQ(kFileBytes, board.size());
        EXPECT_EQ(224, board[54]);
        EXPECT_EQ(224, BoardPixelAt(320, 320).red);
        DestroyWindow(item);
    }
    for (int n = 1; n <= 3; n++)
        EXPECT_EQ(pictures[n - 1], ReadWholeFile(KeptFile(n))) << n;
    ReloadLibrary();
    ASSERT_TRUE(WriteWholeFile(BoardFile(2), {}));
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(kFileBytes, ReadWholeFile(BoardFile(2)).size());
    EXPECT_FALSE(FileExists(KeptFile(4)));
}

// Keep names that something else holds: a read-only file and a folder are
// passed over. With every keep name taken the picture stays where it is
// and that path counts as taken: the Board goes to the next folder that
// takes one, or, with none, the item says so once and goes on without a
// Board; no save touches the picture.
TEST_F(BoardFileTest, TakenKeepNamesLoseNothing)
{
    const std::vector<BYTE> picture = OtherBitmapFile(640, 640, 8);
    const std::vector<BYTE> someoneElses = {'n', 'o', 't', 'e'};
    ASSERT_TRUE(WriteWholeFile(KeptFile(1), someoneElses));
    ASSERT_TRUE(SetFileAttributesW(KeptFile(1).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateDirectoryW(KeptFile(2).c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(BoardFile(2), picture));
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(picture, ReadWholeFile(KeptFile(3)));
    EXPECT_EQ(someoneElses, ReadWholeFile(KeptFile(1)));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesW(KeptFile(2).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(kFileBytes, ReadWholeFile(BoardFile(2)).size());
    DestroyWindow(item);

    for (int n = 4; n <= BOARD_KEEP_NAME_COUNT; n++)
        ASSERT_TRUE(CreateDirectoryW(KeptFile(n).c_str(), nullptr));
    const std::vector<BYTE> another = OtherBitmapFile(641, 640, 24);
    ASSERT_TRUE(WriteWholeFile(BoardFile(2), another));
    MakeBoardFolder(3);
    ReloadLibrary();
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(3, g_item.installFolderIndex);
    EXPECT_EQ(224, BoardPixelAt(0, 0).blue);
    g_item.eraserColorRGB = {40, 40, 40};
    FillBoard(g_item.boardBitmap);
    EXPECT_TRUE(SaveBoard());
    EXPECT_EQ(40, FileByte(BoardFile(3), 54));
    EXPECT_EQ(another, ReadWholeFile(BoardFile(2)));
    DestroyWindow(item);

    ASSERT_TRUE(DeleteFileW(BoardFile(3).c_str()));
    ASSERT_TRUE(RemoveDirectoryW(BoardFolder(3).c_str()));
    ReloadLibrary();
    MessageBoxWatcher boxes;
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(1, boxes.Count());
    EXPECT_EQ(nullptr, g_item.boardBitmap);
    EXPECT_EQ(another, ReadWholeFile(BoardFile(2)));
    EXPECT_FALSE(FileExists(BoardFile(2) + L".new"));
}

// What a save cut before its last step left beside a loadable Board: a
// whole "<path>.new" is the newest Board and takes its place; a partial one
// is removed and the Board beside it loads. A read-only mark on
// "<path>.new" does not pass into the Board; one the user put on the Board
// stays, and its saves fail.
TEST_F(BoardFileTest, AWholeNewFileBesideTheBoardWinsAPartialOneDoesNot)
{
    const std::vector<BYTE> older = MarkedBoardFile(90, 2, 2), newer = MarkedBoardFile(30, 4, 4);
    const std::wstring temp = BoardFile(2) + L".new";
    const struct {
        size_t bytes;
        bool readOnly;
    } cases[] = {{kFileBytes, false}, {kFileBytes, true}, {kFileBytes - 1, false},
                 {54 + 1920 * 100, true}, {54, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.bytes) + (c.readOnly ? " bytes, read-only" : " bytes"));
        ReloadLibrary();
        ASSERT_TRUE(WriteWholeFile(BoardFile(2), older));
        ASSERT_TRUE(WriteWholeFile(temp, std::vector<BYTE>(newer.begin(), newer.begin() + c.bytes)));
        ASSERT_TRUE(!c.readOnly || SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(CreateItem());
        bool whole = c.bytes == kFileBytes;
        EXPECT_EQ(whole ? 30 : 90, BoardPixelAt(100, 100).blue);
        EXPECT_EQ(whole ? newer : older, ReadWholeFile(BoardFile(2)));
        EXPECT_FALSE(FileExists(temp));
        EXPECT_EQ(0u, GetFileAttributesW(BoardFile(2).c_str()) & FILE_ATTRIBUTE_READONLY);
        DestroyWindow(item);
    }
    ASSERT_TRUE(SetFileAttributesW(BoardFile(2).c_str(), FILE_ATTRIBUTE_READONLY));
    ReloadLibrary();
    ASSERT_TRUE(CreateItem());
    EXPECT_FALSE(SaveBoard());
    EXPECT_NE(0u, GetFileAttributesW(BoardFile(2).c_str()) & FILE_ATTRIBUTE_READONLY);
}

// The points at which to cut a job of cut_child.exe: right after each of
// its calls that write, as a run to its end lists them, except that of a
// run of alike writes (the rows of a new board file) only the first two,
// the middle one and the last two are taken.
std::vector<int> CutPoints(const std::wstring &job)
{
    EXPECT_EQ(0u, RunCutChild(job, L"log:T:\\cut_calls.txt"));
    std::vector<std::string> calls;
    std::ifstream log("T:\\cut_calls.txt");
    for (std::string line; std::getline(log, line);)
        calls.push_back(line);
    log.close();
    DeleteFileW(L"T:\\cut_calls.txt");
    std::vector<int> points;
    for (size_t first = 0; first < calls.size();) {
        size_t end = first;
        while (end < calls.size() && calls[end] == calls[first])
            end++;
        size_t run = end - first;
        for (size_t at = 0; at < run; at++) {
            if (run <= 5 || at < 2 || at + 2 >= run || at == run / 2)
                points.push_back((int)(first + at + 1));
        }
        first = end;
    }
    return points;
}

// The item's first start on a fresh device, cut right after any call that
// writes: the next start shows a grey Board, stores what an uncut first
// start stores, and leaves no other file beside the board file.
TEST_F(BoardFileTest, AFirstStartCutAnywhereLeavesAGreyBoardOrNone)
{
    const std::vector<int> points = CutPoints(L"first-start");
    const std::map<std::wstring, StoredValue> stored = ReadAllStored();
    ASSERT_GE(stored.size(), 12u);
    ASSERT_GT(points.size(), stored.size());
    for (int point : points) {
        SCOPED_TRACE("cut after call " + std::to_string(point));
        DeleteItemKey();
        RemoveBoardFolders();
        MakeBoardFolder(2);
        ASSERT_EQ(9u, RunCutChild(L"first-start", L"after:" + std::to_wstring(point)));
        ReloadLibrary();
        ASSERT_TRUE(CreateItem());
        std::vector<BYTE> file = ReadWholeFile(BoardFile(2));
        ASSERT_EQ(kFileBytes, file.size());
        EXPECT_EQ((long)(kFileBytes - 54), (long)std::count(file.begin() + 54, file.end(), 224));
        EXPECT_FALSE(FileExists(BoardFile(2) + L".new"));
        EXPECT_FALSE(FileExists(KeptFile(1)));
        const std::map<std::wstring, StoredValue> now = ReadAllStored();
        EXPECT_EQ(stored.size(), now.size());
        for (const auto &value : stored) {
            EXPECT_TRUE(now.count(value.first) && now.at(value.first) == value.second) << value.first;
        }
        DestroyWindow(item);
    }
}

// What keeps a saved Board from loading at one start, while in scope: the
// loader cannot make its bitmap, memory runs out while the file is read,
// another program holds the file open without sharing, or the item's
// memory DCs cannot be made.
typedef HBITMAP(WINAPI *CreateDibFn)(HDC, const BITMAPINFO *, UINT, void **, HANDLE, DWORD);
typedef void *(__cdecl *MallocFn)(size_t);
typedef HDC(WINAPI *CreateDcFn)(HDC);
extern "C" CreateDibFn createDibSlot __asm__(IMPORT_SLOT(CreateDIBSection, 24));
extern "C" CreateDcFn createDcSlot __asm__(IMPORT_SLOT(CreateCompatibleDC, 4));
#ifdef _WIN64
extern "C" MallocFn mallocSlot __asm__("__imp_malloc");
#else
extern "C" MallocFn mallocSlot __asm__("__imp__malloc");
#endif
MallocFn g_realMalloc;

HBITMAP WINAPI NoBitmap(HDC, const BITMAPINFO *, UINT, void **bits, HANDLE, DWORD)
{
    if (bits)
        *bits = nullptr;
    return nullptr;
}
HDC WINAPI NoDC(HDC) { return nullptr; }
void *__cdecl NoLargeBlock(size_t bytes) { return bytes >= 65536 ? nullptr : g_realMalloc(bytes); }

enum Obstacle { NO_BITMAP, NO_MEMORY, HELD_OPEN, NO_MEMORY_DC };

class ObstacleToLoading {
public:
    ObstacleToLoading(Obstacle obstacle, const std::wstring &file)
    {
        if (obstacle == NO_BITMAP)
            swap_.reset(new ImportSlotSwap(&createDibSlot, &NoBitmap));
        if (obstacle == NO_MEMORY) {
            swap_.reset(new ImportSlotSwap(&mallocSlot, &NoLargeBlock));
            g_realMalloc = swap_->Saved<MallocFn>();
        }
        if (obstacle == NO_MEMORY_DC)
            swap_.reset(new ImportSlotSwap(&createDcSlot, &NoDC));
        if (obstacle == HELD_OPEN)
            held_ = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    ~ObstacleToLoading()
    {
        if (held_ != INVALID_HANDLE_VALUE)
            CloseHandle(held_);
    }
private:
    std::unique_ptr<ImportSlotSwap> swap_;
    HANDLE held_ = INVALID_HANDLE_VALUE;
};

TEST_F(BoardFileTest, ASavedDrawingOutlivesAStartThatCannotLoadIt)
{
    const std::vector<BYTE> saved = MarkedBoardFile(90, 7, 8);
    const std::vector<std::wstring> boardOnly = {L"inkleaf_board.bmp"};
    for (Obstacle obstacle : {NO_BITMAP, NO_MEMORY, HELD_OPEN, NO_MEMORY_DC}) {
        SCOPED_TRACE(obstacle);
        ReloadLibrary();
        ASSERT_TRUE(WriteWholeFile(BoardFile(2), saved));
        {
            MessageBoxWatcher boxes;
            ObstacleToLoading obstacleToLoading(obstacle, BoardFile(2));
            ASSERT_TRUE(CreateItem());
            EXPECT_EQ(nullptr, g_item.boardBitmap);
            EXPECT_EQ(0, boxes.Count());
        }
        // Without its Board the item paints and its menus work; drawing
        // and the save button touch nothing.
        SendMessageW(item, WM_COMMAND, IDM_ENTER_EDIT_MODE, 0);
        EXPECT_EQ(1, g_item.graphicsEditMode);
        SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 80));
        SendMessageW(item, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 110));
        SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(90, 110));
        RedrawWindow(item, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(0, g_item.boardDirty);
        EXPECT_FALSE(SaveBoard());
        EXPECT_EQ(saved, ReadWholeFile(BoardFile(2)));
        EXPECT_EQ(boardOnly, FileNamesIn(BoardFolder(2)));
        DestroyWindow(item);
        // The next start shows the drawing and leaves the file as it was.
        ASSERT_TRUE(CreateItem());
        EXPECT_EQ(1, g_item.boardFileFound);
        EXPECT_EQ(10, BoardPixelAt(7, 8).blue);
        EXPECT_EQ(saved, ReadWholeFile(BoardFile(2)));
        EXPECT_EQ(boardOnly, FileNamesIn(BoardFolder(2)));
        DestroyWindow(item);
    }
}

TEST_F(BoardFileTest, AFolderInTheBoardFilesPlaceIsPassedBy)
{
    ASSERT_TRUE(CreateDirectoryW(BoardFile(2).c_str(), nullptr));
    MakeBoardFolder(3);
    ASSERT_TRUE(CreateItem());
    EXPECT_NE(nullptr, g_item.boardBitmap);
    EXPECT_EQ(3, g_item.installFolderIndex);
}

// Installed on a storage card, the item keeps its Board beside its DLL,
// whether or not a program folder of the list exists, and starts the
// editor from there.
TEST_F(BoardFileTest, InstalledOutsideTheProgramFoldersTheBoardLiesBesideTheDll)
{
    const std::wstring card = L"T:\\Storage Card\\Program Files\\inkleaf_item";
    for (bool listedFolderExists : {false, true}) {
        SCOPED_TRACE(listedFolderExists);
        RemoveBoardFolders();
        if (listedFolderExists)
            MakeBoardFolder(2);
        for (const wchar_t *folder : {L"T:\\Storage Card", L"T:\\Storage Card\\Program Files"})
            CreateDirectoryW(folder, nullptr);
        CreateDirectoryW(card.c_str(), nullptr);
        ReloadLibrary();
        wcscpy(g_item.ownFolder, card.c_str());
        {
            MessageBoxWatcher boxes;
            ASSERT_TRUE(CreateItem());
            EXPECT_EQ(0, boxes.Count());
        }
        EXPECT_EQ(OWN_FOLDER_INDEX, g_item.installFolderIndex);
        g_item.penWidth = 1;
        g_item.penColorRGB = {30, 20, 10};
        DrawAtPoint(g_item.boardBitmap, 100, 200);
        ASSERT_TRUE(SaveBoard());
        DestroyWindow(item);
        ASSERT_TRUE(CreateItem());
        EXPECT_EQ(1, g_item.boardFileFound);
        EXPECT_EQ(10, BoardPixelAt(100, 440).blue);
        EXPECT_EQ(kFileBytes, ReadWholeFile(card + L"\\inkleaf_board.bmp").size());
        EXPECT_FALSE(FileExists(BoardFile(2)));
        WCHAR editor[MAX_PATH];
        EditorPath(g_item.installFolderIndex, editor);
        EXPECT_EQ(card + L"\\inkpad_app.exe", editor);
        DestroyWindow(item);
    }
}

}  // namespace
