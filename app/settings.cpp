#include "app/settings.h"

#include "app/profile_helpers.h"
#include "platform/profile.h"

#include <cstdio>

namespace
{
const char* const kKeySoundEffects = "SoundEffects";
const char* const kKeyShowWaitDialog = "ShowWaitDialog";
const char* const kKeyAutoDelete = "AutoDelete";
const char* const kYes = "Yes";
const char* const kNo = "No";

bool ReadFlag(const char* pKey, const std::string& strPath)
{
    return ReadProfileString(SETTINGS_SECTION, pKey, kYes, strPath) == kYes;
}
} // namespace

CSettings ReadSettingsFile(const std::string& strPath)
{
    CSettings settings;
    settings.m_bSoundEffects = ReadFlag(kKeySoundEffects, strPath);
    settings.m_bShowWaitDialog = ReadFlag(kKeyShowWaitDialog, strPath);
    const int nAutoDelete = ProfileReadInt(SETTINGS_SECTION, kKeyAutoDelete, 0, strPath);
    settings.m_nAutoDelete = static_cast<unsigned>(nAutoDelete) > 3 ? 0 : nAutoDelete;
    return settings;
}

bool SaveSettingsFile(const std::string& strPath, const CSettings& settings)
{
    char szAutoDelete[24];
    std::snprintf(szAutoDelete, sizeof szAutoDelete, "%ld",
                  static_cast<long>(settings.m_nAutoDelete));
    bool bOk = ProfileWriteString(SETTINGS_SECTION, kKeySoundEffects,
                                  settings.m_bSoundEffects ? kYes : kNo, strPath);
    bOk = ProfileWriteString(SETTINGS_SECTION, kKeyShowWaitDialog,
                             settings.m_bShowWaitDialog ? kYes : kNo, strPath) &&
          bOk;
    return ProfileWriteString(SETTINGS_SECTION, kKeyAutoDelete, szAutoDelete, strPath) && bOk;
}

bool ReadUndoKeep(const std::string& strPath)
{
    return ProfileReadInt("Undo", "Keep", 1, strPath) != 0;
}

unsigned AutoDeleteIntervalMs(int nAutoDelete)
{
    switch (nAutoDelete)
    {
    case 1:
        return 60000;
    case 2:
        return 1800000;
    case 3:
        return 3600000;
    default:
        return 0;
    }
}
