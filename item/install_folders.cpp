#include "install_folders.h"
#include <string.h>

// The device's program folder in each language the item knows, in the
// order the item tries them; the item's files are in "inkleaf_item" there.
static const LPCWSTR kProgramFolders[INSTALL_FOLDER_COUNT] = {
    L"\\Programmi",
    L"\\program files",
    L"\\Programme",
    L"\\Program",
    L"\\ToBeFilled",
    L"\\Archivos de programa",
    L"\\Arquivos de programas",
    L"\\Ohjelmatiedostot",
    L"\\Programas",
    L"\\ProgramFiler",
    L"\\Programmer",
    L"\\Programmes",
};
static const WCHAR kItemFolder[] = L"\\inkleaf_item";

// Joins the parts into `path`; false when they do not fit.
static bool JoinPath(WCHAR path[MAX_PATH], LPCWSTR first, LPCWSTR second, LPCWSTR third)
{
    LPCWSTR parts[3] = {first, second, third};
    size_t length = 0;
    for (int i = 0; i < 3; i++) {
        size_t units = wcslen(parts[i]);
        if (length + units + 1 > MAX_PATH)
            return false;
        memcpy(path + length, parts[i], units * sizeof(WCHAR));
        length += units;
    }
    path[length] = 0;
    return true;
}

bool IsListedInstallFolder(LPCWSTR folder)
{
    if (folder[0] && folder[1] == L':')
        folder += 2;
    for (int index = 1; index <= INSTALL_FOLDER_COUNT; index++) {
        WCHAR listed[MAX_PATH];
        if (InstallFolder(index, listed) && _wcsicmp(folder, listed) == 0)
            return true;
    }
    return false;
}

void FindOwnInstallFolder(HINSTANCE module)
{
    WCHAR *folder = g_item.ownFolder;
    folder[0] = 0;
    DWORD length = GetModuleFileNameW(module, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        folder[0] = 0;
        return;
    }
    WCHAR *lastSeparator = wcsrchr(folder, L'\\');
    if (!lastSeparator) {
        folder[0] = 0;
        return;
    }
    *lastSeparator = 0;
    if (IsListedInstallFolder(folder))
        folder[0] = 0;
}

int FirstInstallFolderIndex()
{
    return g_item.ownFolder[0] ? OWN_FOLDER_INDEX : 1;
}

bool InstallFolder(int index, WCHAR folder[MAX_PATH])
{
    if (index == OWN_FOLDER_INDEX && g_item.ownFolder[0])
        return JoinPath(folder, g_item.ownFolder, L"", L"");
    if (index < 1 || index > INSTALL_FOLDER_COUNT)
        return false;
    return JoinPath(folder, kProgramFolders[index - 1], kItemFolder, L"");
}

bool InstallFolderFile(int index, LPCWSTR fileName, WCHAR path[MAX_PATH])
{
    WCHAR folder[MAX_PATH];
    return InstallFolder(index, folder) && JoinPath(path, folder, L"\\", fileName);
}

bool BoardPath(int index, WCHAR path[MAX_PATH])
{
    return InstallFolderFile(index, L"inkleaf_board.bmp", path);
}

void EditorPath(int installFolderIndex, WCHAR path[MAX_PATH])
{
    if (installFolderIndex == 2) {
        // The editor's list spells this folder "program Files"; the file
        // system does not tell the two apart.
        JoinPath(path, L"\\program Files", kItemFolder, L"\\inkpad_app.exe");
        return;
    }
    if (!InstallFolderFile(installFolderIndex, L"inkpad_app.exe", path))
        JoinPath(path, kProgramFolders[1], kItemFolder, L"\\inkpad_app.exe");
}
