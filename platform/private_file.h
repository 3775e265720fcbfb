#pragma once

#include <string>

// Makes sure strPath is a regular file of the user's that only the user may
// read and write: creates it empty with mode 0600 when it is missing, whatever
// the umask, and narrows the mode of an existing one. A symbolic link, or
// anything else than a regular file owned by the user, planted at the name is
// refused and not followed. False, with a one-line reason in strError, when the
// file cannot be had that way.
bool PreparePrivateFile(const std::string& strPath, std::string& strError);
