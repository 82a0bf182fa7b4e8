// armrun: a device program (an ARM .exe) run in the room, as its own
// process:   armrun.exe FILE.exe [ARGUMENTS]
// The program's entry gets what the device passes a process's entry:
// instance, no previous instance, the command line after the file, and
// SW_SHOW; it ends the process itself (TerminateProcess). Exit status 1
// when the file cannot be run, kArmFaultExit when its code faults.
#include "armroom/room.h"
#include "platform/device.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

// What the editor's desktop build links for the platform's names: the
// shell's stand-ins and the device's rules for top-level windows.
static void RegisterEditorPlatform()
{
    RegisterCoredllPlatformFunctions();
    RegisterPlatformFunction("SHCreateMenuBar", (void *)&SHCreateMenuBar);
    RegisterPlatformFunction("SHInitDialog", (void *)&SHInitDialog);
    RegisterPlatformFunction("SHInitExtraControls", (void *)&SHInitExtraControls);
    RegisterPlatformFunction("SHHandleWMSettingChange", (void *)&SHHandleWMSettingChange);
    RegisterPlatformFunction("SHHandleWMActivate", (void *)&SHHandleWMActivate);
}

// The command line after the first argument (the program's file).
static const wchar_t *ArgumentsAfterFile(const wchar_t *line)
{
    bool quoted = false;
    for (; *line && (quoted || *line != L' '); line++)
        if (*line == L'"')
            quoted = !quoted;
    while (*line == L' ')
        line++;
    return line;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int)
{
    int count = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv || count < 2) {
        fprintf(stderr, "usage: armrun FILE.exe [ARGUMENTS]\n");
        return 1;
    }
    RegisterEditorPlatform();
    ArmRoom &room = ArmRoom::Get();
    std::wstring error;
    const ArmModule *program = room.Load(argv[1], &error);
    if (!program || !program->image.entry) {
        fwprintf(stderr, L"armrun: %ls\n", program ? L"the program has no entry" : error.c_str());
        return 1;
    }
    room.programPath = argv[1];
    // The command line lives in the guest's heap for the program's life.
    const wchar_t *arguments = ArgumentsAfterFile(commandLine);
    uint32_t bytes = (uint32_t)(wcslen(arguments) + 1) * sizeof(wchar_t);
    uint32_t line = room.heap.Allocate(bytes, false);
    if (!line) {
        fprintf(stderr, "armrun: no room for the command line\n");
        return 1;
    }
    memcpy(room.cpu.memory.Write(line, bytes), arguments, bytes);
    uint32_t status = room.Call(program->image.entry, {program->image.base, 0, line, SW_SHOW}, "the program's entry");
    return (int)status;
}
