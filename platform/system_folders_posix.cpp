#include "platform/system_folders.h"
#include "platform/wine_prefix.h"

#include <filesystem>
#include <system_error>

bool GetCurrentFolder(std::string& strFolder)
{
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::current_path(ec);
    if (ec)
        return false;
    strFolder = folder.string();
    return !strFolder.empty();
}

bool GetWindowsFolder(std::string& strFolder)
{
    const std::string strPrefix = FindWinePrefix();
    if (strPrefix.empty())
        return false;
    const std::string strMapped = MapWinePath(strPrefix, "C:\\windows");
    std::error_code ec;
    if (strMapped.empty() || !std::filesystem::is_directory(strMapped, ec))
        return false;
    strFolder = strMapped;
    return true;
}
