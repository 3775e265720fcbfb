#include "inventory/keep_list.h"

#include "platform/text_file.h"

#include <filesystem>
#include <system_error>

EKeepListRead ReadKeepList(const std::string& strPath, std::vector<std::string>& lines)
{
    lines.clear();
    if (ReadTextLines(strPath, lines))
        return EKeepListRead::Read;
    lines.clear();
    // A path through a file rather than a folder names nothing that could exist.
    std::error_code error;
    static_cast<void>(std::filesystem::status(strPath, error));
    if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
        return EKeepListRead::Missing;
    return EKeepListRead::Unreadable;
}
