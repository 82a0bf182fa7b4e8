// The ARM room: one processor per process, running the device's files with
// their imports bound to the host's functions (armroom/bindings.cpp). The
// guest's address space is the room's own: its images, stack and heap are
// host memory mapped at guest addresses, and whatever else crosses goes
// through the boundary (armroom/boundary.h). The same room serves a 32-bit
// and a 64-bit host.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "armroom/boundary.h"
#include "armroom/meter.h"
#include "emulator/backtrace.h"
#include "emulator/call.h"
#include "emulator/guest_heap.h"
#include "emulator/pe_loader.h"

// The exit status of a process whose ARM code faulted (the stand-in's
// EXIT_ARM_FAULT).
enum { kArmFaultExit = 5 };

struct ArmModule {
    std::wstring path;
    LoadedImage image;
    const uint8_t *host;   // the host bytes of the image: the host's HMODULE
};

class ArmRoom {
public:
    static ArmRoom &Get();

    // Maps the ARM file at PATH at its image base where the guest has that
    // range free, elsewhere relocated, and binds its imports; its link map,
    // where the build left one beside it (FILE.map), names its functions in
    // fault reports. NULL, with ERROR saying why, when it cannot.
    const ArmModule *Load(const std::wstring &path, std::wstring *error);
    // The module mapped at guest address BASE, or NULL.
    const ArmModule *ModuleAt(uint32_t base) const;

    // Calls guest code at ADDRESS from the host, nested inside any guest
    // code already running and below the scratch space in use; WHAT names
    // the call in a fault report. A fault ends the process with a report
    // (kArmFaultExit): there is no way back into the host's caller that
    // would not hide it.
    uint32_t Call(uint32_t address, const std::vector<uint32_t> &args, const char *what);

    // A host procedure (window or dialog procedure) that runs the guest
    // procedure at ADDRESS, converting each message (armroom/messages.h).
    void *HostProcedure(uint32_t address);
    // The guest procedure a host procedure of HostProcedure runs, or 0.
    uint32_t GuestProcedureOf(const void *host) const;

    // Ends the process with a report of the processor's stop, or of what
    // could not cross the boundary.
    [[noreturn]] void Fault(const std::string &context);

    // Guest scratch space for a host call's copies: below the guest's stack
    // pointer and below what was pushed before in the same host call.
    uint32_t Scratch(uint32_t size);
    // Opens a scratch frame for the life of the object: what it pushes is
    // given back when it ends.
    class ScratchFrame {
    public:
        explicit ScratchFrame(ArmRoom &room) : room_(room), saved_(room.scratch_low_) {}
        ~ScratchFrame() { room_.scratch_low_ = saved_; }

    private:
        ArmRoom &room_;
        uint32_t saved_;
    };

    // The program's own file, for GetModuleFileNameW(NULL) (the editor's
    // launcher sets it; the Today stand-in's item leaves it empty).
    std::wstring programPath;

    Cpu cpu;
    Boundary boundary;
    GuestHeap heap;
    Meter meter;    // on where INKLEAF_METER is set (armroom/meter.h)

private:
    ArmRoom();
    LRESULT CallProcedure(unsigned slot, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    template <unsigned N>
    friend LRESULT CALLBACK GuestProcedure(HWND, UINT, WPARAM, LPARAM);

    std::vector<ArmModule *> modules_;
    std::vector<uint32_t> procedures_;          // guest address of each slot
    // A host call into the guest, as a fault report names it: WHAT, or for
    // a procedure its address, window and message (formatted only then).
    struct Entry {
        const char *what;
        uint32_t procedure;
        uintptr_t window;
        UINT message;
        uint32_t stack_top;     // where the call's stack started (StackTop())
    };
    uint32_t Enter(Entry entry, uint32_t address, const std::vector<uint32_t> &args);
    // How the meter names ENTRY: its WHAT, or the procedure and message.
    std::string MeterName(const Entry &entry) const;
    // Where a host call's stack starts: below its scratch space, else at the
    // guest's stack pointer, else at the top of the stack.
    uint32_t StackTop() const { return scratch_low_ ? scratch_low_ : cpu.runs ? cpu.r[13] : cpu.stack_high; }
    std::vector<Entry> entries_;                // host calls into the guest, outermost first
    uint32_t scratch_low_ = 0;                  // 0: nothing pushed in this host call
    SymbolTable symbols_;
};

// Says TEXT on stderr and, where INKLEAF_ROOM_LOG names a file, appends it
// there too: a program the stand-in starts (the editor) has no stderr of
// its caller's.
void RoomLog(const std::string &text);

// Registers what this program's desktop build gets for a "Platform" import
// NAME (see arm_imports.h); call before loading.
void RegisterPlatformFunction(const char *name, void *function);
// Registers the device's COREDLL names both programs have: the bitmap
// loader, the transparent blit, CreateWindowExW and SetForegroundWindow,
// each as this program links it (platform/'s import slot where the program
// links that part of the platform, else Wine's).
void RegisterCoredllPlatformFunctions();
// The binder the loader asks: a trap address for each import the table has.
uint32_t BindArmImport(Cpu &cpu, const std::string &dll, const std::string &name, uint32_t ordinal);
