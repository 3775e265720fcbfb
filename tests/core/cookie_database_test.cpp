#include "inventory/packed_values.h"
#include "inventory/stores/sqlite/cookie_database.h"
#include "inventory/undo_restore.h"
#include "inventory_fixture.h"
#include "platform/browser_lock.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <signal.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
std::string Fixture(const std::string& strName)
{
    return std::string(JARVANE_BROWSER_FIXTURES) + "/" + strName;
}

// A writable copy of a committed fixture database.
std::string CopyFixture(const CTempDir& dir, const std::string& strName)
{
    const std::string strCopy = dir.File(std::filesystem::path(strName).filename().string());
    std::filesystem::copy_file(Fixture(strName), strCopy);
    return strCopy;
}

std::map<std::string, int> CountHosts(const std::vector<CDatabaseRow>& rows)
{
    std::map<std::string, int> hosts;
    for (const CDatabaseRow& row : rows)
        ++hosts[row.strHost];
    return hosts;
}

const std::map<std::string, int> kFixtureHosts = {
    {"alpha.test", 2}, {"beta.test", 1}, {"gamma.test", 3}};

struct CKindCase
{
    ECookieTable kind;
    const char* pFixture;
};
const CKindCase kKinds[] = {
    {ECookieTable::Moz, "home/.config/mozilla/firefox/jk45xpu8.work/cookies.sqlite"},
    {ECookieTable::Chromium, "home/.config/chromium/Default/Cookies"}};

int Exec(const std::string& strPath, const char* pSql)
{
    sqlite3* pDb = nullptr;
    int nResult = sqlite3_open(strPath.c_str(), &pDb);
    if (nResult == SQLITE_OK)
        nResult = sqlite3_exec(pDb, pSql, nullptr, nullptr, nullptr);
    sqlite3_close(pDb);
    return nResult;
}

size_t TempEntriesNamed(const char* pPrefix)
{
    size_t nCount = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
        nCount += entry.path().filename().string().rfind(pPrefix, 0) == 0;
    return nCount;
}
} // namespace

// Firefox 153 keeps the expiry in milliseconds, Chromium in microseconds since
// 1601 and the value encrypted. A Chromium session cookie is written with
// is_persistent 0 and expires_utc 0.
TEST(CookieDatabase, DetailsComeFromTheRowReadAtTheRefresh)
{
    setenv("TZ", "UTC", 1);
    tzset();
    CTempDir dir;
    const std::string strHome = dir.MakeDir("home");
    std::filesystem::copy(Fixture("home"), strHome, std::filesystem::copy_options::recursive);
    const std::string strFirefox = strHome + "/" + std::string(kKinds[0].pFixture).substr(5);
    const std::string strChromium = strHome + "/" + std::string(kKinds[1].pFixture).substr(5);
    ASSERT_EQ(Exec(strChromium, "UPDATE cookies SET is_persistent = 0, has_expires = 0, "
                                "expires_utc = 0 WHERE name = 'seen'"),
              SQLITE_OK);
    CCookieInventory inventory(dir.MakeDir("data"));
    inventory.SetLocations(EBrowser::Firefox, {strFirefox});
    inventory.SetLocations(EBrowser::Chromium, {strChromium});
    inventory.RefreshCookies();

    std::map<std::string, std::string> seen; // browser and name: what the details say
    for (const auto& pCookie : inventory.Cookies())
    {
        const CCookieDetails details = pCookie->GetDetails();
        ASSERT_EQ(details.cookies.size(), 1u);
        const CCookieFacts& facts = details.cookies[0];
        EXPECT_EQ(facts.strHost, pCookie->GetName());
        EXPECT_EQ(details.strStoreFile, pCookie->StoreFile());
        seen[details.strBrowser + " " + facts.strName] =
            details.strProfile + " " + facts.strPath + " " + FormatExpiry(facts) + " " +
            FormatValueSize(facts) + (facts.bSecure ? " secure" : "") +
            (facts.bHttpOnly ? " httponly" : "");
    }
    EXPECT_EQ(seen.size(), 12u);
    EXPECT_EQ(seen["Firefox cart"], "jk45xpu8.work / 2027-12-07 12:57:48 UTC 2");
    EXPECT_EQ(seen["Firefox theme"], "jk45xpu8.work / 2027-12-07 12:57:48 UTC 4");
    EXPECT_EQ(seen["Chromium cart"], "Default / 2027-12-07 12:57:50 UTC 51 encrypted");
    EXPECT_EQ(seen["Chromium seen"], "Default / End of session 51 encrypted");
}

TEST(CookieDatabase, ReadsAndDeletesTheBrowsersOwnDatabasesByKey)
{
    for (const CKindCase& kindCase : kKinds)
    {
        SCOPED_TRACE(kindCase.pFixture);
        CTempDir dir;
        const std::string strDb = CopyFixture(dir, kindCase.pFixture);
        std::map<std::string, int> hosts = kFixtureHosts;
        if (kindCase.kind == ECookieTable::Moz) // more ids than one statement takes
        {
            ASSERT_EQ(Exec(strDb, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                  "WHERE i < 1201) INSERT INTO moz_cookies(name, host, path) "
                                  "SELECT 'c' || i, 'many.test', '/' FROM n"),
                      SQLITE_OK);
            hosts["many.test"] = 1201;
        }
        std::vector<CDatabaseRow> rows;
        ASSERT_TRUE(ReadCookieDatabase(kindCase.kind, strDb, rows));
        EXPECT_EQ(CountHosts(rows), hosts);

        std::vector<const std::vector<CDatabaseValue>*> doomed;
        for (const CDatabaseRow& row : rows)
            if (row.strHost != "beta.test")
                doomed.push_back(&row.key);
        ASSERT_TRUE(DeleteCookieRows(kindCase.kind, strDb, doomed));
        std::vector<CDatabaseRow> left;
        ASSERT_TRUE(ReadCookieDatabase(kindCase.kind, strDb, left));
        EXPECT_EQ(CountHosts(left), (std::map<std::string, int>{{"beta.test", 1}}));
        // The database stays one its browser accepts.
        EXPECT_EQ(Exec(strDb, "PRAGMA integrity_check"), SQLITE_OK);
    }
}

TEST(CookieDatabase, AnythingElseGivesNoRowsAndDeletesNothing)
{
    CTempDir dir;
    const std::string strText = dir.Write("text", std::string(5000, 'x'));
    const std::string strFolder = dir.MakeDir("folder");
    const std::string strFifo = dir.File("fifo");
    ASSERT_EQ(mkfifo(strFifo.c_str(), 0600), 0);
    const std::string strOther = dir.File("other.sqlite");
    ASSERT_EQ(Exec(strOther, "CREATE TABLE moz_cookies(id INTEGER PRIMARY KEY, name TEXT);"
                             "CREATE TABLE cookies(host_key TEXT, name TEXT);"
                             "INSERT INTO moz_cookies(name) VALUES('a');"
                             "INSERT INTO cookies VALUES('h', 'n')"),
              SQLITE_OK);
    const std::vector<CDatabaseValue> key(1);
    for (const CKindCase& kindCase : kKinds)
        for (const std::string& strPath :
             {strText, strFolder, strFifo, strOther, dir.File("missing"),
              CopyFixture(dir, kindCase.pFixture == kKinds[0].pFixture ? kKinds[1].pFixture
                                                                       : kKinds[0].pFixture)})
        {
            SCOPED_TRACE(strPath);
            std::vector<CDatabaseRow> rows(1);
            EXPECT_FALSE(ReadCookieDatabase(kindCase.kind, strPath, rows));
            EXPECT_TRUE(rows.empty());
            EXPECT_FALSE(DeleteCookieRows(kindCase.kind, strPath, {&key}));
            std::filesystem::remove(dir.File("cookies.sqlite"));
            std::filesystem::remove(dir.File("Cookies"));
        }
    EXPECT_EQ(ReadWholeFile(strText), std::string(5000, 'x'));
}

// A browser holds its database with an exclusive lock; the reader must not
// break it, and reads a copy that it then removes.
TEST(CookieDatabase, ALockedDatabaseIsReadFromACopyAndNotDeletedFrom)
{
    CTempDir dir;
    const std::string strDb = CopyFixture(dir, kKinds[0].pFixture);
    ASSERT_EQ(Exec(strDb, "PRAGMA journal_mode=WAL"), SQLITE_OK);
    sqlite3* pHolder = nullptr;
    ASSERT_EQ(sqlite3_open(strDb.c_str(), &pHolder), SQLITE_OK);
    // As Firefox does: exclusive locking, and a recent write still in the log.
    ASSERT_EQ(sqlite3_exec(pHolder,
                           "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;"
                           "DELETE FROM moz_cookies WHERE host='beta.test'; COMMIT",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_TRUE(FileExists(strDb + "-wal"));
    const size_t nTempBefore = TempEntriesNamed("jarvane-db-");

    std::vector<CDatabaseRow> rows;
    EXPECT_TRUE(ReadCookieDatabase(ECookieTable::Moz, strDb, rows));
    EXPECT_EQ(CountHosts(rows), (std::map<std::string, int>{{"alpha.test", 2}, {"gamma.test", 3}}));
    EXPECT_EQ(TempEntriesNamed("jarvane-db-"), nTempBefore);
    EXPECT_FALSE(DeleteCookieRows(ECookieTable::Moz, strDb, {&rows.front().key}));
    sqlite3_close(pHolder);

    std::vector<CDatabaseRow> after;
    EXPECT_TRUE(ReadCookieDatabase(ECookieTable::Moz, strDb, after));
    EXPECT_EQ(after.size(), 5u);
}

TEST(BrowserLock, TellsARunningBrowserFromTheSignsItLeavesBehind)
{
    CTempDir dir;
    const std::string strFirefox = dir.MakeDir("ff");
    const std::string strChromium = dir.MakeDir("cr");
    EXPECT_FALSE(IsFirefoxProfileRunning(strFirefox));
    EXPECT_FALSE(IsChromiumProfileRunning(strChromium));

    // A child that exits at once leaves a process id that is surely free.
    const pid_t nDead = fork();
    if (nDead == 0)
        _exit(0);
    waitpid(nDead, nullptr, 0);
    char host[256] = {};
    gethostname(host, sizeof(host) - 1);
    const std::string strSelf = std::to_string(getpid());
    const auto Link = [](const std::string& strTarget, const std::string& strLink)
    {
        unlink(strLink.c_str());
        return symlink(strTarget.c_str(), strLink.c_str()) == 0;
    };

    ASSERT_TRUE(Link("127.0.0.1:+" + std::to_string(nDead), strFirefox + "/lock"));
    EXPECT_FALSE(IsFirefoxProfileRunning(strFirefox)); // the stale link of a closed Firefox
    ASSERT_TRUE(Link("127.0.0.1:+" + strSelf, strFirefox + "/lock"));
    EXPECT_TRUE(IsFirefoxProfileRunning(strFirefox));
    unlink((strFirefox + "/lock").c_str());

    // Another process holding the lock on .parentlock.
    const std::string strParentLock = dir.Write("ff/.parentlock", "");
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t nHolder = fork();
    if (nHolder == 0)
    {
        const int nFile = open(strParentLock.c_str(), O_RDWR);
        struct flock lock = {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        fcntl(nFile, F_SETLK, &lock);
        char c = 'x';
        (void)!write(pipeFds[1], &c, 1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(pipeFds[0], &c, 1), 1);
    EXPECT_TRUE(IsFirefoxProfileRunning(strFirefox));
    kill(nHolder, SIGKILL);
    waitpid(nHolder, nullptr, 0);
    EXPECT_FALSE(IsFirefoxProfileRunning(strFirefox));

    ASSERT_TRUE(
        Link(std::string(host) + "-" + std::to_string(nDead), strChromium + "/SingletonLock"));
    EXPECT_FALSE(IsChromiumProfileRunning(strChromium));
    ASSERT_TRUE(Link(std::string(host) + "-" + strSelf, strChromium + "/SingletonLock"));
    EXPECT_TRUE(IsChromiumProfileRunning(strChromium));
    ASSERT_TRUE(
        Link("another-host.example-" + std::to_string(nDead), strChromium + "/SingletonLock"));
    EXPECT_TRUE(IsChromiumProfileRunning(strChromium));
}

// GNOME Web leaves no lock: its WebKit network process holds the database
// open while it runs. Neither another program reading the database nor a
// network process of another profile is a running GNOME Web.
TEST(BrowserLock, TellsGnomeWebRunningFromItsNetworkProcessHoldingTheDatabase)
{
    CTempDir dir;
    const std::string strDb = dir.Write("ep/cookies.sqlite", "");
    const std::string strOther = dir.Write("other/cookies.sqlite", "");
    EXPECT_FALSE(IsEpiphanyProfileRunning(strDb));
    EXPECT_FALSE(IsEpiphanyProfileRunning(dir.File("missing/cookies.sqlite")));

    struct SStep
    {
        const char* pszName;
        std::string strOpens;
        bool bRunning;
    };
    const SStep steps[] = {{"WebKitNetworkProcess", strOther, false},
                           {"sqlite3", strDb, false},
                           {"WebKitNetworkProcess", "", true}};
    int toChild[2], fromChild[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(fromChild), 0);
    const pid_t nHolder = fork();
    if (nHolder == 0)
    {
        char c = 'x';
        for (const SStep& step : steps)
            if (prctl(PR_SET_NAME, step.pszName) != 0 ||
                (!step.strOpens.empty() && open(step.strOpens.c_str(), O_RDWR) < 0) ||
                write(fromChild[1], &c, 1) != 1 || read(toChild[0], &c, 1) != 1)
                _exit(1);
        _exit(0);
    }
    for (const SStep& step : steps)
    {
        char c = 0;
        ASSERT_EQ(read(fromChild[0], &c, 1), 1);
        EXPECT_EQ(IsEpiphanyProfileRunning(strDb), step.bRunning) << step.pszName;
        ASSERT_EQ(write(toChild[1], &c, 1), 1);
    }
    waitpid(nHolder, nullptr, 0);
    EXPECT_FALSE(IsEpiphanyProfileRunning(strDb));
    for (int nFd : {toChild[0], toChild[1], fromChild[0], fromChild[1]})
        close(nFd);
}

class CDatabaseStoreTest : public CInventoryTest
{
protected:
    CDatabaseStoreTest()
    {
        std::filesystem::copy(JARVANE_BROWSER_FIXTURES "/home", m_dir.File("home"),
                              std::filesystem::copy_options::recursive);
        m_inventory.SetLocations(EBrowser::Firefox, {m_dir.File(kKinds[0].pFixture)});
        m_inventory.SetLocations(EBrowser::Chromium, {m_strChromium});
    }
    std::map<std::string, int> HostsLeft(ECookieTable kind, const std::string& strDb)
    {
        std::vector<CDatabaseRow> rows;
        EXPECT_TRUE(ReadCookieDatabase(kind, strDb, rows));
        return CountHosts(rows);
    }
    const std::string m_strChromium = m_dir.File("home/.config/chromium/Default/Cookies");
    const std::string m_strLock = m_dir.File("home/.config/chromium/SingletonLock");
};

TEST_F(CDatabaseStoreTest, AProtectedHostAndARunningBrowsersRowsOutliveDeleteAll)
{
    m_dir.Write("data/" FF_PROTECTION_FILE, "alpha.test\r\n");
    char host[256] = {};
    gethostname(host, sizeof(host) - 1);
    ASSERT_EQ(
        symlink((std::string(host) + "-" + std::to_string(getpid())).c_str(), m_strLock.c_str()),
        0);
    m_inventory.RefreshCookies();
    ASSERT_EQ(m_inventory.CookieList().GetItemCount(), 12);
    std::map<std::string, int> states;
    for (int i = 0; i < 12; ++i)
        ++states[m_inventory.CookieList().GetRow(i).strText[COL_STATE]];
    EXPECT_EQ(states, (std::map<std::string, int>{{"", 4}, {"In use", 6}, {"Protected", 2}}));
    // Sorted by State, the protected rows come last.
    EXPECT_EQ(RowTexts(COL_STATE).back(), "Protected");

    CDeletionReport report = m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(m_inventory.CookieList().GetItemCount(), 8);
    EXPECT_EQ(report.Of(EBrowser::Firefox).nDeleted, 4);
    EXPECT_EQ(report.Of(EBrowser::Firefox).nKept, 2);
    EXPECT_EQ(report.Of(EBrowser::Chromium).nInUse, 6);
    EXPECT_EQ(report.Of(EBrowser::Chromium).nDeleted + report.Of(EBrowser::Chromium).nNotWritten,
              0);
    EXPECT_EQ(HostsLeft(ECookieTable::Moz, m_inventory.Locations(EBrowser::Firefox)[0]),
              (std::map<std::string, int>{{"alpha.test", 2}}));
    EXPECT_EQ(HostsLeft(ECookieTable::Chromium, m_strChromium), kFixtureHosts);

    // Once the browser has closed, the next deletion takes its rows.
    unlink(m_strLock.c_str());
    report = m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(RowTexts(), (V{"alpha.test", "alpha.test"}));
    EXPECT_EQ(report.Of(EBrowser::Chromium).nDeleted, 6);
    EXPECT_EQ(report.Of(EBrowser::Chromium).nInUse, 0);
    EXPECT_TRUE(HostsLeft(ECookieTable::Chromium, m_strChromium).empty());

    m_inventory.SaveAndClearCookies();
    EXPECT_EQ(ReadWholeFile(DataFile(FF_PROTECTION_FILE)), "alpha.test\r\nalpha.test\r\n");
    EXPECT_EQ(ReadWholeFile(DataFile(CR_PROTECTION_FILE)), "");
    EXPECT_EQ(ReadWholeFile(DataFile(NS_PROTECTION_FILE)), "");
    EXPECT_FALSE(FileExists(DataFile(EP_PROTECTION_FILE))); // no GNOME Web database listed
}

namespace
{
// Every column of every row, with its type, in a stable order.
std::string DumpRows(const std::string& strDb, const char* pszTable)
{
    sqlite3* pDb = nullptr;
    sqlite3_open_v2(strDb.c_str(), &pDb, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* pSelect = nullptr;
    const std::string strSql = std::string("SELECT * FROM ") + pszTable;
    sqlite3_prepare_v2(pDb, strSql.c_str(), -1, &pSelect, nullptr);
    std::vector<std::string> rows;
    while (pSelect && sqlite3_step(pSelect) == SQLITE_ROW)
    {
        std::string strRow;
        for (int i = 0; i < sqlite3_column_count(pSelect); ++i)
        {
            // The type first: reading the text converts a blob.
            const int nType = sqlite3_column_type(pSelect, i);
            const unsigned char* pText = sqlite3_column_text(pSelect, i);
            strRow += std::to_string(nType) + ":" +
                      (pText ? reinterpret_cast<const char*>(pText) : "") + "|";
        }
        rows.push_back(strRow);
    }
    sqlite3_finalize(pSelect);
    sqlite3_close(pDb);
    std::sort(rows.begin(), rows.end());
    std::string strAll;
    for (const std::string& strRow : rows)
        strAll += strRow + "\n";
    return strAll;
}
} // namespace

// The copy for undo is taken as the rows go, in a transaction that deletes
// nothing until it is committed; in the write-ahead log Firefox uses too. Kept
// as the whole database instead, the same rows come out of it.
TEST(CookieDatabase, APendingDeletionCopiesEachRowWholeAndDeletesOnlyOnCommit)
{
    for (const CKindCase& kindCase : kKinds)
        for (const char* pszJournal : {"PRAGMA journal_mode=DELETE", "PRAGMA journal_mode=WAL"})
        {
            SCOPED_TRACE(std::string(kindCase.pFixture) + " " + pszJournal);
            CTempDir dir;
            const std::string strDb = CopyFixture(dir, kindCase.pFixture);
            ASSERT_EQ(Exec(strDb, pszJournal), SQLITE_OK);
            const char* pszTable = kindCase.kind == ECookieTable::Moz ? "moz_cookies" : "cookies";
            const std::string strAll = DumpRows(strDb, pszTable);
            std::vector<CDatabaseRow> rows;
            ASSERT_TRUE(ReadCookieDatabase(kindCase.kind, strDb, rows));
            std::vector<const std::vector<CDatabaseValue>*> doomed;
            for (const CDatabaseRow& row : rows)
                if (row.strHost != "beta.test")
                    doomed.push_back(&row.key);
            doomed.push_back(doomed.front()); // a cookie listed twice
            CDeletedRowCopies image;
            {
                CPendingRowDeletion deletion;
                ASSERT_TRUE(deletion.Begin(kindCase.kind, strDb, doomed, true, image));
                EXPECT_EQ(DumpRows(strDb, pszTable), strAll);
            } // dropped uncommitted
            EXPECT_EQ(DumpRows(strDb, pszTable), strAll);
            CDeletedRowCopies copied;
            CPendingRowDeletion deletion;
            ASSERT_TRUE(deletion.Begin(kindCase.kind, strDb, doomed, false, copied));
            ASSERT_TRUE(deletion.Commit());
            const std::string& strNames = copied.strNames;
            const std::vector<std::string>& copies = copied.rows;
            const std::string strLeft = DumpRows(strDb, pszTable);
            ASSERT_TRUE(ReadCookieDatabase(kindCase.kind, strDb, rows));
            EXPECT_EQ(CountHosts(rows), (std::map<std::string, int>{{"beta.test", 1}}));

            // Each copy holds its row's every column with its type.
            ASSERT_EQ(copies.size(), doomed.size());
            EXPECT_EQ(copies.back(), copies.front());
            std::vector<std::string> dumped = {strLeft.substr(0, strLeft.size() - 1)};
            for (size_t i = 0; i + 1 < copies.size(); ++i)
            {
                CDatabaseColumns row;
                ASSERT_TRUE(DecodeDatabaseColumns(strNames + copies[i], row.names, row.values));
                std::string strRow;
                for (const CDatabaseValue& value : row.values)
                    strRow += std::to_string(value.nType) + ":" +
                              (value.nType == SQLITE_INTEGER ? std::to_string(value.nInteger)
                                                             : value.strBytes.c_str()) +
                              "|";
                dumped.push_back(strRow);
            }
            std::sort(dumped.begin(), dumped.end());
            std::string strDumped;
            for (const std::string& strRow : dumped)
                strDumped += strRow + "\n";
            EXPECT_EQ(strDumped, strAll);

            ASSERT_FALSE(image.strImage.empty());
            EXPECT_EQ(image.strTable, pszTable);
            std::vector<std::int64_t> rowids;
            for (const std::string& strRow : image.rows)
            {
                size_t nPos = 0;
                std::uint64_t nRowId = 0;
                ASSERT_TRUE(TakeNumber(strRow, nPos, nRowId));
                rowids.push_back(static_cast<std::int64_t>(nRowId));
            }
            std::string strImageNames;
            std::vector<std::string> imageRows;
            ASSERT_TRUE(
                ReadImageRows(image.strImage, image.strTable, rowids, strImageNames, imageRows));
            EXPECT_EQ(strImageNames, strNames);
            EXPECT_EQ(imageRows, copies);
        }
}

// Rows come back whole; a running browser's rows are neither recorded nor put
// back, and their batch stays to be put back once it has closed.
TEST_F(CDatabaseStoreTest, UndoPutsRowsBackWholeOnlyWhileTheBrowserIsClosed)
{
    const std::string strFirefox = m_inventory.Locations(EBrowser::Firefox)[0];
    // Enough rows that the batch keeps Firefox's database whole.
    ASSERT_EQ(Exec(strFirefox, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n"
                               " WHERE i < 1500) INSERT INTO moz_cookies(originAttributes, name,"
                               " value, host, path, expiry, lastAccessed, creationTime, isSecure,"
                               " isHttpOnly) SELECT '', 'c' || i, 'v' || i, 'h' || i || '.test',"
                               " '/', 1900000000, 1, i, 0, 1 FROM n"),
              SQLITE_OK);
    const std::string strFirefoxRows = DumpRows(strFirefox, "moz_cookies");
    const std::string strChromiumRows = DumpRows(m_strChromium, "cookies");
    char host[256] = {};
    gethostname(host, sizeof(host) - 1);
    const std::string strRunning = std::string(host) + "-" + std::to_string(getpid());
    ASSERT_EQ(symlink(strRunning.c_str(), m_strLock.c_str()), 0);
    m_inventory.SetUndoRecording(true);
    m_inventory.RefreshCookies();
    // Its rows were not even copied: they stayed because the browser runs.
    EXPECT_EQ(m_inventory.DeleteAllUnprotected().Of(EBrowser::Chromium).nInUse, 6);
    CUndoJournal journal(DataFile(UNDO_FILE_NAME));
    CUndoBatch firefoxBatch;
    ASSERT_TRUE(FindUndoableBatch(journal, firefoxBatch));
    EXPECT_EQ(firefoxBatch.Count(), 1506);
    EXPECT_EQ(firefoxBatch.counts[BrowserIndex(EBrowser::Firefox)], 1506);

    EXPECT_EQ(DumpRows(DataFile(UNDO_FILE_NAME), "(SELECT batch FROM images)"),
              "1:" + std::to_string(firefoxBatch.nId) + "|\n");

    unlink(m_strLock.c_str());
    m_inventory.DeleteAllUnprotected();
    CUndoBatch chromiumBatch;
    ASSERT_TRUE(FindUndoableBatch(journal, chromiumBatch));
    EXPECT_EQ(chromiumBatch.counts[BrowserIndex(EBrowser::Chromium)], 6);
    EXPECT_TRUE(HostsLeft(ECookieTable::Chromium, m_strChromium).empty());

    ASSERT_EQ(symlink(strRunning.c_str(), m_strLock.c_str()), 0);
    CUndoResult result = RestoreBatch(journal, chromiumBatch.nId);
    EXPECT_EQ(result.nRestored, 0);
    EXPECT_TRUE(result.bPending);
    EXPECT_EQ(result.reasons,
              (std::vector<std::pair<std::string, int>>{{"close Chromium and try again", 6}}));
    EXPECT_TRUE(HostsLeft(ECookieTable::Chromium, m_strChromium).empty());

    unlink(m_strLock.c_str());
    CUndoBatch again;
    ASSERT_TRUE(FindUndoableBatch(journal, again));
    EXPECT_EQ(again.nId, chromiumBatch.nId);
    EXPECT_EQ(RestoreBatch(journal, chromiumBatch.nId).nRestored, 6);
    EXPECT_EQ(DumpRows(m_strChromium, "cookies"), strChromiumRows);
    ASSERT_TRUE(FindUndoableBatch(journal, again));
    EXPECT_EQ(again.nId, firefoxBatch.nId);
    EXPECT_EQ(RestoreBatch(journal, firefoxBatch.nId).nRestored, 1506);
    EXPECT_EQ(DumpRows(strFirefox, "moz_cookies"), strFirefoxRows);
    // Its image went with its last entry.
    EXPECT_EQ(DumpRows(DataFile(UNDO_FILE_NAME), "(SELECT batch FROM images)"), "");
    // Undone twice, nothing is doubled.
    EXPECT_FALSE(FindUndoableBatch(journal, again));

    // Rows gone since the refresh leave nothing to delete: the database is let
    // go at once, not held until the next deletion.
    m_inventory.RefreshCookies();
    ASSERT_EQ(Exec(m_strChromium, "DELETE FROM cookies"), SQLITE_OK);
    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(Exec(m_strChromium, "BEGIN IMMEDIATE; COMMIT"), SQLITE_OK);
}

TEST_F(CDatabaseStoreTest, GnomeWebsDatabaseIsListedProtectedDeletedFromAndPutBack)
{
    const std::string strEpiphany = m_dir.File("home/.local/share/epiphany/cookies.sqlite");
    m_inventory.SetLocations(EBrowser::Firefox, {});
    m_inventory.SetLocations(EBrowser::Chromium, {});
    m_inventory.SetLocations(EBrowser::Epiphany, {strEpiphany});
    const std::string strRows = DumpRows(strEpiphany, "moz_cookies");
    m_dir.Write("data/" EP_PROTECTION_FILE, "beta.test\r\n");
    m_inventory.SetUndoRecording(true);
    m_inventory.RefreshCookies();
    ASSERT_EQ(m_inventory.CookieList().GetItemCount(), 10);
    EXPECT_EQ(RowTexts(COL_BROWSER), V(10, "GNOME Web"));
    EXPECT_EQ(RowTexts(COL_STATE).back(), "Protected");

    m_inventory.DeleteAllUnprotected();
    EXPECT_EQ(RowTexts(), V{"beta.test"});
    EXPECT_EQ(HostsLeft(ECookieTable::Moz, strEpiphany),
              (std::map<std::string, int>{{"beta.test", 1}}));
    m_inventory.SaveAndClearCookies();
    EXPECT_EQ(ReadWholeFile(DataFile(EP_PROTECTION_FILE)), "beta.test\r\n");
    EXPECT_FALSE(FileExists(DataFile(FF_PROTECTION_FILE)));

    CUndoJournal journal(DataFile(UNDO_FILE_NAME));
    CUndoBatch batch;
    ASSERT_TRUE(FindUndoableBatch(journal, batch));
    EXPECT_EQ(batch.counts[BrowserIndex(EBrowser::Epiphany)], 9);
    EXPECT_EQ(RestoreBatch(journal, batch.nId).nRestored, 9);
    EXPECT_EQ(DumpRows(strEpiphany, "moz_cookies"), strRows);
}
