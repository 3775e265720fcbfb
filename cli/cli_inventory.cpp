#include "cli/cli_inventory.h"

#include "app/app_folders.h"
#include "app/settings.h"
#include "inventory/cookie_inventory.h"
#include "inventory/mark_name.h"
#include "locations/browser_locations.h"
#include "platform/path.h"

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
    LoadInventoryLocations(inventory, AppendPathPart(strFolder, LOCATION_FILE_NAME));
    inventory.RefreshCookies();
}

// Browser, name and store: what tells a cookie still on disk after a deletion.
using CCookieKey = std::tuple<std::string, std::string, std::string>;

CCookieKey KeyOf(const CCookie& cookie)
{
    return {cookie.GetBrowser(), cookie.m_strName, cookie.StoreFile()};
}

// Saves the marks and frees the records, as the window does when it closes;
// returns the protection lists that could not be written.
std::vector<std::string> SaveProtection(CCookieInventory& inventory)
{
    inventory.SaveAndClearCookies();
    return inventory.UnsavedProtectionLists();
}
} // namespace

std::vector<CCliRow> ListCookies(const std::string& strFolder, int nSortColumn, bool bDetails)
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
        rows.push_back({row.strText[COL_COOKIE], row.strText[COL_STATE], row.strText[COL_BROWSER],
                        bDetails ? row.pData->GetDetails() : CCookieDetails()});
    }
    return rows; // the inventory goes without writing anything
}

CDeleteAllResult DeleteAllCookies(const std::string& strFolder)
{
    CDeleteAllResult result;
    CCookieInventory inventory(strFolder);
    inventory.SetUndoRecording(ReadUndoKeep(AppendPathPart(strFolder, SETTINGS_FILE_NAME)));
    inventory.SetDeletionSource(EUndoHow::Command);
    ReadInventory(inventory, strFolder);
    int deleted[kBrowserCount] = {};
    std::map<CCookieKey, int> doomed;
    for (const auto& pCookie : inventory.Cookies())
    {
        if (pCookie->IsKept())
            continue;
        ++deleted[BrowserIndex(pCookie->Browser())];
        ++doomed[KeyOf(*pCookie)];
    }
    for (const auto& list : inventory.UnreadableLists())
    {
        std::vector<std::string> browsers;
        for (EBrowser browser : list.browsers)
            browsers.push_back(BrowserName(browser));
        result.unreadableLists.emplace_back(list.strPath, std::move(browsers));
    }
    inventory.DeleteAllUnprotected();
    result.strUndoRefusal = inventory.UndoRefusal();
    // The records of a running browser are skipped like protected ones.
    for (const auto& pCookie : inventory.Cookies())
    {
        const auto it = doomed.find(KeyOf(*pCookie));
        if (pCookie->IsInUse() && !pCookie->IsKept() && it != doomed.end() && it->second > 0)
        {
            --it->second;
            --deleted[BrowserIndex(pCookie->Browser())];
        }
    }
    result.unwrittenLists = SaveProtection(inventory);

    // A cookie that a fresh reading still lists unprotected was not deleted.
    CCookieInventory check(strFolder);
    ReadInventory(check, strFolder);
    std::set<std::string> stores;
    for (const auto& pCookie : check.Cookies())
    {
        if (pCookie->IsKept())
            continue;
        const auto it = doomed.find(KeyOf(*pCookie));
        if (it == doomed.end() || it->second == 0)
            continue;
        --it->second;
        --deleted[BrowserIndex(pCookie->Browser())];
        if (stores.insert(pCookie->StoreFile()).second)
            result.unwrittenStores.push_back(pCookie->StoreFile());
    }
    for (size_t i = 0; i < kBrowserCount; ++i)
        if (!check.Locations(static_cast<EBrowser>(i)).empty())
            result.deleted.emplace_back(BrowserName(static_cast<EBrowser>(i)), deleted[i]);
    return result;
}

CMarkResult SetProtection(const std::string& strFolder, const std::vector<std::string>& names,
                          bool bProtect)
{
    CMarkResult result;
    CCookieInventory inventory(strFolder);
    ReadInventory(inventory, strFolder);
    std::set<std::string> found;
    bool named[kBrowserCount] = {}; // a browser has a cookie of one of the names
    CCookieListModel& list = inventory.CookieList();
    list.ClearSelection();
    for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
    {
        const CCookie* pCookie = list.GetItemData(nRow);
        if (!pCookie)
            continue;
        bool bWanted = false;
        for (const std::string& strName : names)
            if (SameMarkName(pCookie->Browser(), pCookie->m_strName, strName))
            {
                found.insert(strName);
                bWanted = true;
            }
        named[BrowserIndex(pCookie->Browser())] =
            named[BrowserIndex(pCookie->Browser())] || bWanted;
        if (bWanted && (pCookie->m_bProtected != 0) != bProtect)
        {
            list.SetItemSelected(nRow, true);
            ++result.nChanged;
        }
    }
    std::set<std::string> reported;
    for (const std::string& strName : names)
        if (found.count(strName) == 0 && reported.insert(strName).second)
            result.unknownNames.push_back(strName); // each unknown name once
    if (!result.unknownNames.empty())
        return result; // nothing is changed or written
    for (const auto& unreadable : inventory.UnreadableLists())
        if (std::any_of(unreadable.browsers.begin(), unreadable.browsers.end(),
                        [&](EBrowser browser) { return named[BrowserIndex(browser)]; }))
            result.unreadableLists.push_back(unreadable.strPath);
    inventory.ProtectSelected();
    for (std::string& strList : SaveProtection(inventory))
        if (std::find(result.unreadableLists.begin(), result.unreadableLists.end(), strList) ==
            result.unreadableLists.end())
            result.unwrittenLists.push_back(std::move(strList));
    return result;
}
