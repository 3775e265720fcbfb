#include "platform/folder_search_os.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool ListFolderEntries(const std::string& strFolder, const std::string& strPattern,
                       std::vector<CFindEntry>& entries)
{
    std::error_code ec;
    fs::directory_iterator it(fs::path(strFolder.empty() ? std::string(".") : strFolder), ec);
    if (ec)
        return false;
    for (; it != fs::directory_iterator(); it.increment(ec))
    {
        if (ec)
            break;
        // A name the ANSI code page cannot spell cannot be opened by the
        // program's paths either: it is left out.
        std::string strName;
        try
        {
            strName = it->path().filename().string();
        }
        catch (const std::system_error&)
        {
            continue;
        }
        if (!MatchesFindPattern(strName, strPattern))
            continue;
        std::error_code ecType;
        const bool bDirectory = it->is_directory(ecType) && !it->is_symlink(ecType);
        entries.push_back({std::move(strName), bDirectory});
    }
    return true;
}
