#include "platform/path.h"
#include "platform/runtime_folder.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool IsPrivateFolder(const std::string& strFolder)
{
    struct stat info;
    return !strFolder.empty() && lstat(strFolder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}
} // namespace

std::string GetPrivateRuntimeFolder()
{
    const char* pRuntime = std::getenv("XDG_RUNTIME_DIR");
    if (pRuntime && IsPrivateFolder(StripTrailingSeparator(pRuntime)))
        return StripTrailingSeparator(pRuntime);
    const char* pTemp = std::getenv("TMPDIR");
    const std::string strTemp = pTemp && *pTemp == '/' ? StripTrailingSeparator(pTemp) : "/tmp";
    const std::string strFolder =
        AppendPathPart(strTemp, "jarvane-" + std::to_string(static_cast<unsigned long>(geteuid())));
    mkdir(strFolder.c_str(), 0700);
    return IsPrivateFolder(strFolder) ? strFolder : std::string();
}
