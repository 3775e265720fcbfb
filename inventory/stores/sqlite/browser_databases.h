#pragma once

#include <memory>
#include <string>
#include <vector>

class CCookieStore;

// The two browser families whose SQLite cookie databases the one database
// store reads: their discovery, how a database is told theirs, their "In use"
// check and their store.

// The cookies.sqlite of every profile that a Firefox "profiles.ini" lists in
// the user's Firefox homes, in file order; profiles without one are left out.
std::vector<std::string> FindFirefoxDatabases(const std::string& strHome);
// A database with Firefox's moz_cookies table.
bool IsFirefoxDatabase(const std::string& strPath);
// Firefox locks the profile folder that holds cookies.sqlite.
bool IsFirefoxDatabaseInUse(const std::string& strDatabase);
std::unique_ptr<CCookieStore> MakeFirefoxStore();

// The cookie database of every "Default" and "Profile N" folder of the
// Chromium family's user data folders: "Network/Cookies", else the older "Cookies".
std::vector<std::string> FindChromiumDatabases(const std::string& strHome);
// A database with Chromium's cookies table.
bool IsChromiumDatabase(const std::string& strPath);
// A Chromium browser locks its user data folder, above the profile folder that
// holds "Cookies" or "Network/Cookies".
bool IsChromiumDatabaseInUse(const std::string& strDatabase);
std::unique_ptr<CCookieStore> MakeChromiumStore();
