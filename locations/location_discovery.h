#pragma once

#include "inventory/store_kinds.h"
#include "locations/location_file.h"
#include "locations/location_list.h"
#include "platform/drives.h"
#include "platform/registry.h"

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

// The drives offered for a Netscape search, sorted, and the one chosen.
struct CDriveChoice
{
    std::vector<std::string> m_names;
    int m_nSelected = -1; // index into m_names; -1 when none is chosen
};

// Lets a search that runs on another thread be followed and stopped.
struct CSearchControl
{
    std::atomic<bool> m_bCancel{false};
    // Called on the searching thread with each folder before it is looked into.
    std::function<void(const std::string& strFolder)> m_fnProgress;

    bool IsCancelled() const { return m_bCancel.load(std::memory_order_relaxed); }
};

// Each kind's locations found, by BrowserIndex.
using CFoundLocations = std::array<CLocationList, kBrowserCount>;

// Finds the Internet Explorer cookie folder and the Netscape cookie file: each
// from the registry first, then from the Windows folder's "Cookies" folder or a
// search of the chosen drive for "cookies.txt". The stores of every kind found
// in the user's home (the browsers' cookie databases) come from that kind's
// own discovery. The results go into one location list per kind, which the
// Find Cookie Location dialog shows and saves top to bottom.
class CLocationDiscovery
{
public:
    // fnBeep sounds once at the end of every search; it may be empty.
    // strHomeFolder: where the Firefox and Chromium profiles are looked for; empty for none.
    CLocationDiscovery(const IRegistry& registry, const IDriveSource& drives,
                       std::string strWindowsFolder, std::function<void()> fnBeep,
                       std::string strHomeFolder = std::string());

    // Empties each list and searches it again, then beeps.
    void RunSearch();
    // The searches of RunSearch without the beep: the Internet Explorer folder,
    // the databases, then the Netscape file. With a control, a cancelled drive
    // search ends early and keeps what it found so far.
    void FindAll(const CSearchControl* pControl = nullptr);
    void Beep() const;
    void SetBeep(std::function<void()> fnBeep) { m_fnBeep = std::move(fnBeep); }

    void FindExplorerLocation();
    bool FindExplorerInRegistry();
    void FindExplorerInWindowsFolder();
    void AddExplorerLocation(const std::string& strPath);

    void FindNetscapeLocation();
    bool FindNetscapeInRegistry();
    // Searches the chosen drive, or DEFAULT_SEARCH_DRIVE when none is chosen.
    void SearchSelectedDrive();
    // Searches a fixed drive for "cookies.txt". On the drive that holds the
    // user's home only the home is searched, and every such file found there is
    // added, in search order; elsewhere only below the drive's "Program Files"
    // Netscape folder when that exists, and the first one found is added. True
    // when it added one.
    bool SearchDrive(const std::string& strDrive);
    // The drive (fixed or network) whose mount point holds the home folder;
    // "" when there is no home folder or no drive holds it.
    std::string GetHomeDrive() const;
    void AddNetscapeLocation(const std::string& strPath);

    // Lists the fixed and network drives, sorted, and chooses the one that
    // holds the home, else the first.
    void FillDriveList();

    // Empties the list of every kind found in a home and fills it from the
    // user's home.
    void FindDatabaseLocations();
    // Adds a location to its kind's list, unless it is listed there already.
    void AddLocation(EBrowser browser, const std::string& strPath);

    CLocationList& Found(EBrowser browser) { return m_found[BrowserIndex(browser)]; }
    // Every list's paths, as the location file takes them.
    CBrowserLocations FoundItems() const;
    const CLocationList& Found(EBrowser browser) const { return m_found[BrowserIndex(browser)]; }

    CFoundLocations m_found;
    CDriveChoice m_driveChoice;

private:
    const IRegistry& m_registry;
    const IDriveSource& m_drives;
    std::string m_strWindowsFolder;
    std::function<void()> m_fnBeep;
    std::string m_strHomeFolder;
    const CSearchControl* m_pControl = nullptr; // set during FindAll
};

// The full path of the first entry called strName in the tree below strFolder,
// depth first, a folder's own candidate before its sub-folders; "" when there
// is none. Symbolic links to folders are not followed, and folders that cannot
// be listed are skipped.
std::string SearchFolder(const std::string& strName, const std::string& strFolder);

// As SearchFolder, without entering the folders listed in foreignFolders; a
// cancelled control ends it with "".
std::string SearchFolderWithin(const std::string& strName, const std::string& strFolder,
                               const std::vector<std::string>& foreignFolders,
                               const CSearchControl* pControl = nullptr);

// Every regular file (or link to one) called strName in the tree below
// strFolder, in the order SearchFolder looks at them, each handed to fnFound
// as it is found. As there, links to folders are not followed and the foreign
// folders not entered; a cancelled control ends the search.
void SearchFolderForAll(const std::string& strName, const std::string& strFolder,
                        const std::vector<std::string>& foreignFolders,
                        const CSearchControl* pControl,
                        const std::function<void(const std::string&)>& fnFound);
