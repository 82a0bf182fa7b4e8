// The ARM room: one processor per process, running the device's files with
// their imports bound to the host's functions (armroom/bindings.cpp). Guest
// addresses are host addresses: the room lives only in a 32-bit process.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "emulator/backtrace.h"
#include "emulator/call.h"
#include "emulator/pe_loader.h"

// The exit status of a process whose ARM code faulted (the stand-in's
// EXIT_ARM_FAULT).
enum { kArmFaultExit = 5 };

struct ArmModule {
    std::wstring path;
    LoadedImage image;
};

class ArmRoom {
public:
    static ArmRoom &Get();

    // Maps the ARM file at PATH at its image base where the process has that
    // range free, elsewhere relocated, and binds its imports; its link map,
    // where the build left one beside it (FILE.map), names its functions in
    // fault reports. NULL, with ERROR saying why, when it cannot.
    const ArmModule *Load(const std::wstring &path, std::wstring *error);
    // The module mapped at BASE, or NULL.
    const ArmModule *ModuleAt(uint32_t base) const;

    // Calls guest code at ADDRESS from the host, nested inside any guest
    // code already running; WHAT names the call in a fault report. A fault
    // ends the process with a report (kArmFaultExit): there is no way back
    // into the host's caller that would not hide it.
    uint32_t Call(uint32_t address, const std::vector<uint32_t> &args, const std::string &what);

    // A host procedure (window, dialog or timer procedure: four words) that
    // runs the guest procedure at ADDRESS; ADDRESS itself when it is no guest
    // code (a host procedure handed back).
    void *HostProcedure(uint32_t address);

    // Ends the process with a report of the processor's stop.
    [[noreturn]] void Fault(const std::string &context);

    // The program's own file, for GetModuleFileNameW(NULL) (the editor's
    // launcher sets it; the Today stand-in's item leaves it empty).
    std::wstring programPath;

    Cpu cpu;

private:
    ArmRoom();
    uint32_t CallProcedure(unsigned slot, uint32_t a, uint32_t b, uint32_t c, uint32_t d);
    template <unsigned N>
    friend LRESULT CALLBACK GuestProcedure(HWND, UINT, WPARAM, LPARAM);

    std::vector<ArmModule *> modules_;
    std::vector<uint32_t> procedures_;          // guest address of each slot
    struct Entry {
        std::string what;
        uint32_t stack_top;     // the guest's sp when the host called in
    };
    std::vector<Entry> entries_;                // host calls into the guest, outermost first
    SymbolTable symbols_;
};

// Registers what this program's desktop build gets for a "Platform" import
// NAME (see arm_imports.h); call before loading.
void RegisterPlatformFunction(const char *name, void *function);
// Registers the device's COREDLL names both programs have: the bitmap
// loader, the transparent blit, LoadStringW, CreateWindowExW and
// SetForegroundWindow, each as this program links it (platform/'s import
// slot where the program links that part of the platform, else Wine's).
void RegisterCoredllPlatformFunctions();
// The binder the loader asks: a trap address for each import the table has.
uint32_t BindArmImport(Cpu &cpu, const std::string &dll, const std::string &name, uint32_t ordinal);
