#include "platform/safe_file.h"
#include "platform/safe_file_fault.h"

#include <string>
#include <windows.h>

// Paths are in the ANSI code page, as everywhere in the program, so the "A"
// functions are used throughout.
namespace
{
// The path that a replacement must write: a symbolic link (or a junction on the
// way) is replaced at its target. A missing file or a link whose target is
// missing gives the path as it is.
std::string ResolveTarget(const std::string& strPath)
{
    // Opening without FILE_FLAG_OPEN_REPARSE_POINT follows the links.
    HANDLE hFile =
        CreateFileA(strPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return strPath;
    char szFinal[MAX_PATH];
    const DWORD nLength =
        GetFinalPathNameByHandleA(hFile, szFinal, MAX_PATH, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(hFile);
    if (nLength == 0 || nLength >= MAX_PATH)
        return strPath;
    // The answer has the "\\?\" form: "\\?\C:\folder\file" or "\\?\UNC\server\share\file".
    std::string strFinal(szFinal, nLength);
    if (strFinal.compare(0, 8, "\\\\?\\UNC\\") == 0)
        return "\\\\" + strFinal.substr(8);
    if (strFinal.compare(0, 4, "\\\\?\\") == 0)
        return strFinal.substr(4);
    return strFinal;
}

std::string FolderOf(const std::string& strPath)
{
    const size_t nSlash = strPath.find_last_of("\\/");
    if (nSlash == std::string::npos)
        return ".";
    // "C:\file" lives in "C:\", not in the drive's current folder "C:".
    if (nSlash == 0 || (nSlash == 2 && strPath[1] == ':'))
        return strPath.substr(0, nSlash + 1);
    return strPath.substr(0, nSlash);
}

bool WriteAll(HANDLE hFile, const std::string& strContent)
{
    const char* p = strContent.data();
    size_t nLeft = strContent.size();
    while (nLeft > 0)
    {
        const DWORD nChunk = nLeft > 0x40000000 ? 0x40000000 : static_cast<DWORD>(nLeft);
        DWORD nWritten = 0;
        if (!WriteFile(hFile, p, nChunk, &nWritten, nullptr) || nWritten == 0)
            return false;
        p += nWritten;
        nLeft -= nWritten;
    }
    return true;
}

bool WriteAllAt(HANDLE hFile, const std::string& strContent)
{
    return SetFilePointer(hFile, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
           SetEndOfFile(hFile) && WriteAll(hFile, strContent);
}

bool ReadAll(HANDLE hFile, std::string& strContent)
{
    char buffer[64 * 1024];
    for (;;)
    {
        DWORD nRead = 0;
        if (!ReadFile(hFile, buffer, sizeof buffer, &nRead, nullptr))
            return false;
        if (nRead == 0)
            return true;
        strContent.append(buffer, nRead);
    }
}

// The fallback where the folder refuses a new file but the file itself may be
// written: the contents are replaced in place. A failed write puts the old
// contents back as well as it can.
bool ReplaceInPlace(const std::string& strTarget, const std::string& strContent)
{
    HANDLE hFile = CreateFileA(strTarget.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    std::string strOld;
    bool bOk = GetFileType(hFile) == FILE_TYPE_DISK && ReadAll(hFile, strOld);
    if (bOk)
    {
        bOk = !ReplaceStepFails(EReplaceStep::Write) && WriteAllAt(hFile, strContent);
        bOk = bOk && !ReplaceStepFails(EReplaceStep::Flush) && FlushFileBuffers(hFile);
        if (!bOk && WriteAllAt(hFile, strOld))
            FlushFileBuffers(hFile);
    }
    return CloseHandle(hFile) && bOk;
}

// Puts the written temporary file in the target's place. An existing target is
// replaced with ReplaceFile, which gives the new file the old one's attributes
// and security (its mode); a new target is a plain move. bOnlyCopy is set when
// the target's old file is gone and the temporary file is all that is left.
bool PutInPlace(const std::string& strTemp, const std::string& strTarget, bool bExists,
                bool& bOnlyCopy)
{
    const DWORD nMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!bExists)
        return MoveFileExA(strTemp.c_str(), strTarget.c_str(), nMoveFlags) != 0;
    if (ReplaceFileA(strTarget.c_str(), strTemp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr))
        return true;
    // These two leave the target without its old file under its name; the new
    // contents are whole in the temporary file, so they are moved there.
    const DWORD nError = GetLastError();
    if (nError == ERROR_UNABLE_TO_MOVE_REPLACEMENT || nError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
    {
        bOnlyCopy = MoveFileExA(strTemp.c_str(), strTarget.c_str(), nMoveFlags) == 0;
        return !bOnlyCopy;
    }
    return false;
}
} // namespace

bool ReplaceFileContents(const std::string& strPath, const std::string& strContent)
{
    if (strPath.empty())
        return false;
    const std::string strTarget = ResolveTarget(strPath);
    const DWORD nAttributes = GetFileAttributesA(strTarget.c_str());
    const bool bExists = nAttributes != INVALID_FILE_ATTRIBUTES;
    if (bExists && (nAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;

    char szTemp[MAX_PATH];
    if (ReplaceStepFails(EReplaceStep::Create))
        return false;
    // GetTempFileName creates the file, so the name is ours alone.
    if (GetTempFileNameA(FolderOf(strTarget).c_str(), "jv", 0, szTemp) == 0)
        return bExists && GetLastError() == ERROR_ACCESS_DENIED &&
               ReplaceInPlace(strTarget, strContent);

    HANDLE hFile = CreateFileA(szTemp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    bool bOk = hFile != INVALID_HANDLE_VALUE;
    if (bOk)
    {
        bOk = !ReplaceStepFails(EReplaceStep::Write) && WriteAll(hFile, strContent);
        bOk = bOk && !ReplaceStepFails(EReplaceStep::Flush) && FlushFileBuffers(hFile);
        bOk = CloseHandle(hFile) && bOk;
    }
    bool bOnlyCopy = false;
    bOk = bOk && !ReplaceStepFails(EReplaceStep::Rename) &&
          PutInPlace(szTemp, strTarget, bExists, bOnlyCopy);
    // The temporary file is kept, never deleted, when it is the only copy left.
    if (!bOk && !bOnlyCopy)
        DeleteFileA(szTemp);
    return bOk;
}

bool DeleteFileAt(const std::string& strPath, bool)
{
    return DeleteFileA(strPath.c_str()) != 0; // refuses a folder
}
