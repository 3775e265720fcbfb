#include "bench/bench_util.h"
#include "inventory/cookie_inventory.h"
#include "inventory/stores/netscape/ns_cookie.h"
#include "platform/path.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"
#include "support/inventory_test_access.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr int kIEFiles = 10000;
constexpr int kNSLines = 100000;
constexpr int kModelRows = 100000;
constexpr int kProtectEvery = 10; // one cookie in ten is protected
constexpr int kSites = 1000;

std::string IEFileName(int i)
{
    return "cookie" + std::to_string(i) + ".txt";
}

// Two lines per domain, as sites often set more than one cookie.
std::string NSLine(int i)
{
    return "d" + std::to_string(i / 2) + ".example.org\tTRUE\t/\tFALSE\t946684799\tname" +
           std::to_string(i) + "\tvalue" + std::to_string(i);
}

void WriteIEFolder(const std::string& strFolder)
{
    for (int i = 0; i < kIEFiles; ++i)
        WriteFixture(AppendPathPart(strFolder, IEFileName(i)),
                     "id\r\n" + std::to_string(i) + "\r\nhost" + std::to_string(i) +
                         ".example.com/\r\n0\r\n1\r\n2\r\n*\r\n");
}

void WriteNSFile(const std::string& strPath)
{
    std::vector<std::string> lines = {"# Netscape HTTP Cookie File", "# benchmark", ""};
    for (int i = 0; i < kNSLines; ++i)
        lines.push_back(NSLine(i));
    WriteFixture(strPath, JoinCrLfLines(lines));
}

constexpr int kRuns = 5; // each figure is the median of this many runs

// Times a baseline and the work it is compared with in alternate runs, so that
// a change of machine load shows in both; each run of either starts after its
// own untimed preparation. Gives the two medians.
template <typename PrepareBase, typename Base, typename Prepare, typename Work>
std::pair<double, double> MedianPairMs(PrepareBase&& prepareBase, Base&& base, Prepare&& prepare,
                                       Work&& work)
{
    std::vector<double> baseTimes, workTimes;
    for (int nRun = 0; nRun < kRuns; ++nRun)
    {
        prepareBase();
        baseTimes.push_back(TimeMs(base));
        prepare();
        workTimes.push_back(TimeMs(work));
    }
    return {Median(baseTimes), Median(workTimes)};
}

void NoPreparation() {}

// Puts back the files a delete-all removed and rewrites the cookie file whole,
// so each delete run starts from the same stores.
void RestoreStores(const std::string& strIEFolder, const std::string& strNSFile)
{
    WriteIEFolder(strIEFolder);
    WriteNSFile(strNSFile);
}

// The bytes the refresh reads, read with nothing else done with them: three
// lines of each cookie file and every line of the cookie file.
void ReadBaseline(const std::string& strIEFolder, const std::string& strNSFile)
{
    size_t nBytes = 0;
    char szLine[4096];
    for (int i = 0; i < kIEFiles; ++i)
    {
        std::FILE* pFile = std::fopen(AppendPathPart(strIEFolder, IEFileName(i)).c_str(), "rb");
        if (!pFile)
            continue;
        for (int nLine = 0; nLine < 3 && std::fgets(szLine, sizeof(szLine), pFile); ++nLine)
            nBytes += std::strlen(szLine);
        std::fclose(pFile);
    }
    std::FILE* pFile = std::fopen(strNSFile.c_str(), "rb");
    if (pFile)
    {
        while (std::fgets(szLine, sizeof(szLine), pFile))
            nBytes += std::strlen(szLine);
        std::fclose(pFile);
    }
    if (nBytes == 0)
        std::fprintf(stderr, "the read baseline read nothing\n");
}

// The same file work as deleting the unprotected cookies, with nothing else:
// remove the files, write the surviving lines once.
void DeleteBaseline(const std::string& strIEFolder, const std::string& strNSFile,
                    const std::string& strSurvivors)
{
    for (int i = 0; i < kIEFiles; ++i)
        if (i % kProtectEvery != 0)
            std::remove(AppendPathPart(strIEFolder, IEFileName(i)).c_str());
    ReplaceFileContents(strNSFile, strSurvivors);
}

// Marks every tenth IE file and every tenth NS line, the first line of every
// fifth domain: the marks a refresh reads back from the lists as they were, so a
// refresh after this one finds its lists unchanged, as after most refreshes.
void ProtectEveryTenth(CCookieInventory& inventory)
{
    for (const auto& pCookie : inventory.Cookies())
    {
        const auto* pNSCookie = pCookie->Browser() == EBrowser::Netscape
                                    ? static_cast<const CNSCookie*>(pCookie.get())
                                    : nullptr;
        const std::string& strNumbered = pNSCookie ? pNSCookie->m_strLine : pCookie->m_strName;
        const char* pszNumberedPart = pNSCookie ? "\tname" : "host";
        const size_t nDigits = strNumbered.find(pszNumberedPart) + std::strlen(pszNumberedPart);
        const int nIndex = std::atoi(strNumbered.c_str() + nDigits);
        pCookie->m_bProtected = nIndex % kProtectEvery == 0 ? 1 : 0;
    }
}

// The steps of RefreshCookies, timed one by one, median of kRuns each.
struct CRefreshSteps
{
    double dSave, dReadIE, dReadNS, dFill, dSort, dTotal;
};

CRefreshSteps TimeRefreshSteps(CCookieInventory& inventory)
{
    std::vector<double> save, readIE, readNS, fill, sort, total;
    for (int nRun = 0; nRun < kRuns; ++nRun)
    {
        inventory.RefreshCookies();
        ProtectEveryTenth(inventory);
        save.push_back(TimeMs([&] { inventory.SaveAndClearCookies(); }));
        readIE.push_back(TimeMs([&] { CInventoryTestAccess::ReadIECookies(inventory); }));
        readNS.push_back(TimeMs([&] { CInventoryTestAccess::ReadNSCookies(inventory); }));
        fill.push_back(TimeMs([&] { CInventoryTestAccess::FillCookieList(inventory); }));
        sort.push_back(TimeMs([&] { inventory.SortByColumn(COL_STATE); }));
        total.push_back(save.back() + readIE.back() + readNS.back() + fill.back() + sort.back());
    }
    return {Median(save), Median(readIE), Median(readNS),
            Median(fill), Median(sort),   Median(total)};
}

// The refresh with 1,000 sites to keep against the same refresh with none;
// one site in ten covers listed cookies (two Netscape lines each).
void BenchmarkSites(CCookieInventory& inventory, const std::string& strFolder)
{
    CSiteList sites;
    for (int i = 0; i < kSites; ++i)
        sites.Add(i % 10 == 0 ? "d" + std::to_string(i * 7) + ".example.org"
                              : "site" + std::to_string(i) + ".example.net");
    const std::string strSitesFile = AppendPathPart(strFolder, SITES_FILE);
    const std::string strSites = JoinCrLfLines(sites.Sorted());
    const auto [dNoSites, dWithSites] = MedianPairMs(
        [&]
        {
            std::remove(strSitesFile.c_str());
            inventory.RefreshCookies();
        },
        [&] { inventory.RefreshCookies(); },
        [&]
        {
            WriteFixture(strSitesFile, strSites);
            inventory.RefreshCookies();
        },
        [&] { inventory.RefreshCookies(); });
    const size_t nKept = std::count_if(inventory.Cookies().begin(), inventory.Cookies().end(),
                                       [](const auto& pCookie) { return pCookie->m_bKept != 0; });
    std::vector<double> match, walk;
    size_t nCovered = 0;
    for (int nRun = 0; nRun < kRuns; ++nRun)
    {
        walk.push_back(TimeMs(
            [&]
            {
                for (const auto& pCookie : inventory.Cookies())
                    nCovered += CookieHost(pCookie->m_strName).size();
            }));
        match.push_back(TimeMs(
            [&]
            {
                nCovered = 0;
                for (const auto& pCookie : inventory.Cookies())
                    nCovered += sites.Covers(pCookie->m_strName) ? 1 : 0;
            }));
    }
    std::remove(strSitesFile.c_str());
    std::printf("  %zu records kept by %d sites to keep\n", nKept, kSites);
    PrintFigure("refresh with no site to keep", dNoSites);
    PrintFigure("refresh with 1,000 sites to keep (goal at most 1.10x)", dWithSites, dNoSites);
    PrintFigure("  match 110,000 records against 1,000 sites", Median(match), dNoSites);
    PrintFigure("  only walk the same records' hosts", Median(walk), dNoSites);
}

void BenchmarkStores()
{
    CTempDir folder;
    const std::string strIE = AppendPathPart(folder.Path(), "ie");
    const std::string strIECopy = AppendPathPart(folder.Path(), "ie-baseline");
    std::filesystem::create_directory(strIE);
    std::filesystem::create_directory(strIECopy);
    const std::string strNS = AppendPathPart(folder.Path(), "cookies.txt");
    const std::string strNSCopy = AppendPathPart(folder.Path(), "cookies-baseline.txt");
    RestoreStores(strIE, strNS);
    RestoreStores(strIECopy, strNSCopy);

    CCookieInventory inventory(folder.Path());
    inventory.SetLocations(EBrowser::InternetExplorer, {strIE});
    inventory.SetLocations(EBrowser::Netscape, {strNS});
    const auto [dReadBase, dRefresh] = MedianPairMs(
        NoPreparation, [&] { ReadBaseline(strIECopy, strNSCopy); },
        [&]
        {
            inventory.RefreshCookies();
            ProtectEveryTenth(inventory);
        },
        [&] { inventory.RefreshCookies(); });
    const double dFirst = MedianPairMs(
                              NoPreparation, NoPreparation,
                              [&]
                              {
                                  inventory.RefreshCookies();
                                  for (const auto& pCookie : inventory.Cookies())
                                      pCookie->m_bProtected = 0;
                                  inventory.SaveAndClearCookies(); // empty lists, no records
                              },
                              [&] { inventory.RefreshCookies(); })
                              .second;
    const CRefreshSteps steps = TimeRefreshSteps(inventory);
    std::printf("  %d records, %d rows, %d protected; median of %d runs each\n",
                static_cast<int>(inventory.Cookies().size()), inventory.CookieList().GetItemCount(),
                static_cast<int>(
                    std::count_if(inventory.Cookies().begin(), inventory.Cookies().end(),
                                  [](const auto& pCookie) { return pCookie->m_bProtected != 0; })),
                kRuns);
    PrintFigure("read baseline (3 lines x 10,000 files, 100,000 lines)", dReadBase);
    PrintFigure("first refresh (nothing to save)", dFirst, dReadBase);
    PrintFigure("refresh (save marks, read both stores, fill, sort)", dRefresh, dReadBase);
    PrintFigure("  its steps timed one by one, summed", steps.dTotal, dReadBase);
    PrintFigure("  save the marks, free the records", steps.dSave);
    PrintFigure("  read 10,000 IE files, apply IEPROT.DAT", steps.dReadIE);
    PrintFigure("  read 100,000 NS lines, apply NSPROT.DAT", steps.dReadNS);
    PrintFigure("  fill the list", steps.dFill);
    PrintFigure("  sort by State", steps.dSort);

    BenchmarkSites(inventory, folder.Path());

    std::vector<std::string> survivors;
    for (int i = 0; i < kNSLines; i += kProtectEvery)
        survivors.push_back(NSLine(i));
    const std::string strSurvivors = JoinCrLfLines(survivors);
    const auto [dDeleteBase, dDelete] =
        MedianPairMs([&] { RestoreStores(strIECopy, strNSCopy); },
                     [&] { DeleteBaseline(strIECopy, strNSCopy, strSurvivors); },
                     [&]
                     {
                         RestoreStores(strIE, strNS);
                         inventory.RefreshCookies();
                         ProtectEveryTenth(inventory);
                     },
                     [&] { inventory.DeleteAllUnprotected(); });
    std::printf("  left after delete all: %d rows\n", inventory.CookieList().GetItemCount());
    PrintFigure("delete baseline (unlink 9,000 files, write 10,000 lines)", dDeleteBase);
    PrintFigure("delete all unprotected with the rewrite", dDelete, dDeleteBase);
}

void BenchmarkModel()
{
    CCookieInventory inventory;
    for (int i = 0; i < kModelRows; ++i)
    {
        // Names in no particular order, many shared, a few protected.
        const int nKey = (i * 7919) % (kModelRows / 4);
        CInventoryTestAccess::AppendCookie(
            inventory, std::make_unique<CNSCookie>("d" + std::to_string(nKey) + ".example.org",
                                                   "cookies.txt", "line"));
        inventory.Cookies().back()->m_bProtected = i % kProtectEvery == 0 ? 1 : 0;
    }
    std::vector<double> fill, sort, sortName;
    for (int nRun = 0; nRun < kRuns; ++nRun)
    {
        inventory.CookieList().DeleteAllItems();
        fill.push_back(TimeMs([&] { CInventoryTestAccess::FillCookieList(inventory); }));
        sort.push_back(TimeMs([&] { inventory.SortByColumn(COL_STATE); }));
        sortName.push_back(TimeMs([&] { inventory.SortByColumn(COL_COOKIE); }));
    }
    PrintFigure("fill 100,000 rows", Median(fill));
    PrintFigure("sort 100,000 rows by State", Median(sort));
    PrintFigure("fill + sort by State (target well under 1000 ms)", Median(fill) + Median(sort));
    PrintFigure("sort 100,000 rows by Cookie", Median(sortName));
}

void RunInventoryBenchmarks()
{
    BenchmarkStores();
    BenchmarkModel();
}
} // namespace

JARVANE_BENCH_SECTION("inventory", RunInventoryBenchmarks);
