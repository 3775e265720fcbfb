#include "app/settings.h"
#include "inventory/stores/ie_folder/ie_cookie.h"
#include "inventory/stores/netscape/ns_cookie.h"
#include "inventory_fixture.h"
#include "locations/location_file.h"
#include "platform/mount_table.h"
#include "platform/path.h"
#include "platform/wine_prefix.h"
#include "support/inventory_test_access.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;

using CIEReaderTest = CInventoryTest;
using CNSReaderTest = CInventoryTest;

TEST_F(CIEReaderTest, OneRecordPerCookieFileNamedByItsThirdLine)
{
    m_dir.Write("ie/a.txt", "n\nv\nlast.example.com/"); // no line feed after the third line
    m_dir.Write("ie/b.txt", "n\r\nv\r\n");              // only two lines
    m_dir.Write("ie/c.txt", "n\r\nv\r\n\r\nmore\r\n");  // an empty third line
    m_dir.Write("ie/d.txt", "n\r\nv\r\nspaces.example.org/  \r\n");
    m_dir.Write("ie/E.TXT", "n\nv\nupper.example.net/\n"); // the pattern ignores case
    m_dir.Write("ie/f.dat", "n\nv\nnever.example.com/\n");
    m_dir.MakeDir("ie/folder.txt");
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder, m_dir.File("missing")});
    CInventoryTestAccess::ReadIECookies(m_inventory);

    EXPECT_EQ(RecordNames(),
              (V{"upper.example.net/", "last.example.com/", "", "spaces.example.org/  "}));
    const auto* pCookie = dynamic_cast<const CIECookie*>(m_inventory.Cookies()[1].get());
    ASSERT_NE(pCookie, nullptr);
    EXPECT_EQ(pCookie->m_strPath, m_strIEFolder + PATH_SEP + "a.txt");
    EXPECT_EQ(pCookie->GetBrowser(), "Internet Explorer");
    EXPECT_EQ(pCookie->GetState(), "");
}

// Two of the sample cookie files made one, as the browser keeps several cookies
// of a site; the second's flags set to Secure and HttpOnly.
TEST_F(CIEReaderTest, DetailsAreEveryCookieOfTheFileWithoutItsValue)
{
    setenv("TZ", "UTC", 1);
    tzset();
    const std::string strSamples = JARVANE_SAMPLES_DIR "/ie/anonymous@example.com";
    std::string strSecond = ReadWholeFile(strSamples + "[2].txt");
    strSecond.replace(strSecond.find("\r\n0\r\n"), 5, "\r\n8193\r\n");
    const std::string strPath =
        m_dir.Write("ie/both.txt", ReadWholeFile(strSamples + "[1].txt") + strSecond);
    CInventoryTestAccess::AddIECookie(m_inventory, strPath);
    ASSERT_EQ(m_inventory.Cookies().size(), 1u);

    const CCookieDetails details = m_inventory.Cookies()[0]->GetDetails();
    EXPECT_EQ(details.strBrowser, "Internet Explorer");
    EXPECT_EQ(details.strStoreFile, strPath);
    EXPECT_EQ(details.strProfile, "");
    ASSERT_EQ(details.cookies.size(), 2u);
    const CCookieFacts& first = details.cookies[0];
    const CCookieFacts& second = details.cookies[1];
    EXPECT_EQ(first.strName + " " + first.strHost + " " + first.strPath,
              "session_id example.com /");
    EXPECT_EQ(second.strName + " " + second.strHost + " " + second.strPath,
              "ad_seen example.com /promo/");
    EXPECT_EQ(FormatExpiry(first), "2001-04-23 16:57:05 UTC");
    EXPECT_EQ(FormatValueSize(first), "12"); // a81f3c9d20e4
    EXPECT_FALSE(first.bSecure || first.bHttpOnly);
    EXPECT_TRUE(second.bSecure && second.bHttpOnly);

    // Gone since the refresh: nothing to tell.
    std::filesystem::remove(strPath);
    EXPECT_TRUE(m_inventory.Cookies()[0]->GetDetails().cookies.empty());
}

TEST_F(CIEReaderTest, AFolderListedTwiceGivesTwoRecordsPerFile)
{
    WriteIECookie("x.txt", "example.com/");
    WriteIECookie("y.txt", "example.org/");
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder, m_strIEFolder});
    CInventoryTestAccess::ReadIECookies(m_inventory);
    EXPECT_EQ(RecordNames(), (V{"example.com/", "example.org/", "example.com/", "example.org/"}));
}

TEST_F(CIEReaderTest, SurvivesHostileFiles)
{
    const std::string strHuge(4 * 1024 * 1024, 'h');
    m_dir.Write("ie/binary.txt", std::string("\0\x01\xff\n\x80\x81\n\0x\0\n", 11));
    m_dir.Write("ie/huge.txt", "n\n" + strHuge + "\n" + strHuge + "\n");
    m_dir.Write("ie/\xff\xfe-latin1.txt", "n\nv\ncaf\xe9.example.com/\n");
    m_dir.Write("ie/lf.txt", "n\nv\nlf.example.com/\n");
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    CInventoryTestAccess::ReadIECookies(m_inventory);
    // A file that goes away between the listing and the read gives nothing.
    CInventoryTestAccess::AddIECookie(m_inventory, m_dir.File("ie/vanished.txt"));

    EXPECT_EQ(RecordNames(),
              (V{std::string("\0x\0", 3), strHuge, "lf.example.com/", "caf\xe9.example.com/"}));
}

TEST_F(CNSReaderTest, OneRecordPerCookieLine)
{
    const std::string strText = "# Netscape HTTP Cookie File\r\n"
                                "   # indented comment\tstill a comment\r\n"
                                "\r\n"
                                "no tab here\r\n"
                                "single.example.com\t\r\n"
                                "  .example.com\tTRUE\t/\tFALSE\t0\tsid\tabc  \r\n"
                                ".example.com\tTRUE\t/\tFALSE\t0\tlang\t\r\n"
                                "shop.example.net\tFALSE\t/cart\tTRUE\t1999999999\tc\t1";
    const std::string strFile = m_dir.Write("cookies.txt", strText);
    m_inventory.SetLocations(EBrowser::Netscape, {strFile});
    CInventoryTestAccess::ReadNSCookies(m_inventory);

    ASSERT_EQ(RecordNames(), (V{".example.com", ".example.com", "shop.example.net"}));
    const auto* pFirst = dynamic_cast<const CNSCookie*>(m_inventory.Cookies()[0].get());
    const auto* pSecond = dynamic_cast<const CNSCookie*>(m_inventory.Cookies()[1].get());
    ASSERT_TRUE(pFirst && pSecond);
    EXPECT_EQ(pFirst->m_strLine, ".example.com\tTRUE\t/\tFALSE\t0\tsid\tabc");
    EXPECT_EQ(pSecond->m_strLine, ".example.com\tTRUE\t/\tFALSE\t0\tlang\t"); // an empty last field
    EXPECT_EQ(pFirst->m_strFile, strFile);
    EXPECT_EQ(pFirst->GetBrowser(), "Netscape Browser");
    EXPECT_TRUE(m_inventory.Cookies()[0]->Delete());
    EXPECT_EQ(ReadWholeFile(strFile), strText); // Delete leaves the file alone
}

TEST_F(CNSReaderTest, ReadsEachListedPathOnceAndSkipsWhatCannotBeRead)
{
    const std::string strFirst = WriteNSFile("one.txt", {"a.example.com\tx", "b.example.com\ty"});
    const std::string strSecond = m_dir.Write("two.txt", "c.example.com\t\0\xff\nd.example.com\t"s +
                                                             std::string(3 * 1024 * 1024, 'v'));
    const std::string strFolder = m_dir.MakeDir("cookies-folder.txt");
    m_inventory.SetLocations(EBrowser::Netscape,
                             {strFirst, strFolder, m_dir.File("none.txt"), strSecond, strFirst});
    CInventoryTestAccess::ReadNSCookies(m_inventory);
    EXPECT_EQ(RecordNames(),
              (V{"a.example.com", "b.example.com", "c.example.com", "d.example.com"}));
}

// Opening a FIFO for reading waits for a writer: every file the program reads
// is skipped at once when it is not a regular file.
TEST_F(CInventoryTest, EveryReaderSkipsAFifoWithoutWaiting)
{
    WriteIECookie("1.txt", "kept.example.com/");
    const std::string strNSFile = m_dir.File("cookies.txt");
    const std::string strProfile = m_dir.File("Jarvane.INI");
    struct CCase
    {
        const char* pszReader;
        std::string strFifo;
        std::function<void()> fnRead;
    };
    std::string strValue;
    std::vector<std::string> ieLocations, nsLocations;
    const CCase cases[] = {
        {"IE cookie file", m_dir.File("ie/x.txt"),
         [&]
         {
             m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
             CInventoryTestAccess::ReadIECookies(m_inventory);
         }},
        {"Netscape file", strNSFile,
         [&]
         {
             m_inventory.SetLocations(EBrowser::Netscape, {strNSFile});
             CInventoryTestAccess::ReadNSCookies(m_inventory);
         }},
        // A refresh compares the list on disk with the marks, then reads it.
        {"protection list", DataFile(IE_PROTECTION_FILE), [&] { m_inventory.RefreshCookies(); }},
        {"location file", m_dir.File("Location.DAT"),
         [&] { LoadLocations(m_dir.File("Location.DAT"), ieLocations, nsLocations); }},
        {"settings file", strProfile, [&] { ReadSettingsFile(strProfile); }},
        {"settings file written", strProfile, [&] { SaveSettingsFile(strProfile, CSettings()); }},
        {"Wine registry", m_dir.File("user.reg"),
         [&] { ReadWineRegistryString(m_dir.File("user.reg"), "k", "v", strValue); }},
        {"mount table", m_dir.File("mounts"),
         [&] { CMountTableDrives(m_dir.File("mounts")).ListDrives(); }},
    };
    for (const CCase& test : cases)
    {
        ASSERT_EQ(mkfifo(test.strFifo.c_str(), 0600), 0) << test.pszReader;
        std::future<void> done = std::async(std::launch::async, test.fnRead);
        if (done.wait_for(std::chrono::seconds(5)) != std::future_status::ready)
            ADD_FAILURE() << "the " << test.pszReader << " reader waits on a FIFO";
        // A writer that comes and goes lets each waiting open go on.
        while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            if (const int nWriter = open(test.strFifo.c_str(), O_WRONLY | O_NONBLOCK); nWriter >= 0)
                close(nWriter);
        unlink(test.strFifo.c_str());
    }
    EXPECT_EQ(RecordNames(), V{"kept.example.com/"});
    EXPECT_TRUE(ieLocations.empty() && nsLocations.empty());
}

TEST_F(CInventoryTest, RefreshListsBothStoresSortedByStateWithTheFirstRowSelected)
{
    WriteIECookie("1.txt", "zz.example.com/");
    WriteIECookie("2.txt", "mm.example.com/");
    m_dir.Write("data/" NS_PROTECTION_FILE, "aa.example.org\r\n");
    const std::string strNS =
        WriteNSFile("cookies.txt", {"aa.example.org\tx", "bb.example.org\ty"});
    m_inventory.SetLocations(EBrowser::InternetExplorer, {m_strIEFolder});
    m_inventory.SetLocations(EBrowser::Netscape, {strNS});
    m_inventory.RefreshCookies();

    EXPECT_EQ(RecordNames(),
              (V{"zz.example.com/", "mm.example.com/", "aa.example.org", "bb.example.org"}));
    EXPECT_EQ(RowTexts(),
              (V{"bb.example.org", "mm.example.com/", "zz.example.com/", "aa.example.org"}));
    EXPECT_EQ(RowTexts(COL_STATE), (V{"", "", "", "Protected"}));
    EXPECT_EQ(RowTexts(COL_BROWSER), (V{"Netscape Browser", "Internet Explorer",
                                        "Internet Explorer", "Netscape Browser"}));
    EXPECT_EQ(m_inventory.CookieList().GetItemImage(3), 1);
    // The first row by Cookie text keeps its selection through the sort.
    EXPECT_EQ(m_inventory.CookieList().GetSelectedCount(), 1);
    EXPECT_EQ(m_inventory.CookieList().GetNextSelected(-1), 3);
    EXPECT_EQ(m_inventory.CookieList().GetFocusedItem(), 3);

    // With nothing to read the refresh leaves everything empty.
    m_inventory.SetLocations(EBrowser::InternetExplorer, {});
    m_inventory.SetLocations(EBrowser::Netscape, {});
    m_inventory.RefreshCookies();
    EXPECT_TRUE(m_inventory.Cookies().empty());
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 0);
}
