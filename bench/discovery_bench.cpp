#include "bench/bench_util.h"
#include "locations/location_discovery.h"
#include "locations/location_file.h"
#include "platform/path.h"
#include "support/location_lists.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
// 20 + 20 * 20 + 20 * 20 * 49 = 20,020 folders.
constexpr int kTop = 20;
constexpr int kMiddle = 20;
constexpr int kLeaves = 49;
constexpr int kLocations = 1000;
constexpr int kRuns = 3;

std::string Numbered(const char* pPrefix, int n)
{
    char szName[32];
    std::snprintf(szName, sizeof szName, "%s%03d", pPrefix, n);
    return szName;
}

// Builds the tree; returns the last folder in search order.
std::string BuildTree(const std::string& strRoot)
{
    namespace fs = std::filesystem;
    std::string strLast;
    for (int t = 0; t < kTop; ++t)
        for (int m = 0; m < kMiddle; ++m)
            for (int l = 0; l < kLeaves; ++l)
            {
                strLast = strRoot + "/" + Numbered("t", t) + "/" + Numbered("m", m) + "/" +
                          Numbered("l", l);
                fs::create_directories(strLast);
            }
    return strLast;
}

// The plain walk: every entry of the tree once, in the file system's order, so
// it visits the whole tree whether the file is there or not, as the search does.
bool WalkFor(const std::string& strRoot, const std::string& strName)
{
    namespace fs = std::filesystem;
    bool bFound = false;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(strRoot, ec), end; !ec && it != end; it.increment(ec))
        bFound = bFound || it->path().filename() == strName;
    return bFound;
}

template <typename Fn> double BestOf(Fn&& fn)
{
    double dBest = 1e300;
    for (int i = 0; i < kRuns; ++i)
        dBest = std::min(dBest, TimeMs(fn));
    return dBest;
}

void CompareSearch(const std::string& strRoot, const char* pWhat)
{
    bool bFound = false;
    const double dWalk = BestOf([&] { bFound = WalkFor(strRoot, "cookies.txt"); });
    std::string strFound;
    const double dSearch = BestOf([&] { strFound = SearchFolder("cookies.txt", strRoot); });
    if (bFound != !strFound.empty())
        std::printf("  the search and the walk disagree!\n");
    PrintFigure(std::string("std::filesystem walk, cookies.txt ") + pWhat, dWalk);
    PrintFigure(std::string("SearchFolder, cookies.txt ") + pWhat, dSearch, dWalk);
}

void RunDiscoveryBench()
{
    CTempDir folder;
    const std::string strRoot = folder.Path() + "/tree";
    const std::string strLast = BuildTree(strRoot);
    CompareSearch(strRoot, "absent (20,020 folders)");
    std::ofstream(strLast + "/cookies.txt").put('\n');
    CompareSearch(strRoot, "last in search order");

    std::vector<std::string> ieLocations, nsLocations;
    for (int i = 0; i < kLocations; ++i)
        (i % 2 ? nsLocations : ieLocations)
            .push_back(strRoot + "/" + Numbered("t", i % kTop) + "/" + std::to_string(i));
    const std::string strFile = AppendPathPart(folder.Path(), "Location.DAT");
    PrintFigure("SaveLocations, 1,000 entries",
                TimeMs([&] { SaveLocations(strFile, LocationLists(ieLocations, nsLocations)); }));
    std::vector<std::string> ieRead, nsRead;
    PrintFigure("LoadLocations, 1,000 entries",
                TimeMs([&] { LoadLocations(strFile, ieRead, nsRead); }));
    if (ieRead != ieLocations || nsRead != nsLocations)
        std::printf("  the locations read back differ!\n");
}
} // namespace

JARVANE_BENCH_SECTION("discovery", RunDiscoveryBench);
