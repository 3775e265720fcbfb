// The inventory on real files under random sequences of refreshes, protection,
// deletions and a browser that keeps adding cookies, several to a site: after
// every step the files on disk, the records and the list agree with a plain
// model of the stores, in which a mark belongs to a name and a browser and a
// protected cookie is never deleted.
#include "inventory/stores/ie_folder/ie_cookie.h"
#include "inventory/stores/netscape/ns_cookie.h"
#include "inventory_fixture.h"
#include "platform/text_file.h"
#include "support/inventory_test_access.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>

namespace
{
// The stores as they should stand on disk: cookie names by file.
struct CStoreModel
{
    std::map<std::string, std::string> ieNameOfFile; // file name in the folder -> name
    std::map<std::string, std::multiset<std::string>> nsLinesOfFile; // path -> lines
    std::set<std::string> protectedNames; // MarkKey of each protected name and browser
};

std::multiset<std::string> CookieLinesOnDisk(const std::string& strPath)
{
    std::vector<std::string> lines;
    ReadTextLines(strPath, lines);
    std::multiset<std::string> cookieLines;
    for (const std::string& strLine : lines)
        if (!strLine.empty() && strLine[0] != '#')
            cookieLines.insert(strLine);
    return cookieLines;
}
std::string MarkKey(const CCookie& cookie)
{
    return cookie.GetBrowser() + "|" + cookie.m_strName;
}
} // namespace

class CInventoryPropertyTest : public CInventoryTest, public ::testing::WithParamInterface<unsigned>
{
protected:
    std::string NSLine(const std::string& strName, int nId) const
    {
        return strName + "\tTRUE\t/\tx\t" + std::to_string(nId);
    }

    void BrowserAddsCookie()
    {
        const int nId = m_nNextId++;
        if (m_random() % 2 == 0)
        {
            const std::string strFile = "c" + std::to_string(nId) + ".txt";
            const std::string strName = "ie" + std::to_string(nId % 5) + ".example.com/";
            WriteIECookie(strFile, strName);
            m_model.ieNameOfFile[strFile] = strName;
        }
        else
        {
            const std::string& strPath = m_nsFiles[m_random() % m_nsFiles.size()];
            const std::string strLine =
                NSLine("ns" + std::to_string(nId % 5) + ".example.org", nId);
            std::ofstream(strPath, std::ios::binary | std::ios::app) << strLine << "\n";
            m_model.nsLinesOfFile[strPath].insert(strLine);
        }
    }

    void SelectRandomRows()
    {
        m_inventory.CookieList().ClearSelection();
        for (int i = 0; i < m_inventory.CookieList().GetItemCount(); ++i)
            if (m_random() % 3 == 0)
                m_inventory.CookieList().SetItemSelected(i, true);
    }

    // Takes the cookie of a deleted unprotected record out of the model.
    void ForgetCookie(const CCookie* pCookie)
    {
        if (const auto* pIE = dynamic_cast<const CIECookie*>(pCookie))
            m_model.ieNameOfFile.erase(std::filesystem::path(pIE->m_strPath).filename().string());
        else if (const auto* pNS = dynamic_cast<const CNSCookie*>(pCookie))
        {
            auto& lines = m_model.nsLinesOfFile[pNS->m_strFile];
            lines.erase(lines.find(pNS->m_strLine));
        }
    }

    void Step()
    {
        const unsigned nOp = m_random() % 6;
        if (nOp == 0)
        {
            m_inventory.RefreshCookies();
            for (const auto& pCookie : m_inventory.Cookies())
                EXPECT_EQ(pCookie->m_bProtected, m_model.protectedNames.count(MarkKey(*pCookie)))
                    << pCookie->m_strName;
            std::multiset<std::string> expected, listed;
            for (const auto& entry : m_model.ieNameOfFile)
                expected.insert(entry.second);
            for (const auto& entry : m_model.nsLinesOfFile)
                for (const std::string& strLine : entry.second)
                    expected.insert(strLine.substr(0, strLine.find('\t')));
            for (const auto& pCookie : m_inventory.Cookies())
                listed.insert(pCookie->m_strName);
            EXPECT_EQ(listed, expected);
        }
        else if (nOp == 1)
        {
            // The first selected row of a name and browser decides for all of them.
            SelectRandomRows();
            std::map<std::string, bool> decided;
            for (int i = m_inventory.CookieList().GetNextSelected(-1); i != -1;
                 i = m_inventory.CookieList().GetNextSelected(i))
            {
                const std::string strKey = MarkKey(*m_inventory.CookieList().GetItemData(i));
                decided.emplace(strKey, m_model.protectedNames.count(strKey) == 0);
            }
            for (const auto& entry : decided)
                if (entry.second)
                    m_model.protectedNames.insert(entry.first);
                else
                    m_model.protectedNames.erase(entry.first);
            m_inventory.ProtectSelected();
        }
        else if (nOp == 2 || nOp == 3)
        {
            if (nOp == 2)
                SelectRandomRows();
            for (int i = 0; i < m_inventory.CookieList().GetItemCount(); ++i)
            {
                const CCookie* pCookie = m_inventory.CookieList().GetItemData(i);
                if (!m_model.protectedNames.count(MarkKey(*pCookie)) &&
                    (nOp == 3 || m_inventory.CookieList().GetRow(i).bSelected))
                    ForgetCookie(pCookie);
            }
            if (nOp == 2)
                m_inventory.DeleteSelected();
            else
                m_inventory.DeleteAllUnprotected();
        }
        else
            BrowserAddsCookie();
    }

    void ExpectAgreement()
    {
        ExpectOneRowPerRecord(m_inventory);
        if (HasFailure())
            return;
        const CCookieListModel& list = m_inventory.CookieList();
        for (int i = 0; i < list.GetItemCount(); ++i)
        {
            const CCookie* pCookie = list.GetItemData(i);
            EXPECT_EQ(list.GetItemImage(i), pCookie->m_bProtected);
            EXPECT_EQ(pCookie->m_bProtected, m_model.protectedNames.count(MarkKey(*pCookie)))
                << "row " << i << " does not share its name's state";
            if (const auto* pIE = dynamic_cast<const CIECookie*>(pCookie))
            {
                EXPECT_TRUE(FileExists(pIE->m_strPath)) << pIE->m_strPath;
            }
        }
        std::set<std::string> ieFiles, expectedIEFiles;
        for (const auto& entry : std::filesystem::directory_iterator(m_strIEFolder))
            ieFiles.insert(entry.path().filename().string());
        for (const auto& entry : m_model.ieNameOfFile)
            expectedIEFiles.insert(entry.first);
        EXPECT_EQ(ieFiles, expectedIEFiles);
        for (const std::string& strPath : m_nsFiles)
            EXPECT_EQ(CookieLinesOnDisk(strPath), m_model.nsLinesOfFile[strPath]) << strPath;
    }

    std::mt19937 m_random;
    CStoreModel m_model;
    std::vector<std::string> m_nsFiles;
    int m_nNextId = 0;
};

TEST_P(CInventoryPropertyTest, FilesRecordsAndListAgreeAfterEveryStep)
{
    const unsigned nSeed = GetParam();
    m_random.seed(nSeed);
    m_nsFiles = {WriteNSFile("first.txt", {}), WriteNSFile("second.txt", {})};
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.SetLocations(EBrowser::Netscape, {m_nsFiles[0], m_nsFiles[1], m_nsFiles[0]});
    for (int i = 0; i < 12; ++i)
        BrowserAddsCookie();
    m_inventory.RefreshCookies();
    for (int nStep = 0; nStep < 400; ++nStep)
    {
        SCOPED_TRACE("seed " + std::to_string(nSeed) + ", step " + std::to_string(nStep));
        Step();
        ExpectAgreement();
        if (HasFailure())
            return;
    }
    // A column sort gives the callback's order, selection and focus.
    SelectRandomRows();
    m_inventory.CookieList().SetFocusedItem(m_inventory.CookieList().GetItemCount() / 2);
    for (int nColumn : {COL_BROWSER, COL_STATE, COL_COOKIE, COL_STATE})
    {
        CCookieListModel expected = m_inventory.CookieList();
        expected.SortItems(CInventoryTestAccess::CompareCookies, nColumn);
        m_inventory.SortByColumn(nColumn);
        for (int i = 0; i < expected.GetItemCount(); ++i)
        {
            EXPECT_EQ(m_inventory.CookieList().GetItemData(i), expected.GetItemData(i)) << i;
            EXPECT_EQ(m_inventory.CookieList().GetRow(i).bSelected, expected.GetRow(i).bSelected);
        }
        EXPECT_EQ(m_inventory.CookieList().GetFocusedItem(), expected.GetFocusedItem());
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, CInventoryPropertyTest, ::testing::Values(7u, 11u, 23u, 42u, 99u));
