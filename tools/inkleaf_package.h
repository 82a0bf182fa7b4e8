// What Inkleaf's installation cabinet installs, and for which device: its
// names, the folder, the two files, the Today item key and its values, the
// processor and the systems. cab_setup_file writes it in the installer's
// format.
#pragma once
#include "../common/item_key.h"
#include <cstdint>

namespace {

// What the package installs: its names, the folder, the files, the key.
const char kAppName[] = "Inkleaf";
const char kProvider[] = "Inkleaf";
// The device's program folder, in its own language ("\Program Files" on an
// English device), which the item's list of localized folders covers.
const char kInstallDir[] = "%CE1%\\inkleaf_item";

struct PackageFile {
    const char *installName;  // name on the device, in kInstallDir
    int argument;             // which command-line argument holds it
};
const PackageFile kFiles[] = {
    {"inkleaf_item.dll", 2},
    {"inkpad_app.exe", 3},
};

enum RegRoot { kRootClassesRoot = 1, kRootCurrentUser = 2, kRootLocalMachine = 3, kRootUsers = 4 };
const char kItemKey[] = ITEM_KEY_PATH_TEXT;

// The registry data types of the instruction file.
enum RegType : uint32_t { kTypeSz = 0x00000000, kTypeDword = 0x00010001 };

struct RegValue {
    const char *name;
    RegType type;
    uint32_t number;           // kTypeDword
    const char *installedFile; // kTypeSz: the full path of this installed file
};
// The values the Today screen reads to list and load a custom item.
const RegValue kItemValues[] = {
    {TODAY_VALUE_DLL, kTypeSz, 0, "inkleaf_item.dll"},
    {TODAY_VALUE_TYPE, kTypeDword, 4, nullptr},  // a custom item
    {TODAY_VALUE_ENABLED, kTypeDword, 1, nullptr},
    {TODAY_VALUE_OPTIONS, kTypeDword, 0, nullptr},
    {TODAY_VALUE_ORDER, kTypeDword, 0, nullptr},
};

// The device the package is for: ARM processors (StrongARM, the processor
// type of Pocket PC cabinets for ARM), Windows Mobile 5.0 (CE 5.01) and the
// Pocket PC systems after it.
const uint32_t kProcessorStrongArm = 2577;
const uint32_t kOsMinMajor = 5, kOsMinMinor = 1;
const uint32_t kOsMaxMajor = 6, kOsMaxMinor = 99;
// The build number range; this highest value is also the installer's mark of
// a program that handles square screens and screen rotation, so that it
// does not warn that the program may not display properly.
const uint32_t kBuildMin = 0, kBuildMax = 0xE0000000;

}  // namespace
