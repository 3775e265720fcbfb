#include "platform/private_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool PreparePrivateFile(const std::string& strPath, std::string& strError)
{
    int fd = open(strPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST)
        fd = open(strPath.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        strError = errno == ELOOP ? "is a symbolic link; it is not followed" : std::strerror(errno);
        return false;
    }
    struct stat st;
    bool bOk = fstat(fd, &st) == 0;
    if (!bOk)
        strError = std::strerror(errno);
    else if (!S_ISREG(st.st_mode))
        strError = "is not a regular file";
    else if (st.st_uid != geteuid())
        strError = "belongs to another user";
    bOk = bOk && S_ISREG(st.st_mode) && st.st_uid == geteuid();
    if (bOk && (st.st_mode & 07777) != 0600 && fchmod(fd, 0600) != 0)
    {
        strError = std::strerror(errno);
        bOk = false;
    }
    close(fd);
    return bOk;
}
