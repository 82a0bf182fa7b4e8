// The boundary between the guest (the device's 32-bit ARM code, whose
// address space is the room's Memory) and the host (this process, 32 or
// 64 bits). Everything that crosses it goes through one of these rules,
// the ones Windows itself uses between 32- and 64-bit code:
//   - a guest pointer is translated through the memory map into the host
//     bytes behind it, never reinterpreted as a host address;
//   - a host pointer reaches the guest only when it lies in guest memory
//     (a region the room mapped), or as a copy the boundary makes in the
//     guest's scratch space;
//   - a handle is sign-extended into the host and truncated back, and a
//     host handle that does not survive the truncation is refused;
//   - a module's instance is the guest's image base on one side and the
//     host bytes the room mapped it into on the other.
// A refusal stops the run with a report naming what could not cross.
#pragma once
#include <windows.h>
#include <stdint.h>
#include <functional>
#include <string>
#include <vector>

#include "emulator/memory.h"

// How a structure crosses: Layout32<S>::Guest is its 32-bit layout, and
// ToHost/ToGuest (armroom/layouts32.h) convert between them.
template <class S>
struct Layout32;

class Boundary {
public:
    explicit Boundary(Memory &memory) : memory_(memory) {}

    // Called with what could not cross; it must not return (the room ends
    // the run with a report, a test throws).
    std::function<void(const std::string &why)> refuse;

    // Where host data the guest must see is copied when it lies outside
    // guest memory: SIZE bytes of guest memory, 4-aligned, valid until the
    // host call that made them returns. 0 when there is no room.
    std::function<uint32_t(uint32_t size)> scratch;

    // --- guest to host ---
    // The host bytes of SIZE guest bytes at GUEST, all inside one region
    // (writable ones when WRITE); NULL for 0. WHAT names the value in a
    // refusal ("BitBlt's argument 2").
    void *Host(uint32_t guest, uint32_t size, bool write, const char *what);
    template <class T>
    T *HostObject(uint32_t guest, const char *what)
    {
        return static_cast<T *>(Host(guest, sizeof(T), false, what));
    }
    // A NUL-terminated string, checked to end inside its region; an
    // integer resource (below 0x10000) passes as the value it is.
    const wchar_t *HostString(uint32_t guest, const char *what);
    // The length, in units of UNIT bytes (1 or 2), of a NUL-terminated guest
    // string, refused when it does not end inside its region.
    uint32_t StringLength(uint32_t guest, uint32_t unit, const char *what);
    static HANDLE HostHandle(uint32_t guest) { return (HANDLE)(intptr_t)(int32_t)guest; }
    HINSTANCE HostInstance(uint32_t guest) const;

    // --- host to guest ---
    // The guest address of host bytes that lie in guest memory; 0 for NULL.
    uint32_t Guest(const void *host, const char *what);
    // The guest address of SIZE host bytes: where they lie in guest memory,
    // else a copy in scratch space.
    uint32_t GuestCopy(const void *host, uint32_t size, const char *what);
    // A host string for the guest: in guest memory, else a copy; an
    // integer resource passes as its value.
    uint32_t GuestString(const wchar_t *host, const char *what);
    // A host handle for the guest: its low 32 bits, when the rest only
    // extends them (with zeros or ones); anything else is refused.
    uint32_t GuestHandle(const void *host, const char *what);
    uint32_t GuestInstance(HINSTANCE host, const char *what);

    // A host value for a guest word of a pointer-sized integer: LPARAM and
    // LRESULT are signed and sign-extend, WPARAM zero-extends; a host value
    // that does not fit is refused. A result may be a handle (STM_GETIMAGE's
    // bitmap), so LRESULT crosses as GuestHandle does.
    uint32_t GuestSigned(intptr_t host, const char *what);
    uint32_t GuestUnsigned(uintptr_t host, const char *what);

    // Host bytes mapped into guest memory for as long as the host keeps
    // them (a DIB section's bits): their guest address, mapped at the
    // first call and the same after it. Unmapped by ForgetHostBytes.
    uint32_t MapHostBytes(void *host, uint32_t size, const char *what);
    void ForgetHostBytes(void *host);

    // A module the room mapped: its guest base and the host bytes behind it.
    void AddModule(uint32_t guest_base, const void *host_base);

    Memory &memory() { return memory_; }

    [[noreturn]] void Refuse(const std::string &why);

private:
    Memory &memory_;
    struct Module {
        uint32_t guest;
        const void *host;
    };
    std::vector<Module> modules_;
    struct Mapped {
        void *host;
        uint32_t guest, size;
    };
    std::vector<Mapped> mapped_;
};
