#include "cli/cli_inventory.h"

#include "app/app_folders.h"
#include "inventory/cookie_inventory.h"
#include "locations/location_file.h"
#include "platform/path.h"
#include "platform/text_file.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace
{
// Reads the folder's remembered locations and the stores, as the main window
// does when it opens.
void ReadInventory(CCookieInventory& inventory, const std::string& strFolder)
{
    LoadLocations(AppendPathPart(strFolder, LOCATION_FILE_NAME), inventory.m_IELocations,
                  inventory.m_NSLocations);
    inventory.RefreshCookies();
}

// The file that keeps a record's cookie.
std::string StoreOf(const CCookie& cookie)
{
    if (const auto* pIE = dynamic_cast<const CIECookie*>(&cookie))
        return pIE->m_strPath;
    if (const auto* pNS = dynamic_cast<const CNSCookie*>(&cookie))
        return pNS->m_strFile;
    return std::string();
}

// Browser, name and store: what tells a cookie still on disk after a deletion.
using CCookieKey = std::tuple<std::string, std::string, std::string>;

CCookieKey KeyOf(const CCookie& cookie)
{
    return {cookie.GetBrowser(), cookie.m_strName, StoreOf(cookie)};
}

std::string ProtectionListOf(const std::string& strFolder, const CCookie& cookie)
{
    return AppendPathPart(strFolder, cookie.GetBrowser() == IE_BROWSER_NAME ? IE_PROTECTION_FILE
                                                                            : NS_PROTECTION_FILE);
}

// Saves the marks and frees the records, as the window does when it closes;
// returns the protection lists whose files do not hold the marks afterwards.
std::vector<std::string> SaveProtection(CCookieInventory& inventory, const std::string& strFolder)
{
    std::map<std::string, std::vector<std::string>> expected;
    if (!inventory.m_Cookies.empty())
    {
        expected[AppendPathPart(strFolder, IE_PROTECTION_FILE)];
        expected[AppendPathPart(strFolder, NS_PROTECTION_FILE)];
    }
    for (const CCookie* pCookie : inventory.m_Cookies)
        if (pCookie->m_bProtected)
            expected[ProtectionListOf(strFolder, *pCookie)].push_back(pCookie->m_strName);
    inventory.SaveAndClearCookies();

    std::vector<std::string> unwritten;
    for (auto& [strList, names] : expected)
    {
        std::vector<std::string> lines;
        const bool bRead = ReadTextLines(strList, lines);
        std::sort(lines.begin(), lines.end());
        std::sort(names.begin(), names.end());
        if (!bRead || lines != names)
            unwritten.push_back(strList);
    }
    return unwritten;
}
} // namespace

std::vector<CCliRow> ListCookies(const std::string& strFolder, int nSortColumn)
{
    CCookieInventory inventory(strFolder);
    ReadInventory(inventory, strFolder);
    if (nSortColumn >= 0)
        inventory.SortByColumn(nSortColumn);
    const CCookieListModel& list = inventory.m_CookieList;
    std::vector<CCliRow> rows;
    rows.reserve(static_cast<size_t>(list.GetItemCount()));
    for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
    {
        const CCookieRow& row = list.GetRow(nRow);
        rows.push_back({row.strText[COL_COOKIE], row.strText[COL_STATE], row.strText[COL_BROWSER]});
    }
    return rows; // the inventory goes without writing anything
}

CDeleteAllResult DeleteAllCookies(const std::string& strFolder)
{
    CDeleteAllResult result;
    result.deleted = {{IE_BROWSER_NAME, 0}, {NS_BROWSER_NAME, 0}};
    CCookieInventory inventory(strFolder);
    ReadInventory(inventory, strFolder);
    std::map<CCookieKey, int> doomed;
    for (const CCookie* pCookie : inventory.m_Cookies)
    {
        const std::string strBrowser = pCookie->GetBrowser();
        auto it = std::find_if(result.deleted.begin(), result.deleted.end(),
                               [&](const auto& entry) { return entry.first == strBrowser; });
        if (it == result.deleted.end())
            it = result.deleted.insert(it, {strBrowser, 0});
        if (!pCookie->m_bProtected)
        {
            ++it->second;
            ++doomed[KeyOf(*pCookie)];
        }
    }
    inventory.DeleteAllUnprotected();
    result.unwrittenLists = SaveProtection(inventory, strFolder);

    // A cookie that a fresh reading still lists unprotected was not deleted.
    CCookieInventory check(strFolder);
    ReadInventory(check, strFolder);
    std::set<std::string> stores;
    for (const CCookie* pCookie : check.m_Cookies)
    {
        if (pCookie->m_bProtected)
            continue;
        const auto it = doomed.find(KeyOf(*pCookie));
        if (it == doomed.end() || it->second == 0)
            continue;
        --it->second;
        for (auto& entry : result.deleted)
            if (entry.first == pCookie->GetBrowser())
                --entry.second;
        if (stores.insert(StoreOf(*pCookie)).second)
            result.unwrittenStores.push_back(StoreOf(*pCookie));
    }
    return result;
}

CMarkResult SetProtection(const std::string& strFolder, const std::vector<std::string>& names,
                          bool bProtect)
{
    CMarkResult result;
    CCookieInventory inventory(strFolder);
    ReadInventory(inventory, strFolder);
    const std::set<std::string> wanted(names.begin(), names.end());
    std::set<std::string> found;
    CCookieListModel& list = inventory.m_CookieList;
    list.ClearSelection();
    for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
    {
        const CCookie* pCookie = list.GetItemData(nRow);
        if (!pCookie || wanted.count(pCookie->m_strName) == 0)
            continue;
        found.insert(pCookie->m_strName);
        if ((pCookie->m_bProtected != 0) != bProtect)
        {
            list.SetItemSelected(nRow, true);
            ++result.nChanged;
        }
    }
    for (const std::string& strName : names)
        if (found.count(strName) == 0)
            result.unknownNames.push_back(strName);
    if (!result.unknownNames.empty())
        return result; // nothing is changed or written
    inventory.ToggleSelectedProtection();
    result.unwrittenLists = SaveProtection(inventory, strFolder);
    return result;
}
