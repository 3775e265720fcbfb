#pragma once

#include <cstdint>
#include <string>

// A cheap mark of a file's content: whether it exists, its size and its last
// write time. Another program's write changes it (an append always changes the
// size), so a reader can tell whether a file is still as it read it.
struct CFileStamp
{
    bool bExists = false;
    std::uintmax_t nSize = 0;
    std::int64_t nModified = 0; // ticks of the file clock

    bool operator==(const CFileStamp& other) const
    {
        return bExists == other.bExists && nSize == other.nSize && nModified == other.nModified;
    }
    bool operator!=(const CFileStamp& other) const { return !(*this == other); }
};

// The stamp of a regular file; a missing path or a folder gives a stamp with
// bExists false.
CFileStamp StampOfFile(const std::string& strPath);
