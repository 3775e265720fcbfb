#include "platform/text_file.h"

#include <cstring>

#include <sys/stat.h>

namespace
{
constexpr size_t kChunk = 64 * 1024;

bool IsRegularFile(std::FILE* pFile)
{
#ifdef _WIN32
    struct _stat64 st;
    return _fstat64(_fileno(pFile), &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG;
#else
    struct stat st;
    return fstat(fileno(pFile), &st) == 0 && S_ISREG(st.st_mode);
#endif
}
} // namespace

bool CTextFileReader::Open(const std::string& strPath)
{
    Close();
    m_pFile = std::fopen(strPath.c_str(), "rb");
    if (!m_pFile)
        return false;
    if (!IsRegularFile(m_pFile))
    {
        Close();
        return false;
    }
    m_buffer.resize(kChunk);
    return true;
}

void CTextFileReader::Close()
{
    if (m_pFile)
        std::fclose(m_pFile);
    m_pFile = nullptr;
    m_nPos = m_nEnd = 0;
    m_bEof = m_bFailed = false;
}

bool CTextFileReader::Fill()
{
    if (m_bEof || m_bFailed || !m_pFile)
        return false;
    m_nPos = 0;
    m_nEnd = std::fread(m_buffer.data(), 1, m_buffer.size(), m_pFile);
    if (m_nEnd == 0)
    {
        if (std::ferror(m_pFile))
            m_bFailed = true;
        else
            m_bEof = true;
        return false;
    }
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
