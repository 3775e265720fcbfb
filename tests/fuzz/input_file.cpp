#include "input_file.h"

#include "platform/path.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

const std::string& FuzzFolder()
{
    static const std::string s_strFolder = []
    {
        std::string strTemplate =
            (std::filesystem::temp_directory_path() / "jarvane-fuzz-XXXXXX").string();
        if (!mkdtemp(&strTemplate[0]))
            std::abort();
        return strTemplate;
    }();
    return s_strFolder;
}

std::string WriteFuzzFile(const char* pszName, const uint8_t* pData, size_t nSize)
{
    const std::string strPath = AppendPathPart(FuzzFolder(), pszName);
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (!pFile)
        std::abort();
    if (nSize > 0 && std::fwrite(pData, 1, nSize, pFile) != nSize)
        std::abort();
    std::fclose(pFile);
    return strPath;
}
