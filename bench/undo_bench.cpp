// Delete All with the copy for undo kept in UNDO.DB against the same Delete All
// without it: 10,000 Internet Explorer files with 100,000 Netscape lines,
// 100,000 rows of each browser's database, and all of them in one Delete All
// (the databases with 50,000 rows each).
#include "bench/bench_util.h"
#include "inventory/cookie_inventory.h"
#include "platform/path.h"
#include "platform/text_file.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace
{
constexpr int kIEFiles = 10000;
constexpr int kNSLines = 100000;
constexpr int kRuns = 5;

void WriteStores(const std::string& strIEFolder, const std::string& strNSFile)
{
    for (int i = 0; i < kIEFiles; ++i)
        WriteFixture(AppendPathPart(strIEFolder, "cookie" + std::to_string(i) + ".txt"),
                     "id\r\n" + std::to_string(i) + "\r\nhost" + std::to_string(i) +
                         ".example.com/\r\n0\r\n1\r\n2\r\n*\r\n");
    std::vector<std::string> lines = {"# Netscape HTTP Cookie File"};
    for (int i = 0; i < kNSLines; ++i)
        lines.push_back("d" + std::to_string(i / 2) +
                        ".example.org\tTRUE\t/\tFALSE\t946684799\tname" + std::to_string(i) +
                        "\tvalue" + std::to_string(i));
    WriteFixture(strNSFile, JoinCrLfLines(lines));
}

// Runs of the batch without and with the copy alternate, each after the same
// untimed preparation of the stores; UNDO.DB starts empty each time.
void CompareDeleteAll(const char* pszWhat, CCookieInventory& inventory,
                      const std::function<void()>& fnPrepare)
{
    std::vector<double> without, with;
    for (int nRun = 0; nRun < kRuns; ++nRun)
        for (bool bKeep : {false, true})
        {
            inventory.SetUndoRecording(false); // removes UNDO.DB
            inventory.SetUndoRecording(bKeep);
            fnPrepare();
            inventory.RefreshCookies();
            const int nRows = inventory.CookieList().GetItemCount();
            (bKeep ? with : without).push_back(TimeMs([&] { inventory.DeleteAllUnprotected(); }));
            if (inventory.CookieList().GetItemCount() != 0 || nRows == 0)
                std::printf("  %s: %d of %d rows left\n", pszWhat,
                            inventory.CookieList().GetItemCount(), nRows);
        }
    const double dWithout = Median(without);
    PrintFigure(std::string(pszWhat) + ": Delete All without a copy", dWithout);
    PrintFigure(std::string(pszWhat) + ": Delete All keeping the copy (goal 1.3x)", Median(with),
                dWithout);
}

struct CDatabaseKind
{
    const char* pszName;
    EBrowser browser;
    const char* pszFixture;
    const char* pszRows; // fills the table with as many rows as its parameter says
};
const CDatabaseKind kDatabaseKinds[] = {
    {"Firefox", EBrowser::Firefox, "home/.config/mozilla/firefox/jk45xpu8.work/cookies.sqlite",
     "DELETE FROM moz_cookies;"
     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
     "INSERT INTO moz_cookies(originAttributes, name, value, host, path, expiry, "
     "lastAccessed, creationTime, isSecure, isHttpOnly, updateTime) "
     "SELECT '', 'c' || i, 'v' || i, 'host' || (i % 5000) || '.test', '/', 1900000000, "
     "1700000000000000, 1700000000000000 + i, 0, 0, 1700000000000000 FROM n"},
    {"Chromium", EBrowser::Chromium, "home/.config/chromium/Default/Cookies",
     "DELETE FROM cookies;"
     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
     "INSERT INTO cookies(creation_utc, host_key, top_frame_site_key, name, value, "
     "encrypted_value, path, expires_utc, is_secure, is_httponly, last_access_utc, "
     "has_expires, is_persistent, priority, samesite, source_scheme, source_port, "
     "last_update_utc, source_type, has_cross_site_ancestor) "
     "SELECT 13300000000000000 + i, 'host' || (i % 5000) || '.test', '', 'c' || i, "
     "'v' || i, x'', '/', 13400000000000000, 0, 0, 13300000000000000, 1, 1, 1, -1, 1, 80, "
     "13300000000000000, 0, 0 FROM n"},
};

// A copy of the kind's fixture holding nRows generated rows.
bool MakeDatabase(const CDatabaseKind& kind, int nRows, const std::string& strPath)
{
    std::filesystem::copy_file(std::string(JARVANE_BROWSER_FIXTURES "/") + kind.pszFixture,
                               strPath);
    std::string strSql = kind.pszRows;
    strSql.replace(strSql.find('?'), 1, std::to_string(nRows));
    if (Exec(strPath, strSql.c_str()))
        return true;
    std::printf("  %s: could not fill the database\n", kind.pszName);
    return false;
}

void CopyOver(const std::string& strFrom, const std::string& strTo)
{
    std::filesystem::copy_file(strFrom, strTo, std::filesystem::copy_options::overwrite_existing);
}

// One comparison over the Internet Explorer and Netscape stores (with
// bFiles) and the databases of these kinds, nRows rows each.
void CompareStores(const std::string& strWhat, bool bFiles,
                   const std::vector<const CDatabaseKind*>& kinds, int nRows)
{
    CTempDir dir;
    const std::string strIE = dir.MakeDir("ie");
    const std::string strNS = dir.File("cookies.txt");
    CCookieInventory inventory(dir.MakeDir("data"));
    if (bFiles)
    {
        inventory.SetLocations(EBrowser::InternetExplorer, {strIE});
        inventory.SetLocations(EBrowser::Netscape, {strNS});
    }
    std::vector<std::pair<std::string, std::string>> databases; // master, copy
    for (const CDatabaseKind* pKind : kinds)
    {
        databases.emplace_back(dir.File(std::string(pKind->pszName) + ".master"),
                               dir.File(std::string(pKind->pszName) + ".db"));
        if (!MakeDatabase(*pKind, nRows, databases.back().first))
            return;
        inventory.SetLocations(pKind->browser, {databases.back().second});
    }
    CompareDeleteAll(strWhat.c_str(), inventory,
                     [&]
                     {
                         if (bFiles)
                             WriteStores(strIE, strNS);
                         for (const auto& [strMaster, strCopy] : databases)
                             CopyOver(strMaster, strCopy);
                     });
}

void RunUndoBench()
{
    std::printf("  median of %d runs each\n", kRuns);
    CompareStores("10,000 IE files + 100,000 NS lines", true, {}, 0);
    for (const CDatabaseKind& kind : kDatabaseKinds)
        CompareStores("100,000 " + std::string(kind.pszName) + " rows", false, {&kind}, 100000);
    CompareStores("all of them", true, {&kDatabaseKinds[0], &kDatabaseKinds[1]}, 50000);
}
} // namespace

JARVANE_BENCH_SECTION("undo", RunUndoBench);
