// The style bits by which a window tells the device's navigation bar about
// its "ok" button: WS_NONAVDONEBUTTON refuses one, WS_EX_CAPTIONOKBTN asks
// for one. The desktop's headers lack both, and CeGCC's aygshell.h gives
// WS_NONAVDONEBUTTON the value of WS_MINIMIZEBOX (0x00020000), which the
// device reads as something else: here each has the device's own value.
#pragma once

#undef WS_NONAVDONEBUTTON
#define WS_NONAVDONEBUTTON 0x00010000L
#ifndef WS_EX_CAPTIONOKBTN
#define WS_EX_CAPTIONOKBTN 0x80000000L
#endif
