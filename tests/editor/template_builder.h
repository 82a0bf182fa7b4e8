// Builds dialog template bytes (standard layout) for the walker's tests and
// its fuzz driver.
#pragma once
#include <stdint.h>
#include <vector>

class TemplateBuilder {
public:
    TemplateBuilder &Word(uint16_t w)
    {
        bytes.push_back((uint8_t)w);
        bytes.push_back((uint8_t)(w >> 8));
        return *this;
    }
    TemplateBuilder &Dword(uint32_t d) { return Word((uint16_t)d).Word((uint16_t)(d >> 16)); }
    TemplateBuilder &Number(uint16_t n) { return Word(0xFFFF).Word(n); }
    TemplateBuilder &String(const char16_t *s)
    {
        while (*s)
            Word(*s++);
        return Word(0);
    }
    TemplateBuilder &Align()
    {
        while (bytes.size() % 4)
            bytes.push_back(0);
        return *this;
    }
    // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy.
    TemplateBuilder &Header(uint32_t style, uint16_t items, int16_t cx, int16_t cy)
    {
        return Dword(style).Dword(0).Word(items).Word(0).Word(0).Word((uint16_t)cx).Word((uint16_t)cy);
    }
    // DLGITEMTEMPLATE after alignment: style, extended style, x, y, cx, cy, id.
    TemplateBuilder &Item(uint32_t style, int16_t x, int16_t y, int16_t cx, int16_t cy, uint16_t id)
    {
        return Align().Dword(style).Dword(0).Word((uint16_t)x).Word((uint16_t)y).Word((uint16_t)cx)
            .Word((uint16_t)cy).Word(id);
    }
    std::vector<uint8_t> bytes;
};

// The About dialog's template as the resource compiler lays it out.
inline std::vector<uint8_t> AboutLikeTemplate()
{
    TemplateBuilder b;
    b.Header(0x80C00040, 2, 210, 146).Word(0).Word(0).String(u"Inkleaf").Word(8).String(u"MS Shell Dlg");
    b.Item(0x50000003, 12, 11, 20, 20, 201).Number(0x0082).Number(101).Word(0);
    b.Item(0x50020000, 14, 45, 123, 88, 0xFFFF).Number(0x0082).String(u"Inkleaf\nVersion 1.09a").Word(0);
    return b.bytes;
}
