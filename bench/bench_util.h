#pragma once

#include <chrono>
#include <string>
#include <vector>

// The benchmark program runs sections, each a function in a file of its own
// that registers itself with JARVANE_BENCH_SECTION("name", Function).

struct CBenchSection
{
    const char* pszName;
    void (*pfnRun)();
};

std::vector<CBenchSection>& BenchSections();

struct CBenchRegistrar
{
    CBenchRegistrar(const char* pszName, void (*pfnRun)())
    {
        BenchSections().push_back({pszName, pfnRun});
    }
};

#define JARVANE_BENCH_SECTION(name, function)                                                      \
    static const CBenchRegistrar s_benchRegistrar_##function(name, function)

// Wall-clock milliseconds that fn takes.
template <typename Fn> double TimeMs(Fn&& fn)
{
    const auto start = std::chrono::steady_clock::now();
    fn();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// Prints "name: ms", and with a baseline above zero also the ratio to it.
void PrintFigure(const std::string& strName, double dMs, double dBaselineMs = 0.0);

// The middle value of a run's figures (the upper middle of an even count).
double Median(std::vector<double> values);

// Writes a fixture file plainly (no store is being replaced); says so on
// standard error when it cannot.
void WriteFixture(const std::string& strPath, const std::string& strText);

// Runs SQL statements on a database file, creating it when missing.
bool Exec(const std::string& strPath, const char* pszSql);
