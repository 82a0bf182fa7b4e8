// Command identifiers of the item's popup menus.
#pragma once

// Corner popups
#define IDM_EDIT_TEXT            40005
#define IDM_PASTE                40008
#define IDM_COPY                 40009
#define IDM_EXIT_EDIT_MODE       40012
#define IDM_ENTER_EDIT_MODE      40016
#define IDM_LARGER_TEXT          40022
#define IDM_SMALLER_TEXT         40023
#define IDM_LARGER_WINDOW        40024
#define IDM_SMALLER_WINDOW       40025
#define IDM_PASTE_TO_END         40115

// Colours (the same identifiers in every colour list)
#define IDM_COLOR_BLACK          40052
#define IDM_COLOR_WHITE          40053
#define IDM_COLOR_GRAY           40054
#define IDM_COLOR_RED            40055
#define IDM_COLOR_YELLOW         40056
#define IDM_COLOR_GREEN          40057
#define IDM_COLOR_CYAN           40058
#define IDM_COLOR_BLUE           40059
#define IDM_COLOR_PURPLE         40060
#define IDM_COLOR_CREAM          40061
#define IDM_COLOR_EMERALD        40062
#define IDM_COLOR_TURQUOISE      40064
#define IDM_COLOR_ORANGE         40066
#define IDM_COLOR_KHAKI          40068
#define IDM_COLOR_THEME_TEXT     40070
#define IDM_COLOR_BABY_BLUE      40079
#define IDM_COLOR_PINK           40080
#define IDM_COLOR_BEIGE          40081
#define IDM_TRANSPARENT          40118
#define IDM_CLEAR_WITH_ERASER    40051

// Widths 1..10
#define IDM_WIDTH_1              40075
#define IDM_WIDTH_2              40076
#define IDM_WIDTH_3              40077
#define IDM_WIDTH_4              40078
#define IDM_WIDTH_5              40083
#define IDM_WIDTH_6              40085
#define IDM_WIDTH_7              40087
#define IDM_WIDTH_8              40089
#define IDM_WIDTH_9              40091
#define IDM_WIDTH_10             40093

// Shapes
#define IDM_STAR_S               40098
#define IDM_STAR_L               40099
#define IDM_HEART_S              40100
#define IDM_HEART_L              40101
#define IDM_CIRCLE_FILLED_S      40106
#define IDM_CIRCLE_FILLED_L      40107
#define IDM_CIRCLE_S             40108
#define IDM_CIRCLE_L             40109
#define IDM_SQUARE_FILLED_S      40110
#define IDM_SQUARE_FILLED_L      40111
#define IDM_SQUARE_S             40112
#define IDM_SQUARE_L             40113
