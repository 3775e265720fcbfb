#pragma once

#include <string>
#include <vector>

// The current user's home folder; empty when there is none.
std::string GetHomeFolder();

// An XDG base folder: the variable's value when it is an absolute path (a
// relative one is ignored, as the XDG rules ask), else strDefault. Windows has
// none: always strDefault there.
std::string XdgFolder(const char* pszVariable, const std::string& strDefault);

// The folders below a home that hold a Firefox "profiles.ini", in the order
// they are searched.
std::vector<std::string> FirefoxProfileHomes(const std::string& strHome);

// The user data folders of Chromium and its relatives below a home, each the
// parent of the profile folders "Default" and "Profile N".
std::vector<std::string> ChromiumUserDataFolders(const std::string& strHome);
