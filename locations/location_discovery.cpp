#include "locations/location_discovery.h"

#include "app/profile_helpers.h"
#include "platform/compare_no_case.h"
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

// One walk of a tree: depth first, a folder's own candidate before its
// sub-folders, which are taken in name order.
struct CTreeWalk
{
    const std::string& strName;
    const std::vector<std::string>& foreignFolders; // sorted
    const CSearchControl* pControl;
    // Given each candidate that exists; true ends the walk.
    std::function<bool(const std::string&)> fnFound;

    // True when the walk is to end (a match that ends it, or a cancel).
    bool Walk(const std::string& strFolder) const
    {
        if (pControl)
        {
            if (pControl->IsCancelled())
                return true;
            if (pControl->m_fnProgress)
                pControl->m_fnProgress(strFolder);
        }
        const std::string strCandidate = AppendPathPart(strFolder, strName);
        if (PathExists(strCandidate) && fnFound(strCandidate))
            return true;
        std::vector<CFindEntry> entries;
        if (!FindEntries(strFolder, kEveryEntry, entries))
            return false;
        for (const CFindEntry& entry : entries)
        {
            if (!entry.bDirectory || entry.strName == "." || entry.strName == "..")
                continue;
            const std::string strSubFolder = AppendPathPart(strFolder, entry.strName);
            if (std::binary_search(foreignFolders.begin(), foreignFolders.end(), strSubFolder))
                continue;
            if (Walk(strSubFolder))
                return true;
        }
        return false;
    }
};

std::vector<std::string> Sorted(std::vector<std::string> paths)
{
    std::sort(paths.begin(), paths.end());
    return paths;
}

// True when strPath is strFolder or lies below it.
bool IsWithinFolder(const std::string& strPath, const std::string& strFolder)
{
    if (strFolder.empty() || strPath.size() < strFolder.size())
        return false;
    const std::string strHead = strPath.substr(0, strFolder.size());
#ifdef _WIN32
    if (!EqualsNoCase(strHead, strFolder))
        return false;
#else
    if (strHead != strFolder)
        return false;
#endif
    return strPath.size() == strFolder.size() || strFolder.back() == PATH_SEP ||
           strPath[strFolder.size()] == PATH_SEP;
}
} // namespace

std::string SearchFolder(const std::string& strName, const std::string& strFolder)
{
    return SearchFolderWithin(strName, strFolder, {});
}

std::string SearchFolderWithin(const std::string& strName, const std::string& strFolder,
                               const std::vector<std::string>& foreignFolders,
                               const CSearchControl* pControl)
{
    const std::vector<std::string> sorted = Sorted(foreignFolders);
    std::string strFound;
    CTreeWalk{strName, sorted, pControl,
              [&](const std::string& strPath)
              {
                  strFound = strPath;
                  return true;
              }}
        .Walk(strFolder);
    return strFound;
}

void SearchFolderForAll(const std::string& strName, const std::string& strFolder,
                        const std::vector<std::string>& foreignFolders,
                        const CSearchControl* pControl,
                        const std::function<void(const std::string&)>& fnFound)
{
    const std::vector<std::string> sorted = Sorted(foreignFolders);
    CTreeWalk{strName, sorted, pControl,
              [&](const std::string& strPath)
              {
                  if (IsRegularFile(strPath))
                      fnFound(strPath);
                  return false;
              }}
        .Walk(strFolder);
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
    FindAll();
    Beep();
}

void CLocationDiscovery::FindAll(const CSearchControl* pControl)
{
    m_pControl = pControl;
    // The drive search, which may be long, comes last.
    FindExplorerLocation();
    FindDatabaseLocations();
    FindNetscapeLocation();
    m_pControl = nullptr;
}

void CLocationDiscovery::Beep() const
{
    if (m_fnBeep)
        m_fnBeep();
}

void CLocationDiscovery::FindExplorerLocation()
{
    Found(EBrowser::InternetExplorer).Clear();
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
    Found(EBrowser::InternetExplorer).Add(strPath);
}

void CLocationDiscovery::FindNetscapeLocation()
{
    Found(EBrowser::Netscape).Clear();
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
    const std::vector<std::string> foreignFolders = m_drives.ListForeignFolders(strDrive);
    if (strDrive == GetHomeDrive())
    {
        // Here the user's own folder plays the part of the browser's program
        // folder, and every tool that keeps a cookie jar keeps it in there.
        bool bAdded = false;
        SearchFolderForAll(kNetscapeCookieFile, m_strHomeFolder, foreignFolders, m_pControl,
                           [&](const std::string& strPath)
                           { bAdded = Found(EBrowser::Netscape).Append(strPath) || bAdded; });
        return bAdded;
    }
    std::string strRoot = strDrive;
    const std::string strProgramFolder = AppendPathPart(strDrive, kNetscapeProgramFolder);
    if (PathExists(strProgramFolder))
        strRoot = strProgramFolder;
    const std::string strFound =
        SearchFolderWithin(kNetscapeCookieFile, strRoot, foreignFolders, m_pControl);
    if (strFound.empty())
        return false;
    AddNetscapeLocation(strFound);
    return true;
}

std::string CLocationDiscovery::GetHomeDrive() const
{
    if (m_strHomeFolder.empty() || !IsFolder(m_strHomeFolder))
        return std::string();
    std::string strHomeDrive;
    for (const CDrive& drive : m_drives.ListDrives())
        if (IsWithinFolder(m_strHomeFolder, drive.strName) &&
            drive.strName.size() > strHomeDrive.size())
            strHomeDrive = drive.strName;
    return strHomeDrive;
}

void CLocationDiscovery::AddNetscapeLocation(const std::string& strPath)
{
    Found(EBrowser::Netscape).Add(strPath);
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
    // The home's drive comes first in the search, when it is listed.
    const auto itHome =
        std::find(m_driveChoice.m_names.begin(), m_driveChoice.m_names.end(), GetHomeDrive());
    if (itHome != m_driveChoice.m_names.end())
        m_driveChoice.m_nSelected = static_cast<int>(itHome - m_driveChoice.m_names.begin());
}

void CLocationDiscovery::FindDatabaseLocations()
{
    for (const CStoreKind& kind : StoreKinds())
    {
        if (!kind.fnFindInHome)
            continue;
        Found(kind.browser).Clear();
        if (m_strHomeFolder.empty())
            continue;
        for (const std::string& strPath : kind.fnFindInHome(m_strHomeFolder))
            AddLocation(kind.browser, strPath);
    }
}

void CLocationDiscovery::AddLocation(EBrowser browser, const std::string& strPath)
{
    Found(browser).Add(strPath);
}

CBrowserLocations CLocationDiscovery::FoundItems() const
{
    CBrowserLocations locations;
    for (size_t i = 0; i < kBrowserCount; ++i)
        locations[i] = m_found[i].GetItems();
    return locations;
}
