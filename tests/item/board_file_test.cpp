// The board file: format, the walk over the program folders, and saves that
// never lose the previous file.
#include "test_support.h"
#include "item/board_file.h"
#include "item/board_format.h"
#include "item/board_primitives.h"

namespace {

const size_t kFileBytes = 1228854;

std::wstring BoardFile(int index)
{
    return BoardFolder(index) + L"\\inkleaf_board.bmp";
}

bool Exists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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
    EXPECT_FALSE(Exists(BoardFile(2) + L".new"));
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
        EXPECT_FALSE(Exists(BoardFile(index) + L".new")) << index;
    }
}

// The test runner makes T:\Programmi a 2 MiB file system: an old board file
// fits there, a second one beside it does not.
TEST_F(BoardFileTest, AFullDiskNeverTruncatesThePreviousFile)
{
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExW(L"T:\\Programmi\\", &available, &total, &free) ||
        total.QuadPart > (4u << 20))
        GTEST_SKIP() << "T:\\Programmi is not a small file system (mount needs root)";
    MakeBoardFolder(1);
    std::vector<BYTE> before = MarkedBoardFile(90, 2, 2);
    ASSERT_TRUE(WriteWholeFile(BoardFile(1), before));
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(1, g_item.boardFileFound);
    EXPECT_EQ(before, ReadWholeFile(BoardFile(1))) << "entry 1 keeps its old contents";
    EXPECT_FALSE(Exists(BoardFile(1) + L".new"));
    EXPECT_EQ(2, g_item.installFolderIndex) << "the save went on to entry 2";
    EXPECT_EQ(before, ReadWholeFile(BoardFile(2)));
    // A failed save is reported as such.
    RemoveBoardFolders();
    MakeBoardFolder(1);
    ASSERT_TRUE(WriteWholeFile(BoardFile(1), before));
    EXPECT_FALSE(SaveBoard());
    EXPECT_EQ(before, ReadWholeFile(BoardFile(1)));
}

}  // namespace
