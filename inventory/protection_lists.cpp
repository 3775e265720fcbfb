#include "inventory/cookie_inventory.h"
#include "inventory/mark_name.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <algorithm>
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

// The lines of list, then each name of added that list does not hold yet.
std::vector<std::string> JoinMarks(std::vector<std::string> list,
                                   const std::vector<std::string>& added)
{
    const std::unordered_set<std::string> held(list.begin(), list.end());
    for (const std::string& strName : added)
        if (held.count(strName) == 0)
            list.push_back(strName);
    return list;
}
} // namespace

// A list whose file already holds the new content is left as it is: most
// refreshes change no mark, and a replacement costs two flushes to disk. A list
// that cannot be written is kept in memory and marks the records of the next
// reading, so that a mark the user set is never lost to a failed write. A list
// that cannot be read is never written over: its marks wait in memory too.
void CCookieInventory::SaveProtectionList(const std::string& strPath,
                                          std::vector<std::string> names)
{
    const auto itHeld = m_unsavedMarks.find(strPath);
    // The records hold every mark of the list, unless it could not be read at
    // the last reading: then they hold only the marks set since.
    const bool bComplete = !IsKeepListUnreadable(strPath) ||
                           (itHeld != m_unsavedMarks.end() && !itHeld->second.bAddToList);
    std::string strContent = JoinCrLfLines(names);
    if (bComplete && FileHolds(strPath, strContent))
    {
        m_unsavedMarks.erase(strPath);
        return;
    }
    std::vector<std::string> lines;
    const EKeepListRead read = ReadKeepList(strPath, lines);
    if (read == EKeepListRead::Unreadable)
    {
        // What it holds is not known: once it reads again, the marks are added
        // to what it holds then, so that nothing it protected is lost.
        if (!names.empty())
            m_unsavedMarks[strPath] = {std::move(names), true};
        else
            m_unsavedMarks.erase(strPath);
        return;
    }
    if (!bComplete)
    {
        names = JoinMarks(std::move(lines), names);
        strContent = JoinCrLfLines(names);
        if (FileHolds(strPath, strContent))
        {
            m_unsavedMarks.erase(strPath);
            return;
        }
    }
    if (ReplaceFileContents(strPath, strContent))
        m_unsavedMarks.erase(strPath);
    else
        m_unsavedMarks[strPath] = {std::move(names), false};
}

void CCookieInventory::WriteProtectionLists(const std::array<bool, kBrowserCount>& browsers)
{
    std::vector<std::string> names[kBrowserCount];
    for (const std::unique_ptr<CCookie>& pCookie : m_Cookies)
        if (pCookie->m_bProtected)
            names[BrowserIndex(pCookie->Browser())].push_back(pCookie->m_strName);
    for (CCookieStore* pStore : m_stores)
    {
        const size_t nIndex = BrowserIndex(pStore->Browser());
        if (browsers[nIndex])
            SaveProtectionList(DataFilePath(pStore->ProtectionFile()), std::move(names[nIndex]));
    }
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
    std::array<bool, kBrowserCount> listed = {};
    for (const std::unique_ptr<CCookie>& pCookie : m_Cookies)
        listed[BrowserIndex(pCookie->Browser())] = true;
    for (CCookieStore* pStore : m_stores)
    {
        const size_t nIndex = BrowserIndex(pStore->Browser());
        listed[nIndex] = listed[nIndex] || pStore->SavesProtectionWithoutLocations() ||
                         !pStore->Locations().empty();
    }
    WriteProtectionLists(listed);
    FreeAllRecords();
}

void CCookieInventory::ProtectSelected()
{
    WriteProtectionLists(ToggleSelectedProtection());
}

int CCookieInventory::SetProtectionByName(const std::vector<std::string>& names, bool bProtect,
                                          std::optional<EBrowser> browser)
{
    std::array<bool, kBrowserCount> changed = {};
    int nChanged = 0;
    for (int nRow = 0; nRow < m_CookieList.GetItemCount(); ++nRow)
    {
        CCookie* pCookie = m_CookieList.GetItemData(nRow);
        if (!pCookie || (browser && *browser != pCookie->Browser()) ||
            (pCookie->m_bProtected != 0) == bProtect ||
            std::none_of(names.begin(), names.end(),
                         [&](const std::string& strName)
                         { return SameMarkName(pCookie->Browser(), pCookie->m_strName, strName); }))
            continue;
        pCookie->m_bProtected = bProtect ? 1 : 0;
        changed[BrowserIndex(pCookie->Browser())] = true;
        ++nChanged;
        m_CookieList.SetItemImage(nRow, pCookie->m_bProtected);
        m_CookieList.SetItemText(nRow, COL_STATE, pCookie->GetState());
    }
    WriteProtectionLists(changed);
    return nChanged;
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

EKeepListRead CCookieInventory::LoadKeepList(const std::string& strPath,
                                             const std::vector<EBrowser>& browsers,
                                             std::vector<std::string>& lines)
{
    const EKeepListRead read = ReadKeepList(strPath, lines);
    const auto it =
        std::find_if(m_unreadableLists.begin(), m_unreadableLists.end(),
                     [&](const CUnreadableList& list) { return list.strPath == strPath; });
    if (it != m_unreadableLists.end())
        m_unreadableLists.erase(it);
    if (read == EKeepListRead::Unreadable)
        m_unreadableLists.push_back({strPath, browsers});
    m_bBlocked = {};
    for (const CUnreadableList& list : m_unreadableLists)
        for (EBrowser browser : list.browsers)
            m_bBlocked[BrowserIndex(browser)] = true;
    for (const std::unique_ptr<CCookie>& pCookie : m_Cookies)
        pCookie->m_bMarkUnknown = m_bBlocked[BrowserIndex(pCookie->Browser())];
    return read;
}

bool CCookieInventory::IsKeepListUnreadable(const std::string& strPath) const
{
    return std::any_of(m_unreadableLists.begin(), m_unreadableLists.end(),
                       [&](const CUnreadableList& list) { return list.strPath == strPath; });
}

void CCookieInventory::LoadProtection(const std::string& strBrowser, const std::string& strFile)
{
    EBrowser browser;
    if (!BrowserOfName(strBrowser, browser))
        return;
    // A read error ends the list; the lines read before it still mark.
    std::vector<std::string> lines;
    const EKeepListRead read = LoadKeepList(strFile, {browser}, lines);
    const auto itUnsaved = m_unsavedMarks.find(strFile);
    if (itUnsaved != m_unsavedMarks.end())
    {
        CHeldMarks& held = itUnsaved->second;
        if (!held.bAddToList || read == EKeepListRead::Unreadable)
            lines = held.names;
        else
        {
            // The list reads again: the marks set meanwhile join it, and the
            // next save writes them.
            lines = JoinMarks(std::move(lines), held.names);
            held = {lines, false};
        }
    }
    if (lines.empty())
        return;
    // A mark belongs to a name and a browser: each line marks every record of
    // that name and browser, found here in one walk for all lines.
    const bool bIgnoreCase = NamesIgnoreCase(browser);
    const std::unordered_set<std::string_view, CMarkNameHash, CMarkNameEqual> names(
        lines.begin(), lines.end(), lines.size(), CMarkNameHash{bIgnoreCase},
        CMarkNameEqual{bIgnoreCase});
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
        if (pCookie->Browser() == browser && SameMarkName(browser, pCookie->m_strName, strName))
            return pCookie.get();
    return nullptr;
}
