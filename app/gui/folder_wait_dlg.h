#pragma once

#include "platform/folder_lock.h"

#include <string>
#include <wx/dialog.h>
#include <wx/timer.h>

// Takes the window program's shared lock on its working folder. While
// jarvane-cli holds the folder for a command that writes it, the lock is
// busy: after a second of waiting a small window says what the program waits
// for, and offers to give up. False when the user gave up; a folder that cannot
// be locked at all does not stop the start (true).
bool TakeWorkingFolderLock(CFolderLock& lock, const std::string& strFolder);

// The small window shown while the lock is busy: it tries the lock again and
// again and ends with wxID_OK once it has it, or with wxID_CANCEL when the user
// gives up.
class CFolderWaitDlg : public wxDialog
{
public:
    CFolderWaitDlg(CFolderLock& lock, const std::string& strFolder);

private:
    void TryLock();

    CFolderLock& m_lock;
    std::string m_strFolder;
    wxTimer m_retry;
};
