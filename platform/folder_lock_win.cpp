#include "platform/folder_lock.h"

#include <windows.h>

// A folder handle's share mode stands in for the lock: shared holders open the
// folder for reading and let others read; the exclusive holder lets nobody else
// open it for reading while it holds it.
CFolderLock::EResult CFolderLock::Lock(const std::string& strFolder, EMode mode, bool bWait)
{
    Unlock();
    const DWORD nShare =
        FILE_SHARE_WRITE | FILE_SHARE_DELETE | (mode == EMode::Shared ? FILE_SHARE_READ : 0);
    for (;;)
    {
        HANDLE hFolder = CreateFileA(strFolder.c_str(), GENERIC_READ, nShare, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (hFolder != INVALID_HANDLE_VALUE)
        {
            m_handle = reinterpret_cast<std::intptr_t>(hFolder);
            return EResult::Taken;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            return EResult::Failed;
        if (!bWait)
            return EResult::Busy;
        Sleep(200);
    }
}

void CFolderLock::Unlock()
{
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
}
