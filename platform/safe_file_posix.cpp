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
        return false;

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

bool DeleteFileAt(const std::string& strPath)
{
    struct stat st;
    if (lstat(strPath.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return unlink(strPath.c_str()) == 0;
}
