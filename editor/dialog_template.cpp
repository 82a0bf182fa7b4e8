#include "dialog_template.h"

static const unsigned int kSetFontStyle = 0x40;              // DS_SETFONT
static const size_t kHeaderBytes = 18;                   // DLGTEMPLATE
static const size_t kItemBytes = 18;                     // DLGITEMTEMPLATE

static unsigned short Word(const unsigned char *p)
{
    return (unsigned short)(p[0] | (p[1] << 8));
}

static unsigned int Dword(const unsigned char *p)
{
    return (unsigned int)Word(p) | ((unsigned int)Word(p + 2) << 16);
}

// Reads a number-or-string field at *offset and moves past it.
static bool ReadField(const unsigned char *bytes, size_t size, size_t *offset, TemplateField *field)
{
    size_t at = *offset;
    if (at > size || size - at < 2)
        return false;
    *field = TemplateField();
    if (Word(bytes + at) == 0xFFFF) {
        if (size - at < 4)
            return false;
        field->isNumber = true;
        field->number = Word(bytes + at + 2);
        *offset = at + 4;
        return true;
    }
    field->textOffset = at;
    for (size_t p = at; size - p >= 2; p += 2) {
        if (Word(bytes + p) == 0) {
            field->textLength = (p - at) / 2;
            *offset = p + 2;
            return true;
        }
    }
    return false;                                        // no terminator before the end
}

bool ReadDialogHeader(const unsigned char *bytes, size_t size, DialogHeader *header)
{
    if (!bytes || size < kHeaderBytes)
        return false;
    if (Word(bytes) == 1 && Word(bytes + 2) == 0xFFFF)
        return false;                                    // DLGTEMPLATEEX
    *header = DialogHeader();
    header->style = Dword(bytes);
    header->exStyle = Dword(bytes + 4);
    header->itemCount = Word(bytes + 8);
    header->x = (short)Word(bytes + 10);
    header->y = (short)Word(bytes + 12);
    header->cx = (short)Word(bytes + 14);
    header->cy = (short)Word(bytes + 16);
    size_t offset = kHeaderBytes;
    if (!ReadField(bytes, size, &offset, &header->menu) ||
        !ReadField(bytes, size, &offset, &header->windowClass) ||
        !ReadField(bytes, size, &offset, &header->title))
        return false;
    header->hasFont = (header->style & kSetFontStyle) != 0;
    if (header->hasFont) {
        if (size - offset < 2)
            return false;
        header->pointSize = Word(bytes + offset);
        offset += 2;
        if (!ReadField(bytes, size, &offset, &header->typeface))
            return false;
    }
    header->itemsOffset = offset;
    return true;
}

bool ReadDialogItem(const unsigned char *bytes, size_t size, size_t *offset, DialogItem *item)
{
    size_t at = (*offset + 3) & ~(size_t)3;
    if (!bytes || at < *offset || at > size || size - at < kItemBytes)
        return false;
    *item = DialogItem();
    item->style = Dword(bytes + at);
    item->exStyle = Dword(bytes + at + 4);
    item->x = (short)Word(bytes + at + 8);
    item->y = (short)Word(bytes + at + 10);
    item->cx = (short)Word(bytes + at + 12);
    item->cy = (short)Word(bytes + at + 14);
    item->id = Word(bytes + at + 16);
    size_t p = at + kItemBytes;
    if (!ReadField(bytes, size, &p, &item->classField) || !ReadField(bytes, size, &p, &item->title))
        return false;
    if (size - p < 2)
        return false;
    item->creationDataOffset = p;
    item->creationDataSize = Word(bytes + p);
    if (item->creationDataSize == 0) {
        p += 2;
    } else {
        // The size counts the data's bytes together with the size word.
        if (item->creationDataSize < 2 || size - p < item->creationDataSize)
            return false;
        p += item->creationDataSize;
    }
    *offset = p;
    return true;
}

bool DialogTemplateIsComplete(const unsigned char *bytes, size_t size)
{
    DialogHeader header;
    if (!ReadDialogHeader(bytes, size, &header))
        return false;
    size_t offset = header.itemsOffset;
    DialogItem item;
    for (int i = 0; i < header.itemCount; i++) {
        if (!ReadDialogItem(bytes, size, &offset, &item))
            return false;
    }
    return true;
}
