// The seventeen colours of the item's colour popups in menu order, by the
// label a user chooses them by: what the tests expect each label to give.
#pragma once

struct LabelledColour {
    const char *label;
    int red, green, blue;
};

const LabelledColour kLabelledColours[17] = {
    {"Black", 0, 0, 0},          {"White", 255, 255, 255},    {"Gray", 192, 192, 192},
    {"Red", 255, 0, 0},          {"Pink", 239, 143, 156},     {"Purple", 255, 0, 255},
    {"Yellow", 255, 255, 0},     {"Orange", 255, 128, 0},     {"Cream", 255, 255, 128},
    {"Green", 0, 255, 0},        {"Emerald Green", 0, 255, 128}, {"Blue", 0, 0, 255},
    {"Cyan", 0, 255, 255},       {"Baby Blue", 175, 175, 210}, {"Turquoise Blue", 128, 128, 255},
    {"Beige", 217, 186, 151},    {"Khaki", 153, 127, 66},
};
