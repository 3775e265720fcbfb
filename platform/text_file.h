#pragma once

#include <string>
#include <vector>

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
    void Close();

private:
    bool Fill();

    int m_nFile = -1; // the open file's descriptor
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
