#include "bench/bench_util.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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
