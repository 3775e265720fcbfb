// Cookie stores that change while the program runs: the browser writes its
// cookie file after a refresh, folders vanish, and remembered locations name a
// file where a folder belongs or the reverse.
#include "inventory_fixture.h"

#include <filesystem>
#include <fstream>

namespace
{
void AppendToFile(const std::string& strPath, const std::string& strText)
{
    std::ofstream(strPath, std::ios::binary | std::ios::app) << strText;
}
} // namespace

class CGrowingNSFileTest : public CInventoryTest
{
protected:
    void SetUp() override
    {
        m_strNS = WriteNSFile("cookies.txt", {"a.example.com\tTRUE\t/\tFALSE\t0\tid\t1",
                                              "b.example.com\tTRUE\t/\tFALSE\t0\tid\t2"});
        m_inventory.SetLocations(EBrowser::Netscape, {m_strNS});
        m_inventory.RefreshCookies();
        ASSERT_EQ(RecordNames(), (V{"a.example.com", "b.example.com"}));
    }

    void DeleteOne(const std::string& strName)
    {
        SelectOnly({FindRow(strName)});
        m_inventory.DeleteSelected();
    }

    std::string m_strNS;
};

TEST_F(CGrowingNSFileTest, LinesTheBrowserAppendedAfterTheRefreshSurviveADeletion)
{
    AppendToFile(m_strNS, "c.example.com\tTRUE\t/\tFALSE\t0\tid\t3\n"
                          "# a comment the rewrite drops\n"
                          "  d.example.com\tTRUE\t/\tFALSE\t0\tid\t4  \n");
    DeleteOne("a.example.com");
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "b.example.com\tTRUE\t/\tFALSE\t0\tid\t2\r\n"
                                                  "c.example.com\tTRUE\t/\tFALSE\t0\tid\t3\r\n"
                                                  "d.example.com\tTRUE\t/\tFALSE\t0\tid\t4\r\n");

    // The added lines have no record until the next refresh, yet a second batch
    // with the file untouched since our rewrite keeps them too.
    DeleteOne("b.example.com");
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "c.example.com\tTRUE\t/\tFALSE\t0\tid\t3\r\n"
                                                  "d.example.com\tTRUE\t/\tFALSE\t0\tid\t4\r\n");
    m_inventory.RefreshCookies();
    EXPECT_EQ(RecordNames(), (V{"c.example.com", "d.example.com"}));
}

TEST_F(CGrowingNSFileTest, AFileTheBrowserRewroteKeepsItsNewLinesAndLosesTheDeletedOne)
{
    // The browser writes the whole file anew: its own order and one cookie it
    // added twice.
    m_dir.Write("cookies.txt", "# Netscape HTTP Cookie File\n"
                               "b.example.com\tTRUE\t/\tFALSE\t0\tid\t2\n"
                               "e.example.com\tTRUE\t/\tFALSE\t0\tid\t5\n"
                               "a.example.com\tTRUE\t/\tFALSE\t0\tid\t1\n"
                               "e.example.com\tTRUE\t/\tFALSE\t0\tid\t5\n");
    DeleteOne("a.example.com");
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "b.example.com\tTRUE\t/\tFALSE\t0\tid\t2\r\n"
                                                  "e.example.com\tTRUE\t/\tFALSE\t0\tid\t5\r\n"
                                                  "e.example.com\tTRUE\t/\tFALSE\t0\tid\t5\r\n");
}

TEST_F(CGrowingNSFileTest, ACookieTheBrowserChangedOrDroppedIsNotWrittenBackFromItsRecord)
{
    // b's value changes; a later batch, with the file untouched since our own
    // rewrite, must not bring the old line back either.
    m_dir.Write("cookies.txt", "a.example.com\tTRUE\t/\tFALSE\t0\tid\t1\n"
                               "b.example.com\tTRUE\t/\tFALSE\t0\tid\t9\n"
                               "c.example.com\tTRUE\t/\tFALSE\t0\tid\t3\n");
    DeleteOne("a.example.com"); // the browser wrote no header: none is written
    EXPECT_EQ(ReadWholeFile(m_strNS), "b.example.com\tTRUE\t/\tFALSE\t0\tid\t9\r\n"
                                      "c.example.com\tTRUE\t/\tFALSE\t0\tid\t3\r\n");
    m_dir.Write("cookies.txt", "c.example.com\tTRUE\t/\tFALSE\t0\tid\t3\n");
    DeleteOne("b.example.com");
    EXPECT_EQ(ReadWholeFile(m_strNS), "c.example.com\tTRUE\t/\tFALSE\t0\tid\t3\r\n");
}

TEST_F(CGrowingNSFileTest, ALineTheUserDeletedComesBackWhenTheBrowserWritesItAgain)
{
    DeleteOne("a.example.com");
    AppendToFile(m_strNS, "a.example.com\tTRUE\t/\tFALSE\t0\tid\t1\n");
    DeleteOne("b.example.com");
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "a.example.com\tTRUE\t/\tFALSE\t0\tid\t1\r\n");
}

TEST_F(CGrowingNSFileTest, AnUnchangedFileIsWrittenExactlyFromTheRecords)
{
    DeleteOne("b.example.com");
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "a.example.com\tTRUE\t/\tFALSE\t0\tid\t1\r\n");
}

TEST_F(CGrowingNSFileTest, AFileThatBecameUnreadableIsLeftAlone)
{
    std::filesystem::remove(m_strNS);
    std::filesystem::create_directory(m_strNS);
    DeleteOne("a.example.com");
    EXPECT_TRUE(std::filesystem::is_directory(m_strNS));
    EXPECT_EQ(RecordNames(), V{"b.example.com"});
}

TEST_F(CGrowingNSFileTest, AdditionsAreKeptWhenTheFirstRewriteFailed)
{
    AppendToFile(m_strNS, "c.example.com\tTRUE\t/\tFALSE\t0\tid\t3\n");
    const std::string strGrown = ReadWholeFile(m_strNS);
    {
        CFaultHookGuard guard;
        SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Rename; });
        DeleteOne("a.example.com");
    }
    EXPECT_EQ(ReadWholeFile(m_strNS), strGrown);
    // The cookie is still on disk and listed again; the next batch keeps it
    // and the browser's line.
    EXPECT_EQ(RowTexts(), (V{"a.example.com", "b.example.com"}));
    DeleteOne("b.example.com");
    EXPECT_EQ(ReadWholeFile(m_strNS), kNSHeader + "a.example.com\tTRUE\t/\tFALSE\t0\tid\t1\r\n"
                                                  "c.example.com\tTRUE\t/\tFALSE\t0\tid\t3\r\n");
}

TEST_F(CInventoryTest, ACookieFolderRemovedBetweenRefreshesListsNothingAndDeletesQuietly)
{
    const std::string strGone = m_dir.MakeDir("gone");
    m_dir.Write("gone/1.txt", "id\r\n1\r\ngone.example.com/\r\n");
    m_dir.Write("gone/2.txt", "id\r\n2\r\ngone.example.org/\r\n");
    const std::string strKept = WriteIECookie("k.txt", "kept.example.com/");
    const std::string strNS = WriteNSFile("cookies.txt", {"ns.example.com\tx"});
    m_inventory.SetLocations(EBrowser::InternetExplorer, {strGone, m_strIEFolder});
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    m_inventory.RefreshCookies();
    ASSERT_EQ(RowTexts().size(), 4u);

    std::filesystem::remove_all(strGone);
    SelectOnly({FindRow("gone.example.com/"), FindRow("ns.example.com")});
    m_inventory.DeleteSelected();
    EXPECT_EQ(ReadWholeFile(strNS), kNSHeader);
    EXPECT_TRUE(FileExists(strKept));
    EXPECT_EQ(RowTexts(), (V{"gone.example.org/", "kept.example.com/"}));

    m_inventory.RefreshCookies();
    EXPECT_EQ(RowTexts(), V{"kept.example.com/"});
    m_inventory.DeleteAllUnprotected();
    EXPECT_FALSE(FileExists(strKept));
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 0);
}

// An Internet Explorer "folder" that is a file and a Netscape "file" that is a
// folder: nothing is read from them, nothing is written to them.
TEST_F(CInventoryTest, LocationsOfTheWrongKindAreNeitherReadNorWritten)
{
    const std::string strCookieText = "id\r\n1\r\nfile.example.com/\r\n";
    const std::string strIEAsFile = m_dir.Write("ie-is-a-file.txt", strCookieText);
    const std::string strNSAsFolder = m_dir.MakeDir("ns-is-a-folder");
    m_dir.Write("ns-is-a-folder/inner.txt", "inner.example.com\tx\n");
    const std::string strNS =
        WriteNSFile("cookies.txt", {"ns.example.com\tx", "ns.example.org\ty"});
    const std::string strBadParent = strIEAsFile + "/below";
    m_inventory.SetLocations(EBrowser::InternetExplorer,
                             {strIEAsFile, strBadParent, std::string(300, 'f')});
    m_inventory.SetLocations(EBrowser::Netscape, {strNSAsFolder, strBadParent, strNS});

    for (int nRound = 0; nRound < 2; ++nRound)
    {
        m_inventory.RefreshCookies();
        const V expected =
            nRound == 0 ? V{"ns.example.com", "ns.example.org"} : V{"ns.example.com"};
        EXPECT_EQ(RecordNames(), expected);
        m_inventory.Cookies()[0]->m_bProtected = 1;
        m_inventory.DeleteAllUnprotected();
        EXPECT_EQ(ReadWholeFile(strIEAsFile), strCookieText);
        EXPECT_EQ(ReadWholeFile(strNSAsFolder + "/inner.txt"), "inner.example.com\tx\n");
        EXPECT_TRUE(std::filesystem::is_directory(strNSAsFolder));
        EXPECT_EQ(ReadWholeFile(strNS), kNSHeader + "ns.example.com\tx\r\n");
    }
}
