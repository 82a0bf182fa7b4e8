// Messages across the boundary. A message's wParam and lParam are words in
// the guest and pointer-sized in the host; where one carries a structure
// or a string, the guest gets a copy in its scratch space and the host a
// structure made from the guest's copy, and what the receiver may change
// is written back when it returns (messages.cpp's table says, message by
// message). A message the table does not know crosses as values; one the
// guest was given and passes on unchanged reaches the host with the host's
// own words again. A message known to carry a structure the boundary has
// no conversion for is refused.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "armroom/boundary.h"

// A message the host delivers to a guest procedure.
class MessageToGuest {
public:
    MessageToGuest(Boundary &boundary, HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char *what);
    ~MessageToGuest();
    // Writes back what the guest may change and gives the guest's result
    // as the host's.
    LRESULT Finish(uint32_t result);

    uint32_t window, wParam, lParam;

private:
    Boundary &boundary_;
    const char *what_;
    UINT message_;
    WPARAM host_wParam_;
    LPARAM host_lParam_;
};

// A message the guest sends, posts or passes on to the host.
class MessageToHost {
public:
    MessageToHost(Boundary &boundary, uint32_t window, uint32_t message, uint32_t wParam, uint32_t lParam,
                  const char *what);
    ~MessageToHost();
    // Writes back into the guest's copy and gives the host's result as the
    // guest's word.
    uint32_t Finish(LRESULT result);

    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;

    struct Storage;   // the host's copies of the guest's structures

private:
    Boundary &boundary_;
    const char *what_;
    uint32_t guest_wParam_, guest_lParam_;
    Storage *storage_;
};

// The message's name where the table knows one ("WM_NOTIFY"), else NULL.
const char *MessageName(UINT message);
