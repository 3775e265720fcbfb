#include "inventory/stores/sqlite/browser_databases.h"

#include "app/profile_helpers.h"
#include "inventory/stores/sqlite/database_store.h"
#include "platform/browser_homes.h"
#include "platform/browser_lock.h"
#include "platform/compare_no_case.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/profile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
bool HasCookieTable(ECookieTable table, const std::string& strPath)
{
    std::vector<CDatabaseRow> rows;
    return ReadCookieDatabase(table, strPath, rows);
}

bool IsRegularPath(const std::string& strPath)
{
    std::error_code error;
    return std::filesystem::is_regular_file(strPath, error);
}

bool IsChromiumProfileName(const std::string& strName)
{
    const std::string strPrefix = "Profile ";
    return strName == "Default" ||
           (strName.size() > strPrefix.size() &&
            strName.compare(0, strPrefix.size(), strPrefix) == 0 &&
            strName.find_first_not_of("0123456789", strPrefix.size()) == std::string::npos);
}

// The "ProfileN" sections of a profiles.ini by number: Firefox leaves gaps in
// the numbers when a profile is removed.
std::vector<std::string> FirefoxProfileSections(const std::string& strIni)
{
    const std::string strPrefix = "Profile";
    std::vector<std::pair<unsigned long, std::string>> numbered;
    for (std::string& strName : ProfileSectionNames(strIni))
    {
        const bool bNumbered =
            strName.size() > strPrefix.size() && strName.size() <= strPrefix.size() + 9 &&
            EqualsNoCase(strName.substr(0, strPrefix.size()), strPrefix) &&
            strName.find_first_not_of("0123456789", strPrefix.size()) == std::string::npos;
        if (bNumbered)
            numbered.emplace_back(std::stoul(strName.substr(strPrefix.size())), std::move(strName));
    }
    std::sort(numbered.begin(), numbered.end());
    std::vector<std::string> sections;
    for (auto& section : numbered)
        sections.push_back(std::move(section.second));
    return sections;
}
} // namespace

std::vector<std::string> FindFirefoxDatabases(const std::string& strHome)
{
    std::vector<std::string> databases;
    if (strHome.empty())
        return databases;
    for (const std::string& strBase : FirefoxProfileHomes(strHome))
    {
        const std::string strIni = AppendPathPart(strBase, "profiles.ini");
        if (!IsRegularPath(strIni))
            continue;
        for (const std::string& strSection : FirefoxProfileSections(strIni))
        {
            std::string strFolder = ReadProfileString(strSection, "Path", "", strIni);
            if (strFolder.empty())
                continue;
            if (ReadProfileString(strSection, "IsRelative", "1", strIni) != "0")
            {
                std::replace(strFolder.begin(), strFolder.end(), '/', PATH_SEP);
                strFolder = AppendPathPart(strBase, strFolder);
            }
            const std::string strDatabase = AppendPathPart(strFolder, "cookies.sqlite");
            if (IsRegularPath(strDatabase))
                databases.push_back(strDatabase);
        }
    }
    return databases;
}

std::vector<std::string> FindChromiumDatabases(const std::string& strHome)
{
    std::vector<std::string> databases;
    if (strHome.empty())
        return databases;
    for (const std::string& strUserData : ChromiumUserDataFolders(strHome))
    {
        std::vector<CFindEntry> entries;
        if (!FindEntries(strUserData, "*", entries))
            continue;
        std::vector<std::string> profiles;
        for (const CFindEntry& entry : entries)
            if (entry.bDirectory && IsChromiumProfileName(entry.strName))
                profiles.push_back(entry.strName);
        std::sort(profiles.begin(), profiles.end());
        for (const std::string& strProfile : profiles)
        {
            const std::string strFolder = AppendPathPart(strUserData, strProfile);
            const std::string strNetwork =
                AppendPathPart(AppendPathPart(strFolder, "Network"), "Cookies");
            const std::string strOlder = AppendPathPart(strFolder, "Cookies");
            if (IsRegularPath(strNetwork))
                databases.push_back(strNetwork);
            else if (IsRegularPath(strOlder))
                databases.push_back(strOlder);
        }
    }
    return databases;
}

bool IsFirefoxDatabase(const std::string& strPath)
{
    return HasCookieTable(ECookieTable::Moz, strPath);
}

bool IsFirefoxDatabaseInUse(const std::string& strDatabase)
{
    return IsFirefoxProfileRunning(fs::path(strDatabase).parent_path().string());
}

std::unique_ptr<CCookieStore> MakeFirefoxStore()
{
    return std::make_unique<CDatabaseStore>(EBrowser::Firefox, ECookieTable::Moz);
}

bool IsChromiumDatabase(const std::string& strPath)
{
    return HasCookieTable(ECookieTable::Chromium, strPath);
}

bool IsChromiumDatabaseInUse(const std::string& strDatabase)
{
    const fs::path folder = fs::path(strDatabase).parent_path();
    const fs::path profile = folder.filename() == "Network" ? folder.parent_path() : folder;
    return IsChromiumProfileRunning(profile.parent_path().string());
}

std::unique_ptr<CCookieStore> MakeChromiumStore()
{
    return std::make_unique<CDatabaseStore>(EBrowser::Chromium, ECookieTable::Chromium);
}
