#include "platform/safe_file.h"
#include "platform/safe_file_fault.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// The path that a replacement must write: a symbolic link is replaced at its target.
std::string ResolveTarget(const std::string& strPath)
{
    struct stat st;
    if (lstat(strPath.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return strPath;
    char* pResolved = realpath(strPath.c_str(), nullptr);
    if (!pResolved)
        return strPath;
    std::string strResolved(pResolved);
    std::free(pResolved);
    return strResolved;
}

std::string FolderOf(const std::string& strPath)
{
    const size_t nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return ".";
    if (nSlash == 0)
        return "/";
    return strPath.substr(0, nSlash);
}

bool WriteAll(int fd, const std::string& strContent)
{
    const char* p = strContent.data();
    size_t nLeft = strContent.size();
    while (nLeft > 0)
    {
        const ssize_t n = write(fd, p, nLeft);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        nLeft -= static_cast<size_t>(n);
    }
    return true;
}

bool WriteAllAt(int fd, const std::string& strContent)
{
    return ftruncate(fd, 0) == 0 && lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, strContent);
}

bool ReadAll(int fd, std::string& strContent)
{
    char buffer[64 * 1024];
    for (;;)
    {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            strContent.append(buffer, static_cast<size_t>(n));
    }
}

// The fallback where the folder refuses a new entry but the file itself may be
// written: the contents are replaced in place. A failed write puts the old
// contents back as well as it can.
bool ReplaceInPlace(const std::string& strTarget, const std::string& strContent)
{
    const int fd = open(strTarget.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    std::string strOld;
    bool bOk = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadAll(fd, strOld);
    if (bOk)
    {
        bOk = !ReplaceStepFails(EReplaceStep::Write) && WriteAllAt(fd, strContent);
        bOk = bOk && !ReplaceStepFails(EReplaceStep::Flush) && fsync(fd) == 0;
        if (!bOk && WriteAllAt(fd, strOld))
            fsync(fd);
    }
    return (close(fd) == 0) && bOk;
}

void SyncFolder(const std::string& strFolder)
{
    const int fd = open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
    {
        fsync(fd);
        close(fd);
    }
}
} // namespace

bool ReplaceFileContents(const std::string& strPath, const std::string& strContent)
{
    if (strPath.empty())
        return false;
    const std::string strTarget = ResolveTarget(strPath);
    const std::string strFolder = FolderOf(strTarget);

    struct stat st;
    const bool bExists = stat(strTarget.c_str(), &st) == 0;
    if (bExists && !S_ISREG(st.st_mode))
        return false;

    std::string strTemp = strFolder + "/.jarvane-XXXXXX";
    if (ReplaceStepFails(EReplaceStep::Create))
        return false;
    const int fd = mkostemp(&strTemp[0], O_CLOEXEC);
    if (fd < 0)
        return bExists && (errno == EACCES || errno == EPERM) &&
               ReplaceInPlace(strTarget, strContent);

    bool bOk = true;
    if (bExists)
        bOk = fchmod(fd, st.st_mode & 07777) == 0;
    else
    {
        const mode_t nMask = umask(0);
        umask(nMask);
        bOk = fchmod(fd, 0666 & ~nMask) == 0;
    }
    bOk = bOk && !ReplaceStepFails(EReplaceStep::Write) && WriteAll(fd, strContent);
    bOk = bOk && !ReplaceStepFails(EReplaceStep::Flush) && fsync(fd) == 0;
    bOk = (close(fd) == 0) && bOk;
    bOk = bOk && !ReplaceStepFails(EReplaceStep::Rename) &&
          rename(strTemp.c_str(), strTarget.c_str()) == 0;
    if (!bOk)
    {
        unlink(strTemp.c_str());
        return false;
    }
    SyncFolder(strFolder);
    return true;
}

bool DeleteFileAt(const std::string& strPath, bool bSeenAsFile)
{
    struct stat st;
    if (!bSeenAsFile && (lstat(strPath.c_str(), &st) != 0 || S_ISDIR(st.st_mode)))
        return false;
    return unlink(strPath.c_str()) == 0; // Linux refuses a folder (EISDIR)
}
