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
    std::vector<std::string> ieLocations, nsLocations;
    LoadLocations(AppendPathPart(strFolder, LOCATION_FILE_NAME), ieLocations, nsLocations);
    inventory.SetLocations(EBrowser::InternetExplorer, std::move(ieLocations));
    inventory.SetLocations(EBrowser::Netscape, std::move(nsLocations));
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

// The protection list that holds a record's mark; "" for a browser whose list
// is not checked here.
std::string ProtectionListOf(const std::string& strFolder, EBrowser browser)
{
    switch (browser)
    {
    case EBrowser::InternetExplorer:
        return AppendPathPart(strFolder, IE_PROTECTION_FILE);
    case EBrowser::Netscape:
        return AppendPathPart(strFolder, NS_PROTECTION_FILE);
    }
    return std::string();
}

// Saves the marks and frees the records, as the window does when it closes;
// returns the protection lists whose files do not hold the marks afterwards.
std::vector<std::string> SaveProtection(CCookieInventory& inventory, const std::string& strFolder)
{
    std::map<std::string, std::vector<std::string>> expected;
    if (!inventory.Cookies().empty())
        for (size_t i = 0; i < kBrowserCount; ++i)
            expected[ProtectionListOf(strFolder, static_cast<EBrowser>(i))];
    for (const auto& pCookie : inventory.Cookies())
        if (pCookie->m_bProtected)
            expected[ProtectionListOf(strFolder, pCookie->Browser())].push_back(pCookie->m_strName);
    expected.erase(std::string());
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
    const CCookieListModel& list = inventory.CookieList();
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
    for (size_t i = 0; i < kBrowserCount; ++i)
        result.deleted.emplace_back(BrowserName(static_cast<EBrowser>(i)), 0);
    CCookieInventory inventory(strFolder);
    ReadInventory(inventory, strFolder);
    std::map<CCookieKey, int> doomed;
    for (const auto& pCookie : inventory.Cookies())
    {
        if (pCookie->m_bProtected)
            continue;
        ++result.deleted[BrowserIndex(pCookie->Browser())].second;
        ++doomed[KeyOf(*pCookie)];
    }
    inventory.DeleteAllUnprotected();
    result.unwrittenLists = SaveProtection(inventory, strFolder);

    // A cookie that a fresh reading still lists unprotected was not deleted.
    CCookieInventory check(strFolder);
    ReadInventory(check, strFolder);
    std::set<std::string> stores;
    for (const auto& pCookie : check.Cookies())
    {
        if (pCookie->m_bProtected)
            continue;
        const auto it = doomed.find(KeyOf(*pCookie));
        if (it == doomed.end() || it->second == 0)
            continue;
        --it->second;
        --result.deleted[BrowserIndex(pCookie->Browser())].second;
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
    CCookieListModel& list = inventory.CookieList();
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
        if (found.insert(strName).second)
            result.unknownNames.push_back(strName); // each unknown name once
    if (!result.unknownNames.empty())
        return result; // nothing is changed or written
    inventory.ToggleSelectedProtection();
    result.unwrittenLists = SaveProtection(inventory, strFolder);
    return result;
}
