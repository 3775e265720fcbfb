#include "app/app_folders.h"
#include "app/profile_helpers.h"
#include "locations/location_file.h"
#include "platform/safe_file.h"
#include "support/location_lists.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace
{
using Paths = std::vector<std::string>;

struct CShownMessages
{
    std::vector<std::string> texts;
    std::function<void(const std::string&)> Handler()
    {
        return [this](const std::string& strText) { texts.push_back(strText); };
    }
};
} // namespace

TEST(LocationFile, ReadsEachSectionUpToTheFirstGap)
{
    CTempDir dir;
    const std::string strFile = dir.Write("Location.DAT", "[NS]\r\n"
                                                          "Location 1=/n1\r\n"
                                                          "Location 2=/n2\r\n"
                                                          "Location 3=\r\n"
                                                          "Location 4=/n4\r\n"
                                                          "[IE]\r\n"
                                                          "Location 1=/i1\r\n"
                                                          "Location 3=/i3\r\n"
                                                          "location 2=/i2\r\n"
                                                          "[Gap]\r\n"
                                                          "Location 1=/g1\r\n"
                                                          "Location 3=/g3\r\n");
    Paths ie{"stale"}, ns{"stale"};
    LoadLocations(strFile, ie, ns);
    EXPECT_EQ(ie, (Paths{"/i1", "/i2", "/i3"})); // key names match without regard to case
    EXPECT_EQ(ns, (Paths{"/n1", "/n2"}));
    Paths gap;
    ReadLocationSection(strFile, "Gap",
                        [&gap](const std::string& strPath) { gap.push_back(strPath); });
    EXPECT_EQ(gap, Paths{"/g1"});

    LoadLocations(dir.File("missing.DAT"), ie, ns);
    EXPECT_TRUE(ie.empty());
    EXPECT_TRUE(ns.empty());
}

TEST(LocationFile, CutsLongValuesTo1022Characters)
{
    CTempDir dir;
    const std::string strLong(1500, 'p');
    const std::string strFile = dir.Write("Location.DAT", "[IE]\r\nLocation 1=" + strLong + "\r\n");
    Paths ie, ns;
    LoadLocations(strFile, ie, ns);
    ASSERT_EQ(ie.size(), 1u);
    EXPECT_EQ(ie[0], strLong.substr(0, 1022));
    EXPECT_EQ(ReadProfileString("IE", "Location 1", "", strFile).size(), 1022u);
}

TEST(LocationFile, SavesOnlyTheListedEntriesWithTheExplorerSectionFirst)
{
    CTempDir dir;
    const std::string strFile = dir.Write("Location.DAT", "[NS]\r\n"
                                                          "Location 1=/a\r\n"
                                                          "Location 2=/b\r\n"
                                                          "Location 3=/c\r\n"
                                                          "[Other]\r\nx=y\r\n");
    ASSERT_TRUE(SaveLocations(strFile, LocationLists({"/ie one", "/ie two"}, {"/ns"})));
    EXPECT_EQ(ReadWholeFile(strFile), "[IE]\r\n"
                                      "Location 1=/ie one\r\n"
                                      "Location 2=/ie two\r\n"
                                      "[NS]\r\n"
                                      "Location 1=/ns\r\n");
    ASSERT_TRUE(SaveLocations(strFile, LocationLists({"/only"}, {})));
    EXPECT_EQ(ReadWholeFile(strFile), "[IE]\r\nLocation 1=/only\r\n");

    // Entries a line of the file cannot hold are left out without a gap.
    ASSERT_TRUE(
        SaveLocations(strFile, LocationLists({}, {"/x", "/bad\nLocation 1=/evil", "", "/y"})));
    Paths ie, ns;
    LoadLocations(strFile, ie, ns);
    EXPECT_TRUE(ie.empty());
    EXPECT_EQ(ns, (Paths{"/x", "/y"}));

    // The database sections follow, each only with entries.
    ASSERT_TRUE(SaveLocations(strFile, LocationLists({"/ie"}, {}, {}, {"/c1", "/c2"})));
    EXPECT_EQ(ReadWholeFile(strFile),
              "[IE]\r\nLocation 1=/ie\r\n[CR]\r\nLocation 1=/c1\r\nLocation 2=/c2\r\n");
    ASSERT_TRUE(SaveLocations(strFile, LocationLists({}, {"/ns"}, {"/f"}, {"/c"})));
    Paths ff{"stale"}, cr;
    ff = LoadBrowserLocations(strFile)[BrowserIndex(EBrowser::Firefox)];
    cr = LoadBrowserLocations(strFile)[BrowserIndex(EBrowser::Chromium)];
    EXPECT_EQ(ff, Paths{"/f"});
    EXPECT_EQ(cr, Paths{"/c"});
    EXPECT_EQ(ReadWholeFile(strFile).find("[NS]"), 0u);
}

TEST(LocationFile, AFailedSaveKeepsTheRememberedLocations)
{
    CTempDir dir;
    const std::string strOld = "[IE]\r\nLocation 1=/kept\r\n";
    const std::string strFile = dir.Write("Location.DAT", strOld);
    for (EReplaceStep step : {EReplaceStep::Create, EReplaceStep::Write, EReplaceStep::Rename})
    {
        SetReplaceFaultHook([step](EReplaceStep current) { return current == step; });
        EXPECT_FALSE(SaveLocations(strFile, LocationLists({"/new"}, {"/new.txt"})));
        SetReplaceFaultHook(nullptr);
        EXPECT_EQ(ReadWholeFile(strFile), strOld);
    }
    EXPECT_FALSE(SaveLocations(strFile + "/Location.DAT", LocationLists({"/new"}, {})));
}

TEST(ValidateLocations, ChecksOnlyTheFirstEntryOfEachSection)
{
    CTempDir dir;
    const std::string strFolder = dir.MakeDir("ie cookies");
    const std::string strFile = dir.Write("cookies.txt", "");
    CShownMessages shown;

    EXPECT_FALSE(ValidateLocations(dir.File("Location.DAT"), shown.Handler()));
    EXPECT_TRUE(shown.texts.empty());

    const std::string strLocations = dir.Write("Location.DAT", "");
    EXPECT_TRUE(ValidateLocations(strLocations, shown.Handler()));

    // A file passes for a folder, a stale second entry is not checked, an
    // empty first entry passes.
    dir.Write("Location.DAT", "[IE]\r\nLocation 1=" + strFile + "\r\nLocation 2=/gone\r\n" +
                                  "[NS]\r\nLocation 1=\r\nLocation 2=/gone\r\n");
    EXPECT_TRUE(ValidateLocations(strLocations, shown.Handler()));
    dir.Write("Location.DAT", "[NS]\r\nLocation 1=" + strFile + "\r\n");
    EXPECT_TRUE(ValidateLocations(strLocations, shown.Handler()));
    EXPECT_TRUE(shown.texts.empty());

    dir.Write("Location.DAT",
              "[NS]\r\nLocation 1=/gone/cookies.txt\r\n[IE]\r\nLocation 1=" + strFolder + "\r\n");
    EXPECT_FALSE(ValidateLocations(strLocations, shown.Handler()));
    ASSERT_EQ(shown.texts.size(), 1u);
    EXPECT_EQ(shown.texts[0], "Jarvane is setup to search Netscape Cookies in /gone/cookies.txt."
                              "\n\nThis file does not exist. Jarvane will now help you find where "
                              "these cookies hide.");

    shown.texts.clear();
    dir.Write("Location.DAT", "[NS]\r\nLocation 1=/gone.txt\r\n[IE]\r\nLocation 1=/gone\r\n");
    EXPECT_FALSE(ValidateLocations(strLocations, shown.Handler()));
    ASSERT_EQ(shown.texts.size(), 1u);
    EXPECT_EQ(shown.texts[0],
              "Jarvane is setup to search Internet Explorer Cookies in /gone.\n\nThis "
              "directory does not exist. Jarvane will now help you find where these cookies hide.");
}

TEST(PathExists, AcceptsFilesFoldersAndMatchingPatterns)
{
    CTempDir dir;
    dir.Write("sub/a.txt", "");
    EXPECT_FALSE(PathExists(""));
    EXPECT_TRUE(PathExists(dir.File("sub")));
    EXPECT_TRUE(PathExists(dir.File("sub/a.txt")));
    EXPECT_TRUE(PathExists(dir.File("sub/*.TXT")));
    EXPECT_TRUE(PathExists(dir.File("sub/?.txt")));
    EXPECT_FALSE(PathExists(dir.File("sub/*.dat")));
    EXPECT_FALSE(PathExists(dir.File("s*/a.txt")));
    EXPECT_FALSE(PathExists(dir.File("missing")));
    EXPECT_FALSE(PathExists("C:\\WINDOWS\\Cookies"));
    EXPECT_FALSE(PathExists(dir.File(std::string(300, 'n'))));
    ASSERT_EQ(symlink("/nowhere", dir.File("dangling").c_str()), 0);
    EXPECT_TRUE(PathExists(dir.File("dangling"))); // an entry, as a folder search lists it
}

TEST(AppFolders, BuildsThePathsFromTheStartFolder)
{
    CAppFolders folders;
    folders.m_strCurrentFolder = "/home/me/run";
    EXPECT_EQ(folders.GetLocationFilePath(), "/home/me/run/Location.DAT");
    EXPECT_EQ(folders.GetSettingsFilePath(), "/home/me/run/Jarvane.INI");

    CTempDir dir;
    char szOld[4096];
    ASSERT_NE(getcwd(szOld, sizeof szOld), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    folders.InitFolders();
    EXPECT_EQ(folders.m_strCurrentFolder, dir.Path());
    ASSERT_EQ(chdir("/"), 0);
    folders.InitFolders();
    EXPECT_EQ(folders.m_strCurrentFolder, "");
    EXPECT_EQ(folders.GetSettingsFilePath(), "/Jarvane.INI");
    ASSERT_EQ(chdir(szOld), 0);
}
