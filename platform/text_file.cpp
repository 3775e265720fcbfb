#include "platform/text_file.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

// The file is read with the system's own calls: a buffered stream would ask
// for the file's status and read again after a short read, two calls more for
// every small file.
namespace
{
constexpr size_t kChunk = 64 * 1024;

bool IsRegularFile(int nFile)
{
#ifdef _WIN32
    struct _stat64 st;
    return _fstat64(nFile, &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG;
#else
    struct stat st;
    return fstat(nFile, &st) == 0 && S_ISREG(st.st_mode);
#endif
}

void CloseFile(int nFile)
{
#ifdef _WIN32
    _close(nFile);
#else
    close(nFile);
#endif
}

// Opens a regular file for reading; -1 for anything else. Opening a FIFO
// without O_NONBLOCK waits for a writer, and a device may wait as long, so the
// open does not block and the kind of file is checked on what was opened.
// Windows keeps its pipes outside the folders; a device name ("CON", "NUL")
// opens at once and the check refuses it.
int OpenRegularFile(const std::string& strPath)
{
#ifdef _WIN32
    const int nFile = _open(strPath.c_str(), _O_RDONLY | _O_BINARY);
#else
    const int nFile = open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
#endif
    if (nFile < 0)
        return -1;
    bool bOk = IsRegularFile(nFile);
#ifndef _WIN32
    const int nFlags = bOk ? fcntl(nFile, F_GETFL) : -1;
    bOk = nFlags != -1 && fcntl(nFile, F_SETFL, nFlags & ~O_NONBLOCK) == 0;
#endif
    if (!bOk)
    {
        CloseFile(nFile);
        return -1;
    }
    return nFile;
}

// Bytes read, 0 at the end of the file, below 0 on an error.
long long ReadSome(int nFile, char* pBuffer, size_t nSize)
{
#ifdef _WIN32
    return _read(nFile, pBuffer, static_cast<unsigned>(nSize));
#else
    for (;;)
    {
        const ssize_t nRead = read(nFile, pBuffer, nSize);
        if (nRead >= 0 || errno != EINTR)
            return nRead;
    }
#endif
}

} // namespace

bool CTextFileReader::Open(const std::string& strPath)
{
    Close();
    m_nFile = OpenRegularFile(strPath);
    if (m_nFile < 0)
        return false;
    m_buffer.resize(kChunk);
    return true;
}

void CTextFileReader::Close()
{
    if (m_nFile >= 0)
        CloseFile(m_nFile);
    m_nFile = -1;
    m_nPos = m_nEnd = 0;
    m_bEof = m_bFailed = false;
}

bool CTextFileReader::Fill()
{
    if (m_bEof || m_bFailed || m_nFile < 0)
        return false;
    m_nPos = m_nEnd = 0;
    const long long nRead = ReadSome(m_nFile, m_buffer.data(), m_buffer.size());
    if (nRead <= 0)
    {
        if (nRead < 0)
            m_bFailed = true;
        else
            m_bEof = true;
        return false;
    }
    m_nEnd = static_cast<size_t>(nRead);
    return true;
}

bool CTextFileReader::ReadLine(std::string& strLine)
{
    strLine.clear();
    bool bAny = false;
    for (;;)
    {
        if (m_nPos == m_nEnd && !Fill())
        {
            if (m_bFailed)
                return false;
            break;
        }
        const char* pStart = m_buffer.data() + m_nPos;
        const size_t nAvail = m_nEnd - m_nPos;
        const void* pFound = std::memchr(pStart, '\n', nAvail);
        bAny = true;
        if (!pFound)
        {
            strLine.append(pStart, nAvail);
            m_nPos = m_nEnd;
            continue;
        }
        const size_t nLen = static_cast<const char*>(pFound) - pStart;
        strLine.append(pStart, nLen);
        m_nPos += nLen + 1;
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        return true;
    }
    return bAny;
}

bool ReadTextLines(const std::string& strPath, std::vector<std::string>& lines)
{
    CTextFileReader reader;
    if (!reader.Open(strPath))
        return false;
    std::string strLine;
    while (reader.ReadLine(strLine))
        lines.push_back(strLine);
    return !reader.Failed();
}

std::string JoinCrLfLines(const std::vector<std::string>& lines)
{
    size_t nSize = 0;
    for (const std::string& strLine : lines)
        nSize += strLine.size() + 2;
    std::string strText;
    strText.reserve(nSize);
    for (const std::string& strLine : lines)
    {
        strText += strLine;
        strText += "\r\n";
    }
    return strText;
}

bool ReadFileBytes(const std::string& strPath, size_t nMax, std::string& strBytes)
{
    strBytes.clear();
    const int nFile = OpenRegularFile(strPath);
    if (nFile < 0)
        return false;
    bool bOk = true;
    while (strBytes.size() < nMax)
    {
        const size_t nWanted = std::min(kChunk, nMax - strBytes.size());
        const size_t nOld = strBytes.size();
        strBytes.resize(nOld + nWanted);
        const long long nRead = ReadSome(nFile, &strBytes[nOld], nWanted);
        strBytes.resize(nOld + static_cast<size_t>(std::max(nRead, 0LL)));
        if (nRead <= 0)
        {
            bOk = nRead == 0;
            break;
        }
    }
    CloseFile(nFile);
    return bOk;
}
