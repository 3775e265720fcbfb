#include "inventory/control_state.h"
#include "inventory/site_list.h"
#include "inventory_fixture.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"

#include <algorithm>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(SiteRule, EntriesAreNormalisedPublicSuffixesRefusedAndHostsMatchedByLabel)
{
    EXPECT_EQ(NormaliseSite("  ..Mail.EXAMPLE\t"), "mail.example");
    EXPECT_EQ(NormaliseSite("*.Bank.Test"), "bank.test");
    for (const char* pszSuffix : {"com", "co.uk", "github.io", "blogspot.com"})
        EXPECT_NE(SiteRefusal(pszSuffix).find("public suffix"), std::string::npos) << pszSuffix;
    for (const char* pszBad : {"", "a b.example", "example.com/path", "a..example", "example."})
        EXPECT_FALSE(SiteRefusal(pszBad).empty()) << pszBad;
    for (const char* pszGood :
         {"mail.example", "localhost", "127.0.0.1", "bbc.co.uk", "user.github.io"})
        EXPECT_EQ(SiteRefusal(pszGood), "") << pszGood;
    const std::pair<const char*, const char*> registrable[] = {
        {"accounts.mail.example", "mail.example"},
        {".WWW.bbc.co.uk", "bbc.co.uk"},
        {"user.github.io", "user.github.io"},
        {"localhost", "localhost"},
        {"127.0.0.1", "127.0.0.1"},
        {"www.bank.test", "bank.test"}};
    for (const auto& [pszHost, pszDomain] : registrable)
        EXPECT_EQ(RegistrableDomain(pszHost), pszDomain) << pszHost;

    CSiteList sites;
    for (const char* pszSite : {"mail.example", "localhost", "10.0.0.1"})
        EXPECT_TRUE(sites.Add(pszSite));
    EXPECT_FALSE(sites.Add("mail.example"));
    const std::pair<const char*, bool> names[] = {
        {"mail.example/", true}, // an Internet Explorer name
        {"accounts.mail.example/path", true},
        {".mail.example", true}, // a Netscape or database domain cookie
        {"A.MAIL.Example", true},
        {"notmail.example", false}, // the suffix boundary
        {"mail.example.evil", false},
        {"example", false},
        {"localhost", true},
        {"app.localhost", false}, // a single label keeps only itself
        {"10.0.0.1", true},
        {"5.10.0.0.1", false}, // an address keeps only itself
        {"", false}};
    for (const auto& [pszName, bCovered] : names)
        EXPECT_EQ(sites.Covers(pszName), bCovered) << pszName;
    EXPECT_TRUE(sites.Remove("localhost"));
    EXPECT_FALSE(sites.Covers("localhost"));
    EXPECT_EQ(sites.Sorted(), (V{"10.0.0.1", "mail.example"}));
}

TEST_F(CProtectionTest, ASiteKeepsItsCookiesInEveryStoreAndSitesDatIsWrittenOnlyWhenSitesChange)
{
    WriteIECookie("1.txt", "www.bank.test/");
    WriteIECookie("2.txt", "tracker.test/");
    const std::string strNS =
        WriteNSFile("cookies.txt", {".bank.test\tTRUE\t/\tFALSE\t0\ta\t1",
                                    "ACCOUNTS.bank.test\tFALSE\t/\tFALSE\t0\tb\t2",
                                    "notbank.test\tFALSE\t/\tFALSE\t0\tc\t3"});
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    m_inventory.RefreshCookies();
    m_inventory.RefreshCookies();
    EXPECT_FALSE(FileExists(DataFile(SITES_FILE))); // none kept, none written

    CSiteList sites;
    sites.Add("bank.test");
    sites.Add("zeta.example");
    EXPECT_TRUE(m_inventory.SetSites(sites));
    EXPECT_EQ(ReadWholeFile(DataFile(SITES_FILE)), "bank.test\r\nzeta.example\r\n");
    const int nWww = FindRow("www.bank.test/");
    EXPECT_EQ(m_inventory.CookieList().GetRow(nWww).strText[COL_STATE], "Kept");
    // A kept row stops Delete as a protected one does; Protect marks it.
    SelectOnly({nWww, FindRow("tracker.test/")});
    EXPECT_FALSE(ComputeControlState(m_inventory.CookieList(), "&Protect").bDeleteEnabled);
    EXPECT_TRUE(ComputeControlState(m_inventory.CookieList(), "&Protect").bProtectEnabled);
    SelectOnly({nWww});
    m_inventory.ToggleSelectedProtection();

    // A hand edit: comments, blank lines and case are read as entries are.
    m_dir.Write("data/" SITES_FILE, "# mine\r\n\r\n  .Bank.TEST\r\ncom\r\n");
    m_inventory.RefreshCookies();
    EXPECT_EQ(m_inventory.Sites().Sorted(), V{"bank.test"});
    // Sorted by State: none, then Kept, then Protected.
    EXPECT_EQ(RowTexts(COL_STATE), (V{"", "", "Kept", "Kept", "Protected"}));
    EXPECT_EQ(FindRow("www.bank.test/"), 4);
    EXPECT_EQ(std::min(FindRow(".bank.test"), FindRow("ACCOUNTS.bank.test")), 2);
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(RowTexts(COL_STATE), (V{"Kept", "Kept", "Protected"}));
    EXPECT_EQ(ReadWholeFile(strNS), kNSHeader + ".bank.test\tTRUE\t/\tFALSE\t0\ta\t1\r\n"
                                                "ACCOUNTS.bank.test\tFALSE\t/\tFALSE\t0\tb\t2\r\n");

    // Removing the last site writes an empty list; the rows are no longer kept.
    EXPECT_TRUE(m_inventory.SetSites(CSiteList()));
    EXPECT_EQ(ReadWholeFile(DataFile(SITES_FILE)), "");
    EXPECT_EQ(RowTexts(COL_STATE), (V{"", "", "Protected"}));
}

TEST_F(CProtectionTest, ASitesListThatCannotBeReadStopsEveryDeletionAndIsNeverOverwritten)
{
    WriteIECookie("1.txt", "a.example.com/");
    const std::string strNS =
        WriteNSFile("cookies.txt", {"b.example.org\tFALSE\t/\tFALSE\t0\tb\t2"});
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    CSiteList sites;
    sites.Add("example.net");
    for (int nCase = 0; nCase < 2; ++nCase)
    {
        const std::string strSites = DataFile(SITES_FILE);
        std::remove(strSites.c_str());
        if (nCase == 0)
            m_dir.MakeDir("data/" SITES_FILE);
        else
            ASSERT_EQ(mkfifo(strSites.c_str(), 0600), 0);
        m_inventory.RefreshCookies();
        EXPECT_TRUE(m_inventory.SitesUnreadable());
        m_inventory.DeleteAllUnprotected();
        SelectOnly({0, 1});
        m_inventory.DeleteSelected();
        m_inventory.RewriteNSFiles();
        EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 2) << nCase;
        EXPECT_FALSE(m_inventory.SetSites(sites));
        EXPECT_FALSE(IsRegularFile(strSites));
        rmdir(strSites.c_str());
        std::remove(strSites.c_str());
    }
    // Readable again: deletion goes on.
    m_inventory.RefreshCookies();
    EXPECT_FALSE(m_inventory.SitesUnreadable());
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 0);
}
