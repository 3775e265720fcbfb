#pragma once

#include "inventory/cookie_inventory.h"
#include "platform/safe_file.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

// A temporary folder with an Internet Explorer cookie folder "ie", room for
// Netscape files, a data folder for the protection lists, and an inventory
// working on them.
class CInventoryTest : public ::testing::Test
{
protected:
    CInventoryTest()
        : m_strIEFolder(m_dir.MakeDir("ie")), m_strDataFolder(m_dir.MakeDir("data")),
          m_inventory(m_strDataFolder)
    {
    }

    // A cookie file as the browser writes it: name, value, host and path, then
    // numbers and a final "*" line.
    std::string WriteIECookie(const std::string& strFile, const std::string& strHostPath)
    {
        return m_dir.Write("ie/" + strFile,
                           "id\r\n42\r\n" + strHostPath + "\r\n0\r\n1234\r\n5678\r\n*\r\n");
    }

    std::string WriteNSFile(const std::string& strFile, const std::vector<std::string>& lines)
    {
        std::string strText = "# Netscape HTTP Cookie File\n# written by a test\n\n";
        for (const std::string& strLine : lines)
            strText += strLine + "\n";
        return m_dir.Write(strFile, strText);
    }

    std::vector<std::string> RowTexts(int nColumn = COL_COOKIE) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < m_inventory.CookieList().GetItemCount(); ++i)
            texts.push_back(m_inventory.CookieList().GetRow(i).strText[nColumn]);
        return texts;
    }

    std::vector<std::string> RecordNames() const
    {
        std::vector<std::string> names;
        for (const auto& pCookie : m_inventory.Cookies())
            names.push_back(pCookie->GetName());
        return names;
    }

    // The index of the first row whose Cookie text is strName, -1 when none.
    int FindRow(const std::string& strName) const
    {
        for (int i = 0; i < m_inventory.CookieList().GetItemCount(); ++i)
            if (m_inventory.CookieList().GetRow(i).strText[COL_COOKIE] == strName)
                return i;
        return -1;
    }

    void SelectOnly(const std::vector<int>& rows)
    {
        m_inventory.CookieList().ClearSelection();
        for (int nRow : rows)
            m_inventory.CookieList().SetItemSelected(nRow, true);
    }

    std::string DataFile(const char* pszName) const
    {
        return m_dir.File(std::string("data/") + pszName);
    }

    CTempDir m_dir;
    std::string m_strIEFolder;
    std::string m_strDataFolder;
    CCookieInventory m_inventory;
};

using V = std::vector<std::string>;

// The first line of WriteNSFile's files, as a rewrite writes it back.
inline const std::string kNSHeader = "# Netscape HTTP Cookie File\r\n";

// Removes the replacement fault hook when a test ends, whatever it asserted.
struct CFaultHookGuard
{
    ~CFaultHookGuard() { SetReplaceFaultHook(nullptr); }
};

// Each record listed once, each row pointing at a record of the inventory.
inline void ExpectOneRowPerRecord(const CCookieInventory& inventory)
{
    const CCookieListModel& list = inventory.CookieList();
    ASSERT_EQ(static_cast<size_t>(list.GetItemCount()), inventory.Cookies().size());
    std::set<const CCookie*> listed;
    for (int i = 0; i < list.GetItemCount(); ++i)
    {
        const CCookie* pCookie = list.GetItemData(i);
        EXPECT_TRUE(listed.insert(pCookie).second) << "row " << i << " lists a record twice";
        EXPECT_TRUE(std::any_of(inventory.Cookies().begin(), inventory.Cookies().end(),
                                [&](const auto& pOwned) { return pOwned.get() == pCookie; }));
    }
}
