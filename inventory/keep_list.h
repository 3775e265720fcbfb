#pragma once

#include <string>
#include <vector>

// A keep list is a file of names that protects cookies from deletion (the
// browsers' protection lists, and any list of that kind added later). It fails
// closed: a list that exists but cannot be read whole as a regular file keeps
// every cookie it could protect, and is never written over, until it reads
// again. A list that does not exist protects nothing yet.
enum class EKeepListRead
{
    Read,       // lines holds every line of the file
    Missing,    // no such file: lines is empty
    Unreadable, // it exists but cannot be read whole (permission, a folder, a FIFO, a read error)
};

EKeepListRead ReadKeepList(const std::string& strPath, std::vector<std::string>& lines);
