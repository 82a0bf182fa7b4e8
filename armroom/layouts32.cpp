// How each structure crosses: one list of its fields, each entry
// KIND(field[, size]) naming the rule that carries it, expanded into both
// directions. In a size, FROM is the structure being converted.
#include "armroom/layouts32.h"

#include <stddef.h>
#include <string.h>

namespace {

// A value of the same size on both sides (numbers, rectangles, arrays).
template <class To, class From>
void Value(To &to, const From &from)
{
    static_assert(sizeof(To) == sizeof(From), "a value crosses unchanged only at one size");
    memcpy(&to, &from, sizeof to);
}

// The host's size of what the guest's layout holds, which a cbSize names:
// the whole structure, or its older size where the host's has grown past
// the device's.
template <class S>
constexpr uint32_t kHostSize = sizeof(S);
template <>
constexpr uint32_t kHostSize<MENUITEMINFOW> = offsetof(MENUITEMINFOW, hbmpItem);

}  // namespace

#define TO_HOST(kind, ...) TO_HOST_##kind(__VA_ARGS__)
#define TO_GUEST(kind, ...) TO_GUEST_##kind(__VA_ARGS__)
#define GUEST_BYTES(kind, field, ...) +sizeof(Guest::field)

// Numbers and other values of one size on both sides.
#define TO_HOST_value(f) Value(host.f, from.f);
#define TO_GUEST_value(f) Value(guest.f, from.f);
// Handles: sign-extended in, truncated back (refused where they do not fit).
#define TO_HOST_handle(f) host.f = (decltype(host.f))Boundary::HostHandle(from.f);
#define TO_GUEST_handle(f) guest.f = b.GuestHandle((const void *)from.f, what);
// A pointer-sized value the guest owns and only gets back
// (lpCreateParams, dwItemData): as a handle.
#define TO_HOST_opaque(f) TO_HOST_handle(f)
#define TO_GUEST_opaque(f) TO_GUEST_handle(f)
#define TO_HOST_instance(f) host.f = b.HostInstance(from.f);
#define TO_GUEST_instance(f) guest.f = b.GuestInstance(from.f, what);
// Text, or the integer resource it may be.
#define TO_HOST_string(f) host.f = (decltype(host.f))b.HostString(from.f, what);
#define TO_GUEST_string(f) guest.f = b.GuestString(from.f, what);
// Pointer-sized integers: LPARAM's kind sign-extends, WPARAM's zero-extends.
#define TO_HOST_signed_word(f) host.f = (decltype(host.f))(int32_t)from.f;
#define TO_GUEST_signed_word(f) guest.f = b.GuestSigned((intptr_t)from.f, what);
#define TO_HOST_unsigned_word(f) host.f = (decltype(host.f))from.f;
#define TO_GUEST_unsigned_word(f) guest.f = b.GuestUnsigned((uintptr_t)from.f, what);
// SIZE bytes of data: the host's copied for the guest where they lie
// outside its memory...
#define TO_HOST_data(f, size) host.f = (decltype(host.f))b.Host(from.f, (uint32_t)(size), false, what);
#define TO_GUEST_data(f, size) guest.f = b.GuestCopy(from.f, (uint32_t)(size), what);
// ... or already in guest memory, where the host's must lie ...
#define TO_HOST_in_guest(f, size) TO_HOST_data(f, size)
#define TO_GUEST_in_guest(f, size) guest.f = b.Guest(from.f, what);
// ... or mapped into it.
#define TO_HOST_mapped(f, size) TO_HOST_data(f, size)
#define TO_GUEST_mapped(f, size) guest.f = from.f ? b.MapHostBytes(from.f, (uint32_t)(size), what) : 0;
// A procedure: the bare word, which the room replaces with its own.
#define TO_HOST_procedure(f) host.f = (decltype(host.f))(uintptr_t)from.f;
#define TO_GUEST_procedure(f) guest.f = (uint32_t)(uintptr_t)from.f;
// cbSize: the other side's size of the structure; any other value as it
// is, for the callee to refuse as the device's would.
#define TO_HOST_size(f) host.f = from.f == sizeof(Guest) ? kHostSize<Host> : from.f;
#define TO_GUEST_size(f) guest.f = from.f == kHostSize<Host> ? (uint32_t)sizeof(Guest) : from.f;
// A structure of a layout of its own.
#define TO_HOST_nested(f) ToHost(b, from.f, host.f, what);
#define TO_GUEST_nested(f) ToGuest(b, from.f, guest.f, what);

#define FIELDS_MSG(F) \
    F(handle, hwnd) F(value, message) F(unsigned_word, wParam) F(signed_word, lParam) F(value, time) F(value, pt)
#define FIELDS_PAINTSTRUCT(F) \
    F(handle, hdc) F(value, fErase) F(value, rcPaint) F(value, fRestore) F(value, fIncUpdate) F(value, rgbReserved)
#define FIELDS_WNDCLASSW(F)                                                                                   \
    F(value, style) F(procedure, lpfnWndProc) F(value, cbClsExtra) F(value, cbWndExtra) F(instance, hInstance) \
    F(handle, hIcon) F(handle, hCursor) F(handle, hbrBackground) F(string, lpszMenuName) F(string, lpszClassName)
#define FIELDS_CREATESTRUCTW(F)                                                                              \
    F(opaque, lpCreateParams) F(instance, hInstance) F(handle, hMenu) F(handle, hwndParent) F(value, cy)      \
    F(value, cx) F(value, y) F(value, x) F(value, style) F(string, lpszName) F(string, lpszClass)             \
    F(value, dwExStyle)
#define FIELDS_WINDOWPOS(F) \
    F(handle, hwnd) F(handle, hwndInsertAfter) F(value, x) F(value, y) F(value, cx) F(value, cy) F(value, flags)
#define FIELDS_NCCALCSIZE_PARAMS(F) F(value, rgrc)
#define FIELDS_MINMAXINFO(F) \
    F(value, ptReserved) F(value, ptMaxSize) F(value, ptMaxPosition) F(value, ptMinTrackSize) F(value, ptMaxTrackSize)
#define FIELDS_STYLESTRUCT(F) F(value, styleOld) F(value, styleNew)
#define FIELDS_BITMAP(F)                                                                                     \
    F(value, bmType) F(value, bmWidth) F(value, bmHeight) F(value, bmWidthBytes) F(value, bmPlanes)          \
    F(value, bmBitsPixel) F(mapped, bmBits, from.bmWidthBytes * from.bmHeight)
#define FIELDS_DIBSECTION(F) \
    F(nested, dsBm) F(value, dsBmih) F(value, dsBitfields) F(handle, dshSection) F(value, dsOffset)
// The ID list is the host's to read where the guest put it; its length is
// its own, so only its first byte is checked.
#define FIELDS_SHELLEXECUTEINFOW(F)                                                                          \
    F(size, cbSize) F(value, fMask) F(handle, hwnd) F(string, lpVerb) F(string, lpFile)                      \
    F(string, lpParameters) F(string, lpDirectory) F(value, nShow) F(instance, hInstApp)                     \
    F(in_guest, lpIDList, 0) F(string, lpClass) F(handle, hkeyClass) F(value, dwHotKey) F(handle, hIcon)     \
    F(handle, hProcess)
#define FIELDS_MENUITEMINFOW(F)                                                                              \
    F(size, cbSize) F(value, fMask) F(value, fType) F(value, fState) F(value, wID) F(handle, hSubMenu)       \
    F(handle, hbmpChecked) F(handle, hbmpUnchecked) F(opaque, dwItemData) F(string, dwTypeData) F(value, cch)
#define FIELDS_SHMENUBARINFO(F)                                                                              \
    F(size, cbSize) F(handle, hwndParent) F(value, dwFlags) F(value, nToolBarId) F(instance, hInstRes)       \
    F(value, nBmpId) F(value, cBmpImages) F(handle, hwndMB) F(value, clrBk)
#define FIELDS_SHINITDLGINFO(F) F(value, dwMask) F(handle, hDlg) F(value, dwFlags)
#define FIELDS_SHACTIVATEINFO(F) F(size, cbSize) F(handle, hwndLastFocus)
#define FIELDS_TODAYLISTITEM(F)                                                                              \
    F(value, szName) F(value, tlit) F(value, dwOrder) F(value, cyp) F(value, fEnabled) F(value, fOptions)    \
    F(value, grfFlags) F(value, szDLLPath) F(instance, hinstDLL) F(handle, hwndCustom) F(value, fSizeOnDraw) \
    F(data, prgbCachedData, from.cbCachedData) F(value, cbCachedData)
#define FIELDS_TODAYDRAWWATERMARKINFO(F) F(handle, hdc) F(value, rc) F(handle, hwnd)
#define FIELDS_MEMORY_BASIC_INFORMATION(F)                                                                   \
    F(in_guest, BaseAddress, 0) F(in_guest, AllocationBase, 0) F(value, AllocationProtect)                   \
    F(unsigned_word, RegionSize) F(value, State) F(value, Protect) F(value, Type)
#define FIELDS_TPMPARAMS(F) F(size, cbSize) F(value, rcExclude)

// The two converters of S from its list. The guest's layouts have no
// padding, so a list whose fields' sizes add up to the structure's names
// every field; EXTRA is the size of those it leaves to code of its own.
#define TO_HOST_FIELDS(S, extra)                                                           \
    typedef guest32::S Guest;                                                              \
    typedef S Host;                                                                        \
    static_assert((0 FIELDS_##S(GUEST_BYTES)) + (extra) == sizeof(Guest),                  \
                  #S ": a field of the guest's layout is missing from its list");          \
    const Guest &from = guest;                                                             \
    host = Host();                                                                         \
    FIELDS_##S(TO_HOST)
#define TO_GUEST_FIELDS(S)                          \
    using Guest [[maybe_unused]] = guest32::S;      \
    using Host [[maybe_unused]] = S;                \
    const Host &from = host;                        \
    FIELDS_##S(TO_GUEST)
#define CONVERTERS(S)                                                                \
    void ToHost(Boundary &b, const guest32::S &guest, S &host, const char *what)     \
    {                                                                                \
        TO_HOST_FIELDS(S, 0)                                                         \
    }                                                                                \
    void ToGuest(Boundary &b, const S &host, guest32::S &guest, const char *what)    \
    {                                                                                \
        TO_GUEST_FIELDS(S)                                                           \
    }

CONVERTERS(MSG)
CONVERTERS(PAINTSTRUCT)
CONVERTERS(WNDCLASSW)
CONVERTERS(CREATESTRUCTW)
CONVERTERS(WINDOWPOS)
CONVERTERS(MINMAXINFO)
CONVERTERS(STYLESTRUCT)
CONVERTERS(BITMAP)
CONVERTERS(DIBSECTION)
CONVERTERS(SHELLEXECUTEINFOW)
CONVERTERS(MENUITEMINFOW)
CONVERTERS(SHMENUBARINFO)
CONVERTERS(SHINITDLGINFO)
CONVERTERS(TODAYLISTITEM)
CONVERTERS(TODAYDRAWWATERMARKINFO)
CONVERTERS(MEMORY_BASIC_INFORMATION)
CONVERTERS(TPMPARAMS)

void ToHost(Boundary &b, const guest32::NCCALCSIZE_PARAMS &guest, NCCALCSIZE_PARAMS &host,
            WINDOWPOS &position, const char *what)
{
    TO_HOST_FIELDS(NCCALCSIZE_PARAMS, sizeof(guest.lppos))
    if (from.lppos) {
        ToHost(b, *b.HostObject<guest32::WINDOWPOS>(from.lppos, what), position, what);
        host.lppos = &position;
    }
}

void ToGuest(Boundary &b, const NCCALCSIZE_PARAMS &host, guest32::NCCALCSIZE_PARAMS &guest, const char *what)
{
    TO_GUEST_FIELDS(NCCALCSIZE_PARAMS)
    guest.lppos = 0;
    if (from.lppos) {
        uint32_t copy = b.scratch ? b.scratch(sizeof(guest32::WINDOWPOS)) : 0;
        if (!copy)
            b.Refuse(std::string(what) + ": no scratch space in guest memory for its WINDOWPOS");
        ToGuest(b, *from.lppos, *(guest32::WINDOWPOS *)b.Host(copy, sizeof(guest32::WINDOWPOS), true, what),
                what);
        guest.lppos = copy;
    }
}

// The bit fields, one word on the guest's side.
void ToHost(Boundary &b, const guest32::SHACTIVATEINFO &guest, SHACTIVATEINFO &host, const char *what)
{
    TO_HOST_FIELDS(SHACTIVATEINFO, sizeof(guest.bits))
    host.fSipUp = from.bits & 1;
    host.fSipOnDeactivation = from.bits >> 1 & 1;
    host.fActive = from.bits >> 2 & 1;
    host.fReserved = from.bits >> 3;
}

void ToGuest(Boundary &b, const SHACTIVATEINFO &host, guest32::SHACTIVATEINFO &guest, const char *what)
{
    TO_GUEST_FIELDS(SHACTIVATEINFO)
    guest.bits = from.fSipUp | from.fSipOnDeactivation << 1 | from.fActive << 2 | (uint32_t)from.fReserved << 3;
}

// In the x86 build the host's layouts are the device's 32-bit ones: each
// guest layout has the host's size and each field the host's offset.
#if UINTPTR_MAX == UINT32_MAX
#define SAME_OFFSET(kind, f, ...) \
    static_assert(offsetof(Guest, f) == offsetof(Host, f), #f " lies where i686 has it");
#define SAME_LAYOUT(S)                                                                   \
    namespace layout_##S {                                                               \
    typedef guest32::S Guest;                                                            \
    typedef S Host;                                                                      \
    static_assert(sizeof(Guest) == kHostSize<Host>, #S " has the size i686 gives it");   \
    FIELDS_##S(SAME_OFFSET)                                                              \
    }
SAME_LAYOUT(MSG)
SAME_LAYOUT(PAINTSTRUCT)
SAME_LAYOUT(WNDCLASSW)
SAME_LAYOUT(CREATESTRUCTW)
SAME_LAYOUT(WINDOWPOS)
SAME_LAYOUT(NCCALCSIZE_PARAMS)
SAME_LAYOUT(MINMAXINFO)
SAME_LAYOUT(STYLESTRUCT)
SAME_LAYOUT(BITMAP)
SAME_LAYOUT(DIBSECTION)
SAME_LAYOUT(SHELLEXECUTEINFOW)
SAME_LAYOUT(MENUITEMINFOW)
SAME_LAYOUT(SHMENUBARINFO)
SAME_LAYOUT(SHINITDLGINFO)
SAME_LAYOUT(SHACTIVATEINFO)
SAME_LAYOUT(TODAYLISTITEM)
SAME_LAYOUT(TODAYDRAWWATERMARKINFO)
SAME_LAYOUT(MEMORY_BASIC_INFORMATION)
SAME_LAYOUT(TPMPARAMS)
static_assert(offsetof(guest32::NCCALCSIZE_PARAMS, lppos) == offsetof(NCCALCSIZE_PARAMS, lppos),
              "lppos lies where i686 has it");
static_assert(offsetof(guest32::SHACTIVATEINFO, bits) == offsetof(SHACTIVATEINFO, hwndLastFocus) + sizeof(HWND),
              "the bit fields follow hwndLastFocus as on i686");
#endif
