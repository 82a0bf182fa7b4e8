// What the code under test hands to RegSetValueExW, seen from outside:
// while a recorder lives, the test program's import slot of RegSetValueExW
// leads through it to the system's function, and each call is kept.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct PassedWrite {
    std::wstring name;
    std::vector<BYTE> data;         // exactly the bytes passed
    std::wstring Text() const { return std::wstring((const wchar_t *)data.data(), data.size() / 2); }
};

// The writes seen while a recorder lived, oldest first.
extern std::vector<PassedWrite> g_writes;

class RegistryWriteRecorder {
public:
    RegistryWriteRecorder();        // clears g_writes and starts recording
    ~RegistryWriteRecorder();
    RegistryWriteRecorder(const RegistryWriteRecorder &) = delete;
    RegistryWriteRecorder &operator=(const RegistryWriteRecorder &) = delete;
};
