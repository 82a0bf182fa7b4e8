// The "install", "remove-key" and "dump-key" commands: registering the
// item under the Today item key, taking that key away with the item's own
// values (a device whose item was never started), and writing every value
// of that key as one text line (name, type, stored byte count, data).
#include "item_key.h"
#include "text_and_paths.h"
#include "common/item_key.h"
#include "platform/today.h"

#include <algorithm>
#include <cstdio>
#include <vector>

const wchar_t kItemKeyPath[] = ITEM_KEY_PATH;

static bool SetStringValue(HKEY key, const wchar_t *name, const std::wstring &text)
{
    return RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)text.c_str(),
                          (DWORD)((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

static bool SetDwordValue(HKEY key, const wchar_t *name, DWORD value)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE *)&value,
                          sizeof(value)) == ERROR_SUCCESS;
}

int InstallItem(const std::wstring &dllPath)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kItemKeyPath, 0, NULL, 0, KEY_SET_VALUE,
                        NULL, &key, NULL) != ERROR_SUCCESS) {
        ErrorOut(L"cannot create HKLM\\%ls", kItemKeyPath);
        return 1;
    }
    bool ok = SetStringValue(key, TEXT_UNITS_OF(TODAY_VALUE_DLL), dllPath) &&
              SetDwordValue(key, TEXT_UNITS_OF(TODAY_VALUE_TYPE), tlitCustom) &&
              SetDwordValue(key, TEXT_UNITS_OF(TODAY_VALUE_ENABLED), 1) &&
              SetDwordValue(key, TEXT_UNITS_OF(TODAY_VALUE_OPTIONS), 0) &&
              SetDwordValue(key, TEXT_UNITS_OF(TODAY_VALUE_ORDER), 0);
    RegCloseKey(key);
    if (!ok) ErrorOut(L"cannot write the values of HKLM\\%ls", kItemKeyPath);
    return ok ? 0 : 1;
}

int RemoveItemKey()
{
    LONG result = RegDeleteTreeW(HKEY_LOCAL_MACHINE, kItemKeyPath);
    if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND)
        return 0;
    ErrorOut(L"cannot delete HKLM\\%ls", kItemKeyPath);
    return 1;
}

static const wchar_t *RegTypeName(DWORD type, wchar_t *buf)
{
    switch (type) {
    case REG_NONE: return L"REG_NONE";
    case REG_SZ: return L"REG_SZ";
    case REG_EXPAND_SZ: return L"REG_EXPAND_SZ";
    case REG_BINARY: return L"REG_BINARY";
    case REG_DWORD: return L"REG_DWORD";
    case REG_DWORD_BIG_ENDIAN: return L"REG_DWORD_BIG_ENDIAN";
    case REG_LINK: return L"REG_LINK";
    case REG_MULTI_SZ: return L"REG_MULTI_SZ";
    case REG_RESOURCE_LIST: return L"REG_RESOURCE_LIST";
    case REG_FULL_RESOURCE_DESCRIPTOR: return L"REG_FULL_RESOURCE_DESCRIPTOR";
    case REG_RESOURCE_REQUIREMENTS_LIST: return L"REG_RESOURCE_REQUIREMENTS_LIST";
    case REG_QWORD: return L"REG_QWORD";
    }
    swprintf(buf, 32, L"REG_TYPE_%lu", (unsigned long)type);
    return buf;
}

// Text with its control characters made visible: \r \n \t \0, others \xNN.
static std::wstring EscapeText(const wchar_t *text, size_t count)
{
    std::wstring out;
    for (size_t i = 0; i < count; i++) {
        wchar_t c = text[i];
        switch (c) {
        case L'\r': out += L"\\r"; break;
        case L'\n': out += L"\\n"; break;
        case L'\t': out += L"\\t"; break;
        case 0: out += L"\\0"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                wchar_t hex[8];
                swprintf(hex, 8, L"\\x%02x", (unsigned)c);
                out += hex;
            } else {
                out += c;
            }
        }
    }
    return out;
}

static std::wstring HexBytes(const BYTE *data, DWORD size)
{
    std::wstring out;
    for (DWORD i = 0; i < size; i++) {
        wchar_t hex[4];
        swprintf(hex, 4, L"%02x", data[i]);
        if (i) out += L' ';
        out += hex;
    }
    return out;
}

static std::wstring FormatValueData(DWORD type, const BYTE *data, DWORD size)
{
    wchar_t num[32];
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
    case REG_LINK: {
        // Every stored code unit, a stored terminator included; an odd last
        // byte is shown as \xNN.
        std::wstring text((const wchar_t *)data, size / sizeof(wchar_t));
        std::wstring out = EscapeText(text.data(), text.size());
        if (size & 1) {
            swprintf(num, 32, L"\\x%02x", data[size - 1]);
            out += num;
        }
        return out;
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        if (size == 4) {
            DWORD v = data[0] | (data[1] << 8) | (data[2] << 16) | ((DWORD)data[3] << 24);
            if (type == REG_DWORD_BIG_ENDIAN)
                v = data[3] | (data[2] << 8) | (data[1] << 16) | ((DWORD)data[0] << 24);
            swprintf(num, 32, L"%lu", (unsigned long)v);
            return num;
        }
        break;
    case REG_QWORD:
        if (size == 8) {
            unsigned long long v = 0;
            for (int i = 7; i >= 0; i--) v = (v << 8) | data[i];
            swprintf(num, 32, L"%llu", v);
            return num;
        }
        break;
    }
    return HexBytes(data, size);
}

struct DumpedValue {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
};

static bool DumpedValueLess(const DumpedValue &a, const DumpedValue &b)
{
    return a.name < b.name;
}

int DumpKey(const std::wstring &outPath)
{
    FILE *out = _wfopen(outPath.c_str(), L"wb");
    if (!out) {
        ErrorOut(L"cannot write %ls", outPath.c_str());
        return 1;
    }
    std::vector<DumpedValue> values;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kItemKeyPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        DWORD maxName = 0, maxData = 0;
        RegQueryInfoKeyW(key, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &maxName, &maxData, NULL, NULL);
        std::vector<wchar_t> name(maxName + 2);
        std::vector<BYTE> data(maxData + 2);
        for (DWORD i = 0;; i++) {
            DWORD nameLen = (DWORD)name.size(), dataLen = (DWORD)data.size(), type = 0;
            LONG r = RegEnumValueW(key, i, name.data(), &nameLen, NULL, &type, data.data(), &dataLen);
            if (r == ERROR_MORE_DATA) {
                // grown since RegQueryInfoKeyW; ask again with room to spare
                name.resize(name.size() * 2 + 256);
                data.resize(data.size() * 2 + 256);
                i--;
                continue;
            }
            if (r != ERROR_SUCCESS) break;
            DumpedValue v;
            v.name.assign(name.data(), nameLen);
            v.type = type;
            v.data.assign(data.begin(), data.begin() + dataLen);
            values.push_back(v);
        }
        RegCloseKey(key);
    } else {
        ErrorOut(L"HKLM\\%ls does not exist; nothing to dump", kItemKeyPath);
    }
    std::sort(values.begin(), values.end(), DumpedValueLess);
    for (size_t i = 0; i < values.size(); i++) {
        const DumpedValue &v = values[i];
        wchar_t typeBuf[32], bytes[16];
        swprintf(bytes, 16, L"%lu", (unsigned long)v.data.size());
        std::wstring line = EscapeText(v.name.data(), v.name.size()) + L"\t" +
                            RegTypeName(v.type, typeBuf) + L"\t" + bytes + L"\t" +
                            FormatValueData(v.type, v.data.data(), (DWORD)v.data.size()) + L"\n";
        std::string utf8 = ToUtf8(line);
        fwrite(utf8.data(), 1, utf8.size(), out);
    }
    bool ok = fclose(out) == 0;
    return ok ? 0 : 1;
}
