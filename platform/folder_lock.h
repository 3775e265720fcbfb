#pragma once

#include <cstdint>
#include <string>

// An advisory lock on a working folder, so that two programs never keep the
// folder's files in memory and write them at the same time. The window program
// holds a shared lock for its whole run (several windows may share a folder, as
// they always could); the command-line tool takes an exclusive lock for a
// command that writes the folder's files, and is refused while a window runs.
// The lock is on the folder itself: no file is added to it. It is released when
// the object goes or the process ends, and is not inherited by programs it starts.
class CFolderLock
{
public:
    enum class EMode
    {
        Shared,
        Exclusive,
    };
    enum class EResult
    {
        Taken,
        Busy,   // another process holds a lock that conflicts with this one
        Failed, // the folder could not be opened
    };

    CFolderLock() = default;
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;
    ~CFolderLock() { Unlock(); }

    // Takes the lock; with bWait, waits while it is busy.
    EResult Lock(const std::string& strFolder, EMode mode, bool bWait);
    void Unlock();

private:
    std::intptr_t m_handle = -1;
};
