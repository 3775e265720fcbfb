#pragma once

#include <string>

// The names by which window programs started in one working folder find each
// other: only one of them runs per folder. Both are derived from the folder's
// canonical path, so every spelling of one folder (a link, "..", a trailing
// separator) gives the same names and two folders never share them.
struct COneWindowNames
{
    std::string strMarkerName;  // a file name, for the marker the first window holds
    std::string strChannelPath; // the local channel on which the first window listens
};

// Empty names when strRuntimeFolder is empty: no marker and no channel can be had.
COneWindowNames GetOneWindowNames(const std::string& strFolder,
                                  const std::string& strRuntimeFolder);
