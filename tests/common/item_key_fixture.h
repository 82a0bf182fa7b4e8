// The item key as raw registry data, for the tests of both programs:
// what is stored, byte for byte, and storing values exactly as given.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

// The raw state of one value of the item key.
struct StoredValue {
    bool exists = false;
    DWORD type = 0xdeadbeef;
    std::vector<BYTE> data;
    std::wstring Text() const;          // data as UTF-16, without trailing NULs
    bool operator==(const StoredValue &other) const;
};

void DeleteItemKey();
bool ItemKeyExists();
StoredValue ReadStored(LPCWSTR name);
// Every value of the item key by name.
std::map<std::wstring, StoredValue> ReadAllStored();
void StoreRaw(LPCWSTR name, DWORD type, const void *data, DWORD bytes);
// Stores text with exactly twice its characters (the data is followed by a
// non-NUL in memory, so that Wine adds no terminator), or with a terminator.
void StoreText(LPCWSTR name, const std::wstring &text, bool withTerminator = false);
