// Small helpers of the Today stand-in, used by all its files and depending
// on none of them: UTF-8 and UTF-16 text, error lines on stderr, number
// parsing and the mapping of command-line paths.
#pragma once
#include <string>

std::string ToUtf8(const std::wstring &w);
std::wstring FromUtf8(const std::string &s);
// "today_host: " and the formatted text, as one line on stderr.
void ErrorOut(const wchar_t *fmt, ...);
std::wstring Trim(const std::wstring &s);
bool ParseInt(const std::wstring &s, long *out);
// Notes the current directory as the one relative paths are taken from;
// called before anything changes it.
void RememberStartDirectory();
std::wstring ResolvePath(const std::wstring &path);
