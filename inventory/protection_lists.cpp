#include "inventory/cookie_inventory.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace
{
// True when the file can be read and holds exactly strContent.
bool FileHolds(const std::string& strPath, const std::string& strContent)
{
    // One byte more than expected shows a longer file.
    std::string strFound;
    return ReadFileBytes(strPath, strContent.size() + 1, strFound) && strFound == strContent;
}

} // namespace

// A list whose file already holds the new content is left as it is: most
// refreshes change no mark, and a replacement costs two flushes to disk. A list
// that cannot be written is kept in memory and marks the records of the next
// reading, so that a mark the user set is never lost to a failed write.
void CCookieInventory::SaveProtectionList(const std::string& strPath,
                                          std::vector<std::string> names)
{
    const std::string strContent = JoinCrLfLines(names);
    if (FileHolds(strPath, strContent) || ReplaceFileContents(strPath, strContent))
        m_unsavedMarks.erase(strPath);
    else
        m_unsavedMarks[strPath] = std::move(names);
}

// Both lists are replaced whole, so a list that cannot be written keeps its old
// content on disk; the records are freed and the list emptied either way, so
// that the refresh that follows never lists a cookie twice.
void CCookieInventory::SaveAndClearCookies()
{
    // Nothing read yet (the first refresh) leaves the previous run's lists alone.
    if (m_Cookies.empty() && !m_bEmptiedByDeletion)
        return;
    m_bEmptiedByDeletion = false;
    std::vector<std::string> names[kBrowserCount];
    bool bListed[kBrowserCount] = {};
    for (const std::unique_ptr<CCookie>& pCookie : m_Cookies)
    {
        bListed[BrowserIndex(pCookie->Browser())] = true;
        if (pCookie->m_bProtected)
            names[BrowserIndex(pCookie->Browser())].push_back(pCookie->m_strName);
    }
    for (CCookieStore* pStore : m_stores)
    {
        const size_t nIndex = BrowserIndex(pStore->Browser());
        if (pStore->SavesProtectionWithoutLocations() || !pStore->Locations().empty() ||
            bListed[nIndex])
            SaveProtectionList(DataFilePath(pStore->ProtectionFile()), std::move(names[nIndex]));
    }
    FreeAllRecords();
}

std::vector<std::string> CCookieInventory::UnsavedProtectionLists() const
{
    std::vector<std::string> lists;
    for (const auto& unsaved : m_unsavedMarks)
        lists.push_back(unsaved.first);
    if (m_bSitesUnsaved)
        lists.push_back(SitesFilePath());
    return lists;
}

void CCookieInventory::LoadProtection(const std::string& strBrowser, const std::string& strFile)
{
    // A read error ends the list; the lines read before it still mark.
    std::vector<std::string> lines;
    const auto itUnsaved = m_unsavedMarks.find(strFile);
    if (itUnsaved != m_unsavedMarks.end())
        lines = itUnsaved->second;
    else
        ReadTextLines(strFile, lines);
    EBrowser browser;
    if (lines.empty() || !BrowserOfName(strBrowser, browser))
        return;
    // A mark belongs to a name and a browser: each line marks every record of
    // that name and browser, found here in one walk for all lines.
    const std::unordered_set<std::string_view> names(lines.begin(), lines.end());
    for (const std::unique_ptr<CCookie>& pCookie : m_Cookies)
        if (pCookie->Browser() == browser && names.count(pCookie->m_strName) != 0)
            pCookie->m_bProtected = 1;
}

CCookie* CCookieInventory::FindCookie(const std::string& strName,
                                      const std::string& strBrowser) const
{
    EBrowser browser;
    if (!BrowserOfName(strBrowser, browser))
        return nullptr;
    for (const std::unique_ptr<CCookie>& pCookie : m_Cookies)
        if (pCookie->Browser() == browser && pCookie->m_strName == strName)
            return pCookie.get();
    return nullptr;
}
