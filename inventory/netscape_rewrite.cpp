#include "inventory/cookie_inventory.h"
#include "inventory/netscape_line.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The browser may write its file while the program runs. The cookie lines of the
// file as it stands now that were not read at the refresh are its additions; the
// lines read at the refresh are left to the records, so a deleted cookie stays
// deleted.
bool CCookieInventory::TakeInAddedLines(const std::string& strFile, CNSFileSnapshot& snapshot)
{
    if (StampOfFile(strFile) == snapshot.stamp)
        return true;
    std::vector<std::string> lines;
    if (!ReadTextLines(strFile, lines))
        return false;
    // Lines are told apart by their hashes: two different lines that share a
    // hash are not a practical concern for a cookie file.
    std::unordered_map<size_t, size_t> readCount;
    for (size_t nHash : snapshot.readLineHashes)
        ++readCount[nHash];
    snapshot.addedLines.clear();
    for (const std::string& strLine : lines)
    {
        std::string_view name, trimmed;
        if (!ParseNSCookieLine(strLine, name, trimmed))
            continue;
        const auto it = readCount.find(std::hash<std::string_view>()(trimmed));
        if (it != readCount.end() && it->second > 0)
            --it->second;
        else
            snapshot.addedLines.emplace_back(trimmed);
    }
    return true;
}

// Every listed file is replaced from the surviving records of that file, in
// the list's current order, followed by the cookie lines another program added
// since the refresh. Each file is replaced whole, so a failed write keeps the
// old file; a file that could not be read at the last refresh, or that changed
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
        if (!TakeInAddedLines(files[i], snapshot))
            continue;
        std::vector<std::string>& lines = linesOfFile[i];
        lines.insert(lines.end(), snapshot.addedLines.begin(), snapshot.addedLines.end());
        if (ReplaceFileContents(files[i], JoinCrLfLines(lines)))
            snapshot.stamp = StampOfFile(files[i]);
    }
}
