#pragma once

#include "app/app_folders.h"

#include <string>

// Points the application's folders at a test's folder for the life of the object.
class CAppFoldersOverride
{
public:
    explicit CAppFoldersOverride(const std::string& strCurrentFolder,
                                 const std::string& strWindowsFolder = std::string())
        : m_saved(GetAppFolders())
    {
        GetAppFolders().m_strCurrentFolder = strCurrentFolder;
        GetAppFolders().m_strWindowsFolder = strWindowsFolder;
    }
    ~CAppFoldersOverride() { GetAppFolders() = m_saved; }
    CAppFoldersOverride(const CAppFoldersOverride&) = delete;
    CAppFoldersOverride& operator=(const CAppFoldersOverride&) = delete;

private:
    CAppFolders m_saved;
};
