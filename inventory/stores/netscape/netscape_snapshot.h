#pragma once

#include "platform/file_stamp.h"

#include <string>
#include <string_view>
#include <vector>

// What the last refresh read of one Netscape file, so that a rewrite can tell
// whether another program (the browser) changed the file since, and keep its
// additions. Cookie lines are told apart by their hashes.
class CNSFileSnapshot
{
public:
    // Starts a reading of the file. The stamp is taken before reading: a write
    // during the read counts as a change.
    void StartReading(const std::string& strFile);
    // One cookie line read, as a record keeps it.
    void AddReadLine(std::string_view kept);
    // Ends the reading. A file that fails half way is not readable, and the
    // rewrite leaves it alone rather than writing what was missed.
    void FinishReading(bool bReadable);
    bool IsReadable() const { return m_bReadable; }
    // The file's first line when it is the header other tools require, else
    // empty. A rewrite writes it first.
    void SetHeader(std::string strHeader) { m_strHeader = std::move(strHeader); }
    const std::string& Header() const { return m_strHeader; }
    // A line read that is neither blank, nor a comment, nor a cookie line. A
    // rewrite writes these lines as read, after the header and before the
    // cookies, in the order read.
    void AddOtherLine(std::string strLine) { m_otherLines.push_back(std::move(strLine)); }
    const std::vector<std::string>& OtherLines() const { return m_otherLines; }

    // Takes in what another program did to the file since the snapshot's stamp.
    // False when it changed and cannot be read now.
    bool TakeInOutsideChanges(const std::string& strFile);
    // The lines a rewrite writes: the lines of the surviving records, less those
    // another program removed from the file, then the lines it added.
    std::vector<std::string> LinesToWrite(std::vector<std::string> recordLines) const;
    // The file now holds lines, written by us.
    void Written(const std::string& strFile, const std::vector<std::string>& lines);

private:
    bool m_bReadable = false;
    std::string m_strHeader;
    std::vector<std::string> m_otherLines;
    CFileStamp m_stamp;                   // when the file was last read or written by us
    std::vector<size_t> m_baseLineHashes; // of the cookie lines it held then
    // Cookie lines another program added since the refresh; no record has them.
    std::vector<std::string> m_extraLines;
    // Lines of records that another program has removed from the file since the
    // refresh; a rewrite leaves them out.
    std::vector<size_t> m_goneLineHashes;
};
