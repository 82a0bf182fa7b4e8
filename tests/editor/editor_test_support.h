// Shared helpers of the editor tests: the item key as raw registry data,
// waiting while messages are pumped, and windows found by class and owner.
#pragma once
#include <windows.h>
#include "../common/item_key_fixture.h"
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Full path of inkpad_app.exe, next to the test program.
std::wstring EditorProgramPath();

// Text of the page as the editor shows it before anything is read.
extern const wchar_t kExpectedErrorText[];

// Polls `done` while pumping this thread's messages; true when it held
// before `milliseconds` ran out.
bool WaitUntil(const std::function<bool()> &done, DWORD milliseconds = 5000);

// A visible top-level window of `className` owned by `owner` (any owner when
// null) in process `processId` (any when 0), with `caption` when given.
HWND FindOwnedWindow(LPCWSTR className, HWND owner, DWORD processId, LPCWSTR caption = nullptr);

// Scoped test key: the item key deleted before and after a test.
class ItemKeyTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteItemKey(); }
    void TearDown() override { DeleteItemKey(); }
};
