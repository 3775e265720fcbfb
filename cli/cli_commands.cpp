#include "cli/cli_commands.h"

#include "app/app_folders.h"
#include "cli/cli_inventory.h"
#include "inventory/cookie.h"
#include "locations/browser_locations.h"
#include "locations/location_discovery.h"
#include "locations/location_file.h"
#include "platform/browser_homes.h"
#include "platform/folder_lock.h"
#include "platform/folder_search.h"
#include "platform/path.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace
{
void Error(const std::string& strWhat, const std::string& strMessage)
{
    std::fprintf(stderr, "jarvane-cli: %s: %s\n", strWhat.c_str(), strMessage.c_str());
}

void PrintLocations(const CBrowserLocations& locations)
{
    for (size_t i = 0; i < kBrowserCount; ++i)
        for (const std::string& strPath : locations[i])
            std::printf("%s\t%s\n", BrowserName(static_cast<EBrowser>(i)).c_str(), strPath.c_str());
}

int ReportUnwrittenLists(const std::vector<std::string>& lists)
{
    for (const std::string& strList : lists)
        Error(strList, "could not be written; the protection marks it should hold are not saved");
    return lists.empty() ? CLI_OK : CLI_NOT_WRITTEN;
}

// The details of list --long: file, profile, then per field the values of every
// cookie the row stands for, joined by ";" (a character no cookie name or
// path holds).
std::string DetailColumns(const CCookieDetails& details)
{
    std::string strColumns = "\t" + details.strStoreFile + "\t" + details.strProfile;
    auto yesNo = [](bool bYes) { return std::string(bYes ? "yes" : "no"); };
    const std::function<std::string(const CCookieFacts&)> fields[] = {
        [](const CCookieFacts& facts) { return facts.strHost; },
        [](const CCookieFacts& facts) { return facts.strName; },
        [](const CCookieFacts& facts) { return facts.strPath; },
        [](const CCookieFacts& facts) { return FormatExpiry(facts); },
        [&](const CCookieFacts& facts) { return yesNo(facts.bSecure); },
        [&](const CCookieFacts& facts) { return yesNo(facts.bHttpOnly); },
        [](const CCookieFacts& facts) { return FormatValueSize(facts); },
    };
    for (const auto& fnField : fields)
    {
        strColumns += '\t';
        for (size_t i = 0; i < details.cookies.size(); ++i)
            strColumns += (i ? ";" : "") + fnField(details.cookies[i]);
    }
    return strColumns;
}

int List(const CCliArguments& arguments, const std::string& strFolder)
{
    const std::vector<CCliRow> rows =
        ListCookies(strFolder, arguments.nSortColumn, arguments.bLong);
    for (const CCliRow& row : rows)
        std::printf("%s\t%s\t%s%s\n", row.strCookie.c_str(), row.strState.c_str(),
                    row.strBrowser.c_str(),
                    arguments.bLong ? DetailColumns(row.details).c_str() : "");
    std::fflush(stdout);
    std::fprintf(stderr, "%zu cookie%s\n", rows.size(), rows.size() == 1 ? "" : "s");
    return CLI_OK;
}

int DeleteAll(const std::string& strFolder)
{
    const CDeleteAllResult result = DeleteAllCookies(strFolder);
    for (const auto& [strBrowser, nDeleted] : result.deleted)
        std::printf("%s\t%d\n", strBrowser.c_str(), nDeleted);
    std::fflush(stdout);
    for (const std::string& strStore : result.unwrittenStores)
        Error(strStore, "could not be changed; cookies deleted from it are still there");
    const int nStatus = ReportUnwrittenLists(result.unwrittenLists);
    return result.unwrittenStores.empty() ? nStatus : CLI_NOT_WRITTEN;
}

int Protect(const CCliArguments& arguments, const std::string& strFolder)
{
    const CMarkResult result =
        SetProtection(strFolder, arguments.names, arguments.strCommand == "protect");
    for (const std::string& strName : result.unknownNames)
        Error(strName, "no cookie of this name is listed; nothing was changed");
    if (!result.unknownNames.empty())
        return CLI_USAGE;
    return ReportUnwrittenLists(result.unwrittenLists);
}

int Find(const CCliArguments& arguments, const std::string& strLocationFile)
{
    CLocationDiscovery discovery(GetSystemRegistry(), GetSystemDrives(),
                                 GetAppFolders().m_strWindowsFolder, nullptr, GetHomeFolder());
    discovery.FillDriveList();
    discovery.RunSearch();
    CBrowserLocations found;
    found[BrowserIndex(EBrowser::InternetExplorer)] = discovery.m_explorerFolders.GetItems();
    found[BrowserIndex(EBrowser::Netscape)] = discovery.m_netscapeFiles.GetItems();
    found[BrowserIndex(EBrowser::Firefox)] = discovery.m_firefoxDatabases.GetItems();
    found[BrowserIndex(EBrowser::Chromium)] = discovery.m_chromiumDatabases.GetItems();
    PrintLocations(found);
    std::fflush(stdout);
    if (std::all_of(found.begin(), found.end(), [](const auto& list) { return list.empty(); }))
    {
        std::fprintf(stderr, "jarvane-cli: no cookie location found%s\n",
                     arguments.bSave ? "; nothing saved" : "");
        return arguments.bSave ? CLI_NO_LOCATIONS : CLI_OK;
    }
    if (arguments.bSave && !SaveLocations(strLocationFile, found[0], found[1], found[2], found[3]))
    {
        Error(strLocationFile, "could not be written");
        return CLI_NOT_WRITTEN;
    }
    return CLI_OK;
}
} // namespace

int RunCliCommand(const CCliArguments& arguments)
{
    const std::string& strCommand = arguments.strCommand;
    const bool bFind = strCommand == "find";
    if (bFind && arguments.bSave)
    {
        std::error_code error;
        std::filesystem::create_directories(arguments.strFolder, error);
    }
    // Relative paths in Location.DAT mean what they mean to the window program
    // started in the working folder.
    if (chdir(arguments.strFolder.c_str()) != 0 && (!bFind || arguments.bSave))
    {
        Error(arguments.strFolder, std::string("cannot use this working folder: ") +
                                       std::strerror(errno) +
                                       "; run Jarvane once, or jarvane-cli find --save");
        return CLI_NO_LOCATIONS;
    }
    GetAppFolders().InitFolders();
    const std::string strFolder = GetAppFolders().m_strCurrentFolder;
    const std::string strLocationFile = GetAppFolders().GetLocationFilePath();
    if (!bFind && !IsRegularFile(strLocationFile))
    {
        Error(strLocationFile, "no remembered cookie locations; run Jarvane once, or "
                               "jarvane-cli find --save");
        return CLI_NO_LOCATIONS;
    }

    // A window program keeps the marks in memory and writes the lists at every
    // refresh and at exit: commands that read marks or write the folder's files
    // run only while no window holds the folder.
    CFolderLock lock;
    if (strCommand != "locations" && (!bFind || arguments.bSave))
    {
        const CFolderLock::EResult lockResult =
            lock.Lock(strFolder, CFolderLock::EMode::Exclusive, false);
        if (lockResult != CFolderLock::EResult::Taken)
        {
            Error(strFolder, lockResult == CFolderLock::EResult::Busy
                                 ? "in use by the Jarvane window or another jarvane-cli; "
                                   "close it and try again"
                                 : std::string("cannot be locked: ") + std::strerror(errno));
            return CLI_FOLDER_IN_USE;
        }
    }

    if (strCommand == "list")
        return List(arguments, strFolder);
    if (strCommand == "delete-all")
        return DeleteAll(strFolder);
    if (strCommand == "protect" || strCommand == "unprotect")
        return Protect(arguments, strFolder);
    if (bFind)
        return Find(arguments, strLocationFile);
    PrintLocations(LoadBrowserLocations(strLocationFile));
    return CLI_OK;
}
