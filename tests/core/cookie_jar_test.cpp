// Cookie jars as today's tools write them, made by tests/core/jars/make_jars.py
// against a local server: curl.txt by `curl -c`, wget.txt by
// `wget --save-cookies --keep-session-cookies`, python.txt by Python's
// MozillaCookieJar.save(ignore_discard=True). Each holds ten cookies of two
// sites: 127.0.0.1 (plain, session, HttpOnly, Secure, empty, 4,000-byte, UTF-8,
// a deeper path) and localhost (two).
#include "inventory_fixture.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace
{
// The cookie lines of a file's text, as they stand (line ends removed): every
// non-empty line that is not a comment, HttpOnly lines included.
std::multiset<std::string> CookieLinesOf(const std::string& strText)
{
    std::multiset<std::string> lines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);)
    {
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        if (!strLine.empty() && (strLine[0] != '#' || strLine.rfind("#HttpOnly_", 0) == 0))
            lines.insert(strLine);
    }
    return lines;
}

std::string FirstLineOf(const std::string& strText)
{
    return strText.substr(0, strText.find_first_of("\r\n"));
}

// How many cookies Python's MozillaCookieJar loads from the file; -1 when it
// rejects the file.
int PythonLoadCount(const std::string& strPath)
{
    const std::string strCommand =
        "python3 -c 'import sys, http.cookiejar as c; j = c.MozillaCookieJar(); "
        "j.load(sys.argv[1], ignore_discard=True, ignore_expires=True); print(len(j))' '" +
        strPath + "' 2>/dev/null";
    std::FILE* pPipe = popen(strCommand.c_str(), "r");
    if (!pPipe)
        return -1;
    int nCount = -1;
    if (std::fscanf(pPipe, "%d", &nCount) != 1)
        nCount = -1;
    return pclose(pPipe) == 0 ? nCount : -1;
}
} // namespace

class CCookieJarTest : public CInventoryTest, public ::testing::WithParamInterface<const char*>
{
protected:
    void SetUp() override
    {
        m_strOriginal = ReadWholeFile(std::string(JARVANE_JARS_DIR "/") + GetParam());
        ASSERT_FALSE(m_strOriginal.empty());
        m_strNS = m_dir.Write("cookies.txt", m_strOriginal);
        m_inventory.SetLocations(EBrowser::Netscape, {m_strNS});
        m_inventory.RefreshCookies();
    }

    // The row of the cookie whose name field (the sixth) is strField.
    int RowOfField(const std::string& strField) const
    {
        const CCookieListModel& list = m_inventory.CookieList();
        for (int i = 0; i < list.GetItemCount(); ++i)
            if (static_cast<const CNSCookie*>(list.GetItemData(i))
                    ->m_strLine.find("\t" + strField + "\t") != std::string::npos)
                return i;
        return -1;
    }

    std::multiset<std::string> OriginalLinesWith(const std::string& strPart) const
    {
        std::multiset<std::string> lines;
        for (const std::string& strLine : CookieLinesOf(m_strOriginal))
            if (strLine.find(strPart) != std::string::npos)
                lines.insert(strLine);
        return lines;
    }

    std::string m_strOriginal, m_strNS;
};

TEST_P(CCookieJarTest, DeletingOneCookieKeepsEveryOtherLineAndTheHeader)
{
    ASSERT_EQ(m_inventory.CookieList().GetItemCount(), 10);
    const int nPlain = RowOfField("plain");
    ASSERT_NE(nPlain, -1);
    SelectOnly({nPlain});
    m_inventory.DeleteSelected();

    const std::string strNow = ReadWholeFile(m_strNS);
    EXPECT_EQ(FirstLineOf(strNow), FirstLineOf(m_strOriginal));
    std::multiset<std::string> expected = CookieLinesOf(m_strOriginal);
    expected.erase(expected.find(*OriginalLinesWith("\tplain\t").begin()));
    EXPECT_EQ(CookieLinesOf(strNow), expected);
    EXPECT_EQ(PythonLoadCount(m_strNS), 9);
}

// The mark set on the HttpOnly cookie holds for its whole site across the
// refresh that an auto-delete tick runs first; the other site goes.
TEST_P(CCookieJarTest, DeleteAllAfterARefreshKeepsTheProtectedSite)
{
    SelectOnly({RowOfField("sid")});
    m_inventory.ProtectSelected();
    m_inventory.RefreshCookies();
    m_inventory.DeleteAllUnprotected();

    const std::string strNow = ReadWholeFile(m_strNS);
    EXPECT_EQ(FirstLineOf(strNow), FirstLineOf(m_strOriginal));
    EXPECT_EQ(CookieLinesOf(strNow), OriginalLinesWith("127.0.0.1"));
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 8);
    EXPECT_EQ(PythonLoadCount(m_strNS), 8);
}

// What each tool kept: wget and Python drop the HttpOnly mark; Python writes a
// session cookie's expiry empty, the others 0.
TEST_P(CCookieJarTest, DetailsAreWhatTheLineSays)
{
    setenv("TZ", "UTC", 1);
    tzset();
    auto facts = [this](const char* pszName)
    {
        const int nRow = RowOfField(pszName);
        EXPECT_NE(nRow, -1) << pszName;
        const CCookieDetails details =
            m_inventory.CookieList().GetItemData(std::max(nRow, 0))->GetDetails();
        EXPECT_EQ(details.strStoreFile, m_strNS);
        EXPECT_EQ(details.cookies.size(), 1u);
        return details.cookies.empty() ? CCookieFacts() : details.cookies[0];
    };
    EXPECT_EQ(FormatExpiry(facts("session")), "End of session");
    const CCookieFacts plain = facts("plain");
    EXPECT_EQ(plain.strName, "plain");
    EXPECT_EQ(plain.strHost.substr(0, 9), "127.0.0.1");
    EXPECT_EQ(FormatExpiry(plain), "2036-12-04 13:07:06 UTC");
    EXPECT_FALSE(plain.bSecure || plain.bHttpOnly);
    EXPECT_TRUE(facts("secure").bSecure);
    EXPECT_EQ(facts("sid").bHttpOnly, std::string(GetParam()) == "curl.txt");
    EXPECT_EQ(facts("sid").strHost.substr(0, 9), "127.0.0.1");
    EXPECT_EQ(facts("deep").strPath, "/a/b");
    EXPECT_EQ(FormatValueSize(facts("big")), "4000");
    EXPECT_EQ(FormatValueSize(facts("empty")), "0");
}

INSTANTIATE_TEST_SUITE_P(
    RealTools, CCookieJarTest, ::testing::Values("curl.txt", "wget.txt", "python.txt"),
    [](const auto& info)
    { return std::string(info.param).substr(0, std::string(info.param).find('.')); });
