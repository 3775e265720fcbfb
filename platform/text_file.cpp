#include "platform/text_file.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <sys/stat.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/vfs.h>
#endif

// The file is read with the system's own calls: a buffered stream would ask
// for the file's status and read again after a short read, two calls more for
// every small file.
namespace
{
constexpr size_t kChunk = 64 * 1024;

#ifdef _WIN32
bool IsRegularFile(int nFile)
{
    struct _stat64 st;
    return _fstat64(nFile, &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG;
}
#else
constexpr std::int64_t kSecond = 1000000000;

std::int64_t Nanoseconds(const struct timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * kSecond + time.tv_nsec;
}

CFileIdentity IdentityOf(const struct stat& st)
{
    CFileIdentity identity;
    identity.nDevice = static_cast<std::uint64_t>(st.st_dev);
    identity.nInode = static_cast<std::uint64_t>(st.st_ino);
    identity.nSize = static_cast<std::uint64_t>(st.st_size);
    identity.nModified = Nanoseconds(st.st_mtim);
    identity.nChanged = Nanoseconds(st.st_ctim);
    return identity;
}

// The clock the kernel stamps files with: its coarse clock, never ahead of the
// stamp of a later change. Without it no file counts as settled.
bool ReadFileClock(struct timespec& now)
{
#ifdef CLOCK_REALTIME_COARSE
    return clock_gettime(CLOCK_REALTIME_COARSE, &now) == 0;
#else
    (void)now;
    return false;
#endif
}

// The coarsest step a file system could have stored this time in: the largest
// power of ten its nanoseconds are a multiple of, two seconds (FAT's step) for
// whole seconds.
std::int64_t StampStepOf(const struct timespec& time)
{
    if (time.tv_nsec == 0)
        return 2 * kSecond;
    std::int64_t nStep = 1;
    while (time.tv_nsec % (nStep * 10) == 0)
        nStep *= 10;
    return nStep;
}

// A write changes the change time to the clock's time then, truncated to the
// file system's step; a file last changed at least a step before now (read
// before the file's status) shows every later write in its change time.
bool IsSettled(const struct stat& st, const struct timespec& now)
{
    return Nanoseconds(st.st_ctim) + StampStepOf(st.st_ctim) <= Nanoseconds(now);
}
#endif

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
// opens at once and the check refuses it. pSettled, when given, gets whether
// no later write can leave the file's identity as it is now, and pIdentity,
// then, that identity.
int OpenRegularFile(const std::string& strPath, bool* pSettled = nullptr,
                    CFileIdentity* pIdentity = nullptr)
{
#ifdef _WIN32
    if (pSettled)
        *pSettled = false;
    (void)pIdentity;
    const int nFile = _open(strPath.c_str(), _O_RDONLY | _O_BINARY);
    if (nFile < 0)
        return -1;
    if (!IsRegularFile(nFile))
    {
        CloseFile(nFile);
        return -1;
    }
    return nFile;
#else
    struct timespec now = {};
    const bool bClock = pSettled && ReadFileClock(now);
    const int nFile = open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (nFile < 0)
        return -1;
    struct stat st;
    bool bOk = fstat(nFile, &st) == 0 && S_ISREG(st.st_mode);
    const int nFlags = bOk ? fcntl(nFile, F_GETFL) : -1;
    bOk = nFlags != -1 && fcntl(nFile, F_SETFL, nFlags & ~O_NONBLOCK) == 0;
    if (!bOk)
    {
        CloseFile(nFile);
        return -1;
    }
    if (pSettled)
    {
        *pSettled = bClock && IsSettled(st, now);
        if (*pSettled && pIdentity)
            *pIdentity = IdentityOf(st);
    }
    return nFile;
#endif
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
    m_nFile = OpenRegularFile(strPath, &m_bSettled, &m_identity);
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
    m_bEof = m_bFailed = m_bSettled = false;
    m_nFills = 0;
}

bool CTextFileReader::GetWholeFile(size_t nMax, std::string& strBytes,
                                   CFileIdentity& identity) const
{
    if (m_nFile < 0 || !m_bSettled || m_bFailed || m_nFills != 1 || m_nEnd > nMax ||
        m_nEnd != m_identity.nSize)
        return false;
    strBytes.assign(m_buffer.data(), m_nEnd);
    identity = m_identity;
    return true;
}

bool CTextFileReader::Fill()
{
    if (m_bEof || m_bFailed || m_nFile < 0)
        return false;
    m_nPos = m_nEnd = 0;
    ++m_nFills;
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

bool IdentityOfEntry(const std::string& strPath, CFileIdentity& identity)
{
#ifdef _WIN32
    (void)strPath;
    (void)identity;
    return false;
#else
    struct stat st;
    if (lstat(strPath.c_str(), &st) != 0)
        return false;
    identity = IdentityOf(st);
    return true;
#endif
}

bool StatusShowsEveryChange(const std::string& strFolder)
{
#ifdef __linux__
    struct statfs fileSystem;
    if (statfs(strFolder.c_str(), &fileSystem) != 0)
        return false;
    switch (static_cast<unsigned long>(fileSystem.f_type) & 0xFFFFFFFFUL)
    {
    case 0xEF53UL:     // ext2, ext3, ext4
    case 0x58465342UL: // xfs
    case 0x9123683EUL: // btrfs
    case 0x01021994UL: // tmpfs
    case 0xF2F52010UL: // f2fs
    case 0x2FC12FC1UL: // zfs
    case 0xCA451A4EUL: // bcachefs
    case 0x794C7630UL: // overlay
    case 0x4D44UL:     // vfat, msdos
    case 0x2011BAB0UL: // exfat
        return true;
    default:
        return false;
    }
#else
    (void)strFolder;
    return false;
#endif
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
