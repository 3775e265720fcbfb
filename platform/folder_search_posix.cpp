#include "platform/folder_search_os.h"
#include "platform/path.h"

#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace
{
bool IsDotEntry(const char* pszName)
{
    return std::strcmp(pszName, ".") == 0 || std::strcmp(pszName, "..") == 0;
}

// The entry's type from the listing itself; only a file system that does not
// give it costs a call to lstat.
bool IsRealDirectory(const std::string& strFolder, const dirent* pEntry)
{
    if (pEntry->d_type != DT_UNKNOWN)
        return pEntry->d_type == DT_DIR;
    struct stat st;
    return lstat(AppendPathPart(strFolder, pEntry->d_name).c_str(), &st) == 0 &&
           S_ISDIR(st.st_mode);
}
} // namespace

bool ListFolderEntries(const std::string& strFolder, const std::string& strPattern,
                       std::vector<CFindEntry>& entries)
{
    const std::string strOpened = strFolder.empty() ? std::string(".") : strFolder;
    DIR* pDir = opendir(strOpened.c_str());
    if (!pDir)
        return false;
    std::string strName;
    // A read error ends the listing as its end does.
    while (const dirent* pEntry = readdir(pDir))
    {
        if (IsDotEntry(pEntry->d_name))
            continue;
        strName.assign(pEntry->d_name);
        if (MatchesFindPattern(strName, strPattern))
            entries.push_back({strName, IsRealDirectory(strOpened, pEntry)});
    }
    closedir(pDir);
    return true;
}
