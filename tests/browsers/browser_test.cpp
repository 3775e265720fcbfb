// The Firefox and Chromium stores against the real browsers, headless and
// offline: they write their databases through the local cookie server, the
// inventory lists and deletes, and the browsers visit again to show what they
// still send. GNOME Web runs the same way on a virtual display. Slow; labelled
// "blackbox".
#include "inventory/cookie_inventory.h"
#include "inventory/undo_restore.h"
#include "platform/browser_lock.h"
#include "support/temp_dir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
const std::string kScripts = JARVANE_BROWSER_SCRIPTS;

std::string Quote(const std::string& str)
{
    return "'" + str + "'";
}

// A process of its own group, killed with its children when the object goes.
class CBackground
{
public:
    explicit CBackground(const std::string& strCommand)
    {
        m_nPid = fork();
        if (m_nPid == 0)
        {
            setpgid(0, 0);
            execl("/bin/sh", "sh", "-c", ("exec " + strCommand + " >/dev/null 2>&1").c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~CBackground() { Stop(); }
    void Stop()
    {
        if (m_nPid <= 0)
            return;
        kill(-m_nPid, SIGTERM);
        for (int i = 0; i < 100 && waitpid(m_nPid, nullptr, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        kill(-m_nPid, SIGKILL);
        waitpid(m_nPid, nullptr, 0);
        m_nPid = -1;
    }

private:
    pid_t m_nPid = -1;
};

// Every column of every row, as the sqlite3 tool prints them.
std::string DumpRows(const std::string& strDb, const std::string& strSelect)
{
    std::string strText;
    std::FILE* pPipe =
        popen(("sqlite3 -line " + Quote(strDb) + " " + Quote(strSelect)).c_str(), "r");
    char szBuffer[4096];
    for (size_t n; pPipe && (n = std::fread(szBuffer, 1, sizeof szBuffer, pPipe)) > 0;)
        strText.append(szBuffer, n);
    if (pPipe)
        pclose(pPipe);
    return strText;
}

bool WaitFor(const std::function<bool()>& fnDone, int nSeconds)
{
    for (int i = 0; i < nSeconds * 10; ++i)
    {
        if (fnDone())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

class BrowserStores : public testing::Test
{
protected:
    BrowserStores()
        : m_nPort(20000 + static_cast<int>(getpid() % 20000)),
          m_server("python3 " + Quote(kScripts + "/cookie_server.py") + " " +
                   std::to_string(m_nPort) + " " + Quote(m_dir.File("log.txt"))),
          m_inventory(m_dir.MakeDir("data"))
    {
        const std::string strProbe =
            "curl -s -o /dev/null http://127.0.0.1:" + std::to_string(m_nPort) + "/done";
        WaitFor([&] { return std::system(strProbe.c_str()) == 0; }, 10);
    }

    // One visit through the server's chain; the exit code of visit.sh.
    int Visit(const std::string& strBrowser, const std::string& strProfile,
              const std::string& strFirst = "alpha.test")
    {
        return std::system((kScripts + "/visit.sh " + strBrowser + " " + Quote(strProfile) + " " +
                            std::to_string(m_nPort) + " " + strFirst + " 2>/dev/null")
                               .c_str());
    }

    // The cookies each host received first since the log was last emptied,
    // before the visit set them again.
    std::map<std::string, std::string> TakeSentCookies()
    {
        std::map<std::string, std::string> sent;
        std::set<std::string> seen;
        std::ifstream log(m_dir.File("log.txt"));
        std::string strLine;
        while (std::getline(log, strLine))
        {
            const size_t nTab = strLine.find('\t');
            std::string strCookies = strLine.substr(nTab + 1);
            if (seen.insert(strLine.substr(0, nTab)).second && !strCookies.empty())
                sent[strLine.substr(0, nTab)] = strCookies;
        }
        std::ofstream(m_dir.File("log.txt"), std::ios::trunc);
        return sent;
    }

    std::map<std::string, int> ListedHosts(EBrowser browser, const std::string& strState = "*")
    {
        std::map<std::string, int> hosts;
        const CCookieListModel& list = m_inventory.CookieList();
        for (int i = 0; i < list.GetItemCount(); ++i)
        {
            const CCookieRow& row = list.GetRow(i);
            if (row.pData->Browser() == browser &&
                (strState == "*" || row.strText[COL_STATE] == strState))
                ++hosts[row.strText[COL_COOKIE]];
        }
        return hosts;
    }

    CTempDir m_dir;
    int m_nPort;
    CBackground m_server;
    CCookieInventory m_inventory;
};

// The cookies of a Cookie header, as a set ("a=1; b=2").
std::set<std::string> CookiesOf(const std::string& strHeader)
{
    std::set<std::string> cookies;
    std::stringstream header(strHeader);
    std::string strCookie;
    while (std::getline(header, strCookie, ';'))
        cookies.insert(strCookie.substr(strCookie.find_first_not_of(' ')));
    return cookies;
}

const std::map<std::string, int> kHosts = {{"alpha.test", 2}, {"beta.test", 1}, {"gamma.test", 3}};
const std::map<std::string, std::string> kOnlyBeta = {{"beta.test", "tracker=b1"}};
} // namespace

TEST_F(BrowserStores, DeleteAllLeavesOnlyTheProtectedHostWhichTheBrowsersStillSend)
{
    const std::string strFirefox = m_dir.File("ff");
    const std::string strChromium = m_dir.File("cr");
    ASSERT_EQ(Visit("firefox", strFirefox), 0);
    ASSERT_EQ(Visit("chromium", strChromium), 0);
    TakeSentCookies();
    m_inventory.SetLocations(EBrowser::Firefox, {strFirefox + "/cookies.sqlite"});
    m_inventory.SetLocations(EBrowser::Chromium, {strChromium + "/Default/Cookies"});
    m_inventory.RefreshCookies();
    EXPECT_EQ(ListedHosts(EBrowser::Firefox), kHosts);
    EXPECT_EQ(ListedHosts(EBrowser::Chromium), kHosts);

    // Protect beta.test in both browsers, as the Protect command does.
    CCookieListModel& list = m_inventory.CookieList();
    for (int i = 0; i < list.GetItemCount(); ++i)
        list.SetItemSelected(i, list.GetRow(i).strText[COL_COOKIE] == "beta.test");
    m_inventory.ProtectSelected();
    m_inventory.RefreshCookies(); // the marks go through FFPROT.DAT and CRPROT.DAT
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(list.GetItemCount(), 2);

    ASSERT_EQ(Visit("firefox", strFirefox), 0);
    EXPECT_EQ(TakeSentCookies(), kOnlyBeta);
    ASSERT_EQ(Visit("chromium", strChromium), 0);
    EXPECT_EQ(TakeSentCookies(), kOnlyBeta);
}

TEST_F(BrowserStores, ARunningBrowsersCookiesAreListedInUseAndLeftAlone)
{
    const std::string strFirefox = m_dir.File("ff");
    const std::string strChromium = m_dir.File("cr");
    ASSERT_EQ(Visit("firefox", strFirefox), 0);
    ASSERT_EQ(Visit("chromium", strChromium), 0);
    m_inventory.SetLocations(EBrowser::Firefox, {strFirefox + "/cookies.sqlite"});
    m_inventory.SetLocations(EBrowser::Chromium, {strChromium + "/Default/Cookies"});
    {
        // Both browsers stay open on a page of the server.
        const std::string strUrl = "http://alpha.test:" + std::to_string(m_nPort) + "/done";
        CBackground firefox("firefox-esr --headless --no-remote --profile " + Quote(strFirefox) +
                            " " + strUrl);
        CBackground chromium(
            "chromium --headless --no-sandbox --user-data-dir=" + Quote(strChromium) +
            " --host-resolver-rules='MAP * 127.0.0.1' --password-store=basic "
            "--no-first-run --remote-debugging-port=0 " +
            strUrl);
        ASSERT_TRUE(WaitFor(
            [&]
            {
                std::ifstream log(m_dir.File("log.txt"));
                std::stringstream text;
                text << log.rdbuf();
                return text.str().find("alpha.test\tsession_id") != std::string::npos &&
                       text.str().rfind("alpha.test\tsession_id") !=
                           text.str().find("alpha.test\tsession_id");
            },
            30))
            << "both browsers did not load the page";
        m_inventory.RefreshCookies();
        // Firefox holds its database locked: it is still listed, from a copy.
        EXPECT_EQ(ListedHosts(EBrowser::Firefox, "In use"), kHosts);
        EXPECT_EQ(ListedHosts(EBrowser::Chromium, "In use"), kHosts);
        m_inventory.DeleteAllUnprotected();
        EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 12);
    }
    // Closed, the browsers still have every cookie; the next Delete All takes them.
    m_inventory.RefreshCookies();
    EXPECT_EQ(ListedHosts(EBrowser::Firefox, ""), kHosts);
    EXPECT_EQ(ListedHosts(EBrowser::Chromium, ""), kHosts);
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 0);
    TakeSentCookies();
    ASSERT_EQ(Visit("firefox", strFirefox), 0);
    ASSERT_EQ(Visit("chromium", strChromium), 0);
    EXPECT_TRUE(TakeSentCookies().empty());
}

// Delete All taken back: the rows come back column for column (HttpOnly flags
// and values with them) and the browsers send the cookies again; a running
// Chromium keeps its rows out until it has closed.
TEST_F(BrowserStores, UndoPutsBackWhatDeleteAllTookOnceTheBrowserHasClosed)
{
    const std::string strFirefox = m_dir.File("ff");
    const std::string strChromium = m_dir.File("cr");
    ASSERT_EQ(Visit("firefox", strFirefox), 0);
    ASSERT_EQ(Visit("chromium", strChromium), 0);
    TakeSentCookies();
    ASSERT_EQ(Visit("firefox", strFirefox), 0);
    const std::map<std::string, std::string> sentByFirefox = TakeSentCookies();
    ASSERT_EQ(Visit("chromium", strChromium), 0);
    const std::map<std::string, std::string> sentByChromium = TakeSentCookies();
    ASSERT_EQ(sentByFirefox.size(), 3u);
    const std::string strFirefoxDb = strFirefox + "/cookies.sqlite";
    const std::string strChromiumDb = strChromium + "/Default/Cookies";
    const char* pszFirefoxRows = "SELECT * FROM moz_cookies ORDER BY id";
    const char* pszChromiumRows = "SELECT * FROM cookies ORDER BY creation_utc";
    const std::string strFirefoxRows = DumpRows(strFirefoxDb, pszFirefoxRows);
    const std::string strChromiumRows = DumpRows(strChromiumDb, pszChromiumRows);
    EXPECT_NE(strFirefoxRows.find("isHttpOnly = 1"), std::string::npos);
    EXPECT_NE(strChromiumRows.find("is_httponly = 1"), std::string::npos);
    m_inventory.SetUndoRecording(true);
    m_inventory.SetLocations(EBrowser::Firefox, {strFirefoxDb});
    m_inventory.SetLocations(EBrowser::Chromium, {strChromiumDb});
    m_inventory.RefreshCookies();
    m_inventory.DeleteAllUnprotected();
    ASSERT_EQ(m_inventory.CookieList().GetItemCount(), 0);

    CUndoJournal journal(m_dir.File("data/" UNDO_FILE_NAME));
    CUndoBatch batch;
    ASSERT_TRUE(FindUndoableBatch(journal, batch));
    {
        CBackground chromium(
            "chromium --headless --no-sandbox --user-data-dir=" + Quote(strChromium) +
            " --host-resolver-rules='MAP * 127.0.0.1' --password-store=basic "
            "--no-first-run --remote-debugging-port=0 http://alpha.test:" +
            std::to_string(m_nPort) + "/done");
        struct stat st;
        ASSERT_TRUE(
            WaitFor([&] { return lstat((strChromium + "/SingletonLock").c_str(), &st) == 0; }, 30));
        const CUndoResult result = RestoreBatch(journal, batch.nId);
        EXPECT_EQ(result.nRestored, 6);
        EXPECT_TRUE(result.bPending);
        EXPECT_EQ(result.reasons,
                  (std::vector<std::pair<std::string, int>>{{"close Chromium and try again", 6}}));
    }
    EXPECT_EQ(DumpRows(strFirefoxDb, pszFirefoxRows), strFirefoxRows);
    CUndoBatch again;
    ASSERT_TRUE(FindUndoableBatch(journal, again));
    EXPECT_EQ(again.nId, batch.nId);
    EXPECT_EQ(RestoreBatch(journal, batch.nId).nRestored, 6);
    EXPECT_EQ(DumpRows(strChromiumDb, pszChromiumRows), strChromiumRows);
    EXPECT_FALSE(FindUndoableBatch(journal, again));

    TakeSentCookies();
    ASSERT_EQ(Visit("firefox", strFirefox), 0);
    EXPECT_EQ(TakeSentCookies(), sentByFirefox);
    ASSERT_EQ(Visit("chromium", strChromium), 0);
    EXPECT_EQ(TakeSentCookies(), sentByChromium);
}

TEST_F(BrowserStores, AKeptSiteKeepsEveryCookieOfItsHostsInBothBrowsersThroughDeleteAll)
{
    const std::string strFirefox = m_dir.File("ff");
    const std::string strChromium = m_dir.File("cr");
    ASSERT_EQ(Visit("firefox", strFirefox, "www.bank.test"), 0);
    ASSERT_EQ(Visit("chromium", strChromium, "www.bank.test"), 0);
    TakeSentCookies();
    m_inventory.SetLocations(EBrowser::Firefox, {strFirefox + "/cookies.sqlite"});
    m_inventory.SetLocations(EBrowser::Chromium, {strChromium + "/Default/Cookies"});
    ASSERT_EQ(std::system((std::string(JARVANE_CLI) + " -C " + Quote(m_dir.File("data")) +
                           " keep bank.test")
                              .c_str()),
              0);
    m_inventory.RefreshCookies();
    const std::map<std::string, int> kBank = {
        {".bank.test", 1}, {"accounts.bank.test", 1}, {"www.bank.test", 1}};
    EXPECT_EQ(ListedHosts(EBrowser::Firefox, "Kept"), kBank);
    EXPECT_EQ(ListedHosts(EBrowser::Chromium, "Kept"), kBank);
    EXPECT_EQ(ListedHosts(EBrowser::Firefox, "")["tracker.test"], 1);
    EXPECT_EQ(ListedHosts(EBrowser::Chromium, "")["tracker.test"], 1);
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 6);

    const std::map<std::string, std::set<std::string>> kSent = {
        {"www.bank.test", {"session=w1", "wide=d1"}},
        {"accounts.bank.test", {"login=a1", "wide=d1"}}};
    for (const char* pszBrowser : {"firefox", "chromium"})
    {
        ASSERT_EQ(Visit(pszBrowser, pszBrowser == std::string("firefox") ? strFirefox : strChromium,
                        "www.bank.test"),
                  0);
        std::map<std::string, std::set<std::string>> sent;
        for (const auto& [strHost, strCookies] : TakeSentCookies())
            sent[strHost] = CookiesOf(strCookies);
        EXPECT_EQ(sent, kSent) << pszBrowser;
    }
}

// GNOME Web holds its database while it runs and lets it go when it ends; once
// closed, it sends only the cookies its database still keeps.
TEST_F(BrowserStores, GnomeWebIsInUseWhileItRunsAndSendsOnlyWhatItsDatabaseKeeps)
{
    const std::string strHome = m_dir.File("ep");
    const std::string strDb = strHome + "/.local/share/epiphany/cookies.sqlite";
    {
        CBackground epiphany(Quote(kScripts + "/run_epiphany.sh") + " " + Quote(strHome) + " " +
                             std::to_string(m_nPort) +
                             " http://alpha.test:" + std::to_string(m_nPort) + "/visit");
        ASSERT_TRUE(WaitFor(
            [&]
            {
                std::ifstream log(m_dir.File("log.txt"));
                std::stringstream text;
                text << log.rdbuf();
                return text.str().find("gamma.test\tcart=g1") != std::string::npos;
            },
            60))
            << "GNOME Web did not reach the end of the chain";
        EXPECT_TRUE(IsEpiphanyProfileRunning(strDb));
    }
    EXPECT_TRUE(WaitFor([&] { return !IsEpiphanyProfileRunning(strDb); }, 10));
    std::map<std::string, int> hosts;
    std::stringstream rows(DumpRows(strDb, "SELECT host FROM moz_cookies"));
    for (std::string strLine; std::getline(rows, strLine);)
        if (const size_t nEqual = strLine.find(" = "); nEqual != std::string::npos)
            ++hosts[strLine.substr(nEqual + 3)];
    EXPECT_EQ(hosts, kHosts);

    ASSERT_EQ(std::system(("sqlite3 " + Quote(strDb) +
                           " \"DELETE FROM moz_cookies WHERE host <> 'beta.test'\"")
                              .c_str()),
              0);
    TakeSentCookies();
    ASSERT_EQ(Visit("epiphany", strHome), 0);
    EXPECT_EQ(TakeSentCookies(), kOnlyBeta);
}
