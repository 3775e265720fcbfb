#pragma once

#include <memory>
#include <string>
#include <vector>

class CCookieStore;

// GNOME Web (Epiphany, WebKitGTK) keeps its cookies in cookies.sqlite: a
// moz_cookies table like Firefox's, without Firefox's originAttributes. The
// store is the SQLite database store.

// The cookies.sqlite of GNOME Web's default profile: in $XDG_DATA_HOME/epiphany
// (else ~/.local/share/epiphany) and in the Flatpak home.
std::vector<std::string> FindEpiphanyDatabases(const std::string& strHome);
// A database with a moz_cookies table that has no originAttributes column.
bool IsEpiphanyDatabase(const std::string& strPath);
// Whether a running GNOME Web holds the database.
bool IsEpiphanyDatabaseInUse(const std::string& strDatabase);
std::unique_ptr<CCookieStore> MakeEpiphanyStore();
