#pragma once

#include <string>

// Whether a browser is running with a profile. A running browser writes its
// own copy of its cookies back, so deleting from its database is pointless.

// Firefox: the profile folder's "lock" link names a live process of this host
// ("lock" outlives the browser, so the process is tested), or another process
// holds the lock on ".parentlock" ("parent.lock" on Windows).
bool IsFirefoxProfileRunning(const std::string& strProfileFolder);

// Chromium and its relatives: the user data folder (the parent of "Default"
// and "Profile N") holds a "SingletonLock" link naming this host and a live
// process, or another host ("lockfile" held open on Windows).
bool IsChromiumProfileRunning(const std::string& strUserDataFolder);

// GNOME Web (WebKitGTK): a WebKit network process holds the profile's
// cookies.sqlite open for as long as the browser runs and ends with it, even
// when the browser is killed. It leaves no lock file, and SQLite holds no lock
// between writes. There is no GNOME Web on Windows.
bool IsEpiphanyProfileRunning(const std::string& strCookieDatabase);
