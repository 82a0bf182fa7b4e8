// Walks a dialog template resource in the standard (not extended) layout:
// the DLGTEMPLATE header with its menu, class, title and font fields, then
// DLGITEMTEMPLATE items on 4-byte boundaries, each followed by its class,
// title and creation data. Pure byte parsing, bounded by the resource size
// and free of Win32 calls, so that it can be tested and fuzzed natively.
#pragma once
#include <stddef.h>

// A menu, class or title field: a 16-bit number (0xFFFF, number) or a
// NUL-terminated UTF-16 string, possibly empty.
struct TemplateField {
    bool isNumber;
    unsigned short number;            // when isNumber
    size_t textOffset;          // otherwise: byte offset of the first character
    size_t textLength;          // characters before the terminator
};

struct DialogHeader {
    unsigned int style;
    unsigned int exStyle;
    unsigned short itemCount;
    short x, y, cx, cy;
    TemplateField menu, windowClass, title;
    bool hasFont;               // style has DS_SETFONT
    unsigned short pointSize;
    TemplateField typeface;
    size_t itemsOffset;         // where the first item's alignment starts
};

struct DialogItem {
    unsigned int style;
    unsigned int exStyle;
    short x, y, cx, cy;
    unsigned short id;
    TemplateField classField, title;
    size_t creationDataOffset;  // the size word
    unsigned short creationDataSize;  // bytes including the size word; 0 for none
};

// Predefined control classes, as numbers in a class field.
enum {
    TEMPLATE_CLASS_BUTTON = 0x0080,
    TEMPLATE_CLASS_EDIT = 0x0081,
    TEMPLATE_CLASS_STATIC = 0x0082,
    TEMPLATE_CLASS_LISTBOX = 0x0083,
    TEMPLATE_CLASS_SCROLLBAR = 0x0084,
    TEMPLATE_CLASS_COMBOBOX = 0x0085,
    TEMPLATE_ID_NONE = 0xFFFF,  // the id -1 of controls nobody addresses
};

// Reads the header; false when the bytes end inside it or the template is
// an extended one (DLGTEMPLATEEX).
bool ReadDialogHeader(const unsigned char *bytes, size_t size, DialogHeader *header);

// Reads the item at or after *offset (moved to a 4-byte boundary first) and
// moves *offset past its creation data. False when the item does not fit.
bool ReadDialogItem(const unsigned char *bytes, size_t size, size_t *offset, DialogItem *item);

// True when the header and all of its items lie within the bytes.
bool DialogTemplateIsComplete(const unsigned char *bytes, size_t size);
