#include "app/app_folders.h"

#include "platform/path.h"
#include "platform/system_folders.h"

bool CAppFolders::InitFolders()
{
    std::string strFolder;
    if (!GetCurrentFolder(strFolder))
        return false;
    m_strCurrentFolder = StripTrailingSeparator(strFolder);
    if (!GetWindowsFolder(strFolder))
        return false;
    m_strWindowsFolder = StripTrailingSeparator(strFolder);
    return true;
}

std::string CAppFolders::GetLocationFilePath() const
{
    return AppendPathPart(m_strCurrentFolder, LOCATION_FILE_NAME);
}

std::string CAppFolders::GetSettingsFilePath() const
{
    return AppendPathPart(m_strCurrentFolder, SETTINGS_FILE_NAME);
}

CAppFolders& GetAppFolders()
{
    static CAppFolders s_folders;
    return s_folders;
}
