#include "platform/system_folders.h"

#include <windows.h>

bool GetCurrentFolder(std::string& strFolder)
{
    char szFolder[MAX_PATH + 1] = {};
    if (GetCurrentDirectoryA(MAX_PATH - 1, szFolder) == 0)
        return false;
    strFolder = szFolder;
    return true;
}

bool GetWindowsFolder(std::string& strFolder)
{
    char szFolder[MAX_PATH + 1] = {};
    if (GetWindowsDirectoryA(szFolder, MAX_PATH - 1) == 0)
        return false;
    strFolder = szFolder;
    return true;
}
