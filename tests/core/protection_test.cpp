#include "inventory/control_state.h"
#include "inventory/site_list.h"
#include "inventory/stores/ie_folder/ie_cookie.h"
#include "inventory/stores/netscape/ns_cookie.h"
#include "inventory/stores/sqlite/database_store.h"
#include "inventory_fixture.h"
#include "platform/folder_search.h"
#include "platform/path.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"
#include "support/inventory_test_access.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <grp.h>
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
    m_inventory.ProtectSelected();
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
    m_inventory.ProtectSelected();
    m_inventory.RefreshCookies();
    EXPECT_EQ(ReadWholeFile(DataFile(IE_PROTECTION_FILE)), "");
    EXPECT_TRUE(FileExists(DataFile(NS_PROTECTION_FILE)));
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), "");
    // No database is listed: their lists are not written.
    EXPECT_FALSE(FileExists(DataFile(FF_PROTECTION_FILE)));
    EXPECT_FALSE(FileExists(DataFile(CR_PROTECTION_FILE)));
    EXPECT_FALSE(FileExists(DataFile(EP_PROTECTION_FILE)));
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
    CInventoryTestAccess::ReadIECookies(m_inventory);
    CInventoryTestAccess::ReadNSCookies(m_inventory);
    std::vector<int> marks;
    for (const auto& pCookie : m_inventory.Cookies())
        marks.push_back(pCookie->m_bProtected);
    EXPECT_EQ(marks, (std::vector<int>{1, 1, 1, 1, 1})); // every record of a protected name

    // A line matches only the exact name, trailing spaces included, of its browser.
    m_dir.Write("other.dat", "trail.example.com/\r\n.shop.example.net\r\n\r\nnothing\r\n");
    for (const auto& pCookie : m_inventory.Cookies())
        pCookie->m_bProtected = 0;
    CInventoryTestAccess::LoadProtection(m_inventory, IE_BROWSER_NAME, m_dir.File("other.dat"));
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
            CInventoryTestAccess::AppendCookie(m_inventory,
                                               std::make_unique<CIECookie>(strName, "p"));
        else
            CInventoryTestAccess::AppendCookie(
                m_inventory, std::make_unique<CNSCookie>(strName, "f", strName + "\tv"));
    }
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i)
        lines.push_back("n" + std::to_string(random() % 80));
    m_dir.Write("list.dat", JoinCrLfLines(lines));

    std::vector<int> expected(m_inventory.Cookies().size(), 0);
    for (const std::string& strLine : lines)
        if (const CCookie* pFound =
                CInventoryTestAccess::FindCookie(m_inventory, strLine, NS_BROWSER_NAME))
            for (const auto& pCookie : m_inventory.Cookies())
                if (pCookie->m_strName == pFound->m_strName &&
                    pCookie->Browser() == pFound->Browser())
                    pCookie->m_bProtected = 2; // remembered below, then cleared
    for (size_t i = 0; i < expected.size(); ++i)
    {
        expected[i] = m_inventory.Cookies()[i]->m_bProtected == 2 ? 1 : 0;
        m_inventory.Cookies()[i]->m_bProtected = 0;
    }
    CInventoryTestAccess::LoadProtection(m_inventory, NS_BROWSER_NAME, m_dir.File("list.dat"));
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

namespace
{
const char* const kUnreadableKinds[] = {"mode 000", "a folder", "a FIFO"};

// Makes the list exist without being readable, as kUnreadableKinds[nKind] says.
void MakeUnreadable(const std::string& strPath, int nKind)
{
    if (nKind == 0)
        chmod(strPath.c_str(), 0);
    else if (std::filesystem::remove(strPath) && nKind == 1)
        std::filesystem::create_directory(strPath);
    else
        mkfifo(strPath.c_str(), 0644);
}
} // namespace

// As the window and the timer use the inventory: a Netscape list that cannot
// be read keeps every Netscape cookie and is never written over; the other
// browser goes on as before. Run as an unprivileged user, since root reads a
// file of mode 000.
TEST_F(CProtectionTest, AListThatCannotBeReadKeepsItsBrowsersCookiesUntilItReadsAgain)
{
    namespace fs = std::filesystem;
    fs::permissions(m_dir.Path(), fs::perms::all);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(m_dir.Path()))
        fs::permissions(entry.path(), fs::perms::all);
    const auto scenario = [this](int nKind) -> std::string
    {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            return "cannot drop root privileges";
        const std::string strList = m_dir.Write("data/" NS_PROTECTION_FILE, ".example.org\r\n");
        const std::string strNS = WriteNSFile(
            "cookies.txt", {".example.org\tkept", ".other.org\tgoes", ".late.org\tmarked"});
        const std::string strNSBefore = ReadWholeFile(strNS);
        WriteIECookie("1.txt", "a.example.com/");
        MakeUnreadable(strList, nKind);
        const fs::file_status made = fs::status(strList);
        CCookieInventory inventory(m_strDataFolder);
        inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
        inventory.SetLocations(EBrowser::Netscape, {strNS});
        inventory.RefreshCookies();
        const CCookieListModel& list = inventory.CookieList();
        std::string strStates; // sorted by State: "Unknown" after the plain rows
        for (int i = 0; i < list.GetItemCount(); ++i)
            strStates += list.GetRow(i).strText[COL_STATE].GetText() + ";";
        if (strStates != ";Unknown;Unknown;Unknown;" || !inventory.HasDeletableRows())
            return "rows: " + strStates;
        // A mark set meanwhile joins the list once it reads.
        inventory.CookieList().ClearSelection();
        inventory.CookieList().SetItemSelected(2, true);
        if (list.GetRow(2).strText[COL_COOKIE] != ".late.org")
            return "row 2 is " + list.GetRow(2).strText[COL_COOKIE].GetText();
        inventory.ProtectSelected();
        inventory.DeleteAllUnprotected();
        if (ReadWholeFile(strNS) != strNSBefore || list.GetItemCount() != 3 ||
            inventory.HasDeletableRows() || inventory.ListsThatKeptRows().size() != 1 ||
            inventory.ListsThatKeptRows()[0].strPath != strList)
            return "Netscape cookies were deleted, or the list is not named";
        inventory.RefreshCookies(); // the timer's refresh: saves, reads again
        inventory.DeleteAllUnprotected();
        const fs::file_status now = fs::status(strList);
        if (now.type() != made.type() || now.permissions() != made.permissions() ||
            ReadWholeFile(strNS) != strNSBefore)
            return "the list was written over, or a cookie deleted, at the next refresh";

        fs::remove(strList);
        m_dir.Write("data/" NS_PROTECTION_FILE, ".example.org\r\n");
        inventory.RefreshCookies(); // the records held no marks of the file: none is lost
        inventory.DeleteAllUnprotected();
        inventory.SaveAndClearCookies();
        if (ReadWholeFile(strList) != ".example.org\r\n.late.org\r\n")
            return "list: " + ReadWholeFile(strList);
        return ReadWholeFile(strNS) == kNSHeader + ".example.org\tkept\r\n.late.org\tmarked\r\n"
                   ? ""
                   : "cookies.txt: " + ReadWholeFile(strNS);
    };
    for (int nKind = 0; nKind < 3; ++nKind)
        EXPECT_EXIT(
            {
                const std::string strFailure = scenario(nKind);
                std::fprintf(stderr, "%s", strFailure.c_str());
                std::exit(strFailure.empty() ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "^$")
            << kUnreadableKinds[nKind];
}

// Marks reach the disk when they are set, only the lists of the browsers whose
// marks changed, through the safe replacement; a list that cannot be written
// keeps its marks in memory.
TEST_F(CProtectionTest, ProtectWritesTheChangedListsAtOnce)
{
    CFaultHookGuard guard;
    WriteIECookie("1.txt", "a.example.com/");
    const std::string strNS = WriteNSFile("cookies.txt", {".example.org\tx"});
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    m_inventory.RefreshCookies();
    int nReplacements = 0;
    SetReplaceFaultHook(
        [&](EReplaceStep step)
        {
            nReplacements += step == EReplaceStep::Rename;
            return false;
        });
    SelectOnly({FindRow(".example.org")});
    m_inventory.ProtectSelected();
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), ".example.org\r\n");
    EXPECT_FALSE(FileExists(DataFile(IE_PROTECTION_FILE)));
    EXPECT_EQ(nReplacements, 1);

    SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Write; });
    m_inventory.ProtectSelected(); // unprotects; the list cannot be written
    EXPECT_EQ(m_inventory.UnsavedProtectionLists(), V{DataFile(NS_PROTECTION_FILE)});
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), ".example.org\r\n");
    SetReplaceFaultHook(nullptr);
    m_inventory.RefreshCookies();
    EXPECT_EQ(RowTexts(COL_STATE), (V{"", ""}));
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), "");
    EXPECT_TRUE(m_inventory.UnsavedProtectionLists().empty());
}

// A line names the cookies.txt and database hosts that equal it ignoring ASCII
// case; Internet Explorer names match exactly. The list keeps the names as marked.
TEST_F(CProtectionTest, HostNamesMatchIgnoringCaseAsTheBrowsersMatchThem)
{
    struct CCase
    {
        EBrowser browser;
        const char* pszRecord;
        const char* pszLine;
        int bMarked;
    };
    const CCase cases[] = {
        {EBrowser::Netscape, ".MAIL.test", ".mail.test", 1},
        {EBrowser::Netscape, ".mail.test", ".Mail.TEST", 1},
        {EBrowser::Netscape, ".mäil.test", ".MäIL.test", 1},
        {EBrowser::Netscape, ".mail.test ", ".mail.test", 0},
        {EBrowser::Firefox, "Shop.Example", "shop.example", 1},
        {EBrowser::Chromium, ".shop.example", ".SHOP.example", 1},
        {EBrowser::Chromium, ".shop.example", "shop.example", 0},
        {EBrowser::InternetExplorer, "Path.example/", "path.example/", 0},
        {EBrowser::InternetExplorer, "path.example/", "path.example/", 1},
    };
    const auto db = std::make_shared<const std::string>("db");
    for (const CCase& c : cases)
    {
        CCookieInventory inventory(m_strDataFolder);
        if (c.browser == EBrowser::InternetExplorer)
            CInventoryTestAccess::AppendCookie(inventory,
                                               std::make_unique<CIECookie>(c.pszRecord, "p"));
        else if (c.browser == EBrowser::Netscape)
            CInventoryTestAccess::AppendCookie(
                inventory,
                std::make_unique<CNSCookie>(c.pszRecord, "f", std::string(c.pszRecord) + "\tv"));
        else
            CInventoryTestAccess::AppendCookie(
                inventory, std::make_unique<CDatabaseCookie>(
                               c.browser, CDatabaseRow{c.pszRecord, {}, {}}, db, false));
        m_dir.Write("list.dat", std::string(c.pszLine) + "\r\n");
        CInventoryTestAccess::LoadProtection(inventory, BrowserName(c.browser),
                                             m_dir.File("list.dat"));
        EXPECT_EQ(inventory.Cookies()[0]->m_bProtected, c.bMarked)
            << c.pszRecord << " / " << c.pszLine;
        EXPECT_EQ(CInventoryTestAccess::FindCookie(inventory, c.pszLine, BrowserName(c.browser)) !=
                      nullptr,
                  c.bMarked != 0);
    }

    // Rows of one name in any case share one mark; the list keeps each record's name.
    const std::string strNS =
        WriteNSFile("cookies.txt", {".MAIL.test\tx", ".mail.test\ty", ".other\tz"});
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    m_inventory.RefreshCookies();
    SelectOnly({FindRow(".mail.test")});
    m_inventory.ProtectSelected();
    EXPECT_EQ(RowTexts(COL_STATE), (V{"Protected", "Protected", ""}));
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), ".MAIL.test\r\n.mail.test\r\n");

    // By name, as jarvane-cli marks: the same match, of one browser if asked,
    // the list written at once.
    EXPECT_EQ(m_inventory.SetProtectionByName({".Mail.TEST"}, false), 2);
    EXPECT_EQ(RowTexts(COL_STATE), (V{"", "", ""}));
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), "");
    EXPECT_EQ(m_inventory.SetProtectionByName({".OTHER", "none"}, true, EBrowser::Firefox), 0);
    EXPECT_EQ(m_inventory.SetProtectionByName({".OTHER", "none"}, true, EBrowser::Netscape), 1);
    EXPECT_EQ(m_inventory.CookieList().GetItemImage(FindRow(".other")), 1);
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), ".other\r\n");
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
    m_inventory.ProtectSelected();

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

    // A list that cannot be written keeps its sites in force from memory and is
    // written once it can be.
    {
        CFaultHookGuard guard;
        SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Write; });
        CSiteList more = m_inventory.Sites();
        more.Add("tracker.test");
        EXPECT_FALSE(m_inventory.SetSites(more));
        m_inventory.RefreshCookies();
        const V unsaved = m_inventory.UnsavedProtectionLists();
        EXPECT_NE(std::find(unsaved.begin(), unsaved.end(), DataFile(SITES_FILE)), unsaved.end());
        EXPECT_TRUE(m_inventory.Sites().Contains("tracker.test"));
        EXPECT_EQ(ReadWholeFile(DataFile(SITES_FILE)), "# mine\r\n\r\n  .Bank.TEST\r\ncom\r\n");
        SetReplaceFaultHook(nullptr);
        m_inventory.RefreshCookies();
        EXPECT_EQ(ReadWholeFile(DataFile(SITES_FILE)), "bank.test\r\ntracker.test\r\n");
        EXPECT_TRUE(m_inventory.UnsavedProtectionLists().empty());
    }

    // Removing the last site writes an empty list; the rows are no longer kept.
    EXPECT_TRUE(m_inventory.SetSites(CSiteList()));
    EXPECT_EQ(ReadWholeFile(DataFile(SITES_FILE)), "");
    EXPECT_EQ(RowTexts(COL_STATE), (V{"", "", "Protected"}));
}

// SITES.DAT is a keep list of every browser: unreadable, it keeps every cookie.
TEST_F(CProtectionTest, ASitesListThatCannotBeReadStopsEveryDeletionAndIsNeverOverwritten)
{
    WriteIECookie("1.txt", "a.example.com/");
    const std::string strNS =
        WriteNSFile("cookies.txt", {"b.example.org\tFALSE\t/\tFALSE\t0\tb\t2"});
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    CSiteList sites;
    sites.Add("example.net");
    const std::string strSites = DataFile(SITES_FILE);
    for (int nKind = 1; nKind < 3; ++nKind) // a folder, a FIFO (mode 000: tests/cli)
    {
        m_dir.Write("data/" SITES_FILE, "example.org\r\n");
        MakeUnreadable(strSites, nKind);
        m_inventory.RefreshCookies();
        EXPECT_TRUE(m_inventory.SitesUnreadable());
        EXPECT_EQ(RowTexts(COL_STATE), (V{"Unknown", "Unknown"})) << kUnreadableKinds[nKind];
        m_inventory.DeleteAllUnprotected();
        SelectOnly({0, 1});
        m_inventory.DeleteSelected();
        EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 2) << kUnreadableKinds[nKind];
        ASSERT_EQ(m_inventory.ListsThatKeptRows().size(), 1u);
        EXPECT_EQ(m_inventory.ListsThatKeptRows()[0].strPath, strSites);
        EXPECT_FALSE(m_inventory.SetSites(sites));
        m_inventory.RefreshCookies();
        EXPECT_FALSE(IsRegularFile(strSites)) << kUnreadableKinds[nKind];
        std::filesystem::remove(strSites);
    }
    // Readable again: deletion goes on.
    m_inventory.RefreshCookies();
    EXPECT_FALSE(m_inventory.SitesUnreadable());
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 0);
}
