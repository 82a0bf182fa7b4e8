// The shell's navigation bar along the top of a Pocket PC's screen, as the
// item lays itself out below it and the desktop's stand-ins draw and avoid
// it: its height follows the screen's dpi alone, whatever the orientation.
#pragma once

// 26 pixels at 96 dpi, as on a 240 x 320 Pocket PC; 52 at 192 dpi.
enum { NAVIGATION_BAR_HEIGHT_AT_96_DPI = 26 };

// The bar's height on a screen of `dpi` (96 when unknown, 0 or less),
// rounded to the nearest pixel.
inline int NavigationBarHeightAt(int dpi)
{
    if (dpi <= 0)
        dpi = 96;
    return (NAVIGATION_BAR_HEIGHT_AT_96_DPI * dpi + 48) / 96;
}
