#include "platform/file_stamp.h"

#include <filesystem>
#include <system_error>

CFileStamp StampOfFile(const std::string& strPath)
{
    namespace fs = std::filesystem;
    CFileStamp stamp;
    std::error_code ec;
    if (!fs::is_regular_file(strPath, ec))
        return stamp;
    const std::uintmax_t nSize = fs::file_size(strPath, ec);
    if (ec)
        return stamp;
    const fs::file_time_type modified = fs::last_write_time(strPath, ec);
    if (ec)
        return stamp;
    stamp.bExists = true;
    stamp.nSize = nSize;
    stamp.nModified = static_cast<std::int64_t>(modified.time_since_epoch().count());
    return stamp;
}
