#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What tells one version of a file from another without reading it: a write
// changes the change time, a replacement the inode. Times in nanoseconds.
struct CFileIdentity
{
    std::uint64_t nDevice = 0;
    std::uint64_t nInode = 0;
    std::uint64_t nSize = 0;
    std::int64_t nModified = 0;
    std::int64_t nChanged = 0;

    bool operator==(const CFileIdentity& other) const
    {
        return nDevice == other.nDevice && nInode == other.nInode && nSize == other.nSize &&
               nModified == other.nModified && nChanged == other.nChanged;
    }
    bool operator!=(const CFileIdentity& other) const { return !(*this == other); }
};

// The identity of the entry at strPath itself, a symbolic link not followed:
// a link never matches what a reader opened through it. False when it cannot
// be looked at, and always on Windows, whose status has no identity to trust.
bool IdentityOfEntry(const std::string& strPath, CFileIdentity& identity);

// Whether the status of a file in this folder shows every change made to it
// as soon as it is made: true for the local disk file systems of Linux; false
// for network and FUSE file systems, whose clients may answer from a cache of
// the status, for anything unknown, and on Windows.
bool StatusShowsEveryChange(const std::string& strFolder);

// Reads a text file line by line the way a text-mode stream does: a line ends at
// a line feed, a carriage return directly before it is dropped, the terminator is
// not part of the line, a last line without a terminator still counts, and lines
// may be of any length. Bytes are passed through as they are (NUL included).
class CTextFileReader
{
public:
    CTextFileReader() = default;
    CTextFileReader(const CTextFileReader&) = delete;
    CTextFileReader& operator=(const CTextFileReader&) = delete;
    ~CTextFileReader() { Close(); }

    // False when the path cannot be opened as a regular file (missing, a folder,
    // a FIFO, a device...); never waits for a writer.
    bool Open(const std::string& strPath);
    // False at end of file (not one character could be read) or on a read error.
    bool ReadLine(std::string& strLine);
    // True once a read error has occurred; end of file is not an error.
    bool Failed() const { return m_bFailed; }
    // Before Close: the whole open file, when its first read took all of it and
    // it has at most nMax bytes, with the identity of what was opened. False
    // when a later write might leave that identity as it is: the file changed
    // within the file system's last clock step before it was opened.
    bool GetWholeFile(size_t nMax, std::string& strBytes, CFileIdentity& identity) const;
    void Close();

private:
    bool Fill();

    int m_nFile = -1;         // the open file's descriptor
    CFileIdentity m_identity; // of the open file, when m_bSettled
    bool m_bSettled = false;  // no write after the open can keep m_identity
    int m_nFills = 0;         // reads into the buffer since the open
    std::vector<char> m_buffer;
    size_t m_nPos = 0;
    size_t m_nEnd = 0;
    bool m_bEof = false;
    bool m_bFailed = false;
};

// Reads every line of a file. False when the file cannot be opened or a read
// error occurs; the lines read so far are then in lines.
bool ReadTextLines(const std::string& strPath, std::vector<std::string>& lines);

// Reads the first nMax bytes of a regular file (all of a shorter one), with
// the reader's rules for opening. False when it cannot be opened or a read fails.
bool ReadFileBytes(const std::string& strPath, size_t nMax, std::string& strBytes);

// Joins lines, each followed by a carriage return and line feed, as the system's
// text files are written.
std::string JoinCrLfLines(const std::vector<std::string>& lines);
