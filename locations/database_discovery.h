#pragma once

#include <string>
#include <vector>

// The cookies.sqlite of every profile that a Firefox "profiles.ini" lists in
// the user's Firefox homes, in file order; profiles without one are left out.
std::vector<std::string> FindFirefoxDatabases(const std::string& strHome);

// The cookie database of every "Default" and "Profile N" folder of the
// Chromium family's user data folders: "Network/Cookies", else the older "Cookies".
std::vector<std::string> FindChromiumDatabases(const std::string& strHome);
