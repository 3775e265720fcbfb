#pragma once

#include <string>

// Paths are 8-bit strings in the platform's own form. A folder is held without
// a trailing separator, and a path is extended by appending a part that begins
// with the separator.
#ifdef _WIN32
constexpr char PATH_SEP = '\\';
#define PATH_SEP_STR "\\"
#else
constexpr char PATH_SEP = '/';
#define PATH_SEP_STR "/"
#endif

// folder + separator + name, where the folder may be a root that already ends
// with the separator ("/" and "cookies.txt" give "/cookies.txt", not "//cookies.txt").
inline std::string AppendPathPart(const std::string& strFolder, const std::string& strName)
{
    if (!strFolder.empty() && strFolder.back() == PATH_SEP)
        return strFolder + strName;
    return strFolder + PATH_SEP + strName;
}

// Removes one trailing separator, if there is one ("C:\" becomes "C:", "/" becomes "").
inline std::string StripTrailingSeparator(std::string strPath)
{
    if (!strPath.empty() && strPath.back() == PATH_SEP)
        strPath.pop_back();
    return strPath;
}
