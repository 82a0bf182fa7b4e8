// Which processor a PE file is for, read from its headers: the stand-in
// and the room tell a device's ARM file from a desktop one by it.
#pragma once
#include <windows.h>

// The machine field of the PE file at PATH; false when it is no PE file or
// cannot be read.
inline bool ReadPeMachine(const wchar_t *path, WORD *machine)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    IMAGE_DOS_HEADER dos;
    DWORD signature = 0, got = 0;
    IMAGE_FILE_HEADER header;
    bool ok = ReadFile(file, &dos, sizeof(dos), &got, NULL) && got == sizeof(dos) &&
              dos.e_magic == IMAGE_DOS_SIGNATURE &&
              SetFilePointer(file, dos.e_lfanew, NULL, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
              ReadFile(file, &signature, sizeof(signature), &got, NULL) && got == sizeof(signature) &&
              signature == IMAGE_NT_SIGNATURE && ReadFile(file, &header, sizeof(header), &got, NULL) &&
              got == sizeof(header);
    CloseHandle(file);
    if (ok)
        *machine = header.Machine;
    return ok;
}

// Windows CE's ARM machines: ARM code, and ARM with Thumb code.
inline bool IsArmMachine(WORD machine)
{
    return machine == 0x1C0 || machine == 0x1C2;
}
