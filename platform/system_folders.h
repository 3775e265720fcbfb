#pragma once

#include <string>

// The process's current folder. False when it cannot be had.
bool GetCurrentFolder(std::string& strFolder);

// The Windows folder: the system's own on Windows; elsewhere the C:\windows
// folder of the current user's Wine prefix, which must exist. False when there
// is none.
bool GetWindowsFolder(std::string& strFolder);
