#include "inventory/cookie_inventory.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <string>
#include <unordered_map>
#include <vector>

// Every listed file is replaced from the surviving records of that file, in
// the list's current order. Each file is replaced whole, so a failed write
// keeps the old file; a file that could not be read at the last refresh, and
// so has no records, is left as it is.
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
        if (m_unreadableNSFiles.count(files[i]) == 0)
            ReplaceFileContents(files[i], JoinCrLfLines(linesOfFile[i]));
}
