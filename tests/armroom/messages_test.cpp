// Messages across the boundary: a structure a message carries reaches the
// guest as a copy in its own layout and comes back written; one the guest
// passes on reaches the host as a host structure and back; words the guest
// was given and passes on unchanged are the host's own again; what the
// boundary cannot convert is refused, naming the message.
#include "armroom/messages.h"
#include "guest_space.h"

#include <gtest/gtest.h>

namespace {

struct MessagesTest : ::testing::Test {
    Room room;
    Boundary &b = room.b;
    const HWND window = (HWND)(uintptr_t)0x100AE;
    template <class T>
    T &At(uint32_t guest) { return room.At<T>(guest); }
};

TEST_F(MessagesTest, AStructureReachesTheGuestAsACopyAndComesBackWritten)
{
    WINDOWPOS host = {window, HWND_TOP, 10, 20, 200, 100, SWP_NOZORDER};
    MessageToGuest in(b, window, WM_WINDOWPOSCHANGING, 0, (LPARAM)&host, "test");
    EXPECT_EQ(in.window, 0x100AEu);
    ASSERT_TRUE(Room::InScratch(in.lParam));
    guest32::WINDOWPOS &guest = At<guest32::WINDOWPOS>(in.lParam);
    EXPECT_EQ(guest.hwnd, 0x100AEu);
    EXPECT_EQ(guest.cx, 200);
    guest.cx = 240;   // the guest's procedure changes it
    EXPECT_EQ(in.Finish(0xFFFFFFFFu), -1);   // a result sign-extends
    EXPECT_EQ(host.cx, 240);
    EXPECT_EQ(host.hwnd, window);
}

TEST_F(MessagesTest, TheGuestsStructureReachesTheHostAndComesBackWritten)
{
    guest32::NCCALCSIZE_PARAMS &params = At<guest32::NCCALCSIZE_PARAMS>(kData);
    guest32::WINDOWPOS &position = At<guest32::WINDOWPOS>(kData + 0x100);
    params.rgrc[0] = RECT{0, 0, 240, 320};
    params.lppos = kData + 0x100;
    position.cx = 240;
    position.hwndInsertAfter = 0xFFFFFFFFu;   // HWND_TOPMOST, -1
    MessageToHost out(b, 0x100AE, WM_NCCALCSIZE, TRUE, kData, "test");
    NCCALCSIZE_PARAMS *host = (NCCALCSIZE_PARAMS *)out.lParam;
    EXPECT_EQ(host->rgrc[0].bottom, 320);
    EXPECT_EQ(host->lppos->cx, 240);
    EXPECT_EQ(host->lppos->hwndInsertAfter, (HWND)-1);   // sign-extended
    host->rgrc[0].top = 26;          // the host's procedure changes them
    host->lppos->cy = 294;
    EXPECT_EQ(out.Finish(WVR_VALIDRECTS), (uint32_t)WVR_VALIDRECTS);
    EXPECT_EQ(params.rgrc[0].top, 26);
    EXPECT_EQ(position.cy, 294);
}

// A value that does not fit the guest's word is handed over cut; passed on
// unchanged, it reaches the host whole again. A different word does not.
TEST_F(MessagesTest, WordsPassedOnUnchangedAreTheHostsOwn)
{
    const UINT kUnknown = WM_APP + 7;
    const LPARAM wide = (LPARAM)0x123456789ABCull;
    MessageToGuest in(b, window, kUnknown, 5, wide, "test");
    EXPECT_EQ(in.lParam, 0x56789ABCu);
    MessageToHost same(b, in.window, kUnknown, in.wParam, in.lParam, "test");
    EXPECT_EQ(same.lParam, wide);
    MessageToHost other(b, in.window, kUnknown, in.wParam, in.lParam + 1, "test");
    EXPECT_EQ(other.lParam, (LPARAM)0x56789ABD);
}

TEST_F(MessagesTest, WhatCannotCrossIsRefusedByName)
{
    NMHDR notify = {window, 1, 0};
    EXPECT_NE(Refusal([&] { MessageToGuest(b, window, WM_NOTIFY, 1, (LPARAM)&notify, "test"); })
                  .find("WM_NOTIFY carries a structure the boundary does not convert"),
              std::string::npos);
    EXPECT_NE(Refusal([&] { MessageToHost(b, 0x100AE, WM_NOTIFY, 1, kData, "test"); }).find("WM_NOTIFY"),
              std::string::npos);
    // A host window handle that does not fit the guest's word.
    EXPECT_NE(Refusal([&] { MessageToGuest(b, (HWND)(uintptr_t)0x123400000001ull, WM_PAINT, 0, 0, "test"); })
                  .find("does not fit"),
              std::string::npos);
    // A host pointer bound for the guest that lies outside guest memory.
    EXPECT_NE(Refusal([&] { b.Guest((const void *)(uintptr_t)0x2169D0000ull, "test"); }).find("outside guest memory"),
              std::string::npos);
}

}  // namespace
