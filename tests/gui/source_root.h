#pragma once

#include <string>

// The repository's root folder, given by the build (a path taken from
// __FILE__ would be relative when ccache rewrites paths).
inline std::string SourceRoot()
{
    return JARVANE_SOURCE_ROOT;
}
