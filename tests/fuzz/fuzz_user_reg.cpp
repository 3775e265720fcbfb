// The Wine user.reg reader on arbitrary content.
#include "input_file.h"
#include "platform/wine_prefix.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strPath = WriteFuzzFile("user.reg", pData, nSize);
    std::string strValue;
    ReadWineRegistryString(strPath,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                           "Cookies", strValue);
    ReadWineRegistryString(strPath, "Software\\Netscape\\Netscape Navigator\\Cookies",
                           "Cookie File", strValue);
    return 0;
}
