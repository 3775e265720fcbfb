#include "inventory/stores/netscape/netscape_snapshot.h"

#include "inventory/stores/netscape/netscape_line.h"
#include "platform/text_file.h"

#include <functional>
#include <unordered_map>

namespace
{
// Two different lines that share a hash are not a practical concern for a
// cookie file.
using LineCount = std::unordered_map<size_t, size_t>;

size_t HashOf(std::string_view line)
{
    return std::hash<std::string_view>()(line);
}

LineCount CountOf(const std::vector<size_t>& hashes)
{
    LineCount count;
    for (size_t nHash : hashes)
        ++count[nHash];
    return count;
}

// Takes one line of that hash out of the count; false when none is left.
bool TakeOne(LineCount& count, size_t nHash)
{
    const auto it = count.find(nHash);
    if (it == count.end() || it->second == 0)
        return false;
    --it->second;
    return true;
}
} // namespace

void CNSFileSnapshot::StartReading(const std::string& strFile)
{
    *this = CNSFileSnapshot();
    m_stamp = StampOfFile(strFile);
}

void CNSFileSnapshot::AddReadLine(std::string_view kept)
{
    m_baseLineHashes.push_back(HashOf(kept));
}

void CNSFileSnapshot::FinishReading(bool bReadable)
{
    m_bReadable = bReadable;
    if (!bReadable)
        m_baseLineHashes.clear();
}

// Compared with what the file held when we last read or wrote it, the cookie
// lines it holds now that were not there are the other program's additions,
// kept in every rewrite; the lines that are gone it removed, and a rewrite no
// longer writes them back from their records. A cookie the user deleted stays
// deleted.
bool CNSFileSnapshot::TakeInOutsideChanges(const std::string& strFile)
{
    const CFileStamp stamp = StampOfFile(strFile);
    if (stamp == m_stamp)
        return true;
    std::vector<std::string> lines;
    if (!ReadTextLines(strFile, lines))
        return false;
    LineCount before = CountOf(m_baseLineHashes);
    m_strHeader = !lines.empty() && IsNSHeaderLine(lines[0]) ? lines[0] : std::string();
    std::vector<size_t> nowHashes;
    std::vector<std::string> added;
    m_otherLines.clear();
    for (const std::string& strLine : lines)
    {
        std::string_view name, kept;
        if (!ParseNSCookieLine(strLine, name, kept))
        {
            if (IsNSOtherLine(strLine))
                m_otherLines.push_back(strLine);
            continue;
        }
        nowHashes.push_back(HashOf(kept));
        if (!TakeOne(before, nowHashes.back()))
            added.emplace_back(kept);
    }
    // What is left of before is gone: an extra line of an earlier change first,
    // else the line of a record.
    std::vector<std::string> extras;
    for (std::string& strLine : m_extraLines)
        if (!TakeOne(before, HashOf(strLine)))
            extras.push_back(std::move(strLine));
    for (const auto& entry : before)
        m_goneLineHashes.insert(m_goneLineHashes.end(), entry.second, entry.first);
    extras.insert(extras.end(), added.begin(), added.end());
    m_extraLines = std::move(extras);
    m_baseLineHashes = std::move(nowHashes);
    m_stamp = stamp;
    return true;
}

std::vector<std::string> CNSFileSnapshot::LinesToWrite(std::vector<std::string> recordLines) const
{
    LineCount gone = CountOf(m_goneLineHashes);
    std::vector<std::string> lines;
    lines.reserve(recordLines.size() + m_extraLines.size());
    for (std::string& strLine : recordLines)
        if (gone.empty() || !TakeOne(gone, HashOf(strLine)))
            lines.push_back(std::move(strLine));
    lines.insert(lines.end(), m_extraLines.begin(), m_extraLines.end());
    return lines;
}

void CNSFileSnapshot::Written(const std::string& strFile, const std::vector<std::string>& lines)
{
    m_stamp = StampOfFile(strFile);
    m_baseLineHashes.clear();
    for (const std::string& strLine : lines)
        m_baseLineHashes.push_back(HashOf(strLine));
}
