#pragma once

#include <string>

#define LOCATION_FILE_NAME "Location.DAT"
#define SETTINGS_FILE_NAME "Jarvane.INI"

// The two folders the application records at start-up, and the paths of its
// profile files built from the first.
class CAppFolders
{
public:
    // Records the current folder and the Windows folder, each without a trailing
    // separator. False when a folder query fails (that folder then stays empty).
    bool InitFolders();

    std::string GetLocationFilePath() const;
    std::string GetSettingsFilePath() const;

    std::string m_strCurrentFolder;
    std::string m_strWindowsFolder;
};

// The application's one instance, as start-up recorded it; every part of the
// program reaches the folders through it.
CAppFolders& GetAppFolders();
