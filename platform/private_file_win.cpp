#include "platform/private_file.h"

#include <filesystem>

// The file inherits the access rules of the user's folder it is made in.
bool PreparePrivateFile(const std::string& strPath, std::string& strError)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(strPath, error);
    if (fs::is_symlink(status))
    {
        strError = "is a symbolic link; it is not followed";
        return false;
    }
    if (fs::exists(status) && !fs::is_regular_file(status))
    {
        strError = "is not a regular file";
        return false;
    }
    return true;
}
