#include "registry_write_recorder.h"
#include "import_slot_patch.h"
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

}  // namespace

RegistryWriteRecorder::RegistryWriteRecorder()
{
    g_writes.clear();
    g_system = PatchImportSlot(setValueSlot, RecordingSetValue);
}

RegistryWriteRecorder::~RegistryWriteRecorder()
{
    PatchImportSlot(setValueSlot, g_system);
}
