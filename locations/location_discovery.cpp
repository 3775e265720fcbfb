#include "locations/location_discovery.h"

#include "app/profile_helpers.h"
#include "locations/database_discovery.h"
#include "platform/folder_search.h"
#include "platform/path.h"

#include <algorithm>

namespace
{
const char* const kNetscapeCookieFile = "cookies.txt";
const char* const kExplorerCookieFolder = "Cookies";
const char* const kNetscapeProgramFolder = "Program Files" PATH_SEP_STR "Netscape";
// Lists every entry of a folder.
const char* const kEveryEntry = "*.  ";

std::string SearchTree(const std::string& strName, const std::string& strFolder,
                       const std::vector<std::string>& foreignFolders)
{
    const std::string strCandidate = AppendPathPart(strFolder, strName);
    if (PathExists(strCandidate))
        return strCandidate;
    std::vector<CFindEntry> entries;
    if (!FindEntries(strFolder, kEveryEntry, entries))
        return std::string();
    for (const CFindEntry& entry : entries)
    {
        if (!entry.bDirectory || entry.strName == "." || entry.strName == "..")
            continue;
        const std::string strSubFolder = AppendPathPart(strFolder, entry.strName);
        if (std::binary_search(foreignFolders.begin(), foreignFolders.end(), strSubFolder))
            continue;
        std::string strFound = SearchTree(strName, strSubFolder, foreignFolders);
        if (!strFound.empty())
            return strFound;
    }
    return std::string();
}
} // namespace

std::string SearchFolder(const std::string& strName, const std::string& strFolder)
{
    return SearchTree(strName, strFolder, {});
}

std::string SearchFolderWithin(const std::string& strName, const std::string& strFolder,
                               const std::vector<std::string>& foreignFolders)
{
    std::vector<std::string> sorted = foreignFolders;
    std::sort(sorted.begin(), sorted.end());
    return SearchTree(strName, strFolder, sorted);
}

CLocationDiscovery::CLocationDiscovery(const IRegistry& registry, const IDriveSource& drives,
                                       std::string strWindowsFolder, std::function<void()> fnBeep,
                                       std::string strHomeFolder)
    : m_registry(registry), m_drives(drives), m_strWindowsFolder(std::move(strWindowsFolder)),
      m_fnBeep(std::move(fnBeep)), m_strHomeFolder(std::move(strHomeFolder))
{
}

void CLocationDiscovery::RunSearch()
{
    FindExplorerLocation();
    FindNetscapeLocation();
    FindDatabaseLocations();
    if (m_fnBeep)
        m_fnBeep();
}

void CLocationDiscovery::FindExplorerLocation()
{
    m_explorerFolders.Clear();
    if (!FindExplorerInRegistry())
        FindExplorerInWindowsFolder();
}

bool CLocationDiscovery::FindExplorerInRegistry()
{
    std::string strFolder;
    if (!m_registry.ReadUserString(REGKEY_SHELL_FOLDERS, REGVALUE_COOKIES, strFolder) ||
        !PathExists(strFolder))
        return false;
    AddExplorerLocation(strFolder);
    return true;
}

void CLocationDiscovery::FindExplorerInWindowsFolder()
{
    const std::string strFolder = AppendPathPart(m_strWindowsFolder, kExplorerCookieFolder);
    if (PathExists(strFolder))
        AddExplorerLocation(strFolder);
}

void CLocationDiscovery::AddExplorerLocation(const std::string& strPath)
{
    m_explorerFolders.Add(strPath);
}

void CLocationDiscovery::FindNetscapeLocation()
{
    m_netscapeFiles.Clear();
    if (!FindNetscapeInRegistry())
        SearchSelectedDrive();
}

bool CLocationDiscovery::FindNetscapeInRegistry()
{
    std::string strFile;
    if (!m_registry.ReadUserString(REGKEY_NETSCAPE_COOKIES, REGVALUE_COOKIE_FILE, strFile) ||
        !PathExists(strFile))
        return false;
    AddNetscapeLocation(strFile);
    return true;
}

void CLocationDiscovery::SearchSelectedDrive()
{
    const int nSelected = m_driveChoice.m_nSelected;
    const bool bChosen =
        nSelected >= 0 && static_cast<size_t>(nSelected) < m_driveChoice.m_names.size();
    SearchDrive(bChosen ? m_driveChoice.m_names[static_cast<size_t>(nSelected)]
                        : DEFAULT_SEARCH_DRIVE);
}

bool CLocationDiscovery::SearchDrive(const std::string& strDrive)
{
    if (m_drives.GetDriveType(strDrive) != EDriveType::Fixed)
        return false;
    std::string strRoot = strDrive;
    const std::string strProgramFolder = AppendPathPart(strDrive, kNetscapeProgramFolder);
    if (PathExists(strProgramFolder))
        strRoot = strProgramFolder;
    const std::string strFound =
        SearchFolderWithin(kNetscapeCookieFile, strRoot, m_drives.ListForeignFolders(strDrive));
    if (strFound.empty())
        return false;
    AddNetscapeLocation(strFound);
    return true;
}

void CLocationDiscovery::AddNetscapeLocation(const std::string& strPath)
{
    m_netscapeFiles.Add(strPath);
}

void CLocationDiscovery::FillDriveList()
{
    m_driveChoice = CDriveChoice();
    for (const CDrive& drive : m_drives.ListDrives())
        if (drive.type == EDriveType::Fixed || drive.type == EDriveType::Network)
            m_driveChoice.m_names.push_back(drive.strName);
    std::sort(m_driveChoice.m_names.begin(), m_driveChoice.m_names.end());
    if (!m_driveChoice.m_names.empty())
        m_driveChoice.m_nSelected = 0;
}

void CLocationDiscovery::FindDatabaseLocations()
{
    m_firefoxDatabases.Clear();
    m_chromiumDatabases.Clear();
    for (const std::string& strPath : FindFirefoxDatabases(m_strHomeFolder))
        AddFirefoxLocation(strPath);
    for (const std::string& strPath : FindChromiumDatabases(m_strHomeFolder))
        AddChromiumLocation(strPath);
}

void CLocationDiscovery::AddFirefoxLocation(const std::string& strPath)
{
    m_firefoxDatabases.Add(strPath);
}

void CLocationDiscovery::AddChromiumLocation(const std::string& strPath)
{
    m_chromiumDatabases.Add(strPath);
}
