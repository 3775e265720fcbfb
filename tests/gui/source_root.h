#pragma once

#include <string>

// The repository's root folder, found from this file's own path.
inline std::string SourceRoot()
{
    std::string strPath = __FILE__; // <root>/tests/gui/source_root.h
    for (int i = 0; i < 3; ++i)
        strPath = strPath.substr(0, strPath.find_last_of("/\\"));
    return strPath;
}
