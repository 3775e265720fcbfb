#include "platform/folder_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CFolderLock::EResult CFolderLock::Lock(const std::string& strFolder, EMode mode, bool bWait)
{
    Unlock();
    const int fd = open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return EResult::Failed;
    const int nOperation = (mode == EMode::Shared ? LOCK_SH : LOCK_EX) | (bWait ? 0 : LOCK_NB);
    int nResult;
    do
        nResult = flock(fd, nOperation);
    while (nResult != 0 && errno == EINTR);
    if (nResult != 0)
    {
        const bool bBusy = errno == EWOULDBLOCK;
        close(fd);
        return bBusy ? EResult::Busy : EResult::Failed;
    }
    m_handle = fd;
    return EResult::Taken;
}

void CFolderLock::Unlock()
{
    if (m_handle >= 0)
        close(static_cast<int>(m_handle));
    m_handle = -1;
}
