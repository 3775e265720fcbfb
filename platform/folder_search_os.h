#pragma once

#include "platform/folder_search.h"

#include <string>
#include <vector>

// The system's part of FindEntries: appends the entries of a folder, "." and
// ".." left out, whose names match the pattern, in the order the system gives
// them. A directory entry is one that is a folder itself, not a link to one.
// False when the folder cannot be listed.
bool ListFolderEntries(const std::string& strFolder, const std::string& strPattern,
                       std::vector<CFindEntry>& entries);
