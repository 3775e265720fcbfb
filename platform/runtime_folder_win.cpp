#include "platform/path.h"
#include "platform/runtime_folder.h"

#include <windows.h>

// The user's own temporary folder; Windows keeps it from other users.
std::string GetPrivateRuntimeFolder()
{
    char szFolder[MAX_PATH + 1];
    const DWORD nLength = GetTempPathA(sizeof(szFolder), szFolder);
    if (nLength == 0 || nLength > MAX_PATH)
        return std::string();
    return StripTrailingSeparator(std::string(szFolder, nLength));
}
