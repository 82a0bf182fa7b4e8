// The messages the boundary converts, and how.
#include "armroom/messages.h"
#include "armroom/layouts32.h"
#include "platform/today.h"

#include <string.h>
#include <string>
#include <vector>

namespace {

// What a message's wParam or lParam carries.
enum Carry {
    kValue,         // a number: zero-extended (wParam) or sign-extended (lParam)
    kHandle,        // a handle: sign-extended, and checked on the way out
    kCreate,        // CREATESTRUCTW *
    kWindowPos,     // WINDOWPOS *, written back
    kCalcSize,      // NCCALCSIZE_PARAMS * (wParam TRUE) or RECT *, written back
    kMinMax,        // MINMAXINFO *, written back
    kStyle,         // STYLESTRUCT *, written back
    kTextIn,        // a string, or NULL
    kTextOut,       // a buffer of wParam characters, written back
    kDwordOut,      // a DWORD *, or NULL, written back
    kMsg,           // MSG *, or NULL
    kTodayItem,     // TODAYLISTITEM *: its height written back
    kWatermark,     // TODAYDRAWWATERMARKINFO *
    kUnconverted,   // a structure the boundary has no conversion for
};

struct Row {
    UINT message;
    Carry wParam, lParam;
    const char *name;
};

const Row kMessages[] = {
    {WM_CREATE, kValue, kCreate, "WM_CREATE"},
    {WM_NCCREATE, kValue, kCreate, "WM_NCCREATE"},
    {WM_WINDOWPOSCHANGING, kValue, kWindowPos, "WM_WINDOWPOSCHANGING"},
    {WM_WINDOWPOSCHANGED, kValue, kWindowPos, "WM_WINDOWPOSCHANGED"},
    {WM_NCCALCSIZE, kValue, kCalcSize, "WM_NCCALCSIZE"},
    {WM_GETMINMAXINFO, kValue, kMinMax, "WM_GETMINMAXINFO"},
    {WM_STYLECHANGING, kValue, kStyle, "WM_STYLECHANGING"},
    {WM_STYLECHANGED, kValue, kStyle, "WM_STYLECHANGED"},
    {WM_SETTEXT, kValue, kTextIn, "WM_SETTEXT"},
    {WM_SETTINGCHANGE, kValue, kTextIn, "WM_SETTINGCHANGE"},
    {WM_DEVMODECHANGE, kValue, kTextIn, "WM_DEVMODECHANGE"},
    {WM_GETTEXT, kValue, kTextOut, "WM_GETTEXT"},
    {EM_GETSEL, kDwordOut, kDwordOut, "EM_GETSEL"},
    {WM_GETDLGCODE, kValue, kMsg, "WM_GETDLGCODE"},
    {WM_ERASEBKGND, kHandle, kValue, "WM_ERASEBKGND"},
    {WM_PAINT, kHandle, kValue, "WM_PAINT"},
    {WM_PRINTCLIENT, kHandle, kValue, "WM_PRINTCLIENT"},
    {WM_NCPAINT, kHandle, kValue, "WM_NCPAINT"},
    {WM_SETFONT, kHandle, kValue, "WM_SETFONT"},
    {WM_SETCURSOR, kHandle, kValue, "WM_SETCURSOR"},
    {WM_MOUSEACTIVATE, kHandle, kValue, "WM_MOUSEACTIVATE"},
    {WM_SETFOCUS, kHandle, kValue, "WM_SETFOCUS"},
    {WM_KILLFOCUS, kHandle, kValue, "WM_KILLFOCUS"},
    {WM_INITDIALOG, kHandle, kValue, "WM_INITDIALOG"},
    {WM_INITMENU, kHandle, kValue, "WM_INITMENU"},
    {WM_INITMENUPOPUP, kHandle, kValue, "WM_INITMENUPOPUP"},
    {WM_UNINITMENUPOPUP, kHandle, kValue, "WM_UNINITMENUPOPUP"},
    {WM_CTLCOLORMSGBOX, kHandle, kHandle, "WM_CTLCOLORMSGBOX"},
    {WM_CTLCOLOREDIT, kHandle, kHandle, "WM_CTLCOLOREDIT"},
    {WM_CTLCOLORLISTBOX, kHandle, kHandle, "WM_CTLCOLORLISTBOX"},
    {WM_CTLCOLORBTN, kHandle, kHandle, "WM_CTLCOLORBTN"},
    {WM_CTLCOLORDLG, kHandle, kHandle, "WM_CTLCOLORDLG"},
    {WM_CTLCOLORSCROLLBAR, kHandle, kHandle, "WM_CTLCOLORSCROLLBAR"},
    {WM_CTLCOLORSTATIC, kHandle, kHandle, "WM_CTLCOLORSTATIC"},
    {WM_TODAYCUSTOM_CLEARCACHE, kTodayItem, kValue, "WM_TODAYCUSTOM_CLEARCACHE"},
    {WM_TODAYCUSTOM_QUERYREFRESHCACHE, kTodayItem, kValue, "WM_TODAYCUSTOM_QUERYREFRESHCACHE"},
    {TODAYM_DRAWWATERMARK, kValue, kWatermark, "TODAYM_DRAWWATERMARK"},
    // Numbers only, named for the room's fault reports and meter.
    {WM_LBUTTONDOWN, kValue, kValue, "WM_LBUTTONDOWN"},
    {WM_MOUSEMOVE, kValue, kValue, "WM_MOUSEMOVE"},
    {WM_LBUTTONUP, kValue, kValue, "WM_LBUTTONUP"},
    {WM_COMMAND, kValue, kValue, "WM_COMMAND"},
    {WM_TIMER, kValue, kValue, "WM_TIMER"},
    {WM_SIZE, kValue, kValue, "WM_SIZE"},
    {WM_MOVE, kValue, kValue, "WM_MOVE"},
    {WM_ACTIVATE, kValue, kValue, "WM_ACTIVATE"},
    {WM_ENTERIDLE, kValue, kValue, "WM_ENTERIDLE"},
    {WM_ENTERMENULOOP, kValue, kValue, "WM_ENTERMENULOOP"},
    {WM_EXITMENULOOP, kValue, kValue, "WM_EXITMENULOOP"},
    {WM_DESTROY, kValue, kValue, "WM_DESTROY"},
    {WM_CLOSE, kValue, kValue, "WM_CLOSE"},
    {WM_KEYDOWN, kValue, kValue, "WM_KEYDOWN"},
    {WM_KEYUP, kValue, kValue, "WM_KEYUP"},
    {WM_SHOWWINDOW, kValue, kValue, "WM_SHOWWINDOW"},
    {WM_NCHITTEST, kValue, kValue, "WM_NCHITTEST"},
    {WM_MENUSELECT, kValue, kValue, "WM_MENUSELECT"},
    {WM_CAPTURECHANGED, kValue, kValue, "WM_CAPTURECHANGED"},
    // Structures nothing here passes: refused rather than guessed at.
    {WM_DRAWITEM, kValue, kUnconverted, "WM_DRAWITEM"},
    {WM_MEASUREITEM, kValue, kUnconverted, "WM_MEASUREITEM"},
    {WM_DELETEITEM, kValue, kUnconverted, "WM_DELETEITEM"},
    {WM_COMPAREITEM, kValue, kUnconverted, "WM_COMPAREITEM"},
    {WM_COPYDATA, kValue, kUnconverted, "WM_COPYDATA"},
    {WM_NOTIFY, kValue, kUnconverted, "WM_NOTIFY"},
    {WM_HELP, kValue, kUnconverted, "WM_HELP"},
    {WM_NEXTMENU, kValue, kUnconverted, "WM_NEXTMENU"},
    {WM_SIZING, kValue, kUnconverted, "WM_SIZING"},
    {WM_MOVING, kValue, kUnconverted, "WM_MOVING"},
    {WM_MDICREATE, kValue, kUnconverted, "WM_MDICREATE"},
    {WM_ASKCBFORMATNAME, kValue, kUnconverted, "WM_ASKCBFORMATNAME"},
};

const Row kPlain = {0, kValue, kValue, NULL};

const Row &RowOf(UINT message)
{
    for (const Row &row : kMessages)
        if (row.message == message)
            return row;
    return kPlain;
}

std::string Named(const char *what, UINT message)
{
    const char *name = MessageName(message);
    char number[16];
    snprintf(number, sizeof number, "0x%04X", message);
    return std::string(what) + ", " + (name ? name : number);
}

// The words given to guest procedures, innermost last, with the host's
// own: a message the guest passes on unchanged gets them back.
struct Delivered {
    UINT message;
    uint32_t wParam, lParam;
    WPARAM host_wParam;
    LPARAM host_lParam;
};
std::vector<Delivered> &DeliveredMessages()
{
    static std::vector<Delivered> delivered;
    return delivered;
}

template <class S>
void WriteBackToHost(Boundary &b, uint32_t guest_address, S *host, const char *what)
{
    if (!guest_address || !host)
        return;
    typedef typename Layout32<S>::Guest Guest;
    ToHost(b, *b.HostObject<Guest>(guest_address, what), *host, what);
}

}  // namespace

const char *MessageName(UINT message)
{
    return RowOf(message).name;
}

// --- host to guest ---

static uint32_t ToGuestWord(Boundary &b, Carry carry, UINT message, WPARAM wParam, LPARAM lParam, bool is_wParam,
                            const char *what)
{
    uintptr_t value = is_wParam ? (uintptr_t)wParam : (uintptr_t)lParam;
    switch (carry) {
    case kValue:
        // A value the guest cannot hold is handed over cut; should the guest
        // pass it on unchanged, the host gets its own value back.
        return (uint32_t)value;
    case kHandle:
        return b.GuestHandle((const void *)value, what);
    case kCreate:
        return GuestCopyOf(b, (const CREATESTRUCTW *)value, what);
    case kWindowPos:
        return GuestCopyOf(b, (const WINDOWPOS *)value, what);
    case kCalcSize:
        if (wParam)
            return GuestCopyOf(b, (const NCCALCSIZE_PARAMS *)value, what);
        return b.GuestCopy((const void *)value, sizeof(RECT), what);
    case kMinMax:
        return b.GuestCopy((const void *)value, sizeof(MINMAXINFO), what);
    case kStyle:
        return b.GuestCopy((const void *)value, sizeof(STYLESTRUCT), what);
    case kTextIn:
        return value ? b.GuestString((const wchar_t *)value, what) : 0;
    case kTextOut: {
        uint32_t bytes = (uint32_t)wParam * sizeof(wchar_t);
        uint32_t guest = value && bytes ? b.scratch(bytes) : 0;
        if (value && bytes && !guest)
            b.Refuse(Named(what, message) + ": no scratch space for the text");
        return guest;
    }
    case kDwordOut:
        return value ? b.GuestCopy((const void *)value, sizeof(DWORD), what) : 0;
    case kMsg:
        return GuestCopyOf(b, (const MSG *)value, what);
    case kTodayItem:
        return GuestCopyOf(b, (const TODAYLISTITEM *)value, what);
    case kWatermark:
        return GuestCopyOf(b, (const TODAYDRAWWATERMARKINFO *)value, what);
    case kUnconverted:
        break;
    }
    b.Refuse(Named(what, message) + " carries a structure the boundary does not convert");
}

MessageToGuest::MessageToGuest(Boundary &b, HWND host_window, UINT message, WPARAM host_wParam, LPARAM host_lParam,
                               const char *what)
    : boundary_(b), what_(what), message_(message), host_wParam_(host_wParam), host_lParam_(host_lParam)
{
    const Row &row = RowOf(message);
    window = b.GuestHandle(host_window, what);
    wParam = ToGuestWord(b, row.wParam, message, host_wParam, host_lParam, true, what);
    lParam = ToGuestWord(b, row.lParam, message, host_wParam, host_lParam, false, what);
    DeliveredMessages().push_back(Delivered{message, wParam, lParam, host_wParam, host_lParam});
}

MessageToGuest::~MessageToGuest()
{
    DeliveredMessages().pop_back();
}

static void WriteBackWord(Boundary &b, Carry carry, uint32_t guest, WPARAM wParam, uintptr_t host, uint32_t result,
                          const char *what)
{
    if (!guest || !host)
        return;
    switch (carry) {
    case kWindowPos:
        WriteBackToHost(b, guest, (WINDOWPOS *)host, what);
        break;
    case kCalcSize:
        if (wParam) {
            NCCALCSIZE_PARAMS *params = (NCCALCSIZE_PARAMS *)host;
            NCCALCSIZE_PARAMS copy;
            WINDOWPOS position;
            ToHost(b, *b.HostObject<guest32::NCCALCSIZE_PARAMS>(guest, what), copy, position, what);
            memcpy(params->rgrc, copy.rgrc, sizeof copy.rgrc);
            if (params->lppos)
                *params->lppos = position;
        } else {
            memcpy((void *)host, b.Host(guest, sizeof(RECT), false, what), sizeof(RECT));
        }
        break;
    case kMinMax:
        memcpy((void *)host, b.Host(guest, sizeof(MINMAXINFO), false, what), sizeof(MINMAXINFO));
        break;
    case kStyle:
        memcpy((void *)host, b.Host(guest, sizeof(STYLESTRUCT), false, what), sizeof(STYLESTRUCT));
        break;
    case kTextOut:
        if (wParam) {
            // The text the guest wrote, cut to the buffer and terminated.
            size_t length = result < wParam ? result : wParam - 1;
            memcpy((void *)host, b.Host(guest, (uint32_t)(length * sizeof(wchar_t)), false, what),
                   length * sizeof(wchar_t));
            ((wchar_t *)host)[length] = 0;
        }
        break;
    case kDwordOut:
        memcpy((void *)host, b.Host(guest, sizeof(DWORD), false, what), sizeof(DWORD));
        break;
    case kTodayItem:
        ((TODAYLISTITEM *)host)->cyp = b.HostObject<guest32::TODAYLISTITEM>(guest, what)->cyp;
        break;
    default:
        break;
    }
}

LRESULT MessageToGuest::Finish(uint32_t result)
{
    const Row &row = RowOf(message_);
    WriteBackWord(boundary_, row.wParam, wParam, host_wParam_, (uintptr_t)host_wParam_, result, what_);
    WriteBackWord(boundary_, row.lParam, lParam, host_wParam_, (uintptr_t)host_lParam_, result, what_);
    return (LRESULT)(int32_t)result;
}

// --- guest to host ---

struct MessageToHost::Storage {
    CREATESTRUCTW create;
    WINDOWPOS position;
    NCCALCSIZE_PARAMS calc;
    MSG msg;
    TODAYLISTITEM item;
    TODAYDRAWWATERMARKINFO watermark;
};

static uintptr_t ToHostWord(Boundary &b, Carry carry, UINT message, uint32_t wParam, uint32_t word, bool is_wParam,
                            MessageToHost::Storage *&storage, const char *what)
{
    if (carry != kValue && carry != kHandle && carry != kUnconverted && !word)
        return 0;
    // The host's copies, made only for a message that carries a structure.
    auto copies = [&storage]() -> MessageToHost::Storage & {
        if (!storage)
            storage = new MessageToHost::Storage;
        return *storage;
    };
    switch (carry) {
    case kValue:
        return is_wParam ? (uintptr_t)word : (uintptr_t)(intptr_t)(int32_t)word;
    case kHandle:
        return (uintptr_t)Boundary::HostHandle(word);
    case kCreate:
        ToHost(b, *b.HostObject<guest32::CREATESTRUCTW>(word, what), copies().create, what);
        return (uintptr_t)&copies().create;
    case kWindowPos:
        ToHost(b, *b.HostObject<guest32::WINDOWPOS>(word, what), copies().position, what);
        return (uintptr_t)&copies().position;
    case kCalcSize:
        if (wParam) {
            ToHost(b, *b.HostObject<guest32::NCCALCSIZE_PARAMS>(word, what), copies().calc, copies().position, what);
            return (uintptr_t)&copies().calc;
        }
        return (uintptr_t)b.Host(word, sizeof(RECT), true, what);
    case kMinMax:
        return (uintptr_t)b.Host(word, sizeof(MINMAXINFO), true, what);
    case kStyle:
        return (uintptr_t)b.Host(word, sizeof(STYLESTRUCT), true, what);
    case kTextIn:
        return (uintptr_t)b.HostString(word, what);
    case kTextOut:
        return (uintptr_t)b.Host(word, wParam * (uint32_t)sizeof(wchar_t), true, what);
    case kDwordOut:
        return (uintptr_t)b.Host(word, sizeof(DWORD), true, what);
    case kMsg:
        ToHost(b, *b.HostObject<guest32::MSG>(word, what), copies().msg, what);
        return (uintptr_t)&copies().msg;
    case kTodayItem:
        ToHost(b, *b.HostObject<guest32::TODAYLISTITEM>(word, what), copies().item, what);
        return (uintptr_t)&copies().item;
    case kWatermark:
        ToHost(b, *b.HostObject<guest32::TODAYDRAWWATERMARKINFO>(word, what), copies().watermark, what);
        return (uintptr_t)&copies().watermark;
    case kUnconverted:
        break;
    }
    b.Refuse(Named(what, message) + " carries a structure the boundary does not convert");
}

MessageToHost::MessageToHost(Boundary &b, uint32_t guest_window, uint32_t guest_message, uint32_t guest_wParam,
                             uint32_t guest_lParam, const char *what)
    : window((HWND)Boundary::HostHandle(guest_window)), message(guest_message), boundary_(b), what_(what),
      guest_wParam_(guest_wParam), guest_lParam_(guest_lParam), storage_(NULL)
{
    const Row &row = RowOf(message);
    wParam = (WPARAM)ToHostWord(b, row.wParam, message, guest_wParam, guest_wParam, true, storage_, what);
    lParam = (LPARAM)ToHostWord(b, row.lParam, message, guest_wParam, guest_lParam, false, storage_, what);
    // Words the guest was given with this message and passes on unchanged
    // are the host's own again.
    const std::vector<Delivered> &delivered = DeliveredMessages();
    for (size_t k = delivered.size(); k-- > 0;) {
        const Delivered &d = delivered[k];
        if (d.message != message)
            continue;
        if (row.wParam == kValue && d.wParam == guest_wParam)
            wParam = d.host_wParam;
        if (row.lParam == kValue && d.lParam == guest_lParam)
            lParam = d.host_lParam;
        break;
    }
}

MessageToHost::~MessageToHost()
{
    delete storage_;
}

uint32_t MessageToHost::Finish(LRESULT result)
{
    const Row &row = RowOf(message);
    Boundary &b = boundary_;
    if (row.lParam == kWindowPos && guest_lParam_)
        ToGuest(b, storage_->position, *(guest32::WINDOWPOS *)b.Host(guest_lParam_, sizeof(guest32::WINDOWPOS), true, what_),
                what_);
    if (row.lParam == kCalcSize && guest_lParam_ && wParam) {
        guest32::NCCALCSIZE_PARAMS *params =
            (guest32::NCCALCSIZE_PARAMS *)b.Host(guest_lParam_, sizeof(guest32::NCCALCSIZE_PARAMS), true, what_);
        memcpy(params->rgrc, storage_->calc.rgrc, sizeof params->rgrc);
        if (params->lppos)
            ToGuest(b, storage_->position,
                    *(guest32::WINDOWPOS *)b.Host(params->lppos, sizeof(guest32::WINDOWPOS), true, what_), what_);
    }
    if (row.wParam == kTodayItem && guest_wParam_)
        ((guest32::TODAYLISTITEM *)b.Host(guest_wParam_, sizeof(guest32::TODAYLISTITEM), true, what_))->cyp =
            storage_->item.cyp;
    return b.GuestHandle((const void *)result, what_);
}
