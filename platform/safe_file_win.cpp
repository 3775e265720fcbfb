#include "platform/safe_file.h"
#include "platform/safe_file_fault.h"

#include <string>
#include <windows.h>

bool ReplaceFileContents(const std::string& strPath, const std::string& strContent)
{
    if (strPath.empty())
        return false;
    const DWORD nAttributes = GetFileAttributesA(strPath.c_str());
    if (nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;

    std::string strFolder = ".";
    const size_t nSlash = strPath.find_last_of("\\/");
    if (nSlash != std::string::npos)
        strFolder = strPath.substr(0, nSlash == 0 ? 1 : nSlash);
    char szTemp[MAX_PATH];
    if (ReplaceStepFails(EReplaceStep::Create) ||
        GetTempFileNameA(strFolder.c_str(), "jv", 0, szTemp) == 0)
        return false;

    HANDLE hFile = CreateFileA(szTemp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    bool bOk = hFile != INVALID_HANDLE_VALUE;
    if (bOk)
    {
        DWORD nWritten = 0;
        bOk = !ReplaceStepFails(EReplaceStep::Write) &&
              (strContent.empty() ||
               (WriteFile(hFile, strContent.data(), static_cast<DWORD>(strContent.size()),
                          &nWritten, nullptr) &&
                nWritten == strContent.size()));
        bOk = bOk && !ReplaceStepFails(EReplaceStep::Flush) && FlushFileBuffers(hFile);
        bOk = CloseHandle(hFile) && bOk;
    }
    bOk = bOk && !ReplaceStepFails(EReplaceStep::Rename) &&
          MoveFileExA(szTemp, strPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!bOk)
        DeleteFileA(szTemp);
    return bOk;
}

bool DeleteFileAt(const std::string& strPath)
{
    return DeleteFileA(strPath.c_str()) != 0;
}
