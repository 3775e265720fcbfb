#include "inventory_fixture.h"
#include "platform/path.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <algorithm>
#include <random>

using CProtectionTest = CInventoryTest;

TEST_F(CProtectionTest, MarksSurviveARefreshAndAreSavedPerBrowser)
{
    WriteIECookie("1.txt", "a.example.com/");
    WriteIECookie("2.txt", "b.example.com/");
    const std::string strNS =
        WriteNSFile("cookies.txt", {"ns.example.org\tx", "nt.example.org\ty"});
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    m_inventory.RefreshCookies();

    SelectOnly({FindRow("b.example.com/"), FindRow("ns.example.org")});
    m_inventory.ToggleSelectedProtection();
    const int nB = FindRow("b.example.com/");
    const int nNS = FindRow("ns.example.org");
    EXPECT_EQ(m_inventory.CookieList().GetRow(nB).strText[COL_STATE], "Protected");
    EXPECT_EQ(m_inventory.CookieList().GetItemImage(nB), 1);
    EXPECT_EQ(m_inventory.CookieList().GetSelectedCount(), 2);
    EXPECT_EQ(m_inventory.CookieList().GetFocusedItem(), std::max(nB, nNS));

    m_inventory.RefreshCookies();
    EXPECT_EQ(ReadWholeFile(DataFile(IE_PROTECTION_FILE)), "b.example.com/\r\n");
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), "ns.example.org\r\n");
    EXPECT_EQ(RowTexts(),
              (V{"a.example.com/", "nt.example.org", "b.example.com/", "ns.example.org"}));
    EXPECT_EQ(RowTexts(COL_STATE), (V{"", "", "Protected", "Protected"}));

    // Unprotecting everything leaves both lists present and empty.
    SelectOnly({2, 3});
    m_inventory.ToggleSelectedProtection();
    m_inventory.RefreshCookies();
    EXPECT_EQ(ReadWholeFile(DataFile(IE_PROTECTION_FILE)), "");
    EXPECT_TRUE(FileExists(DataFile(NS_PROTECTION_FILE)));
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), "");
    // No database is listed: their lists are not written.
    EXPECT_FALSE(FileExists(DataFile(FF_PROTECTION_FILE)));
    EXPECT_FALSE(FileExists(DataFile(CR_PROTECTION_FILE)));
}

TEST_F(CProtectionTest, AnEmptyInventoryLeavesTheListsAlone)
{
    m_dir.Write("data/" IE_PROTECTION_FILE, "kept.example.com/\r\n");
    m_inventory.SaveAndClearCookies();
    EXPECT_EQ(ReadWholeFile(DataFile(IE_PROTECTION_FILE)), "kept.example.com/\r\n");
    EXPECT_FALSE(FileExists(DataFile(NS_PROTECTION_FILE)));
}

TEST_F(CProtectionTest, AMarkBelongsToItsNameAndBrowser)
{
    WriteIECookie("1.txt", "same.example.com/");
    WriteIECookie("2.txt", "same.example.com/");
    WriteIECookie("3.txt", "trail.example.com/  ");
    const std::string strNS =
        WriteNSFile("cookies.txt", {".shop.example.net\tfirst", ".shop.example.net\tsecond"});
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    m_inventory.RefreshCookies();
    for (const auto& pCookie : m_inventory.Cookies())
        pCookie->m_bProtected = pCookie->GetBrowser() == IE_BROWSER_NAME ? 1 : 0;
    m_inventory.Cookies()[4]->m_bProtected = 1; // the second cookie of the domain

    m_inventory.SaveAndClearCookies();
    EXPECT_EQ(ReadWholeFile(DataFile(IE_PROTECTION_FILE)),
              "same.example.com/\r\nsame.example.com/\r\ntrail.example.com/  \r\n");
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    m_inventory.ReadIECookies();
    m_inventory.ReadNSCookies();
    std::vector<int> marks;
    for (const auto& pCookie : m_inventory.Cookies())
        marks.push_back(pCookie->m_bProtected);
    EXPECT_EQ(marks, (std::vector<int>{1, 1, 1, 1, 1})); // every record of a protected name

    // A line matches only the exact name, trailing spaces included, of its browser.
    m_dir.Write("other.dat", "trail.example.com/\r\n.shop.example.net\r\n\r\nnothing\r\n");
    for (const auto& pCookie : m_inventory.Cookies())
        pCookie->m_bProtected = 0;
    m_inventory.LoadProtection(IE_BROWSER_NAME, m_dir.File("other.dat"));
    for (const auto& pCookie : m_inventory.Cookies())
        EXPECT_EQ(pCookie->m_bProtected, 0) << pCookie->GetName();
}

TEST_F(CProtectionTest, LoadingMarksEveryRecordLikeWhatFindCookieFinds)
{
    std::mt19937 random(3);
    for (int i = 0; i < 400; ++i)
    {
        const std::string strName = "n" + std::to_string(random() % 60);
        if (random() % 2)
            m_inventory.AppendCookie(std::make_unique<CIECookie>(strName, "p"));
        else
            m_inventory.AppendCookie(std::make_unique<CNSCookie>(strName, "f", strName + "\tv"));
    }
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i)
        lines.push_back("n" + std::to_string(random() % 80));
    m_dir.Write("list.dat", JoinCrLfLines(lines));

    std::vector<int> expected(m_inventory.Cookies().size(), 0);
    for (const std::string& strLine : lines)
        if (const CCookie* pFound = m_inventory.FindCookie(strLine, NS_BROWSER_NAME))
            for (const auto& pCookie : m_inventory.Cookies())
                if (pCookie->m_strName == pFound->m_strName &&
                    pCookie->Browser() == pFound->Browser())
                    pCookie->m_bProtected = 2; // remembered below, then cleared
    for (size_t i = 0; i < expected.size(); ++i)
    {
        expected[i] = m_inventory.Cookies()[i]->m_bProtected == 2 ? 1 : 0;
        m_inventory.Cookies()[i]->m_bProtected = 0;
    }
    m_inventory.LoadProtection(NS_BROWSER_NAME, m_dir.File("list.dat"));
    std::vector<int> marks;
    for (const auto& pCookie : m_inventory.Cookies())
        marks.push_back(pCookie->m_bProtected);
    EXPECT_EQ(marks, expected);
    EXPECT_GT(std::count(marks.begin(), marks.end(), 1), 5);
}

TEST_F(CProtectionTest, AListThatCannotBeWrittenKeepsItsOldContentAndTheRefreshListsEachCookieOnce)
{
    CFaultHookGuard guard;
    WriteIECookie("1.txt", "a.example.com/");
    m_dir.Write("data/" IE_PROTECTION_FILE, "old.example.com/\r\n");
    m_dir.Write("data/" NS_PROTECTION_FILE, "old.example.org\r\n");
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.RefreshCookies();
    m_inventory.Cookies()[0]->m_bProtected = 1;

    SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Write; });
    m_inventory.RefreshCookies();
    SetReplaceFaultHook(nullptr);
    EXPECT_EQ(ReadWholeFile(DataFile(IE_PROTECTION_FILE)), "old.example.com/\r\n");
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), "old.example.org\r\n");
    EXPECT_EQ(RowTexts(), V{"a.example.com/"});
    EXPECT_EQ(m_inventory.Cookies().size(), 1u);

    // A data folder that cannot hold files: nothing written, still emptied.
    const std::string strBlocker = m_dir.Write("blocker", "a file, not a folder");
    CCookieInventory inventory(strBlocker);
    inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    inventory.RefreshCookies();
    inventory.Cookies()[0]->m_bProtected = 1;
    inventory.RefreshCookies();
    EXPECT_EQ(inventory.Cookies().size(), 1u);
    EXPECT_EQ(inventory.CookieList().GetItemCount(), 1);
    EXPECT_EQ(ReadWholeFile(strBlocker), "a file, not a folder");
}

TEST_F(CProtectionTest, AListThatAlreadyHoldsTheMarksIsNotReplaced)
{
    CFaultHookGuard guard;
    WriteIECookie("1.txt", "a.example.com/");
    WriteIECookie("2.txt", "b.example.com/");
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.RefreshCookies();
    m_inventory.Cookies()[1]->m_bProtected = 1;
    m_inventory.RefreshCookies(); // writes both lists

    std::vector<EReplaceStep> steps;
    SetReplaceFaultHook(
        [&steps](EReplaceStep step)
        {
            steps.push_back(step);
            return false;
        });
    m_inventory.RefreshCookies();
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(RowTexts(COL_STATE), (V{"", "Protected"}));

    // Content that differs, even by a longer tail or a missing line end, is replaced.
    for (const char* pszOld : {"b.example.com/\r\nmore\r\n", "b.example.com/", ""})
    {
        m_dir.Write("data/" IE_PROTECTION_FILE, pszOld);
        steps.clear();
        m_inventory.RefreshCookies();
        EXPECT_FALSE(steps.empty()) << pszOld;
        EXPECT_EQ(ReadWholeFile(DataFile(IE_PROTECTION_FILE)), "b.example.com/\r\n");
    }
    // A missing list is written even when it is to be empty.
    std::remove(DataFile(NS_PROTECTION_FILE).c_str());
    m_inventory.RefreshCookies();
    EXPECT_TRUE(FileExists(DataFile(NS_PROTECTION_FILE)));
}
