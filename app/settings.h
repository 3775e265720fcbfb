#pragma once

#include <string>

#define SETTINGS_SECTION "General"

// The three user settings, as the main window holds them in force.
struct CSettings
{
    int m_bSoundEffects = 1;
    int m_bShowWaitDialog = 1;
    int m_nAutoDelete = 0; // 0 never, 1 every 60 seconds, 2 every 30 minutes, 3 every hour
};

// Reads the settings file: a flag is on exactly when its value is "Yes" (the
// default), AutoDelete outside 0..3 counts as 0. A missing file gives the defaults.
CSettings ReadSettingsFile(const std::string& strPath);

// Writes SoundEffects, ShowWaitDialog and AutoDelete, in that order, into
// section "General". False when a write failed.
bool SaveSettingsFile(const std::string& strPath, const CSettings& settings);

// Whether deleted cookies are kept so that they can be put back: false only
// when the settings file says [Undo] Keep=0.
bool ReadUndoKeep(const std::string& strPath);

// The auto-delete timer's interval in milliseconds for a choice; 0 for none.
unsigned AutoDeleteIntervalMs(int nAutoDelete);
