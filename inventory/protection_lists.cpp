#include "inventory/cookie_inventory.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Both lists are replaced whole, so a list that cannot be written keeps its old
// content; the records are freed and the list emptied either way, so that the
// refresh that follows never lists a cookie twice.
void CCookieInventory::SaveAndClearCookies()
{
    if (m_Cookies.empty())
        return;
    std::vector<std::string> ieNames, nsNames;
    for (const CCookie* pCookie : m_Cookies)
    {
        if (!pCookie->m_bProtected)
            continue;
        if (pCookie->GetBrowser() == IE_BROWSER_NAME)
            ieNames.push_back(pCookie->m_strName);
        else
            nsNames.push_back(pCookie->m_strName);
    }
    ReplaceFileContents(DataFilePath(IE_PROTECTION_FILE), JoinCrLfLines(ieNames));
    ReplaceFileContents(DataFilePath(NS_PROTECTION_FILE), JoinCrLfLines(nsNames));
    FreeAllRecords();
}

void CCookieInventory::LoadProtection(const std::string& strBrowser, const std::string& strFile)
{
    // A read error ends the list; the lines read before it still mark.
    std::vector<std::string> lines;
    ReadTextLines(strFile, lines);
    if (lines.empty())
        return;
    // Each line marks what FindCookie would find for it, the first record of
    // that name and browser, found here in one walk for all lines.
    std::unordered_map<std::string_view, CCookie*> firstByName;
    for (const std::string& strLine : lines)
        firstByName.emplace(strLine, nullptr);
    for (CCookie* pCookie : m_Cookies)
    {
        const auto it = firstByName.find(pCookie->m_strName);
        if (it != firstByName.end() && !it->second && pCookie->GetBrowser() == strBrowser)
            it->second = pCookie;
    }
    for (const auto& entry : firstByName)
        if (entry.second)
            entry.second->m_bProtected = 1;
}

CCookie* CCookieInventory::FindCookie(const std::string& strName,
                                      const std::string& strBrowser) const
{
    for (CCookie* pCookie : m_Cookies)
        if (pCookie->GetName() == strName && pCookie->GetBrowser() == strBrowser)
            return pCookie;
    return nullptr;
}
