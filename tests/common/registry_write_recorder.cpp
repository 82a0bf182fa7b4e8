#include "registry_write_recorder.h"
#include "platform/import_slot.h"

std::vector<PassedWrite> g_writes;

namespace {

typedef LONG(WINAPI *SetValueFn)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE *, DWORD);
extern "C" SetValueFn setValueSlot __asm__(IMPORT_SLOT(RegSetValueExW, 24));
SetValueFn g_system;

LONG WINAPI RecordingSetValue(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE *data,
                              DWORD bytes)
{
    g_writes.push_back(PassedWrite{name ? name : L"", std::vector<BYTE>(data, data + bytes)});
    return g_system(key, name, reserved, type, data, bytes);
}

void SetSlot(SetValueFn function)
{
    DWORD old;
    VirtualProtect(&setValueSlot, sizeof(setValueSlot), PAGE_READWRITE, &old);
    setValueSlot = function;
    VirtualProtect(&setValueSlot, sizeof(setValueSlot), old, &old);
}

}  // namespace

RegistryWriteRecorder::RegistryWriteRecorder()
{
    g_writes.clear();
    g_system = setValueSlot;
    SetSlot(RecordingSetValue);
}

RegistryWriteRecorder::~RegistryWriteRecorder()
{
    SetSlot(g_system);
}
