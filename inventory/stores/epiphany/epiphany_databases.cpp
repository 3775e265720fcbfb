#include "inventory/stores/epiphany/epiphany_databases.h"

#include "inventory/stores/sqlite/database_store.h"
#include "platform/browser_homes.h"
#include "platform/browser_lock.h"
#include "platform/path.h"

#include <filesystem>
#include <system_error>

std::vector<std::string> FindEpiphanyDatabases(const std::string& strHome)
{
    std::vector<std::string> databases;
    for (const std::string& strFolder :
         {AppendPathPart(XdgFolder("XDG_DATA_HOME", AppendPathPart(strHome, ".local/share")),
                         "epiphany"),
          AppendPathPart(strHome, ".var/app/org.gnome.Epiphany/data/epiphany")})
    {
        const std::string strDatabase = AppendPathPart(strFolder, "cookies.sqlite");
        std::error_code error;
        if (std::filesystem::is_regular_file(strDatabase, error))
            databases.push_back(strDatabase);
    }
    return databases;
}

bool IsEpiphanyDatabase(const std::string& strPath)
{
    std::vector<CDatabaseRow> rows;
    return ReadCookieDatabase(ECookieTable::Moz, strPath, rows) &&
           !CookieTableHasColumn(ECookieTable::Moz, strPath, "originAttributes");
}

bool IsEpiphanyDatabaseInUse(const std::string& strDatabase)
{
    return IsEpiphanyProfileRunning(strDatabase);
}

std::unique_ptr<CCookieStore> MakeEpiphanyStore()
{
    return std::make_unique<CDatabaseStore>(EBrowser::Epiphany, ECookieTable::Moz);
}
