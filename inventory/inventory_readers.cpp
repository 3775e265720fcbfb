#include "inventory/cookie_inventory.h"
#include "inventory/netscape_line.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/text_file.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

void CCookieInventory::ReadIECookies()
{
    if (m_IELocations.empty())
        return;
    for (const std::string& strFolder : m_IELocations)
    {
        std::vector<CFindEntry> entries;
        if (!FindEntries(strFolder, "*.txt", entries))
            continue;
        // A folder named like a cookie file is passed on too and fails to open.
        for (const CFindEntry& entry : entries)
            AddIECookie(AppendPathPart(strFolder, entry.strName));
    }
    LoadProtection(IE_BROWSER_NAME, DataFilePath(IE_PROTECTION_FILE));
}

void CCookieInventory::AddIECookie(const std::string& strPath)
{
    if (!m_reader.Open(strPath))
        return;
    std::string strLine;
    bool bComplete = true;
    for (int nLine = 0; nLine < 3 && bComplete; ++nLine)
        bComplete = m_reader.ReadLine(strLine); // false at the end or on a read error
    m_reader.Close();
    if (bComplete)
        m_Cookies.push_back(new CIECookie(std::move(strLine), strPath));
}

void CCookieInventory::ReadNSCookies()
{
    m_nsSnapshots.clear();
    if (m_NSLocations.empty())
        return;
    for (const std::string& strFile : m_NSLocations)
    {
        auto inserted = m_nsSnapshots.emplace(strFile, CNSFileSnapshot());
        if (!inserted.second)
            continue; // a path listed twice gives its cookies once
        CNSFileSnapshot& snapshot = inserted.first->second;
        // Stamped before reading: a write during the read counts as a change.
        snapshot.stamp = StampOfFile(strFile);
        // A file that fails half way gives no record, and the rewrite leaves it
        // alone rather than writing what was missed.
        if (!m_reader.Open(strFile))
            continue;
        const size_t nFirstRecord = m_Cookies.size();
        std::string strLine;
        while (m_reader.ReadLine(strLine))
        {
            const size_t nBefore = m_Cookies.size();
            AddNSCookie(strLine, strFile);
            if (m_Cookies.size() != nBefore)
                snapshot.baseLineHashes.push_back(std::hash<std::string>()(
                    static_cast<const CNSCookie*>(m_Cookies.back())->m_strLine));
        }
        snapshot.bReadable = !m_reader.Failed();
        m_reader.Close();
        if (!snapshot.bReadable)
        {
            std::for_each(m_Cookies.begin() + static_cast<std::ptrdiff_t>(nFirstRecord),
                          m_Cookies.end(), [](CCookie* pCookie) { delete pCookie; });
            m_Cookies.resize(nFirstRecord);
            snapshot.baseLineHashes.clear();
        }
    }
    LoadProtection(NS_BROWSER_NAME, DataFilePath(NS_PROTECTION_FILE));
}

void CCookieInventory::AddNSCookie(const std::string& strLine, const std::string& strFile)
{
    std::string_view name, trimmed;
    if (ParseNSCookieLine(strLine, name, trimmed))
        m_Cookies.push_back(new CNSCookie(std::string(name), strFile, std::string(trimmed)));
}
