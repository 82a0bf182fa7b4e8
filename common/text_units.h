// The UTF-16 code unit of page texts and registry values. On Windows it is
// wchar_t; the Win32-free logic also builds natively, where it is char16_t.
#pragma once
#ifdef _WIN32
typedef wchar_t TextUnit;
#define TEXT_UNITS(s) L##s
#else
typedef char16_t TextUnit;
#define TEXT_UNITS(s) u##s
#endif
// TEXT_UNITS of a macro that stands for a string literal.
#define TEXT_UNITS_OF(s) TEXT_UNITS(s)
