// Resource identifiers of the page editor, inkpad_app.
#pragma once

// Strings
#define IDS_APP_TITLE           1       // window title, also looked for by a second start
#define IDS_APP_CLASS           2       // window class name
#define IDS_OK_BUTTON           103     // left menu-bar button
#define IDS_HELP_BUTTON         104     // right menu-bar button

// Icon
#define IDI_APP                 101

// Menus: the Help popup, and the menu bar (SHMENUBAR data) that opens it
#define IDM_HELP_MENU           102
#define IDR_MENU_BAR            102

// Accelerators
#define IDA_MAIN                2

// Dialogs
#define IDD_ABOUT               106
#define IDD_EDIT_TEXT           129

// Controls
#define IDC_ABOUT_ICON          201
#define IDC_PAGE_TEXT           1000
#define IDC_NONE                -1

// Commands
#define IDM_OK                  40000   // menu-bar OK, Ctrl+Q: close the editor
#define IDM_HELP                40001   // menu-bar HELP: opens the Help popup
#define IDM_ABOUT               40002   // Help > About, Ctrl+A

// Words of the menu-bar resource and device styles the resource compiler
// does not know here.
#ifndef I_IMAGENONE
#define I_IMAGENONE             (-2)
#endif
#ifndef NOMENU
#define NOMENU                  0xFFFF
#endif
#ifndef TBSTATE_ENABLED
#define TBSTATE_ENABLED         0x04
#endif
#ifndef TBSTYLE_DROPDOWN
#define TBSTYLE_DROPDOWN        0x08
#endif
#ifndef TBSTYLE_AUTOSIZE
#define TBSTYLE_AUTOSIZE        0x10
#endif
#ifndef WS_EX_CAPTIONOKBTN
#define WS_EX_CAPTIONOKBTN      0x80000000L
#endif
