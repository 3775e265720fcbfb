#include "platform/folder_search.h"

#include "platform/compare_no_case.h"
#include "platform/folder_search_os.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace
{
bool MatchFrom(const char* pName, const char* pNameEnd, const char* pPat, const char* pPatEnd)
{
    // Iterative wildcard match with one back-tracking point for the last '*'.
    const char* pStar = nullptr;
    const char* pStarName = nullptr;
    while (pName != pNameEnd)
    {
        if (pPat != pPatEnd &&
            (*pPat == '?' || *pPat == *pName || FoldAsciiCase(*pPat) == FoldAsciiCase(*pName)))
        {
            ++pName;
            ++pPat;
        }
        else if (pPat != pPatEnd && *pPat == '*')
        {
            pStar = pPat++;
            pStarName = pName;
        }
        else if (pStar)
        {
            pPat = pStar + 1;
            pName = ++pStarName;
        }
        else
            return false;
    }
    while (pPat != pPatEnd && *pPat == '*')
        ++pPat;
    return pPat == pPatEnd;
}
} // namespace

bool MatchesFindPattern(const std::string& strName, const std::string& strPattern)
{
    size_t nPatLen = strPattern.size();
    while (nPatLen > 0 && (strPattern[nPatLen - 1] == '.' || strPattern[nPatLen - 1] == ' '))
        --nPatLen;
    if (nPatLen == 0)
        return !strPattern.empty();
    const char* pPat = strPattern.data();
    return MatchFrom(strName.data(), strName.data() + strName.size(), pPat, pPat + nPatLen);
}

bool FindEntries(const std::string& strFolder, const std::string& strPattern,
                 std::vector<CFindEntry>& entries)
{
    const size_t nBefore = entries.size();
    for (const char* pDot : {".", ".."})
        if (MatchesFindPattern(pDot, strPattern))
            entries.push_back({pDot, true});
    const size_t nFirst = entries.size();
    if (!ListFolderEntries(strFolder, strPattern, entries))
    {
        entries.resize(nBefore);
        return false;
    }
    std::sort(entries.begin() + static_cast<std::ptrdiff_t>(nFirst), entries.end(),
              [](const CFindEntry& a, const CFindEntry& b) { return a.strName < b.strName; });
    return true;
}

bool EntryExists(const std::string& strPath)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(strPath, ec));
}

bool IsRegularFile(const std::string& strPath)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::status(strPath, ec));
}

bool IsFolder(const std::string& strPath)
{
    std::error_code ec;
    return std::filesystem::is_directory(std::filesystem::status(strPath, ec));
}
