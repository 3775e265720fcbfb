#pragma once

#include <string>

// The size of the destination a profile value is read into: a longer value
// comes back cut to PROFILE_VALUE_SIZE - 1 characters.
constexpr size_t PROFILE_VALUE_SIZE = 1023;

// One value of a profile file, or strDefault when the file, the section or the
// key is missing; at most PROFILE_VALUE_SIZE - 1 characters.
std::string ReadProfileString(const std::string& strSection, const std::string& strKey,
                              const std::string& strDefault, const std::string& strPath);

// False for an empty path; otherwise true when a file or folder of that path
// exists, or, for a name with wildcards ('*', '?'), when an entry of its folder
// matches it.
bool PathExists(const std::string& strPath);
