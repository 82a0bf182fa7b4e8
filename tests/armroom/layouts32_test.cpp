// The structure converters of armroom/layouts32.h: each structure written in
// the guest's layout into guest memory, carried to the host and back; host
// data that must reach the guest; and what the boundary refuses.
#include "guest_space.h"

#include <gtest/gtest.h>
#include <string.h>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Case {
    const char *name;
    std::function<void(Room &)> run;
    friend void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }
};

// One way across: a guest structure to the host's S, or a host's back.
template <class G, class S>
void ToHostIn(Room &r, const G &guest, S &host) { ToHost(r.b, guest, host, "test"); }
void ToHostIn(Room &r, const guest32::NCCALCSIZE_PARAMS &g, NCCALCSIZE_PARAMS &host)
{
    ToHost(r.b, g, host, r.position, "test");
}
template <class S, class G>
void Across(Room &r, const G &guest) { S host; ToHostIn(r, guest, host); }
template <class S, class G = typename Layout32<S>::Guest>
G Back(Room &r, const S &host) { G guest; ToGuest(r.b, host, guest, "test"); return guest; }

// S in the guest's layout, every word distinct and with its top bit set,
// then FILL's fields; to the host, where CHECK looks, and back, where every
// word must return as it was (CHECK puts back what moved on purpose).
template <class S, class Fill, class Check>
Case Trip(const char *name, Fill fill, Check check)
{
    return {name, [=](Room &r) {
        typedef typename Layout32<S>::Guest G;
        G &in = r.At<G>(kIn), &out = r.At<G>(kOut);
        uint32_t *words = (uint32_t *)&in;
        for (size_t k = 0; k < sizeof in / 4; k++)
            words[k] = 0x80000000u | (uint32_t)(k + 1) * 0x0101u;
        memset(&out, 0xCD, sizeof out);
        fill(r, in);
        S host;
        memset(&host, 0xCD, sizeof host);
        ToHostIn(r, in, host);
        ToGuest(r.b, host, out, "test");
        check(r, in, host, out);
        const uint32_t *back = (const uint32_t *)&out;
        for (size_t k = 0; k < sizeof in / 4; k++)
            EXPECT_EQ(words[k], back[k]) << "the word at offset " << 4 * k << " came back changed";
    }};
}

// A BITMAP's bits: the host's are the guest's bytes, and they come back
// mapped at an address of their own.
template <class G>
void FillBits(Room &r, G &bitmap) { bitmap.bmWidthBytes = 4, bitmap.bmHeight = 2, bitmap.bmBits = r.Put("bitmap!", 8); }
template <class G, class S>
void CheckBits(Room &r, const G &in, const S &host, G &out)
{
    EXPECT_EQ(host.bmBits, r.HostOf(in.bmBits));
    EXPECT_EQ(r.HostOf(out.bmBits), host.bmBits);
    out.bmBits = in.bmBits;
}

// A case's two halves: what it writes into the guest's structure G, and what
// it checks of the host's (IN is G, OUT what came back).
#define GUEST(...) [](Room &r, auto &g) { __VA_ARGS__; }
#define HOST(...) [](Room &r, auto &in, auto &host, auto &out) { __VA_ARGS__; }
const std::vector<Case> kRoundTrips = {
    Trip<MSG>("MSG", GUEST(g.hwnd = 0xFFFFFFFD; g.wParam = g.lParam = 0xFFFFFFF0),
        HOST(EXPECT_EQ(host.hwnd, HWND_MESSAGE); EXPECT_EQ(host.wParam, (WPARAM)in.wParam);
             EXPECT_EQ(host.lParam, (LPARAM)(int32_t)in.lParam); EXPECT_EQ(host.pt.y, in.pt.y))),
    Trip<PAINTSTRUCT>("PAINTSTRUCT", GUEST(g.hdc = kGuestHighHandle),
        HOST(EXPECT_EQ(host.hdc, kHighHandle); EXPECT_EQ(host.rcPaint.bottom, in.rcPaint.bottom))),
    Trip<WNDCLASSW>("WNDCLASSW",
        GUEST(g.hInstance = kImage; g.lpszClassName = r.Text(L"InkleafBoard"); g.lpszMenuName = 101;
              g.hCursor = kGuestHighHandle),
        HOST(EXPECT_EQ(host.hInstance, (HINSTANCE)r.image); EXPECT_EQ(host.lpszClassName, r.HostOf(in.lpszClassName));
             EXPECT_STREQ(host.lpszClassName, L"InkleafBoard"); EXPECT_EQ(host.lpszMenuName, MAKEINTRESOURCEW(101));
             EXPECT_EQ(host.hCursor, kHighHandle); EXPECT_EQ((uintptr_t)host.lpfnWndProc, in.lpfnWndProc);
             EXPECT_EQ(host.cbWndExtra, in.cbWndExtra))),
    // An instance of no module the room mapped crosses as a handle; an atom
    // for a class name as the integer it is.
    Trip<CREATESTRUCTW>("CREATESTRUCTW",
        GUEST(g.lpCreateParams = kGuestHighHandle; g.hInstance = 0x00400000; g.lpszName = r.Text(L"Ink");
              g.lpszClass = 0xC001),
        HOST(EXPECT_EQ(host.lpCreateParams, kHighHandle); EXPECT_EQ(host.hInstance, (HINSTANCE)0x00400000);
             EXPECT_EQ(host.lpszName, r.HostOf(in.lpszName)); EXPECT_EQ(host.lpszClass, MAKEINTRESOURCEW(0xC001));
             EXPECT_EQ(host.cy, in.cy))),
    Trip<WINDOWPOS>("WINDOWPOS", GUEST(g.hwndInsertAfter = 0xFFFFFFFF),
        HOST(EXPECT_EQ(host.hwndInsertAfter, HWND_TOPMOST); EXPECT_EQ(host.cx, in.cx))),
    Trip<NCCALCSIZE_PARAMS>("NCCALCSIZE_PARAMS",
        GUEST(guest32::WINDOWPOS position = {kGuestHighHandle, 0xFFFFFFFF, 1, 2, 3, 4, SWP_NOZORDER};
              g.lppos = r.Put(&position, sizeof position)),
        HOST(auto &sent = r.At<guest32::WINDOWPOS>(in.lppos); EXPECT_EQ(host.lppos, &r.position);
             EXPECT_EQ(host.lppos->hwnd, kHighHandle); EXPECT_EQ(host.lppos->hwndInsertAfter, HWND_TOPMOST);
             EXPECT_EQ(host.lppos->cy, sent.cy); EXPECT_EQ(host.rgrc[2].bottom, in.rgrc[2].bottom);
             EXPECT_TRUE(Room::InScratch(out.lppos));
             EXPECT_EQ(0, memcmp(&r.At<guest32::WINDOWPOS>(out.lppos), &sent, sizeof sent)); out.lppos = in.lppos)),
    Trip<MINMAXINFO>("MINMAXINFO", GUEST(), HOST(EXPECT_EQ(host.ptMaxTrackSize.y, in.ptMaxTrackSize.y))),
    Trip<STYLESTRUCT>("STYLESTRUCT", GUEST(), HOST(EXPECT_EQ(host.styleNew, in.styleNew))),
    Trip<BITMAP>("BITMAP", GUEST(FillBits(r, g)), HOST(CheckBits(r, in, host, out))),
    Trip<DIBSECTION>("DIBSECTION", GUEST(FillBits(r, g.dsBm); g.dshSection = kGuestHighHandle),
        HOST(CheckBits(r, in.dsBm, host.dsBm, out.dsBm); EXPECT_EQ(host.dshSection, kHighHandle);
             EXPECT_EQ(host.dsBmih.biHeight, in.dsBmih.biHeight))),
    Trip<SHELLEXECUTEINFOW>("SHELLEXECUTEINFOW",
        GUEST(g.cbSize = sizeof g; g.lpVerb = r.Text(L"open"); g.lpFile = r.Text(L"\\windows\\inkpad_app.exe");
              g.lpParameters = g.lpDirectory = g.lpClass = 0; g.hInstApp = kImage; g.lpIDList = r.Put("\2", 2);
              g.hkeyClass = kGuestHighHandle),
        HOST(EXPECT_EQ(host.cbSize, sizeof host); EXPECT_STREQ(host.lpFile, L"\\windows\\inkpad_app.exe");
             EXPECT_EQ(host.lpVerb, r.HostOf(in.lpVerb)); EXPECT_EQ(host.lpParameters, nullptr);
             EXPECT_EQ(host.hInstApp, (HINSTANCE)r.image); EXPECT_EQ(host.lpIDList, r.HostOf(in.lpIDList));
             EXPECT_EQ(host.hkeyClass, HKEY_LOCAL_MACHINE))),
    // The host's size without hbmpItem, which the device's lacks.
    Trip<MENUITEMINFOW>("MENUITEMINFOW",
        GUEST(g.cbSize = sizeof g; g.dwTypeData = r.Text(L"&Pen"); g.hSubMenu = kGuestHighHandle),
        HOST(EXPECT_EQ(host.cbSize, offsetof(MENUITEMINFOW, hbmpItem)); EXPECT_EQ(host.hbmpItem, nullptr);
             EXPECT_EQ(host.hSubMenu, kHighHandle); EXPECT_STREQ(host.dwTypeData, L"&Pen");
             EXPECT_EQ(host.dwItemData, (ULONG_PTR)(intptr_t)(int32_t)in.dwItemData))),
    Trip<SHMENUBARINFO>("SHMENUBARINFO", GUEST(g.cbSize = sizeof g; g.hInstRes = kImage),
        HOST(EXPECT_EQ(host.cbSize, sizeof host); EXPECT_EQ(host.hInstRes, (HINSTANCE)r.image);
             EXPECT_EQ(host.clrBk, in.clrBk))),
    Trip<SHINITDLGINFO>("SHINITDLGINFO", GUEST(g.hDlg = kGuestHighHandle),
        HOST(EXPECT_EQ(host.hDlg, kHighHandle); EXPECT_EQ(host.dwFlags, in.dwFlags))),
    Trip<SHACTIVATEINFO>("SHACTIVATEINFO", GUEST(g.cbSize = sizeof g; g.bits = 5 | 0x1234 << 3),
        HOST(EXPECT_EQ(host.cbSize, sizeof host); EXPECT_EQ(host.fSipUp, 1u); EXPECT_EQ(host.fSipOnDeactivation, 0u);
             EXPECT_EQ(host.fActive, 1u); EXPECT_EQ(host.fReserved, 0x1234u))),
    Trip<TODAYLISTITEM>("TODAYLISTITEM",
        GUEST(wcscpy((wchar_t *)g.szName, L"Inkleaf"); g.hinstDLL = kImage; g.cbCachedData = 6;
              g.prgbCachedData = r.Put("cache", 6)),
        HOST(EXPECT_STREQ(host.szName, L"Inkleaf"); EXPECT_EQ(host.hinstDLL, (HINSTANCE)r.image);
             EXPECT_EQ(host.prgbCachedData, r.HostOf(in.prgbCachedData)); EXPECT_EQ(host.cyp, in.cyp))),
    Trip<TODAYDRAWWATERMARKINFO>("TODAYDRAWWATERMARKINFO", GUEST(g.hwnd = kGuestHighHandle),
        HOST(EXPECT_EQ(host.hwnd, kHighHandle); EXPECT_EQ(host.rc.right, in.rc.right))),
    // RegionSize has its top bit set: zero-extended.
    Trip<MEMORY_BASIC_INFORMATION>("MEMORY_BASIC_INFORMATION",
        GUEST(g.AllocationBase = kData; g.BaseAddress = kData + 0x100),
        HOST(EXPECT_EQ(host.BaseAddress, r.HostOf(in.BaseAddress));
             EXPECT_EQ(host.AllocationBase, r.HostOf(in.AllocationBase));
             EXPECT_EQ(host.RegionSize, (SIZE_T)in.RegionSize))),
    Trip<TPMPARAMS>("TPMPARAMS", GUEST(g.cbSize = sizeof g),
        HOST(EXPECT_EQ(host.cbSize, sizeof host); EXPECT_EQ(host.rcExclude.left, in.rcExclude.left))),
};
#undef GUEST
#undef HOST

// Host structures whose data lies outside guest memory.
const std::vector<Case> kHostData = {
    {"string_copied", [](Room &r) {
        CREATESTRUCTW host = {NULL, NULL, NULL, NULL, 0, 0, 0, 0, 0, L"made by the host", MAKEINTRESOURCEW(0xC001)};
        auto guest = Back(r, host);
        EXPECT_TRUE(Room::InScratch(guest.lpszName));
        EXPECT_STREQ((const wchar_t *)r.HostOf(guest.lpszName), host.lpszName);
        EXPECT_EQ(guest.lpszClass, 0xC001u);
    }},
    {"cached_data_copied", [](Room &r) {
        BYTE cache[5] = {9, 8, 7, 6, 5};
        auto guest = Back(r, TODAYLISTITEM{{}, tlitCustom, 0, 0, 0, 0, 0, {}, NULL, NULL, 0, cache, sizeof cache});
        EXPECT_TRUE(Room::InScratch(guest.prgbCachedData));
        EXPECT_EQ(0, memcmp(r.HostOf(guest.prgbCachedData), cache, sizeof cache));
    }},
    {"window_position_copied", [](Room &r) {
        WINDOWPOS position = {HWND_TOPMOST, NULL, 1, 2, 3, 4, SWP_NOMOVE};
        auto guest = Back(r, NCCALCSIZE_PARAMS{{}, &position});
        ASSERT_TRUE(Room::InScratch(guest.lppos));
        EXPECT_EQ(r.At<guest32::WINDOWPOS>(guest.lppos).hwnd, 0xFFFFFFFFu);
        EXPECT_EQ(r.At<guest32::WINDOWPOS>(guest.lppos).cx, position.cx);
    }},
    {"bits_mapped_once", [](Room &r) {
        std::vector<uint8_t> bits(16, 0x5A);
        BITMAP host = {0, 4, 2, 8, 1, 16, bits.data()};
        auto first = Back(r, host), second = Back(r, host);
        EXPECT_FALSE(Room::InScratch(first.bmBits));
        EXPECT_EQ(r.HostOf(first.bmBits), bits.data());
        EXPECT_EQ(second.bmBits, first.bmBits);
    }},
    {"instance_and_size_back", [](Room &r) {
        SHELLEXECUTEINFOW host = {sizeof host, 0, NULL, NULL, NULL, NULL, NULL, 0, (HINSTANCE)r.image};
        auto guest = Back(r, host);
        EXPECT_EQ(guest.hInstApp, kImage);
        EXPECT_EQ(guest.cbSize, sizeof guest);
    }},
};

// What cannot cross, each refused.
const uint64_t kWide = 1ull << 32;
const std::vector<Case> kRefused = {
#if UINTPTR_MAX > UINT32_MAX
    {"handle_above_32_bits", [](Room &r) { Back(r, MSG{(HWND)kWide}); }},
    {"lparam_above_32_bits", [](Room &r) { Back(r, MSG{NULL, 0, 0, (LPARAM)kWide}); }},
    {"wparam_above_32_bits", [](Room &r) { Back(r, MSG{NULL, 0, kWide}); }},
    {"create_params_above_32_bits", [](Room &r) { Back(r, CREATESTRUCTW{(void *)kWide}); }},
#endif
    {"string_outside_guest_memory",
     [](Room &r) { Across<CREATESTRUCTW>(r, guest32::CREATESTRUCTW{0, 0, 0, 0, 0, 0, 0, 0, 0, 0x70000000}); }},
    {"string_without_end", [](Room &r) {
        const uint32_t tail = kData + kRegion - 8;
        memset(r.memory.Write(tail, 8), 'x', 8);
        Across<WNDCLASSW>(r, guest32::WNDCLASSW{0, 0, 0, 0, 0, 0, 0, 0, 0, tail});
    }},
    {"cached_data_past_its_region", [](Room &r) {
        Across<TODAYLISTITEM>(r, guest32::TODAYLISTITEM{{}, 0, 0, 0, 0, 0, 0, {}, 0, 0, 0, kData + kRegion - 2, 4});
    }},
    {"base_address_outside_guest_memory", [](Room &r) { Back(r, MEMORY_BASIC_INFORMATION{&r}); }},
    {"no_scratch_for_a_string",
     [](Room &r) { r.b.scratch = nullptr, Back(r, CREATESTRUCTW{0, 0, 0, 0, 0, 0, 0, 0, 0, L"by the host"}); }},
    {"no_scratch_for_a_position",
     [](Room &r) { WINDOWPOS position = {}; r.b.scratch = nullptr, Back(r, NCCALCSIZE_PARAMS{{}, &position}); }},
};

struct Layouts : ::testing::TestWithParam<Case> {
    Room room;
};
struct RoundTrip : Layouts {};
struct HostData : Layouts {};
struct Refused : Layouts {};

TEST_P(RoundTrip, FieldsCrossAndComeBack) { GetParam().run(room); }
TEST_P(HostData, ReachesTheGuest) { GetParam().run(room); }
TEST_P(Refused, StopsWithTheNameGiven)
{
    try {
        GetParam().run(room);
        ADD_FAILURE() << "crossed";
    } catch (const std::runtime_error &e) {
        EXPECT_EQ(std::string(e.what()).rfind("test: ", 0), 0u) << e.what();
    }
}

std::string Named(const ::testing::TestParamInfo<Case> &info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Structures, RoundTrip, ::testing::ValuesIn(kRoundTrips), Named);
INSTANTIATE_TEST_SUITE_P(Cases, HostData, ::testing::ValuesIn(kHostData), Named);
INSTANTIATE_TEST_SUITE_P(Cases, Refused, ::testing::ValuesIn(kRefused), Named);

}  // namespace
