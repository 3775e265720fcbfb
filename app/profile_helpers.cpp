#include "app/profile_helpers.h"

#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/profile.h"

#include <vector>

std::string ReadProfileString(const std::string& strSection, const std::string& strKey,
                              const std::string& strDefault, const std::string& strPath)
{
    return ProfileReadStringWithSize(strSection, strKey, strDefault, PROFILE_VALUE_SIZE, strPath);
}

bool PathExists(const std::string& strPath)
{
    if (strPath.empty())
        return false;
    if (EntryExists(strPath))
        return true;
    const size_t nSep = strPath.rfind(PATH_SEP);
    const std::string strName = nSep == std::string::npos ? strPath : strPath.substr(nSep + 1);
    if (strName.find_first_of("*?") == std::string::npos)
        return false;
    std::string strFolder = ".";
    if (nSep != std::string::npos)
        strFolder = nSep == 0 ? std::string(PATH_SEP_STR) : strPath.substr(0, nSep);
    std::vector<CFindEntry> entries;
    return FindEntries(strFolder, strName, entries) && !entries.empty();
}
