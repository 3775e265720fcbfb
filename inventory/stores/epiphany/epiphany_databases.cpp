#include "inventory/stores/epiphany/epiphany_databases.h"

#include "inventory/stores/sqlite/database_store.h"
#include "platform/browser_lock.h"
#include "platform/path.h"

#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <system_error>

namespace
{
// $XDG_DATA_HOME when set to an absolute path (a relative one is ignored, as
// the XDG rules ask), else the home's ".local/share".
std::string DataHome(const std::string& strHome)
{
    const char* pData = std::getenv("XDG_DATA_HOME");
    if (pData && pData[0] == '/')
        return pData;
    return AppendPathPart(AppendPathPart(strHome, ".local"), "share");
}

bool HasOriginAttributes(const std::string& strPath)
{
    sqlite3* pDb = nullptr;
    bool bHas = false;
    if (sqlite3_open_v2(strPath.c_str(), &pDb, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK)
    {
        sqlite3_stmt* pStatement = nullptr;
        if (sqlite3_prepare_v2(pDb, "PRAGMA table_info(moz_cookies)", -1, &pStatement, nullptr) ==
            SQLITE_OK)
            while (!bHas && sqlite3_step(pStatement) == SQLITE_ROW)
            {
                const unsigned char* pName = sqlite3_column_text(pStatement, 1);
                bHas = pName &&
                       std::string(reinterpret_cast<const char*>(pName)) == "originAttributes";
            }
        sqlite3_finalize(pStatement);
    }
    sqlite3_close(pDb);
    return bHas;
}
} // namespace

std::vector<std::string> FindEpiphanyDatabases(const std::string& strHome)
{
    std::vector<std::string> databases;
    for (const std::string& strFolder :
         {AppendPathPart(DataHome(strHome), "epiphany"),
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
    return ReadCookieDatabase(ECookieTable::Moz, strPath, rows) && !HasOriginAttributes(strPath);
}

bool IsEpiphanyDatabaseInUse(const std::string& strDatabase)
{
    return IsEpiphanyProfileRunning(strDatabase);
}

std::unique_ptr<CCookieStore> MakeEpiphanyStore()
{
    return std::make_unique<CDatabaseStore>(EBrowser::Epiphany, ECookieTable::Moz);
}
