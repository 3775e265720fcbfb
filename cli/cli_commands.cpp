#include "cli/cli_commands.h"

#include "app/app_folders.h"
#include "app/settings.h"
#include "cli/cli_inventory.h"
#include "cli/cli_sites.h"
#include "inventory/cookie.h"
#include "inventory/undo_restore.h"
#include "locations/browser_locations.h"
#include "locations/location_discovery.h"
#include "locations/location_file.h"
#include "locations/store_kind.h"
#include "platform/browser_homes.h"
#include "platform/compare_no_case.h"
#include "platform/folder_lock.h"
#include "platform/folder_search.h"
#include "platform/path.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>
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

// The folder's exclusive lock, refused while a window or another command holds
// it. A holder that lets go within a second (a program just starting or ending)
// is waited out; a window holds the folder for its whole run.
int LockFolder(CFolderLock& lock, const std::string& strFolder)
{
    CFolderLock::EResult lockResult = CFolderLock::EResult::Busy;
    for (int nTry = 0; nTry < 20 && lockResult == CFolderLock::EResult::Busy; ++nTry)
    {
        if (nTry > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        lockResult = lock.Lock(strFolder, CFolderLock::EMode::Exclusive, false);
    }
    if (lockResult == CFolderLock::EResult::Taken)
        return CLI_OK;
    Error(strFolder, lockResult == CFolderLock::EResult::Busy
                         ? "in use by the Jarvane window or another jarvane-cli; "
                           "close it and try again"
                         : std::string("cannot be locked: ") + std::strerror(errno));
    return CLI_FOLDER_IN_USE;
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
    if (!result.strUndoRefusal.empty())
    {
        Error(result.strUndoRefusal, "a copy of the cookies to delete could not be kept there, "
                                     "so none was deleted; set [Undo] Keep=0 in " SETTINGS_FILE_NAME
                                     " to delete without keeping copies");
        return CLI_NOT_WRITTEN;
    }
    // A third field only for a browser that runs: two-field lines stay as they were.
    for (const CDeleteAllResult::CBrowserCount& count : result.deleted)
        if (count.nInUse > 0)
            std::printf("%s\t%d\t%d\n", count.strBrowser.c_str(), count.nDeleted, count.nInUse);
        else
            std::printf("%s\t%d\n", count.strBrowser.c_str(), count.nDeleted);
    std::fflush(stdout);
    for (const std::string& strStore : result.unwrittenStores)
        Error(strStore, "could not be changed; cookies deleted from it are still there");
    for (const auto& [strList, browsers] : result.unreadableLists)
    {
        std::string strBrowsers;
        for (const std::string& strBrowser : browsers)
            strBrowsers += (strBrowsers.empty() ? "" : ", ") + strBrowser;
        Error(strList, "cannot be read; no cookie of " + strBrowsers + " was deleted");
    }
    const int nStatus = ReportUnwrittenLists(result.unwrittenLists);
    return result.unwrittenStores.empty() && result.unreadableLists.empty() ? nStatus
                                                                            : CLI_NOT_WRITTEN;
}

std::string BatchCounts(const CUndoBatch& batch)
{
    if (batch.bUndone)
        return "undone";
    std::string strCounts;
    for (size_t i = 0; i < kBrowserCount; ++i)
        if (batch.counts[i] > 0)
            strCounts += (strCounts.empty() ? "" : ", ") + BrowserName(static_cast<EBrowser>(i)) +
                         ": " + std::to_string(batch.counts[i]);
    return strCounts;
}

int Undo(const CCliArguments& arguments, const std::string& strFolder)
{
    CUndoJournal journal(AppendPathPart(strFolder, UNDO_FILE_NAME));
    if (!ReadUndoKeep(AppendPathPart(strFolder, SETTINGS_FILE_NAME)) || arguments.bUndoForget)
    {
        if (journal.RemoveFile())
            return CLI_OK;
        Error(journal.Error(), "could not be removed");
        return CLI_NOT_WRITTEN;
    }
    std::vector<CUndoBatch> batches;
    if (!journal.ListBatches(batches))
    {
        Error(journal.Error(), "cannot be read");
        return CLI_NOT_WRITTEN;
    }
    if (arguments.bUndoList)
    {
        for (const CUndoBatch& batch : batches)
            std::printf("%lld\t%s\t%s\t%s\n", static_cast<long long>(batch.nId),
                        FormatUndoTime(batch.nTime).c_str(), batch.strHow.c_str(),
                        BatchCounts(batch).c_str());
        return CLI_OK;
    }
    CUndoBatch batch;
    if (arguments.nUndoBatch == 0 && !FindUndoableBatch(journal, batch))
    {
        std::fprintf(stderr, "jarvane-cli: nothing to undo\n");
        return CLI_OK;
    }
    if (arguments.nUndoBatch != 0)
    {
        const auto it =
            std::find_if(batches.begin(), batches.end(),
                         [&](const CUndoBatch& b) { return b.nId == arguments.nUndoBatch; });
        if (it == batches.end() || it->bUndone || it->Count() == 0)
        {
            Error(std::to_string(arguments.nUndoBatch), "no deletion of this id to put back");
            return CLI_USAGE;
        }
        batch = *it;
    }
    const CUndoResult result = RestoreBatch(journal, batch.nId);
    std::printf("%d cookie%s put back, %d skipped (deleted at %s)\n", result.nRestored,
                result.nRestored == 1 ? "" : "s", result.nSkipped,
                FormatUndoTime(batch.nTime).c_str());
    std::fflush(stdout);
    for (const auto& [strReason, nCount] : result.reasons)
        std::fprintf(stderr, "jarvane-cli: %d skipped: %s\n", nCount, strReason.c_str());
    if (!result.strError.empty())
        Error(result.strError, "could not be updated");
    return result.bPending || !result.strError.empty() ? CLI_NOT_WRITTEN : CLI_OK;
}

int Protect(const CCliArguments& arguments, const std::string& strFolder)
{
    const CMarkResult result =
        SetProtection(strFolder, arguments.names, arguments.strCommand == "protect");
    for (const std::string& strName : result.unknownNames)
        Error(strName, "no cookie of this name is listed; nothing was changed");
    if (!result.unknownNames.empty())
        return CLI_USAGE;
    for (const std::string& strList : result.unreadableLists)
        Error(strList, "cannot be read; the protection marks it holds were not changed");
    const int nStatus = ReportUnwrittenLists(result.unwrittenLists);
    return result.unreadableLists.empty() ? nStatus : CLI_NOT_WRITTEN;
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
    if (!arguments.bSave)
        return CLI_OK;
    // Only the writing holds the folder: a window started during a long search
    // is not kept waiting.
    CFolderLock lock;
    if (const int nStatus = LockFolder(lock, GetAppFolders().m_strCurrentFolder); nStatus != CLI_OK)
        return nStatus;
    if (!SaveLocations(strLocationFile, found[0], found[1], found[2], found[3]))
    {
        Error(strLocationFile, "could not be written");
        return CLI_NOT_WRITTEN;
    }
    return CLI_OK;
}
// The paths as the user's current folder gives them, before the working folder becomes current.
std::vector<std::string> AbsolutePaths(const std::vector<std::string>& paths)
{
    std::vector<std::string> absolute;
    for (const std::string& strPath : paths)
    {
        std::error_code error;
        std::filesystem::path full = std::filesystem::absolute(strPath, error);
        std::string strFull = error ? strPath : full.lexically_normal().string();
        if (strFull.size() > 1)
            strFull = StripTrailingSeparator(strFull);
        absolute.push_back(strFull);
    }
    return absolute;
}

int SaveEditedLocations(const std::string& strLocationFile, const CBrowserLocations& locations)
{
    if (SaveLocations(strLocationFile, locations[0], locations[1], locations[2], locations[3]))
        return CLI_OK;
    Error(strLocationFile, "could not be written");
    return CLI_NOT_WRITTEN;
}

// Each path goes to the end of its browser's list unless it is listed there
// already; nothing is added when one of them is not a cookie store.
int AddLocations(const std::vector<std::string>& paths, const std::string& strLocationFile)
{
    CBrowserLocations locations = LoadBrowserLocations(strLocationFile);
    std::vector<std::pair<EBrowser, std::string>> added;
    bool bRefused = false;
    for (const std::string& strPath : paths)
    {
        EBrowser browser = EBrowser::InternetExplorer;
        std::string strWhyNot;
        if (!IdentifyCookieStore(strPath, browser, strWhyNot))
        {
            Error(strPath, "not added: " + strWhyNot);
            bRefused = true;
        }
        else
            added.emplace_back(browser, strPath);
    }
    if (bRefused)
        return CLI_USAGE;
    for (const std::pair<EBrowser, std::string>& item : added)
    {
        const std::string& strPath = item.second;
        std::vector<std::string>& list = locations[BrowserIndex(item.first)];
        const bool bListed =
            std::any_of(list.begin(), list.end(),
                        [&](const std::string& strItem) { return EqualsNoCase(strItem, strPath); });
        if (!bListed)
            list.push_back(strPath);
        std::printf("%s\t%s\n", BrowserName(item.first).c_str(), strPath.c_str());
    }
    std::fflush(stdout);
    return SaveEditedLocations(strLocationFile, locations);
}

// Removes every entry that is one of the paths, as given or made absolute;
// nothing is removed when one of them is not remembered.
int RemoveLocations(const std::vector<std::string>& given, const std::vector<std::string>& paths,
                    const std::string& strLocationFile)
{
    CBrowserLocations locations = LoadBrowserLocations(strLocationFile);
    std::vector<bool> matched(paths.size(), false);
    for (std::vector<std::string>& list : locations)
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const std::string& strItem)
                                  {
                                      bool bMatch = false;
                                      for (size_t i = 0; i < paths.size(); ++i)
                                          if (strItem == given[i] || strItem == paths[i])
                                              bMatch = matched[i] = true;
                                      return bMatch;
                                  }),
                   list.end());
    bool bUnknown = false;
    for (size_t i = 0; i < paths.size(); ++i)
        if (!matched[i])
        {
            Error(given[i], "is not a remembered location; nothing was changed");
            bUnknown = true;
        }
    if (bUnknown)
        return CLI_USAGE;
    return SaveEditedLocations(strLocationFile, locations);
}
} // namespace

int RunCliCommand(const CCliArguments& arguments)
{
    const std::string& strCommand = arguments.strCommand;
    const bool bFind = strCommand == "find";
    // The sites to keep need no cookie locations.
    const bool bSites = strCommand == "sites" || strCommand == "keep" || strCommand == "unkeep";
    const bool bAdd = arguments.strAction == "add";
    const bool bEdit = !arguments.strAction.empty();
    const std::vector<std::string> paths =
        bEdit ? AbsolutePaths(arguments.names) : std::vector<std::string>();
    if ((bFind && arguments.bSave) || bAdd)
    {
        std::error_code error;
        std::filesystem::create_directories(arguments.strFolder, error);
    }
    // keep --from names its file from where the command was given.
    std::string strFromFile = arguments.strFromFile;
    if (!strFromFile.empty())
    {
        std::error_code error;
        strFromFile = std::filesystem::absolute(strFromFile, error).string();
    }
    // Relative paths in Location.DAT mean what they mean to the window program
    // started in the working folder.
    if (chdir(arguments.strFolder.c_str()) != 0 && (!bFind || arguments.bSave || bEdit))
    {
        Error(arguments.strFolder, std::string("cannot use this working folder: ") +
                                       std::strerror(errno) +
                                       "; run Jarvane once, or jarvane-cli find --save");
        return CLI_NO_LOCATIONS;
    }
    GetAppFolders().InitFolders();
    const std::string strFolder = GetAppFolders().m_strCurrentFolder;
    const std::string strLocationFile = GetAppFolders().GetLocationFilePath();
    if (!bFind && !bAdd && !bSites && !IsRegularFile(strLocationFile))
    {
        Error(strLocationFile, "no remembered cookie locations; run Jarvane once, or "
                               "jarvane-cli find --save");
        return CLI_NO_LOCATIONS;
    }

    // A window program keeps the marks in memory and writes the lists at every
    // refresh and at exit: commands that read marks or write the folder's files
    // run only while no window holds the folder.
    // find --save refuses at once too, before a search that could not be saved,
    // and then holds the folder only while it writes (in Find).
    CFolderLock lock;
    const bool bReadsOnly = (strCommand == "locations" && !bEdit) || strCommand == "sites" ||
                            (bFind && !arguments.bSave);
    if (!bReadsOnly)
    {
        if (const int nStatus = LockFolder(lock, strFolder); nStatus != CLI_OK)
            return nStatus;
        if (bFind)
            lock.Unlock();
    }

    if (strCommand == "list")
        return List(arguments, strFolder);
    if (strCommand == "delete-all")
        return DeleteAll(strFolder);
    if (strCommand == "protect" || strCommand == "unprotect")
        return Protect(arguments, strFolder);
    if (strCommand == "sites")
        return ListKeptSites(strFolder);
    if (strCommand == "keep" || strCommand == "unkeep")
        return ChangeKeptSites(strFolder, arguments.names, strFromFile, strCommand == "keep");
    if (strCommand == "undo")
        return Undo(arguments, strFolder);
    if (bFind)
        return Find(arguments, strLocationFile);
    if (bAdd)
        return AddLocations(paths, strLocationFile);
    if (bEdit)
        return RemoveLocations(arguments.names, paths, strLocationFile);
    PrintLocations(LoadBrowserLocations(strLocationFile));
    return CLI_OK;
}
