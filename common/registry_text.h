// Text encoding of registry values, free of Win32 calls so that it can be
// tested and fuzzed natively.
#pragma once
#include "text_units.h"

// Number of code units before the first NUL, at most `capacity`.
int TextLength(const TextUnit *text, int capacity);

// Finishes a registry read of `bytes` bytes into `buffer` (room for
// `capacity` units): terminates the text after the received characters and
// returns true, or returns false when the data did not fit or its text fills
// the whole buffer, leaving no room for the terminator. Odd byte counts drop
// the half unit.
bool TerminateReceivedText(TextUnit *buffer, int capacity, unsigned long bytes);

// Decimal to integer as the registry values are read: leading white space,
// an optional sign, then digits up to the first non-digit; a text without
// digits reads as 0. Returns false when the number does not fit in 32 bits.
bool ParseDecimal(const TextUnit *text, int *value);

// The settings store's reading of a number value: `*field` takes the
// number when the text reads as one within [lo, hi] and keeps its value
// otherwise.
void TakeNumberText(const TextUnit *text, int lo, int hi, int *field);

// An on/off value: 1 exactly when the text reads as the number 1.
int FlagFromText(const TextUnit *text);

// Copies a page text received within PAGE_TEXT_UNITS units, terminator
// included, into `page` (room for PAGE_TEXT_UNITS units).
void CopyPageText(TextUnit *page, const TextUnit *received);

// Writes `value` as "%d" does, terminated, into `out` (room for `capacity`
// units; 12 hold any value). Returns the number of characters; a number
// that does not fit leaves `out` empty and returns 0.
int FormatDecimal(int value, TextUnit *out, int capacity);
