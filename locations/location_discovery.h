#pragma once

#include "locations/location_list.h"
#include "platform/drives.h"
#include "platform/registry.h"

#include <functional>
#include <string>
#include <vector>

// The drives offered for a Netscape search, sorted, and the one chosen.
struct CDriveChoice
{
    std::vector<std::string> m_names;
    int m_nSelected = -1; // index into m_names; -1 when none is chosen
};

// Finds the Internet Explorer cookie folder and the Netscape cookie file: each
// from the registry first, then from the Windows folder's "Cookies" folder or a
// search of the chosen drive for "cookies.txt". The results go into the two
// location lists, which the Find Cookie Location dialog shows (image 0 for an
// Internet Explorer folder, 1 for a Netscape file) and saves top to bottom.
// The Firefox and Chromium cookie databases come from the user's profiles.
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

    void FindExplorerLocation();
    bool FindExplorerInRegistry();
    void FindExplorerInWindowsFolder();
    void AddExplorerLocation(const std::string& strPath);

    void FindNetscapeLocation();
    bool FindNetscapeInRegistry();
    // Searches the chosen drive, or DEFAULT_SEARCH_DRIVE when none is chosen.
    void SearchSelectedDrive();
    // Searches a fixed drive for "cookies.txt", only below its "Program Files"
    // Netscape folder when that exists. True when it found and added one.
    bool SearchDrive(const std::string& strDrive);
    void AddNetscapeLocation(const std::string& strPath);

    // Lists the fixed and network drives, sorted, and chooses the first.
    void FillDriveList();

    // Empties the two database lists and fills them from the user's profiles.
    void FindDatabaseLocations();
    void AddFirefoxLocation(const std::string& strPath);
    void AddChromiumLocation(const std::string& strPath);

    CLocationList m_explorerFolders;
    CLocationList m_netscapeFiles;
    CDriveChoice m_driveChoice;
    CLocationList m_firefoxDatabases;
    CLocationList m_chromiumDatabases;

private:
    const IRegistry& m_registry;
    const IDriveSource& m_drives;
    std::string m_strWindowsFolder;
    std::function<void()> m_fnBeep;
    std::string m_strHomeFolder;
};

// The full path of the first entry called strName in the tree below strFolder,
// depth first, a folder's own candidate before its sub-folders; "" when there
// is none. Symbolic links to folders are not followed, and folders that cannot
// be listed are skipped.
std::string SearchFolder(const std::string& strName, const std::string& strFolder);

// As SearchFolder, without entering the folders listed in foreignFolders.
std::string SearchFolderWithin(const std::string& strName, const std::string& strFolder,
                               const std::vector<std::string>& foreignFolders);
