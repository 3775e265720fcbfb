#pragma once

#include <string>

// The repository's root folder, given by the build (a compiler cache may make
// __FILE__ relative to the build folder).
inline std::string SourceRoot()
{
    return JARVANE_SOURCE_ROOT;
}
