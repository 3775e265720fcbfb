#include "platform/browser_lock.h"
#include "platform/path.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
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

// "WebKitNetworkProcess" as the kernel names it (15 characters).
const char* const kWebKitNetworkProcess = "WebKitNetworkPr";

bool IsNumber(const char* psz)
{
    return *psz != '\0' && std::string(psz).find_first_not_of("0123456789") == std::string::npos;
}

bool IsProcessAlive(const std::string& strPid)
{
    if (!IsNumber(strPid.c_str()))
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

std::string FileNameOf(const std::string& strPath)
{
    return strPath.substr(strPath.rfind('/') + 1);
}

// Whether one of the process's open files is the file (a process of another
// user cannot be looked into and is passed over).
bool HoldsOpen(const std::string& strFdFolder, const std::string& strName, const struct stat& file)
{
    DIR* pFds = opendir(strFdFolder.c_str());
    if (!pFds)
        return false;
    bool bHolds = false;
    std::string strTarget;
    while (const dirent* pEntry = readdir(pFds))
    {
        const std::string strFd = strFdFolder + "/" + pEntry->d_name;
        struct stat held;
        // The link text names the file as the process sees it (a sandbox may
        // show another folder); the file itself decides.
        if (IsNumber(pEntry->d_name) && ReadLink(strFd, strTarget) &&
            FileNameOf(strTarget) == strName && stat(strFd.c_str(), &held) == 0 &&
            held.st_dev == file.st_dev && held.st_ino == file.st_ino)
        {
            bHolds = true;
            break;
        }
    }
    closedir(pFds);
    return bHolds;
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

bool IsEpiphanyProfileRunning(const std::string& strCookieDatabase)
{
    struct stat database;
    DIR* pProcesses = nullptr;
    if (stat(strCookieDatabase.c_str(), &database) != 0 || !(pProcesses = opendir("/proc")))
        return false;
    const std::string strName = FileNameOf(strCookieDatabase);
    bool bHeld = false;
    while (const dirent* pEntry = readdir(pProcesses))
    {
        if (!IsNumber(pEntry->d_name))
            continue;
        const std::string strProcess = std::string("/proc/") + pEntry->d_name;
        std::string strCommand;
        if (std::getline(std::ifstream(strProcess + "/comm"), strCommand) &&
            strCommand == kWebKitNetworkProcess && HoldsOpen(strProcess + "/fd", strName, database))
        {
            bHeld = true;
            break;
        }
    }
    closedir(pProcesses);
    return bHeld;
}
