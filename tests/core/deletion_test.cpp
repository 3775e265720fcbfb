#include "inventory/undo_restore.h"
#include "inventory_fixture.h"
#include "platform/safe_file.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using CDeletionTest = CInventoryTest;

namespace
{
// The report's nonzero counts of one browser, named.
V Counts(const CDeletionReport& report, EBrowser browser)
{
    const CDeletionReport::CCounts& counts = report.Of(browser);
    V named;
    for (const auto& [pszName, nCount] :
         {std::pair{"deleted", counts.nDeleted}, std::pair{"in use", counts.nInUse},
          std::pair{"kept", counts.nKept}, std::pair{"not written", counts.nNotWritten}})
        if (nCount != 0)
            named.push_back(std::string(pszName) + " " + std::to_string(nCount));
    return named;
}
} // namespace

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
        m_inventory.ProtectSelected();
    }

    std::string m_strIEKeep, m_strIEGo, m_strNS, m_strNSOther, m_strNSText, m_strNSOtherText;
};

TEST_F(CMixedStoreTest, DeleteAllLeavesExactlyTheProtectedCookies)
{
    Protect("keep.example.com/");
    Protect("mm.example.org");
    Protect("zz.example.org");
    m_inventory.SortByColumn(COL_COOKIE); // the rewrite follows the list's order
    CDeletionReport report = m_inventory.DeleteAllUnprotected();

    EXPECT_EQ(RowTexts(), (V{"keep.example.com/", "mm.example.org", "zz.example.org"}));
    EXPECT_EQ(RecordNames(), (V{"keep.example.com/", "zz.example.org", "mm.example.org"}));
    EXPECT_EQ(Counts(report, EBrowser::Netscape), (V{"deleted 2", "kept 2"}));
    EXPECT_EQ(Counts(report, EBrowser::InternetExplorer), (V{"deleted 1", "kept 1"}));
    EXPECT_TRUE(report.unwrittenStores.empty());
    EXPECT_TRUE(FileExists(m_strIEKeep));
    EXPECT_FALSE(FileExists(m_strIEGo));
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "mm.example.org\tTRUE\t/\tFALSE\t0\tm\t1\r\n"
                                                  "zz.example.org\tTRUE\t/\tFALSE\t0\tz\t1\r\n");
    EXPECT_EQ(ReadWholeFile(m_strNSOther), kNSHeader); // every listed file is rewritten

    // With only protected cookies left nothing changes, and no file is rewritten.
    m_dir.Write("other.txt", "# Netscape HTTP Cookie File\n");
    report = m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(Counts(report, EBrowser::Netscape), V{"kept 2"});
    EXPECT_EQ(RowTexts(), (V{"keep.example.com/", "mm.example.org", "zz.example.org"}));
    EXPECT_EQ(ReadWholeFile(m_strNSOther), "# Netscape HTTP Cookie File\n");
}

TEST_F(CMixedStoreTest, DeletingOnlyInternetExplorerCookiesLeavesNetscapeFilesAlone)
{
    SelectOnly({FindRow("go.example.com/")});
    const CDeletionReport report = m_inventory.DeleteSelected();
    EXPECT_EQ(Counts(report, EBrowser::Netscape), V{});
    EXPECT_EQ(Counts(report, EBrowser::InternetExplorer), V{"deleted 1"});
    EXPECT_FALSE(FileExists(m_strIEGo));
    EXPECT_TRUE(FileExists(m_strIEKeep));
    EXPECT_EQ(ReadWholeFile(m_strNS), m_strNSText);
    EXPECT_EQ(ReadWholeFile(m_strNSOther), m_strNSOtherText);
    EXPECT_EQ(m_inventory.Cookies().size(), 5u);
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 5);
    EXPECT_EQ(m_inventory.CookieList()
                  .GetRow(m_inventory.CookieList().GetNextSelected(-1))
                  .strText[COL_COOKIE],
              "keep.example.com/");
}

TEST_F(CMixedStoreTest, DeleteSelectedStopsAtProtectedRowsAndReselects)
{
    Protect("mm.example.org");
    m_inventory.SortByColumn(COL_COOKIE);
    // Rows: aa, go, keep, mm (protected), other, zz.
    SelectOnly({0, 3, 5});
    std::string strFileWhenRowsGone;
    const CDeletionReport report = m_inventory.DeleteSelected(
        [&]
        {
            EXPECT_EQ(RowTexts(), (V{"go.example.com/", "keep.example.com/", "mm.example.org",
                                     "other.example.net"}));
            // The protected row stays selected.
            EXPECT_EQ(m_inventory.CookieList().GetSelectedCount(), 1);
            EXPECT_EQ(m_inventory.CookieList().GetNextSelected(-1), 2);
            strFileWhenRowsGone = ReadWholeFile(m_strNS);
        });
    EXPECT_EQ(Counts(report, EBrowser::Netscape), (V{"deleted 2", "kept 1"}));
    EXPECT_EQ(strFileWhenRowsGone, m_strNSText); // not rewritten before the rows went
    EXPECT_EQ(m_inventory.CookieList().GetNextSelected(-1), 0);
    EXPECT_EQ(m_inventory.CookieList().GetFocusedItem(), 0);
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "mm.example.org\tTRUE\t/\tFALSE\t0\tm\t1\r\n");

    // Past the end the last row is chosen; nothing is chosen without a selection.
    SelectOnly({3});
    m_inventory.DeleteSelected();
    EXPECT_EQ(m_inventory.CookieList().GetNextSelected(-1), 2);
    EXPECT_EQ(m_inventory.CookieList().GetFocusedItem(), 2);
    m_inventory.CookieList().ClearSelection();
    m_inventory.DeleteSelected();
    EXPECT_EQ(m_inventory.CookieList().GetSelectedCount(), 0);
    EXPECT_EQ(RowTexts(), (V{"go.example.com/", "keep.example.com/", "mm.example.org"}));
}

TEST_F(CMixedStoreTest, DeleteCookieRemovesOneRecordUnlessProtected)
{
    Protect("keep.example.com/");
    const int nKeep = FindRow("keep.example.com/");
    SelectOnly({nKeep});
    CDeletionReport report = m_inventory.DeleteSelected();
    EXPECT_EQ(FindRow("keep.example.com/"), nKeep);
    EXPECT_TRUE(FileExists(m_strIEKeep));
    EXPECT_EQ(Counts(report, EBrowser::InternetExplorer), V{"kept 1"});

    SelectOnly({FindRow("go.example.com/")});
    report = m_inventory.DeleteSelected();
    EXPECT_FALSE(FileExists(m_strIEGo));
    EXPECT_EQ(Counts(report, EBrowser::Netscape), V{});
    SelectOnly({FindRow("aa.example.org")});
    report = m_inventory.DeleteSelected();
    EXPECT_EQ(Counts(report, EBrowser::Netscape), V{"deleted 1"});
    EXPECT_EQ(RecordNames(),
              (V{"keep.example.com/", "zz.example.org", "mm.example.org", "other.example.net"}));
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 4);
}

TEST_F(CMixedStoreTest, AFailedRewriteKeepsTheOldFile)
{
    CFaultHookGuard guard;
    SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Rename; });
    const CDeletionReport report = m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(ReadWholeFile(m_strNS), m_strNSText);
    EXPECT_EQ(ReadWholeFile(m_strNSOther), m_strNSOtherText);
    // The Netscape cookies are still on disk, so they are listed again at once.
    EXPECT_EQ(RowTexts(),
              (V{"aa.example.org", "mm.example.org", "other.example.net", "zz.example.org"}));
    ExpectOneRowPerRecord(m_inventory);
    EXPECT_EQ(Counts(report, EBrowser::Netscape), V{"not written 4"});
    EXPECT_EQ(Counts(report, EBrowser::InternetExplorer), V{"deleted 2"});
    V stores = report.unwrittenStores;
    std::sort(stores.begin(), stores.end());
    EXPECT_EQ(stores, (V{m_strNS, m_strNSOther}));
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
        const CDeletionReport report = m_inventory.DeleteAllUnprotected();
        const int nNotWritten = report.Of(EBrowser::InternetExplorer).nNotWritten +
                                report.Of(EBrowser::Netscape).nNotWritten;
        CCookieInventory fresh(m_strDataFolder);
        fresh.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
        fresh.SetLocations(EBrowser::Netscape, {m_strNS, m_strNSOther});
        fresh.RefreshCookies();
        std::vector<std::string> listed = RowTexts(), found;
        for (int i = 0; i < fresh.CookieList().GetItemCount(); ++i)
            found.push_back(fresh.CookieList().GetRow(i).strText[COL_COOKIE]);
        std::sort(listed.begin(), listed.end());
        std::sort(found.begin(), found.end());
        // The report counts exactly what stayed.
        return listed == found && !found.empty() && static_cast<size_t>(nNotWritten) == found.size()
                   ? 0
                   : 1;
    };
    EXPECT_EXIT(std::exit(deleteAsAnotherUser()), ::testing::ExitedWithCode(0), "");
    fs::permissions(m_dir.Path(), fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(m_strIEFolder, fs::perms::owner_write, fs::perm_options::add);
}

// What a batch deleted comes back from UNDO.DB exactly; what it could not
// delete is not in the record, and the record is private.
TEST_F(CMixedStoreTest, UndoPutsBackExactlyWhatTheBatchDeleted)
{
    const std::string strIEText = ReadWholeFile(m_strIEGo);
    const mode_t oldMask = umask(0);
    m_inventory.SetUndoRecording(true);
    Protect("keep.example.com/");
    m_inventory.SetDeletionSource(EUndoHow::Timer);
    m_inventory.DeleteAllUnprotected();
    umask(oldMask);
    ASSERT_EQ(m_inventory.UndoRefusal(), "");
    struct stat st = {};
    ASSERT_EQ(stat(DataFile(UNDO_FILE_NAME).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    CUndoJournal journal(DataFile(UNDO_FILE_NAME));
    CUndoBatch batch;
    ASSERT_TRUE(FindUndoableBatch(journal, batch));
    EXPECT_EQ(batch.strHow, "timer");
    EXPECT_EQ(batch.counts[BrowserIndex(EBrowser::InternetExplorer)], 1);
    EXPECT_EQ(batch.counts[BrowserIndex(EBrowser::Netscape)], 4);

    // A cookie of the same domain, path and name written since is not doubled.
    m_dir.Write("cookies.txt", "# Netscape HTTP Cookie File\n"
                               "mm.example.org\tTRUE\t/\tFALSE\t0\tm\tnew\n");
    const CUndoResult result = RestoreBatch(journal, batch.nId);
    EXPECT_EQ(result.nRestored, 4);
    EXPECT_EQ(result.nSkipped, 1);
    EXPECT_EQ(result.reasons, (std::vector<std::pair<std::string, int>>{{"already there", 1}}));
    EXPECT_EQ(ReadWholeFile(m_strIEGo), strIEText);
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "mm.example.org\tTRUE\t/\tFALSE\t0\tm\tnew\r\n"
                                                  "aa.example.org\tTRUE\t/\tFALSE\t0\ta\t\t\r\n"
                                                  "zz.example.org\tTRUE\t/\tFALSE\t0\tz\t1\r\n");
    EXPECT_EQ(ReadWholeFile(m_strNSOther), kNSHeader + "other.example.net\tx\r\n");
    EXPECT_FALSE(FindUndoableBatch(journal, batch)); // undone

    // Netscape cookies whose file could not be rewritten stayed, and are not
    // kept as deleted; an empty batch records nothing.
    m_inventory.RefreshCookies();
    {
        CFaultHookGuard guard;
        SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Rename; });
        m_inventory.DeleteAllUnprotected();
    }
    ASSERT_TRUE(FindUndoableBatch(journal, batch));
    EXPECT_EQ(batch.Count(), 1);
    EXPECT_EQ(batch.counts[BrowserIndex(EBrowser::InternetExplorer)], 1);
    std::vector<CUndoBatch> batches;
    ASSERT_TRUE(journal.ListBatches(batches));
    m_inventory.RefreshCookies();
    for (int i = 0; i < m_inventory.CookieList().GetItemCount(); ++i)
        m_inventory.CookieList().GetItemData(i)->m_bProtected = 1;
    m_inventory.DeleteAllUnprotected();
    std::vector<CUndoBatch> after;
    ASSERT_TRUE(journal.ListBatches(after));
    EXPECT_EQ(after.size(), batches.size());
}

// The recovery file is never reached through a link planted at its name, and a
// record that cannot be written stops the deletion; turned off, nothing is
// kept and the file goes.
TEST_F(CMixedStoreTest, NoCookieIsDeletedWithoutItsCopyUnlessRecoveryIsOff)
{
    const std::string strTarget = m_dir.Write("target", "untouched");
    ASSERT_EQ(symlink(strTarget.c_str(), DataFile(UNDO_FILE_NAME).c_str()), 0);
    m_inventory.SetUndoRecording(true);
    m_inventory.DeleteAllUnprotected();
    EXPECT_NE(m_inventory.UndoRefusal().find("symbolic link"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(strTarget), "untouched");
    EXPECT_TRUE(FileExists(m_strIEGo));
    EXPECT_EQ(ReadWholeFile(m_strNS), m_strNSText);
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 6);

    unlink(DataFile(UNDO_FILE_NAME).c_str());
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(m_inventory.UndoRefusal(), "");
    EXPECT_FALSE(FileExists(m_strIEGo));
    std::string strUndo = ReadWholeFile(DataFile(UNDO_FILE_NAME));
    EXPECT_NE(strUndo.find("other.example.net\tx"), std::string::npos);

    m_inventory.SetUndoRecording(false);
    EXPECT_FALSE(std::filesystem::exists(DataFile(UNDO_FILE_NAME)));
    WriteIECookie("again.txt", "again.example.com/");
    m_inventory.RefreshCookies();
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(DataFile(UNDO_FILE_NAME)));
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
    EXPECT_EQ(ReadWholeFile(strNS), kNSHeader + strSpaced + "\r\n  odd line  \r\n" +
                                        ".b.test\tTRUE\t/\tFALSE\t0\ty\t2\r\n");
    // Another program's change since is taken in with its own such lines.
    m_dir.Write("cookies.txt", ReadWholeFile(strNS) + "later odd\n");
    SelectOnly({0});
    m_inventory.DeleteSelected();
    EXPECT_EQ(ReadWholeFile(strNS), kNSHeader + strSpaced + "\r\n  odd line  \r\nlater odd\r\n");
}

// An Internet Explorer file comes back as it was when it was deleted, also
// when it changed since the refresh read it (same size, same inode).
TEST_F(CDeletionTest, UndoPutsBackAnInternetExplorerFileAsDeletedNotAsListed)
{
    const std::string strSame = WriteIECookie("same.txt", "same.example.com/");
    const std::string strChanged = WriteIECookie("changed.txt", "changed.example.com/");
    const std::string strSameText = ReadWholeFile(strSame);
    // Past the file clock's step: the refresh keeps what it reads of both.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.SetUndoRecording(true);
    m_inventory.RefreshCookies();
    const std::string strNewText = "id\r\n43\r\nchanged.example.com/\r\n0\r\n1234\r\n5678\r\n*\r\n";
    m_dir.Write("ie/changed.txt", strNewText);
    m_inventory.DeleteAllUnprotected();
    ASSERT_FALSE(FileExists(strChanged));
    CUndoJournal journal(DataFile(UNDO_FILE_NAME));
    CUndoBatch batch;
    ASSERT_TRUE(FindUndoableBatch(journal, batch));
    EXPECT_EQ(RestoreBatch(journal, batch.nId).nRestored, 2);
    EXPECT_EQ(ReadWholeFile(strChanged), strNewText);
    EXPECT_EQ(ReadWholeFile(strSame), strSameText);
}

// Each write keeps the newest 50 batches and none older than a week.
TEST_F(CDeletionTest, TheRecoveryFileKeepsTheNewestFiftyBatchesOfTheLastWeek)
{
    CUndoJournal journal(DataFile(UNDO_FILE_NAME));
    std::int64_t nBatch = 0;
    std::vector<CUndoEntry> entries(1);
    entries[0].pStore = std::make_shared<const std::string>(m_strIEFolder);
    entries[0].strName = "old.txt";
    ASSERT_TRUE(journal.Record(EUndoHow::Window, entries, nBatch));
    sqlite3* pDb = nullptr;
    ASSERT_EQ(sqlite3_open(DataFile(UNDO_FILE_NAME).c_str(), &pDb), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(pDb, "UPDATE batches SET time = time - 8 * 24 * 3600", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(pDb);
    std::vector<CUndoBatch> batches;
    for (int i = 0; i < 55; ++i)
    {
        std::vector<CUndoEntry> more = entries;
        ASSERT_TRUE(journal.Record(EUndoHow::Command, more, nBatch));
        if (i == 2)
        {
            ASSERT_TRUE(journal.ListBatches(batches));
            EXPECT_EQ(batches.size(), 3u); // the old one went at the first write
        }
    }
    ASSERT_TRUE(journal.ListBatches(batches));
    ASSERT_EQ(batches.size(), 50u);
    EXPECT_EQ(batches.front().nId, nBatch);
    EXPECT_EQ(batches.back().nId, nBatch - 49);
    EXPECT_EQ(batches.back().strHow, "command");
}
