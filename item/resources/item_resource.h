// Resource identifiers of the Today item library.
#pragma once

// Strings
#define IDS_ITEM_NAME               1

// Toolbar icons, large (32 x 32 art) and small (16 x 16 art) sets
#define IDI_CORNER_LARGE            101
#define IDI_ERASER_ON_LARGE         129
#define IDI_ERASER_OFF_LARGE        118
#define IDI_CLEAR_LARGE             119
#define IDI_PEN_ON_LARGE            128
#define IDI_PEN_OFF_LARGE           131
#define IDI_SWATCH_FRAME_LARGE      132
#define IDI_LOWER_MARK_LARGE        150
#define IDI_IMAGE_SHOWN_LARGE       121
#define IDI_SAVE_LARGE              123
#define IDI_IMAGE_HIDDEN_LARGE      122
#define IDI_TEXT_SHOWN_LARGE        125
#define IDI_TEXT_HIDDEN_LARGE       126
#define IDI_STAMP_ON_LARGE          146
#define IDI_STAMP_OFF_LARGE         147

#define IDI_CORNER_SMALL            134
#define IDI_ERASER_ON_SMALL         136
#define IDI_ERASER_OFF_SMALL        137
#define IDI_CLEAR_SMALL             133
#define IDI_PEN_ON_SMALL            140
#define IDI_PEN_OFF_SMALL           141
#define IDI_SWATCH_FRAME_SMALL      135
#define IDI_LOWER_MARK_SMALL        151
#define IDI_IMAGE_SHOWN_SMALL       138
#define IDI_SAVE_SMALL              142
#define IDI_IMAGE_HIDDEN_SMALL      143
#define IDI_TEXT_SHOWN_SMALL        139
#define IDI_TEXT_HIDDEN_SMALL       144
#define IDI_STAMP_ON_SMALL          148
#define IDI_STAMP_OFF_SMALL         149
