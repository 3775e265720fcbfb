#include "inventory/cookie_inventory.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/text_file.h"

#include <set>
#include <string>
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
    if (!m_ieReader.Open(strPath))
        return;
    std::string strLine;
    bool bComplete = true;
    for (int nLine = 0; nLine < 3 && bComplete; ++nLine)
        bComplete = m_ieReader.ReadLine(strLine); // false at the end or on a read error
    m_ieReader.Close();
    if (bComplete)
        m_Cookies.push_back(new CIECookie(std::move(strLine), strPath));
}

void CCookieInventory::ReadNSCookies()
{
    m_unreadableNSFiles.clear();
    if (m_NSLocations.empty())
        return;
    std::set<std::string> read;
    for (const std::string& strFile : m_NSLocations)
    {
        if (!read.insert(strFile).second)
            continue; // a path listed twice gives its cookies once
        // The file is read whole first: one that fails half way gives no record,
        // and the rewrite leaves it alone rather than writing what was missed.
        std::vector<std::string> lines;
        if (!ReadTextLines(strFile, lines))
        {
            m_unreadableNSFiles.insert(strFile);
            continue;
        }
        for (const std::string& strLine : lines)
            AddNSCookie(strLine, strFile);
    }
    LoadProtection(NS_BROWSER_NAME, DataFilePath(NS_PROTECTION_FILE));
}

void CCookieInventory::AddNSCookie(const std::string& strLine, const std::string& strFile)
{
    static const char kWhiteSpace[] = " \t\r\n\v\f";
    const size_t nFirst = strLine.find_first_not_of(kWhiteSpace);
    if (nFirst == std::string::npos)
        return;
    const size_t nLast = strLine.find_last_not_of(kWhiteSpace);
    if (strLine[nFirst] == '#')
        return;
    const size_t nTab = strLine.find('\t', nFirst);
    if (nTab == std::string::npos || nTab > nLast)
        return;
    m_Cookies.push_back(new CNSCookie(strLine.substr(nFirst, nTab - nFirst), strFile,
                                      strLine.substr(nFirst, nLast - nFirst + 1)));
}
