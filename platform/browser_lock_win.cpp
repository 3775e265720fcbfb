#include "platform/browser_lock.h"
#include "platform/path.h"

#include <windows.h>

namespace
{
// The browsers keep these files open without sharing while they run.
bool IsHeldOpen(const std::string& strPath)
{
    const HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE)
    {
        CloseHandle(hFile);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}
} // namespace

bool IsFirefoxProfileRunning(const std::string& strProfileFolder)
{
    return IsHeldOpen(AppendPathPart(strProfileFolder, "parent.lock"));
}

bool IsChromiumProfileRunning(const std::string& strUserDataFolder)
{
    return IsHeldOpen(AppendPathPart(strUserDataFolder, "lockfile"));
}

bool IsEpiphanyProfileRunning(const std::string&)
{
    return false; // GNOME Web does not run on Windows
}
