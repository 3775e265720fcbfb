#include "inventory/cookie_inventory.h"
#include "inventory/netscape_line.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace
{
// Cookie lines are told apart by their hashes: two different lines that share a
// hash are not a practical concern for a cookie file.
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

// The browser may write its file while the program runs. Compared with what the
// file held when we last read or wrote it, the cookie lines it holds now that
// were not there are the browser's additions, kept in every rewrite; the lines
// that are gone the browser removed, and a rewrite no longer writes them back
// from their records. A cookie the user deleted stays deleted.
bool CCookieInventory::TakeInOutsideChanges(const std::string& strFile, CNSFileSnapshot& snapshot)
{
    const CFileStamp stamp = StampOfFile(strFile);
    if (stamp == snapshot.stamp)
        return true;
    std::vector<std::string> lines;
    if (!ReadTextLines(strFile, lines))
        return false;
    LineCount before = CountOf(snapshot.baseLineHashes);
    std::vector<size_t> nowHashes;
    std::vector<std::string> added;
    for (const std::string& strLine : lines)
    {
        std::string_view name, trimmed;
        if (!ParseNSCookieLine(strLine, name, trimmed))
            continue;
        nowHashes.push_back(HashOf(trimmed));
        if (!TakeOne(before, nowHashes.back()))
            added.emplace_back(trimmed);
    }
    // What is left of before is gone: an extra line of an earlier change first,
    // else the line of a record.
    std::vector<std::string> extras;
    for (std::string& strLine : snapshot.extraLines)
        if (!TakeOne(before, HashOf(strLine)))
            extras.push_back(std::move(strLine));
    for (const auto& entry : before)
        snapshot.goneLineHashes.insert(snapshot.goneLineHashes.end(), entry.second, entry.first);
    extras.insert(extras.end(), added.begin(), added.end());
    snapshot.extraLines = std::move(extras);
    snapshot.baseLineHashes = std::move(nowHashes);
    snapshot.stamp = stamp;
    return true;
}

// Every listed file is replaced from the surviving records of that file, in
// the list's current order, followed by the cookie lines another program added
// since the refresh (less the lines it removed meanwhile). Each file is replaced whole, so a failed
// write keeps the old file; a file that could not be read at the last refresh, or that changed
// since and cannot be read now, is left as it is.
void CCookieInventory::RewriteNSFiles()
{
    if (m_NSLocations.empty() || !m_bNSChanged)
        return;
    std::vector<std::string> files;
    std::unordered_map<std::string, size_t> fileIndex;
    for (const std::string& strFile : m_NSLocations)
        if (fileIndex.emplace(strFile, files.size()).second)
            files.push_back(strFile);

    std::vector<std::vector<std::string>> linesOfFile(files.size());
    for (int nRow = 0; nRow < m_CookieList.GetItemCount(); ++nRow)
    {
        const auto* pCookie = dynamic_cast<const CNSCookie*>(m_CookieList.GetItemData(nRow));
        if (!pCookie)
            continue;
        const auto it = fileIndex.find(pCookie->m_strFile);
        if (it != fileIndex.end())
            linesOfFile[it->second].push_back(pCookie->m_strLine);
    }

    for (size_t i = 0; i < files.size(); ++i)
    {
        const auto itSnapshot = m_nsSnapshots.find(files[i]);
        if (itSnapshot == m_nsSnapshots.end() || !itSnapshot->second.bReadable)
            continue;
        CNSFileSnapshot& snapshot = itSnapshot->second;
        if (!TakeInOutsideChanges(files[i], snapshot))
            continue;
        LineCount gone = CountOf(snapshot.goneLineHashes);
        std::vector<std::string> lines;
        for (std::string& strLine : linesOfFile[i])
            if (gone.empty() || !TakeOne(gone, HashOf(strLine)))
                lines.push_back(std::move(strLine));
        lines.insert(lines.end(), snapshot.extraLines.begin(), snapshot.extraLines.end());
        if (!ReplaceFileContents(files[i], JoinCrLfLines(lines)))
            continue;
        snapshot.stamp = StampOfFile(files[i]);
        snapshot.baseLineHashes.clear();
        for (const std::string& strLine : lines)
            snapshot.baseLineHashes.push_back(HashOf(strLine));
    }
}
