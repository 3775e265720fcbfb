#include "cli/cli_inventory.h"

#include "app/app_folders.h"
#include "app/settings.h"
#include "inventory/cookie_inventory.h"
#include "inventory/mark_name.h"
#include "locations/browser_locations.h"
#include "platform/path.h"

#include <algorithm>
#include <set>

namespace
{
// Reads the folder's remembered locations and the stores, as the main window
// does when it opens.
void ReadInventory(CCookieInventory& inventory, const std::string& strFolder)
{
    LoadInventoryLocations(inventory, AppendPathPart(strFolder, LOCATION_FILE_NAME));
    inventory.RefreshCookies();
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
    for (const auto& list : inventory.UnreadableLists())
    {
        std::vector<std::string> browsers;
        for (EBrowser browser : list.browsers)
            browsers.push_back(BrowserName(browser));
        result.unreadableLists.emplace_back(list.strPath, std::move(browsers));
    }
    const CDeletionReport report = inventory.DeleteAllUnprotected();
    result.strUndoRefusal = inventory.UndoRefusal();
    result.unwrittenStores = report.unwrittenStores;
    for (size_t i = 0; i < kBrowserCount; ++i)
        if (!inventory.Locations(static_cast<EBrowser>(i)).empty())
            result.deleted.push_back({BrowserName(static_cast<EBrowser>(i)),
                                      report.browsers[i].nDeleted, report.browsers[i].nInUse});
    result.unwrittenLists = SaveProtection(inventory);
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
    for (const auto& pCookie : inventory.Cookies())
        for (const std::string& strName : names)
            if (SameMarkName(pCookie->Browser(), pCookie->m_strName, strName))
            {
                found.insert(strName);
                named[BrowserIndex(pCookie->Browser())] = true;
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
    result.nChanged = inventory.SetProtectionByName(names, bProtect);
    for (std::string& strList : SaveProtection(inventory))
        if (std::find(result.unreadableLists.begin(), result.unreadableLists.end(), strList) ==
            result.unreadableLists.end())
            result.unwrittenLists.push_back(std::move(strList));
    return result;
}
