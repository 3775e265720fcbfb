// Every file the system replaces, under a failure at each step of the
// replacement: the old file stays whole, no temporary file is left beside it,
// and the next operation without a fault succeeds.
#include "app/settings.h"
#include "inventory/cookie_inventory.h"
#include "inventory/undo_journal.h"
#include "inventory_fixture.h"
#include "locations/location_file.h"
#include "platform/safe_file.h"
#include "platform/text_file.h"
#include "support/location_lists.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace
{
using V = std::vector<std::string>;

// One operation that replaces files, on files of its own in a temporary folder.
class CReplacedFiles
{
public:
    virtual ~CReplacedFiles() = default;
    // The files the operation replaces, in the order it replaces them.
    virtual V Targets() const = 0;
    virtual void Replace() = 0;
    // After a failed Replace: what the program holds is consistent, and the
    // same operation without a fault gives the new content.
    virtual void CheckStillWorking() = 0;

protected:
    CTempDir m_dir;
};

V SortedNames(const CCookieInventory& inventory)
{
    V names;
    for (const auto& pCookie : inventory.Cookies())
        names.push_back(pCookie->GetName());
    std::sort(names.begin(), names.end());
    return names;
}

void Protect(CCookieInventory& inventory, const std::string& strName)
{
    for (const auto& pCookie : inventory.Cookies())
        if (pCookie->GetName() == strName)
            pCookie->m_bProtected = 1;
}

// The Netscape rewrite at the end of a Delete All over two cookie files.
class CNetscapeRewrite : public CReplacedFiles
{
public:
    CNetscapeRewrite() : m_inventory(m_dir.MakeDir("data"))
    {
        m_strFirst = m_dir.Write("first.txt", "# Netscape HTTP Cookie File\n"
                                              "a.example.com\tTRUE\t/\tFALSE\t0\ta\t1\n"
                                              "b.example.com\tTRUE\t/\tFALSE\t0\tb\t2\n");
        m_strSecond = m_dir.Write("second.txt", "c.example.net\tTRUE\t/\tFALSE\t0\tc\t3\r\n");
        m_inventory.SetLocations(EBrowser::Netscape, {m_strFirst, m_strSecond});
        m_inventory.RefreshCookies();
        Protect(m_inventory, "b.example.com");
    }
    V Targets() const override { return {m_strFirst, m_strSecond}; }
    void Replace() override { m_inventory.DeleteAllUnprotected(); }
    void CheckStillWorking() override
    {
        ExpectOneRowPerRecord(m_inventory);
        // A deletion that did not reach the disk does not look done: the list
        // holds exactly the cookies whose lines are on disk.
        V onDisk;
        for (const std::string& strFile : Targets())
        {
            V lines;
            ReadTextLines(strFile, lines);
            for (const std::string& strLine : lines)
                if (strLine.find('\t') != std::string::npos)
                    onDisk.push_back(strLine.substr(0, strLine.find('\t')));
        }
        std::sort(onDisk.begin(), onDisk.end());
        EXPECT_EQ(SortedNames(m_inventory), onDisk);
        // Cookies whose lines are still on disk come back, each once.
        m_inventory.RefreshCookies();
        ExpectOneRowPerRecord(m_inventory);
        const V afterRefresh = SortedNames(m_inventory);
        EXPECT_TRUE(std::is_sorted(afterRefresh.begin(), afterRefresh.end()) &&
                    std::adjacent_find(afterRefresh.begin(), afterRefresh.end()) ==
                        afterRefresh.end());
        EXPECT_NE(std::find(afterRefresh.begin(), afterRefresh.end(), "b.example.com"),
                  afterRefresh.end());
        m_inventory.DeleteAllUnprotected();
        EXPECT_EQ(ReadWholeFile(m_strFirst),
                  "# Netscape HTTP Cookie File\r\nb.example.com\tTRUE\t/\tFALSE\t0\tb\t2\r\n");
        EXPECT_EQ(ReadWholeFile(m_strSecond), "");
    }

private:
    CCookieInventory m_inventory;
    std::string m_strFirst, m_strSecond;
};

// The two protection lists, written by the refresh.
class CProtectionLists : public CReplacedFiles
{
public:
    CProtectionLists() : m_inventory(m_dir.MakeDir("data"))
    {
        m_dir.Write("ie/1.txt", "id\r\n1\r\nie.example.com/\r\n");
        m_strIEList = m_dir.Write("data/" IE_PROTECTION_FILE, "old.example.com/\r\n");
        m_strNSList = m_dir.Write("data/" NS_PROTECTION_FILE, "old.example.org\r\n");
        m_inventory.SetLocations(EBrowser::InternetExplorer, {m_dir.File("ie")});
        m_inventory.SetLocations(EBrowser::Netscape,
                                 {m_dir.Write("cookies.txt", "ns.example.org\tx\n")});
        m_inventory.RefreshCookies();
        Protect(m_inventory, "ie.example.com/");
        Protect(m_inventory, "ns.example.org");
    }
    V Targets() const override { return {m_strIEList, m_strNSList}; }
    void Replace() override { m_inventory.RefreshCookies(); }
    void CheckStillWorking() override
    {
        ExpectOneRowPerRecord(m_inventory);
        EXPECT_EQ(SortedNames(m_inventory), (V{"ie.example.com/", "ns.example.org"}));
        Protect(m_inventory, "ie.example.com/");
        Protect(m_inventory, "ns.example.org");
        m_inventory.RefreshCookies();
        EXPECT_EQ(ReadWholeFile(m_strIEList), "ie.example.com/\r\n");
        EXPECT_EQ(ReadWholeFile(m_strNSList), "ns.example.org\r\n");
        ExpectOneRowPerRecord(m_inventory);
    }

private:
    CCookieInventory m_inventory;
    std::string m_strIEList, m_strNSList;
};

// The remembered locations, written when the Find Cookie Location dialog is accepted.
class CLocationFile : public CReplacedFiles
{
public:
    CLocationFile()
        : m_strFile(m_dir.Write("Location.DAT", "[IE]\r\nLocation 1=/old/ie\r\n[NS]\r\n"
                                                "Location 1=/old/cookies.txt\r\n"))
    {
    }
    V Targets() const override { return {m_strFile}; }
    void Replace() override
    {
        EXPECT_FALSE(SaveLocations(m_strFile, LocationLists({"/new/ie"}, {})));
    }
    void CheckStillWorking() override
    {
        ASSERT_TRUE(SaveLocations(m_strFile, LocationLists({"/new/ie"}, {})));
        V ie, ns;
        LoadLocations(m_strFile, ie, ns);
        EXPECT_EQ(ie, V{"/new/ie"});
        EXPECT_TRUE(ns.empty());
    }

private:
    std::string m_strFile;
};

// The settings file, written when the Options dialog is confirmed.
class CSettingsFile : public CReplacedFiles
{
public:
    CSettingsFile()
        : m_strFile(m_dir.Write("Jarvane.INI", "; kept comment\r\n[General]\r\nSoundEffects=Yes\r\n"
                                               "ShowWaitDialog=Yes\r\nAutoDelete=2\r\n"))
    {
        m_newSettings.m_bSoundEffects = 0;
        m_newSettings.m_bShowWaitDialog = 0;
        m_newSettings.m_nAutoDelete = 3;
    }
    V Targets() const override { return {m_strFile}; }
    void Replace() override { EXPECT_FALSE(SaveSettingsFile(m_strFile, m_newSettings)); }
    void CheckStillWorking() override
    {
        ASSERT_TRUE(SaveSettingsFile(m_strFile, m_newSettings));
        EXPECT_EQ(ReadWholeFile(m_strFile), "; kept comment\r\n[General]\r\nSoundEffects=No\r\n"
                                            "ShowWaitDialog=No\r\nAutoDelete=3\r\n");
    }

private:
    std::string m_strFile;
    CSettings m_newSettings;
};

struct CWriter
{
    const char* pszName;
    std::function<std::unique_ptr<CReplacedFiles>()> fnMake;
    bool bOneReplacementPerTarget; // false when one target is replaced several times
};

const CWriter kWriters[] = {
    {"Netscape rewrite", [] { return std::make_unique<CNetscapeRewrite>(); }, true},
    {"protection lists", [] { return std::make_unique<CProtectionLists>(); }, true},
    {"location file", [] { return std::make_unique<CLocationFile>(); }, true},
    {"settings file", [] { return std::make_unique<CSettingsFile>(); }, false},
};

const EReplaceStep kSteps[] = {EReplaceStep::Create, EReplaceStep::Write, EReplaceStep::Flush,
                               EReplaceStep::Rename};

std::set<std::string> NamesIn(const std::string& strFolder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(strFolder))
        names.insert(entry.path().filename().string());
    return names;
}
} // namespace

// nFailing 0 makes every replacement fail at the step; nFailing k only the k-th
// replacement of the operation, the others succeed.
TEST(FaultInjection, EveryReplacedFileSurvivesAFailureAtEveryStep)
{
    int nCases = 0;
    for (const CWriter& writer : kWriters)
    {
        for (EReplaceStep step : kSteps)
        {
            for (size_t nFailing = 0; nFailing <= 2; ++nFailing)
            {
                std::unique_ptr<CReplacedFiles> pFiles = writer.fnMake();
                const V targets = pFiles->Targets();
                if (nFailing > 0 && (!writer.bOneReplacementPerTarget || nFailing > targets.size()))
                    continue;
                SCOPED_TRACE(std::string(writer.pszName) + ", step " +
                             std::to_string(static_cast<int>(step)) + ", failing replacement " +
                             std::to_string(nFailing));
                ++nCases;
                V oldContent;
                std::vector<std::set<std::string>> oldNames;
                for (const std::string& strTarget : targets)
                {
                    oldContent.push_back(ReadWholeFile(strTarget));
                    oldNames.push_back(
                        NamesIn(std::filesystem::path(strTarget).parent_path().string()));
                }
                {
                    CFaultHookGuard guard;
                    size_t nReplacement = 0;
                    SetReplaceFaultHook(
                        [&](EReplaceStep current)
                        {
                            if (current == EReplaceStep::Create)
                                ++nReplacement;
                            return current == step && (nFailing == 0 || nReplacement == nFailing);
                        });
                    pFiles->Replace();
                }
                for (size_t i = 0; i < targets.size(); ++i)
                {
                    if (nFailing == 0 || nFailing == i + 1)
                        EXPECT_EQ(ReadWholeFile(targets[i]), oldContent[i]) << targets[i];
                    else
                        EXPECT_NE(ReadWholeFile(targets[i]), oldContent[i]) << targets[i];
                    EXPECT_EQ(NamesIn(std::filesystem::path(targets[i]).parent_path().string()),
                              oldNames[i])
                        << "a temporary file was left beside " << targets[i];
                }
                pFiles->CheckStillWorking();
            }
        }
    }
    EXPECT_EQ(nCases, 36); // 16 with every replacement failing, 20 with one of them
}

// A protection list that cannot be written at the refresh keeps its marks in
// memory: the records read again are marked from them, the next Delete All (or
// the auto-delete timer) spares the cookies the user protected, and the list
// reaches the disk once it can be written.
TEST(FaultInjection, AProtectionMarkThatCouldNotBeSavedStillProtects)
{
    CTempDir dir;
    CCookieInventory inventory(dir.MakeDir("data"));
    const std::string strCookie = dir.Write("ie/1.txt", "id\r\n1\r\nkept.example.com/\r\n");
    const std::string strNS = dir.Write("cookies.txt", "kept.example.org\tx\n");
    inventory.SetLocations(EBrowser::InternetExplorer, {dir.File("ie")});
    inventory.SetLocations(EBrowser::Netscape, {strNS});
    inventory.RefreshCookies();
    Protect(inventory, "kept.example.com/");
    Protect(inventory, "kept.example.org");
    {
        CFaultHookGuard guard;
        SetReplaceFaultHook([](EReplaceStep step) { return step == EReplaceStep::Rename; });
        inventory.RefreshCookies();
    }
    inventory.DeleteAllUnprotected();
    EXPECT_TRUE(FileExists(strCookie));
    EXPECT_EQ(ReadWholeFile(strNS), "kept.example.org\tx\n");
    inventory.RefreshCookies();
    EXPECT_EQ(ReadWholeFile(dir.File("data/IEPROT.DAT")), "kept.example.com/\r\n");
    EXPECT_EQ(ReadWholeFile(dir.File("data/NSPROT.DAT")), "kept.example.org\r\n");
}

// The settings are written one key at a time and a failed key does not stop the
// others: when the second write fails, only that key keeps its old value.
TEST(FaultInjection, ASettingsSaveThatFailsHalfWayLeavesEachKeyOldOrNew)
{
    CTempDir dir;
    const std::string strFile = dir.Write(
        "Jarvane.INI", "[General]\r\nSoundEffects=Yes\r\nShowWaitDialog=Yes\r\nAutoDelete=2\r\n");
    CSettings settings;
    settings.m_bSoundEffects = settings.m_bShowWaitDialog = 0;
    settings.m_nAutoDelete = 3;
    {
        CFaultHookGuard guard;
        int nReplacement = 0;
        SetReplaceFaultHook([&nReplacement](EReplaceStep step)
                            { return step == EReplaceStep::Create && ++nReplacement == 2; });
        EXPECT_FALSE(SaveSettingsFile(strFile, settings));
    }
    const CSettings back = ReadSettingsFile(strFile);
    EXPECT_FALSE(back.m_bSoundEffects);
    EXPECT_TRUE(back.m_bShowWaitDialog);
    EXPECT_EQ(back.m_nAutoDelete, 3);
}

// The copy of what a batch deletes is written before anything goes: a failure
// at any step of writing UNDO.DB, or a folder standing at its name, leaves
// every cookie on disk and listed, and no half batch behind.
TEST(FaultInjection, ARecoveryFileThatCannotBeWrittenStopsTheDeletion)
{
    for (const char* pszStep : {"open", "insert", "commit", "folder"})
    {
        SCOPED_TRACE(pszStep);
        CTempDir dir;
        const std::string strData = dir.MakeDir("data");
        CCookieInventory inventory(strData);
        const std::string strCookie = dir.Write("ie/1.txt", "id\r\n1\r\ngone.example.com/\r\n");
        const std::string strNS = dir.Write("cookies.txt", "a.example.org\tx\nb.example.org\ty\n");
        // Its rows leave in a transaction that waits for the copy: in the
        // write-ahead log Firefox keeps it in.
        const std::string strFirefox = dir.File("cookies.sqlite");
        std::filesystem::copy_file(std::string(JARVANE_BROWSER_FIXTURES) +
                                       "/home/.config/mozilla/firefox/jk45xpu8.work/cookies.sqlite",
                                   strFirefox);
        sqlite3* pDb = nullptr;
        ASSERT_EQ(sqlite3_open(strFirefox.c_str(), &pDb), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(pDb, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        inventory.SetLocations(EBrowser::InternetExplorer, {dir.File("ie")});
        inventory.SetLocations(EBrowser::Netscape, {strNS});
        inventory.SetLocations(EBrowser::Firefox, {strFirefox});
        inventory.SetUndoRecording(true);
        inventory.RefreshCookies();
        const bool bFolder = std::string(pszStep) == "folder";
        if (bFolder)
            dir.MakeDir("data/" UNDO_FILE_NAME);
        else
            CUndoJournal::SetFaultHook([&](const char* pszNow)
                                       { return std::string(pszNow) == pszStep; });
        inventory.DeleteAllUnprotected();
        CUndoJournal::SetFaultHook(nullptr);
        EXPECT_NE(inventory.UndoRefusal(), "");
        EXPECT_TRUE(FileExists(strCookie));
        EXPECT_EQ(ReadWholeFile(strNS), "a.example.org\tx\nb.example.org\ty\n");
        // Every row is there, and the database is left free for its browser.
        EXPECT_EQ(sqlite3_exec(pDb, "BEGIN IMMEDIATE; DELETE FROM moz_cookies WHERE 0; COMMIT",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_stmt* pCount = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(pDb, "SELECT count(*) FROM moz_cookies", -1, &pCount, nullptr),
                  SQLITE_OK);
        ASSERT_EQ(sqlite3_step(pCount), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int(pCount, 0), 6);
        sqlite3_finalize(pCount);
        sqlite3_close(pDb);
        EXPECT_EQ(inventory.CookieList().GetItemCount(), 9);
        ExpectOneRowPerRecord(inventory);
        if (bFolder)
            continue;
        std::vector<CUndoBatch> batches;
        CUndoJournal journal(dir.File("data/" UNDO_FILE_NAME));
        EXPECT_TRUE(journal.ListBatches(batches));
        EXPECT_TRUE(batches.empty());
        inventory.DeleteAllUnprotected();
        EXPECT_EQ(inventory.UndoRefusal(), "");
        EXPECT_FALSE(FileExists(strCookie));
        EXPECT_TRUE(journal.ListBatches(batches));
        ASSERT_EQ(batches.size(), 1u);
        EXPECT_EQ(batches[0].Count(), 9);
        EXPECT_EQ(batches[0].counts[BrowserIndex(EBrowser::Firefox)], 6);
    }
}
