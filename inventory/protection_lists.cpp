#include "inventory/cookie_inventory.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <string>
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
    CTextFileReader reader;
    if (!reader.Open(strFile))
        return;
    // The first record of each name, as FindCookie's walk from the first slot
    // would find it, without a walk per line.
    std::unordered_map<std::string, CCookie*> firstByName;
    for (CCookie* pCookie : m_Cookies)
        if (pCookie->GetBrowser() == strBrowser)
            firstByName.emplace(pCookie->m_strName, pCookie);
    std::string strLine;
    while (reader.ReadLine(strLine))
    {
        const auto it = firstByName.find(strLine);
        if (it != firstByName.end())
            it->second->m_bProtected = 1;
    }
}

CCookie* CCookieInventory::FindCookie(const std::string& strName,
                                      const std::string& strBrowser) const
{
    for (CCookie* pCookie : m_Cookies)
        if (pCookie->GetName() == strName && pCookie->GetBrowser() == strBrowser)
            return pCookie;
    return nullptr;
}
