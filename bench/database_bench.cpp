#include "bench/bench_util.h"
#include "inventory/cookie_inventory.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace
{
constexpr int kCookies = 100000;
constexpr int kRuns = 5;

const char* const kFirefoxRows =
    "DELETE FROM moz_cookies;"
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
    "INSERT INTO moz_cookies(originAttributes, name, value, host, path, expiry, lastAccessed, "
    "creationTime, isSecure, isHttpOnly, updateTime) "
    "SELECT '', 'c' || i, 'v' || i, 'host' || (i % 5000) || '.test', '/', 1900000000, "
    "1700000000000000, 1700000000000000 + i, 0, 0, 1700000000000000 FROM n";
const char* const kChromiumRows =
    "DELETE FROM cookies;"
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
    "INSERT INTO cookies(creation_utc, host_key, top_frame_site_key, name, value, "
    "encrypted_value, path, expires_utc, is_secure, is_httponly, last_access_utc, has_expires, "
    "is_persistent, priority, samesite, source_scheme, source_port, last_update_utc, "
    "source_type, has_cross_site_ancestor) "
    "SELECT 13300000000000000 + i, 'host' || (i % 5000) || '.test', '', 'c' || i, 'v' || i, "
    "x'', '/', 13400000000000000, 0, 0, 13300000000000000, 1, 1, 1, -1, 1, 80, "
    "13300000000000000, 0, 0 FROM n";

struct CKindBench
{
    const char* pszName;
    EBrowser browser;
    ECookieTable kind;
    const char* pszFixture;
    const char* pszRows;
    const char* pszSelect; // the same columns the store reads
    const char* pszDelete; // every row in one statement, without the truncate shortcut
};
const CKindBench kKinds[] = {
    {"Firefox", EBrowser::Firefox, ECookieTable::Moz,
     "home/.config/mozilla/firefox/jk45xpu8.work/cookies.sqlite", kFirefoxRows,
     "SELECT host, id, name, path, expiry, isSecure, isHttpOnly, length(CAST(value AS BLOB)), "
     "NULL, NULL FROM moz_cookies",
     "DELETE FROM moz_cookies WHERE host IS NOT NULL"},
    {"Chromium", EBrowser::Chromium, ECookieTable::Chromium,
     "home/.config/chromium/Default/Cookies", kChromiumRows,
     "SELECT host_key, host_key, top_frame_site_key, has_cross_site_ancestor, name, path, "
     "source_scheme, source_port, name, path, expires_utc, is_secure, is_httponly, "
     "length(CAST(value AS BLOB)), length(CAST(encrypted_value AS BLOB)), is_persistent "
     "FROM cookies",
     "DELETE FROM cookies WHERE host_key IS NOT NULL"},
};

// Steps through every row, reading each column as the store does.
long long PlainSelect(const std::string& strPath, const char* pszSql)
{
    sqlite3* pDb = nullptr;
    sqlite3_stmt* pStatement = nullptr;
    long long nBytes = 0;
    if (sqlite3_open_v2(strPath.c_str(), &pDb, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(pDb, pszSql, -1, &pStatement, nullptr) == SQLITE_OK)
        while (sqlite3_step(pStatement) == SQLITE_ROW)
            for (int i = 0; i < sqlite3_column_count(pStatement); ++i)
            {
                sqlite3_column_text(pStatement, i);
                nBytes += sqlite3_column_bytes(pStatement, i);
            }
    sqlite3_finalize(pStatement);
    sqlite3_close(pDb);
    return nBytes;
}

void RunDatabaseBench()
{
    std::printf("  %d cookies per database, median of %d runs\n", kCookies, kRuns);
    for (const CKindBench& kind : kKinds)
    {
        CTempDir dir;
        const std::string strMaster = dir.File("master.db");
        std::filesystem::copy_file(std::string(JARVANE_BROWSER_FIXTURES "/") + kind.pszFixture,
                                   strMaster);
        if (!Exec(strMaster, kind.pszRows))
        {
            std::printf("  %s: could not fill the database\n", kind.pszName);
            continue;
        }
        CCookieInventory inventory(dir.MakeDir("data"));
        inventory.SetLocations(kind.browser, {strMaster});
        std::vector<double> select, refresh, read, deleteAll, deleteOnce;
        for (int nRun = 0; nRun < kRuns; ++nRun)
        {
            select.push_back(TimeMs([&] { PlainSelect(strMaster, kind.pszSelect); }));
            refresh.push_back(TimeMs([&] { inventory.RefreshCookies(); }));
            std::vector<CDatabaseRow> rows;
            read.push_back(TimeMs([&] { ReadCookieDatabase(kind.kind, strMaster, rows); }));

            const std::string strCopy = dir.File("copy.db");
            std::filesystem::copy_file(strMaster, strCopy,
                                       std::filesystem::copy_options::overwrite_existing);
            deleteOnce.push_back(TimeMs([&] { Exec(strCopy, kind.pszDelete); }));
            std::filesystem::copy_file(strMaster, strCopy,
                                       std::filesystem::copy_options::overwrite_existing);
            inventory.SetLocations(kind.browser, {strCopy});
            inventory.RefreshCookies();
            if (inventory.CookieList().GetItemCount() != kCookies)
                std::printf("  %s: %d rows listed\n", kind.pszName,
                            inventory.CookieList().GetItemCount());
            deleteAll.push_back(TimeMs([&] { inventory.DeleteAllUnprotected(); }));
            inventory.SetLocations(kind.browser, {strMaster});
        }
        const double dSelect = Median(select);
        const double dDeleteOnce = Median(deleteOnce);
        PrintFigure(std::string(kind.pszName) + ": plain SELECT of the same columns", dSelect);
        PrintFigure(std::string(kind.pszName) + ": refresh", Median(refresh), dSelect);
        PrintFigure(std::string(kind.pszName) + ":   of which reading the rows", Median(read),
                    dSelect);
        PrintFigure(std::string(kind.pszName) + ": one DELETE of every row", dDeleteOnce);
        PrintFigure(std::string(kind.pszName) + ": Delete All", Median(deleteAll), dDeleteOnce);
    }
}
} // namespace

JARVANE_BENCH_SECTION("databases", RunDatabaseBench);
