#include "bench/bench_util.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

std::vector<CBenchSection>& BenchSections()
{
    static std::vector<CBenchSection> s_sections;
    return s_sections;
}

void PrintFigure(const std::string& strName, double dMs, double dBaselineMs)
{
    if (dBaselineMs > 0.0)
        std::printf("  %-58s %10.1f ms  (%.2fx its baseline)\n", strName.c_str(), dMs,
                    dMs / dBaselineMs);
    else
        std::printf("  %-58s %10.1f ms\n", strName.c_str(), dMs);
    std::fflush(stdout);
}

// Runs every section, or only those named on the command line, by name order.
int main(int argc, char** argv)
{
    std::vector<CBenchSection> sections = BenchSections();
    std::sort(sections.begin(), sections.end(),
              [](const CBenchSection& a, const CBenchSection& b)
              { return std::strcmp(a.pszName, b.pszName) < 0; });
    int nRun = 0;
    for (const CBenchSection& section : sections)
    {
        const bool bWanted =
            argc < 2 || std::any_of(argv + 1, argv + argc,
                                    [&](const char* pszArg)
                                    { return std::strcmp(pszArg, section.pszName) == 0; });
        if (!bWanted)
            continue;
        std::printf("%s\n", section.pszName);
        section.pfnRun();
        ++nRun;
    }
    if (nRun == 0)
    {
        std::fprintf(stderr, "no benchmark section of that name; sections:");
        for (const CBenchSection& section : sections)
            std::fprintf(stderr, " %s", section.pszName);
        std::fprintf(stderr, "\n");
        return 1;
    }
    return 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void WriteFixture(const std::string& strPath, const std::string& strText)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (!pFile || std::fwrite(strText.data(), 1, strText.size(), pFile) != strText.size())
        std::fprintf(stderr, "cannot write %s\n", strPath.c_str());
    if (pFile)
        std::fclose(pFile);
}

bool Exec(const std::string& strPath, const char* pszSql)
{
    sqlite3* pDb = nullptr;
    const bool bDone = sqlite3_open(strPath.c_str(), &pDb) == SQLITE_OK &&
                       sqlite3_exec(pDb, pszSql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(pDb);
    return bDone;
}
