// The Today item key of the stand-in's item and the commands that write,
// remove and dump it.
#pragma once
#include <string>

// Under HKEY_LOCAL_MACHINE.
extern const wchar_t kItemKeyPath[];

// Each returns 0 when done, 1 when not (saying why on stderr).
int InstallItem(const std::wstring &dllPath);
int RemoveItemKey();
int DumpKey(const std::wstring &outPath);
