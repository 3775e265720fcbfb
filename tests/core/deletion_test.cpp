#include "inventory_fixture.h"
#include "platform/safe_file.h"

#include <algorithm>
#include <filesystem>
#include <unistd.h>

using CDeletionTest = CInventoryTest;

class CMixedStoreTest : public CInventoryTest
{
protected:
    void SetUp() override
    {
        m_strIEKeep = WriteIECookie("keep.txt", "keep.example.com/");
        m_strIEGo = WriteIECookie("go.txt", "go.example.com/");
        m_strNS = WriteNSFile("cookies.txt", {"zz.example.org\tTRUE\t/\tFALSE\t0\tz\t1",
                                              "  aa.example.org\tTRUE\t/\tFALSE\t0\ta\t\t",
                                              "mm.example.org\tTRUE\t/\tFALSE\t0\tm\t1"});
        m_strNSOther = WriteNSFile("other.txt", {"other.example.net\tx"});
        m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
        m_inventory.SetLocations(EBrowser::Netscape, {m_strNS, m_strNSOther});
        m_inventory.RefreshCookies();
        m_strNSText = ReadWholeFile(m_strNS);
        m_strNSOtherText = ReadWholeFile(m_strNSOther);
    }

    void Protect(const std::string& strName)
    {
        SelectOnly({FindRow(strName)});
        m_inventory.ToggleSelectedProtection();
    }

    std::string m_strIEKeep, m_strIEGo, m_strNS, m_strNSOther, m_strNSText, m_strNSOtherText;
};

TEST_F(CMixedStoreTest, DeleteAllLeavesExactlyTheProtectedCookies)
{
    Protect("keep.example.com/");
    Protect("mm.example.org");
    Protect("zz.example.org");
    m_inventory.SortByColumn(COL_COOKIE); // the rewrite follows the list's order
    m_inventory.DeleteAllUnprotected();

    EXPECT_EQ(RowTexts(), (V{"keep.example.com/", "mm.example.org", "zz.example.org"}));
    EXPECT_EQ(RecordNames(), (V{"keep.example.com/", "zz.example.org", "mm.example.org"}));
    EXPECT_EQ(m_inventory.NSChanged(), 1);
    EXPECT_TRUE(FileExists(m_strIEKeep));
    EXPECT_FALSE(FileExists(m_strIEGo));
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "mm.example.org\tTRUE\t/\tFALSE\t0\tm\t1\r\n"
                                                  "zz.example.org\tTRUE\t/\tFALSE\t0\tz\t1\r\n");
    EXPECT_EQ(ReadWholeFile(m_strNSOther), kNSHeader); // every listed file is rewritten

    // With only protected cookies left nothing changes, and no file is rewritten.
    m_dir.Write("other.txt", "# Netscape HTTP Cookie File\n");
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(m_inventory.NSChanged(), 0);
    EXPECT_EQ(RowTexts(), (V{"keep.example.com/", "mm.example.org", "zz.example.org"}));
    EXPECT_EQ(ReadWholeFile(m_strNSOther), "# Netscape HTTP Cookie File\n");
}

TEST_F(CMixedStoreTest, DeletingOnlyInternetExplorerCookiesLeavesNetscapeFilesAlone)
{
    SelectOnly({FindRow("go.example.com/")});
    const int nFirst = m_inventory.DeleteSelected();
    m_inventory.RewriteNSFiles();
    EXPECT_EQ(m_inventory.NSChanged(), 0);
    EXPECT_FALSE(FileExists(m_strIEGo));
    EXPECT_TRUE(FileExists(m_strIEKeep));
    EXPECT_EQ(ReadWholeFile(m_strNS), m_strNSText);
    EXPECT_EQ(ReadWholeFile(m_strNSOther), m_strNSOtherText);
    EXPECT_EQ(m_inventory.Cookies().size(), 5u);
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 5);
    EXPECT_EQ(m_inventory.CookieList().GetRow(nFirst).strText[COL_COOKIE], "keep.example.com/");
}

TEST_F(CMixedStoreTest, DeleteSelectedStopsAtProtectedRowsAndReselects)
{
    Protect("mm.example.org");
    m_inventory.SortByColumn(COL_COOKIE);
    // Rows: aa, go, keep, mm (protected), other, zz.
    SelectOnly({0, 3, 5});
    const int nFirst = m_inventory.DeleteSelected();
    EXPECT_EQ(nFirst, 0);
    EXPECT_EQ(m_inventory.NSChanged(), 1);
    EXPECT_EQ(RowTexts(),
              (V{"go.example.com/", "keep.example.com/", "mm.example.org", "other.example.net"}));
    EXPECT_EQ(m_inventory.CookieList().GetSelectedCount(), 1); // the protected row stays selected
    EXPECT_EQ(m_inventory.CookieList().GetNextSelected(-1), 2);

    m_inventory.SelectAfterDelete(nFirst);
    EXPECT_EQ(m_inventory.CookieList().GetNextSelected(-1), 0);
    EXPECT_EQ(m_inventory.CookieList().GetFocusedItem(), 0);
    m_inventory.RewriteNSFiles();
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "mm.example.org\tTRUE\t/\tFALSE\t0\tm\t1\r\n");

    // Past the end the last row is chosen; nothing is chosen in an empty list.
    m_inventory.CookieList().ClearSelection();
    m_inventory.SelectAfterDelete(10);
    EXPECT_EQ(m_inventory.CookieList().GetNextSelected(-1), 3);
    m_inventory.CookieList().ClearSelection();
    m_inventory.SelectAfterDelete(-1);
    EXPECT_EQ(m_inventory.CookieList().GetSelectedCount(), 0);
}

TEST_F(CMixedStoreTest, DeleteCookieRemovesOneRecordUnlessProtected)
{
    Protect("keep.example.com/");
    const int nKeep = FindRow("keep.example.com/");
    m_inventory.DeleteCookie(nKeep);
    EXPECT_EQ(FindRow("keep.example.com/"), nKeep);
    EXPECT_TRUE(FileExists(m_strIEKeep));

    ASSERT_EQ(m_inventory.NSChanged(), 0); // no batch has deleted a Netscape cookie yet
    m_inventory.DeleteCookie(FindRow("go.example.com/"));
    EXPECT_FALSE(FileExists(m_strIEGo));
    EXPECT_EQ(m_inventory.NSChanged(), 0);
    m_inventory.DeleteCookie(FindRow("aa.example.org"));
    m_inventory.DeleteCookie(99);
    EXPECT_EQ(m_inventory.NSChanged(), 1);
    EXPECT_EQ(RecordNames(),
              (V{"keep.example.com/", "zz.example.org", "mm.example.org", "other.example.net"}));
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 4);
}

TEST_F(CMixedStoreTest, AFailedRewriteKeepsTheOldFile)
{
    CFaultHookGuard guard;
    SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Rename; });
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(ReadWholeFile(m_strNS), m_strNSText);
    EXPECT_EQ(ReadWholeFile(m_strNSOther), m_strNSOtherText);
    // The Netscape cookies are still on disk, so they are listed again at once.
    EXPECT_EQ(RowTexts(),
              (V{"aa.example.org", "mm.example.org", "other.example.net", "zz.example.org"}));
    ExpectOneRowPerRecord(m_inventory);
}

TEST_F(CDeletionTest, TheRewriteLeavesUnreadableFilesAloneAndWritesADoubledPathOnce)
{
    const std::string strNS = WriteNSFile("cookies.txt", {"a.example.com\tx", "b.example.com\ty"});
    const std::string strMissing = m_dir.File("missing.txt");
    const std::string strFolder = m_dir.MakeDir("folder.txt");
    m_inventory.SetLocations(EBrowser::Netscape, {strNS, strMissing, strFolder, strNS});
    m_inventory.RefreshCookies();
    ASSERT_EQ(RecordNames(), (V{"a.example.com", "b.example.com"}));
    // The missing file appears after the refresh; it was not read, so it is not written.
    m_dir.Write("missing.txt", "late.example.com\tz\n");

    SelectOnly({FindRow("a.example.com")});
    m_inventory.DeleteSelected();
    m_inventory.RewriteNSFiles();
    EXPECT_EQ(ReadWholeFile(strNS), kNSHeader + "b.example.com\ty\r\n");
    EXPECT_EQ(ReadWholeFile(strMissing), "late.example.com\tz\n");
    EXPECT_TRUE(std::filesystem::is_directory(strFolder));
}

// As a user who may write the cookie files but not their folders (root ignores
// folder permissions, so a root run becomes nobody in the child): whatever could
// not reach the disk is still listed, so the list shows exactly what a fresh
// refresh finds.
TEST_F(CMixedStoreTest, ADeletionThatCannotReachTheDiskDoesNotLookDone)
{
    namespace fs = std::filesystem;
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec |
                               fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec;
    const fs::perms readWrite = fs::perms::owner_read | fs::perms::owner_write |
                                fs::perms::group_read | fs::perms::group_write |
                                fs::perms::others_read | fs::perms::others_write;
    fs::permissions(m_strDataFolder, fs::perms::all);
    fs::permissions(m_strNS, readWrite);
    fs::permissions(m_strNSOther, readWrite);
    fs::permissions(m_dir.Path(), readOnly);
    fs::permissions(m_strIEFolder, readOnly);
    const auto deleteAsAnotherUser = [&]
    {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 2;
        m_inventory.DeleteAllUnprotected();
        CCookieInventory fresh(m_strDataFolder);
        fresh.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
        fresh.SetLocations(EBrowser::Netscape, {m_strNS, m_strNSOther});
        fresh.RefreshCookies();
        std::vector<std::string> listed = RowTexts(), found;
        for (int i = 0; i < fresh.CookieList().GetItemCount(); ++i)
            found.push_back(fresh.CookieList().GetRow(i).strText[COL_COOKIE]);
        std::sort(listed.begin(), listed.end());
        std::sort(found.begin(), found.end());
        return listed == found && !found.empty() ? 0 : 1;
    };
    EXPECT_EXIT(std::exit(deleteAsAnotherUser()), ::testing::ExitedWithCode(0), "");
    fs::permissions(m_dir.Path(), fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(m_strIEFolder, fs::perms::owner_write, fs::perm_options::add);
}

// A line that is neither blank, nor a comment, nor a cookie line (its fields
// separated by runs of spaces, as in a downloader's test data) is not listed,
// and every rewrite keeps it as read, after the header, before the cookies.
TEST_F(CDeletionTest, TheRewriteKeepsTheLinesItDoesNotUnderstand)
{
    const std::string strSpaced = "www.example.com     FALSE     /     FALSE     0     id     1";
    const std::string strNS =
        m_dir.Write("cookies.txt",
                    "# Netscape HTTP Cookie File\n.a.test\tTRUE\t/\tFALSE\t0\tx\t1\n" + strSpaced +
                        "\n# a comment\n\n.b.test\tTRUE\t/\tFALSE\t0\ty\t2\n"
                        "  odd line  \r\n");
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    m_inventory.RefreshCookies();
    EXPECT_EQ(RowTexts(), (V{".a.test", ".b.test"}));
    SelectOnly({0});
    m_inventory.DeleteSelected();
    m_inventory.RewriteNSFiles();
    EXPECT_EQ(ReadWholeFile(strNS), kNSHeader + strSpaced + "\r\n  odd line  \r\n" +
                                        ".b.test\tTRUE\t/\tFALSE\t0\ty\t2\r\n");
    // Another program's change since is taken in with its own such lines.
    m_dir.Write("cookies.txt", ReadWholeFile(strNS) + "later odd\n");
    SelectOnly({0});
    m_inventory.DeleteSelected();
    m_inventory.RewriteNSFiles();
    EXPECT_EQ(ReadWholeFile(strNS), kNSHeader + strSpaced + "\r\n  odd line  \r\nlater odd\r\n");
}
