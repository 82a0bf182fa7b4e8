// The boundary's rules: translations through the memory map, copies into
// scratch space, handles and instances.
#include "armroom/boundary.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

std::string Hex(uint64_t value)
{
    char text[24];
    snprintf(text, sizeof text, "0x%llX", (unsigned long long)value);
    return text;
}

}  // namespace

void Boundary::Refuse(const std::string &why)
{
    if (refuse)
        refuse(why);
    fprintf(stderr, "ARM room: %s\n", why.c_str());
    abort();   // a refusal never returns into the call that could not cross
}

void *Boundary::Host(uint32_t guest, uint32_t size, bool write, const char *what)
{
    if (!guest)
        return NULL;
    uint8_t *host = write ? memory_.Write(guest, size ? size : 1) : memory_.Read(guest, size ? size : 1);
    if (!host)
        Refuse(std::string(what) + ": " + Hex(guest) + " is no guest memory of " + std::to_string(size) + " " +
               (write ? "writable " : "") + "bytes");
    return host;
}

uint32_t Boundary::StringLength(uint32_t guest, uint32_t unit, const char *what)
{
    const MemoryRegion *region = memory_.RegionAt(guest);
    if (region && guest % unit == 0) {
        const uint8_t *at = region->host + (guest - region->guest);
        uint32_t units = (region->size - (guest - region->guest)) / unit;
        for (uint32_t k = 0; k < units; k++, at += unit) {
            uint32_t value = 0;
            memcpy(&value, at, unit);
            if (!value)
                return k;
        }
    }
    Refuse(std::string(what) + ": no string ends in guest memory at " + Hex(guest));
}

const wchar_t *Boundary::HostString(uint32_t guest, const char *what)
{
    if (IS_INTRESOURCE(guest))
        return (const wchar_t *)(uintptr_t)guest;
    StringLength(guest, sizeof(wchar_t), what);
    return (const wchar_t *)memory_.Read(guest, sizeof(wchar_t));
}

HINSTANCE Boundary::HostInstance(uint32_t guest) const
{
    for (const Module &module : modules_)
        if (module.guest == guest)
            return (HINSTANCE)module.host;
    return (HINSTANCE)HostHandle(guest);
}

uint32_t Boundary::Guest(const void *host, const char *what)
{
    if (!host)
        return 0;
    uint32_t guest;
    if (!memory_.GuestOf(host, 1, guest))
        Refuse(std::string(what) + ": host address " + Hex((uintptr_t)host) + " lies outside guest memory");
    return guest;
}

uint32_t Boundary::GuestCopy(const void *host, uint32_t size, const char *what)
{
    if (!host)
        return 0;
    uint32_t guest;
    if (memory_.GuestOf(host, size ? size : 1, guest))
        return guest;
    guest = scratch ? scratch(size) : 0;
    uint8_t *bytes = guest ? memory_.Write(guest, size ? size : 1) : NULL;
    if (!bytes)
        Refuse(std::string(what) + ": no scratch space in guest memory for " + std::to_string(size) + " bytes at host address " +
               Hex((uintptr_t)host));
    memcpy(bytes, host, size);
    return guest;
}

uint32_t Boundary::GuestString(const wchar_t *host, const char *what)
{
    if (IS_INTRESOURCE(host))
        return (uint32_t)(uintptr_t)host;
    return GuestCopy(host, (uint32_t)(wcslen(host) + 1) * sizeof(wchar_t), what);
}

// Wine's own handles are 32-bit values, zero-extended in a 64-bit process
// (a GDI object's 0xC01000B1); the system's predefined ones and those of
// Windows itself are sign-extended (HKEY_LOCAL_MACHINE). Either gives its
// 32 bits to the guest whole; what goes back is sign-extended, which the
// host takes for the same handle.
uint32_t Boundary::GuestHandle(const void *host, const char *what)
{
    uint64_t value = (uint64_t)(uintptr_t)host;
    if ((value >> 32) != 0 && (value >> 32) != 0xFFFFFFFFu)
        Refuse(std::string(what) + ": host handle " + Hex(value) + " does not fit the guest's 32 bits");
    return (uint32_t)value;
}

uint32_t Boundary::GuestInstance(HINSTANCE host, const char *what)
{
    for (const Module &module : modules_)
        if (module.host == (const void *)host)
            return module.guest;
    return GuestHandle(host, what);
}

uint32_t Boundary::GuestSigned(intptr_t host, const char *what)
{
    if ((intptr_t)(int32_t)host != host)
        Refuse(std::string(what) + ": host value " + Hex((uintptr_t)host) + " does not fit the guest's 32 bits");
    return (uint32_t)host;
}

uint32_t Boundary::GuestUnsigned(uintptr_t host, const char *what)
{
    if ((uintptr_t)(uint32_t)host != host)
        Refuse(std::string(what) + ": host value " + Hex(host) + " does not fit the guest's 32 bits");
    return (uint32_t)host;
}

void Boundary::AddModule(uint32_t guest_base, const void *host_base)
{
    modules_.push_back(Module{guest_base, host_base});
}

uint32_t Boundary::MapHostBytes(void *host, uint32_t size, const char *what)
{
    for (const Mapped &m : mapped_)
        if (m.host == host && m.size >= size)
            return m.guest;
    ForgetHostBytes(host);
    const uint32_t kMappedFrom = 0x50000000u;
    uint32_t guest = size ? memory_.FindFree(kMappedFrom, size, 0x10000u) : 0;
    if (!guest || !memory_.Map(guest, size, (uint8_t *)host, true))
        Refuse(std::string(what) + ": no guest address range for " + std::to_string(size) + " host bytes");
    mapped_.push_back(Mapped{host, guest, size});
    return guest;
}

void Boundary::ForgetHostBytes(void *host)
{
    for (size_t k = 0; k < mapped_.size(); k++) {
        if (mapped_[k].host != host)
            continue;
        memory_.Unmap(mapped_[k].guest);
        mapped_.erase(mapped_.begin() + (long)k);
        return;
    }
}
