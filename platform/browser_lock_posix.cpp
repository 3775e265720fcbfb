#include "platform/browser_lock.h"
#include "platform/path.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <unistd.h>

namespace
{
bool ReadLink(const std::string& strPath, std::string& strTarget)
{
    char buffer[PATH_MAX];
    const ssize_t nLength = readlink(strPath.c_str(), buffer, sizeof(buffer));
    if (nLength <= 0)
        return false;
    strTarget.assign(buffer, static_cast<size_t>(nLength));
    return true;
}

bool IsProcessAlive(const std::string& strPid)
{
    if (strPid.empty() || strPid.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long nPid = std::strtol(strPid.c_str(), nullptr, 10);
    if (nPid <= 0 || nPid > INT_MAX)
        return false;
    return kill(static_cast<pid_t>(nPid), 0) == 0 || errno == EPERM;
}

// True when a process other than this one holds a lock on the file.
bool IsFileLockedByOther(const std::string& strPath)
{
    const int nFile = open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (nFile < 0)
        return false;
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool bLocked = fcntl(nFile, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    close(nFile);
    return bLocked;
}
} // namespace

bool IsFirefoxProfileRunning(const std::string& strProfileFolder)
{
    std::string strTarget; // "address:+pid"
    if (ReadLink(AppendPathPart(strProfileFolder, "lock"), strTarget))
    {
        const size_t nPlus = strTarget.rfind(":+");
        if (nPlus != std::string::npos && IsProcessAlive(strTarget.substr(nPlus + 2)))
            return true;
    }
    return IsFileLockedByOther(AppendPathPart(strProfileFolder, ".parentlock"));
}

bool IsChromiumProfileRunning(const std::string& strUserDataFolder)
{
    std::string strTarget; // "host-pid"
    if (!ReadLink(AppendPathPart(strUserDataFolder, "SingletonLock"), strTarget))
        return false;
    const size_t nDash = strTarget.rfind('-');
    if (nDash == std::string::npos)
        return false;
    char host[256] = {};
    if (gethostname(host, sizeof(host) - 1) != 0)
        return true;
    // A browser on another host sharing this home cannot be tested: assume it runs.
    if (strTarget.compare(0, nDash, host) != 0)
        return true;
    return IsProcessAlive(strTarget.substr(nDash + 1));
}
