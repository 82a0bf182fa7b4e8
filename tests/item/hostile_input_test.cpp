// Board files and folders the item did not write: malformed files of every
// kind at item creation, and a read-only folder. Whatever it finds, the
// item ends with a usable Board and never loses or cuts a board file: one
// it cannot load is kept beside the new Board.
#include "test_support.h"
#include "item/board_file.h"
#include "item/board_primitives.h"

namespace {

std::vector<std::wstring> CorpusFiles()
{
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(L"T:\\corpus\\*.bmp", &found);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do
        files.push_back(std::wstring(L"T:\\corpus\\") + found.cFileName);
    while (FindNextFileW(find, &found));
    FindClose(find);
    return files;
}

class HostileInputTest : public ItemTest {};

TEST_F(HostileInputTest, EveryMalformedBoardFileEndsInAUsableBoard)
{
    std::vector<std::wstring> files = CorpusFiles();
    if (files.empty())
        GTEST_SKIP() << "no corpus: INKLEAF_BOARD_CORPUS names the tool that writes it";
    int replaced = 0, kept = 0;
    for (const std::wstring &path : files) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        std::vector<BYTE> original = ReadWholeFile(path);
        std::wstring board = BoardFolder(2) + L"\\inkleaf_board.bmp";
        ASSERT_TRUE(WriteWholeFile(board, original));
        ReloadLibrary();
        ASSERT_TRUE(CreateItem());
        // A Board the pixel writers can address, and it takes a stroke, a
        // stamp and a fill at its very edges.
        BoardPixels pixels;
        ASSERT_TRUE(GetBoardPixels(g_item.boardBitmap, &pixels));
        for (int tool : {TOOL_PEN, TOOL_ERASER, TOOL_STAMP}) {
            g_item.interactionState = tool;
            g_item.penWidth = g_item.eraserWidth = 10;
            DrawAtPoint(g_item.boardBitmap, 0, 0);
            DrawAtPoint(g_item.boardBitmap, pixels.width - 1, pixels.height);
            DrawAtPoint(g_item.boardBitmap, pixels.width / 2, pixels.height / 2);
        }
        FillBoard(g_item.boardBitmap);
        EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
        // The file at entry 2 is the file as found (when loadable) or a new
        // 640 x 640 Board, written whole.
        std::vector<BYTE> after = ReadWholeFile(board);
        if (g_item.boardFileFound) {
            kept++;
            EXPECT_GE(after.size(), (size_t)54 + (size_t)pixels.width * pixels.height * 3);
        } else {
            replaced++;
            EXPECT_EQ(1228854u, after.size());
            EXPECT_EQ(640, pixels.width);
            // A file the item could not load is kept byte for byte.
            std::wstring kept = BoardFolder(2) + L"\\inkleaf_board.unloadable.bmp";
            if (!original.empty()) {
                EXPECT_EQ(original, ReadWholeFile(kept));
            }
            DeleteFileW(kept.c_str());
        }
        DestroyWindow(item);
        item = nullptr;
    }
    printf("%d board files tried: %d loaded, %d replaced by a new Board\n", (int)files.size(), kept, replaced);
    EXPECT_GT(kept, 0);
    EXPECT_GT(replaced, 0);
}

// T:\readonly sits on a read-only file system (see the test runner).
TEST_F(HostileInputTest, AReadOnlyFolderKeepsItsFile)
{
    std::wstring path = L"T:\\readonly\\inkleaf_item\\inkleaf_board.bmp";
    std::vector<BYTE> before = ReadWholeFile(path);
    if (before.empty())
        GTEST_SKIP() << "T:\\readonly is not in place (mounting needs root)";
    std::vector<BYTE> pixels(8 * 4 * 3, 0x55);
    EXPECT_FALSE(WriteBoardFile(path.c_str(), 8, 4, pixels.data()));
    EXPECT_EQ(before, ReadWholeFile(path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((path + L".new").c_str()));
}

}  // namespace
