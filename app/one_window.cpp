#include "app/one_window.h"

#include "platform/path.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace
{
// FNV-1a: the same folder gives the same name in every build of the program.
std::uint64_t HashOfText(const std::string& strText)
{
    std::uint64_t nHash = 14695981039346656037ull;
    for (unsigned char c : strText)
    {
        nHash ^= c;
        nHash *= 1099511628211ull;
    }
    return nHash;
}
} // namespace

COneWindowNames GetOneWindowNames(const std::string& strFolder, const std::string& strRuntimeFolder)
{
    if (strRuntimeFolder.empty())
        return {};
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::canonical(strFolder, error);
    const std::string strCanonical = error ? strFolder : canonical.string();
    char szStem[64];
    std::snprintf(szStem, sizeof(szStem), "jarvane-%016" PRIx64, HashOfText(strCanonical));
    const std::string strStem = szStem;
    return {strStem + ".lock", AppendPathPart(strRuntimeFolder, strStem + ".channel")};
}
