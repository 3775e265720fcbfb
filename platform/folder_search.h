#pragma once

#include <string>
#include <vector>

// One entry of a folder listing.
struct CFindEntry
{
    std::string strName; // the entry's name, without its folder
    bool bDirectory = false;
};

// True when name matches a folder-search pattern the way the platform's search
// did: '*' stands for any run of characters, '?' for one, letters match without
// regard to case, and trailing periods and spaces of the pattern are ignored
// ("*.  " matches every name).
bool MatchesFindPattern(const std::string& strName, const std::string& strPattern);

// Lists the entries of a folder whose names match the pattern, "." and ".."
// included when the pattern matches them, sorted by name (byte order) so that
// every run sees the same order. False when the folder cannot be listed.
bool FindEntries(const std::string& strFolder, const std::string& strPattern,
                 std::vector<CFindEntry>& entries);

// True when an entry of any kind stands at the path: a file, a folder, or a
// symbolic link (also one whose target is missing).
bool EntryExists(const std::string& strPath);

// True when the path names a regular file, or a symbolic link to one.
bool IsRegularFile(const std::string& strPath);

// True when the path names a folder, or a symbolic link to one.
bool IsFolder(const std::string& strPath);
