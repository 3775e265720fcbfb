#include "locations/location_discovery.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
using Paths = std::vector<std::string>;

class CFakeRegistry : public IRegistry
{
public:
    bool ReadUserString(const std::string& strKey, const std::string& strValueName,
                        std::string& strResult) const override
    {
        const auto it = m_values.find(strKey + "|" + strValueName);
        if (it == m_values.end())
            return false;
        strResult = it->second;
        return true;
    }
    std::map<std::string, std::string> m_values;
};

class CFakeDrives : public IDriveSource
{
public:
    std::vector<CDrive> ListDrives() const override { return m_drives; }
    EDriveType GetDriveType(const std::string& strDrive) const override
    {
        for (const CDrive& drive : m_drives)
            if (drive.strName == strDrive)
                return drive.type;
        return EDriveType::Other;
    }
    std::vector<std::string> ListForeignFolders(const std::string&) const override
    {
        return m_foreign;
    }
    std::vector<CDrive> m_drives;
    std::vector<std::string> m_foreign;
};

struct CDiscoveryFixture
{
    CTempDir dir;
    CFakeRegistry registry;
    CFakeDrives drives;
    int nBeeps = 0;
    CLocationDiscovery discovery{registry, drives, dir.File("windows"), [this] { ++nBeeps; },
                                 dir.File("home")};

    void SetExplorerValue(const std::string& strValue)
    {
        registry.m_values[REGKEY_SHELL_FOLDERS "|" REGVALUE_COOKIES] = strValue;
    }
    void SetNetscapeValue(const std::string& strValue)
    {
        registry.m_values[REGKEY_NETSCAPE_COOKIES "|" REGVALUE_COOKIE_FILE] = strValue;
    }
};
} // namespace

TEST(LocationList, KeepsTheFirstOnTopAndDropsCaseBlindDuplicates)
{
    CLocationList list;
    EXPECT_TRUE(list.Add("A"));
    EXPECT_TRUE(list.Add("B"));
    EXPECT_TRUE(list.Add("C"));
    EXPECT_FALSE(list.Add("b"));
    EXPECT_EQ(list.GetItems(), (Paths{"A", "C", "B"}));
    EXPECT_TRUE(list.Add("/Caf\xc3\xa9"));
    EXPECT_TRUE(list.Add("/CAF\xc3\x89")); // only ASCII letters fold
    EXPECT_EQ(list.GetCount(), 5u);
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0u);
}

TEST(Discovery, ExplorerComesFromTheRegistryElseTheWindowsFolder)
{
    CDiscoveryFixture f;
    const std::string strRegistered = f.dir.MakeDir("profile/Cookies");
    f.SetExplorerValue(strRegistered);
    f.discovery.AddExplorerLocation("/remembered");
    f.discovery.RunSearch();
    EXPECT_EQ(f.discovery.m_explorerFolders.GetItems(), Paths{strRegistered});
    EXPECT_EQ(f.nBeeps, 1);

    // A registered folder that does not exist falls back to the Windows folder.
    f.SetExplorerValue(f.dir.File("gone"));
    f.discovery.RunSearch();
    EXPECT_TRUE(f.discovery.m_explorerFolders.GetItems().empty());
    const std::string strWindowsCookies = f.dir.MakeDir("windows/Cookies");
    f.discovery.RunSearch();
    EXPECT_EQ(f.discovery.m_explorerFolders.GetItems(), Paths{strWindowsCookies});
    f.SetExplorerValue("");
    f.discovery.FindExplorerLocation();
    EXPECT_EQ(f.discovery.m_explorerFolders.GetItems(), Paths{strWindowsCookies});
    EXPECT_EQ(f.nBeeps, 3);
}

TEST(Discovery, NetscapeRegistryFileWinsOverTheDriveSearch)
{
    CDiscoveryFixture f;
    const std::string strRegistered = f.dir.Write("ns/cookies.txt", "");
    const std::string strOnDrive = f.dir.Write("drive/cookies.txt", "");
    f.drives.m_drives = {{f.dir.File("drive"), EDriveType::Fixed}};
    f.discovery.FillDriveList();
    f.SetNetscapeValue(strRegistered);
    f.discovery.FindNetscapeLocation();
    EXPECT_EQ(f.discovery.m_netscapeFiles.GetItems(), Paths{strRegistered});

    f.SetNetscapeValue(f.dir.File("ns/missing.txt"));
    f.discovery.FindNetscapeLocation();
    EXPECT_EQ(f.discovery.m_netscapeFiles.GetItems(), Paths{strOnDrive});
}

TEST(Discovery, SearchesOnlyFixedDrivesNarrowedToTheNetscapeFolder)
{
    CDiscoveryFixture f;
    const std::string strDrive = f.dir.MakeDir("drive");
    const std::string strShare = f.dir.MakeDir("share");
    f.dir.Write("share/cookies.txt", "");
    f.drives.m_drives = {{strShare, EDriveType::Network}, {strDrive, EDriveType::Fixed}};
    EXPECT_FALSE(f.discovery.SearchDrive(strShare));
    EXPECT_FALSE(f.discovery.SearchDrive(f.dir.File("not-a-drive")));

    f.dir.Write("drive/Users/cookies.txt", "");
    EXPECT_TRUE(f.discovery.SearchDrive(strDrive));
    EXPECT_EQ(f.discovery.m_netscapeFiles.GetItems(), Paths{strDrive + "/Users/cookies.txt"});

    // With a Netscape program folder, only its tree is searched.
    f.dir.MakeDir("drive/Program Files/Netscape/empty");
    f.discovery.m_netscapeFiles.Clear();
    EXPECT_FALSE(f.discovery.SearchDrive(strDrive));
    f.dir.Write("drive/Program Files/Netscape/Users/me/cookies.txt", "");
    EXPECT_TRUE(f.discovery.SearchDrive(strDrive));
    EXPECT_EQ(f.discovery.m_netscapeFiles.GetItems(),
              Paths{strDrive + "/Program Files/Netscape/Users/me/cookies.txt"});
}

TEST(Discovery, TheDriveListIsSortedAndTheFirstIsChosen)
{
    CDiscoveryFixture f;
    f.discovery.FillDriveList();
    EXPECT_TRUE(f.discovery.m_driveChoice.m_names.empty());
    EXPECT_EQ(f.discovery.m_driveChoice.m_nSelected, -1);
    // Nothing chosen: the root is searched, which the fake drives do not know.
    f.discovery.SearchSelectedDrive();
    EXPECT_EQ(f.discovery.m_netscapeFiles.GetCount(), 0u);

    f.drives.m_drives = {{"/srv", EDriveType::Network},
                         {"/proc", EDriveType::Other},
                         {"/", EDriveType::Fixed},
                         {"/home", EDriveType::Fixed}};
    f.discovery.FillDriveList();
    EXPECT_EQ(f.discovery.m_driveChoice.m_names, (Paths{"/", "/home", "/srv"}));
    EXPECT_EQ(f.discovery.m_driveChoice.m_nSelected, 0);
}

TEST(Discovery, SearchesTheChosenDrive)
{
    CDiscoveryFixture f;
    const std::string strFirst = f.dir.MakeDir("a");
    const std::string strSecond = f.dir.MakeDir("b");
    f.dir.Write("b/cookies.txt", "");
    f.drives.m_drives = {{strSecond, EDriveType::Fixed}, {strFirst, EDriveType::Fixed}};
    f.discovery.FillDriveList();
    f.discovery.RunSearch();
    EXPECT_EQ(f.discovery.m_netscapeFiles.GetCount(), 0u);
    f.discovery.m_driveChoice.m_nSelected = 1;
    f.discovery.RunSearch();
    EXPECT_EQ(f.discovery.m_netscapeFiles.GetItems(), Paths{strSecond + "/cookies.txt"});
}

TEST(Discovery, FindsTheBrowserDatabasesOfTheUsersProfilesWithoutADriveSearch)
{
    CDiscoveryFixture f;
    const std::string strHome = f.dir.File("home");
    std::filesystem::copy(JARVANE_BROWSER_FIXTURES "/home", strHome,
                          std::filesystem::copy_options::recursive);
    // The same profiles.ini where the named profile folder is missing.
    f.dir.Write("home/.mozilla/firefox/profiles.ini",
                ReadWholeFile(strHome + "/.config/mozilla/firefox/profiles.ini"));
    f.dir.Write("home/.config/chromium/Profile 1/Network/Cookies", "");
    f.dir.Write("home/.config/chromium/Profile 1/Cookies", ""); // the older place
    f.dir.Write("home/.config/chromium/System Profile/Cookies", "");
    f.dir.Write("home/.config/BraveSoftware/Brave-Browser/Profile 2/Cookies", "");
    f.dir.MakeDir("home/.config/vivaldi/Default");

    f.discovery.RunSearch();
    EXPECT_EQ(f.discovery.m_firefoxDatabases.GetItems(),
              Paths{strHome + "/.config/mozilla/firefox/jk45xpu8.work/cookies.sqlite"});
    Paths chromium = f.discovery.m_chromiumDatabases.GetItems();
    std::sort(chromium.begin(), chromium.end());
    EXPECT_EQ(chromium, (Paths{strHome + "/.config/BraveSoftware/Brave-Browser/Profile 2/Cookies",
                               strHome + "/.config/chromium/Default/Cookies",
                               strHome + "/.config/chromium/Profile 1/Network/Cookies"}));
    EXPECT_EQ(f.nBeeps, 1);
}

TEST(Discovery, FindsTheDatabasesOfFlatpakSnapAndXdgHomesAndProfileNumbersWithGaps)
{
    CDiscoveryFixture f;
    const std::string strHome = f.dir.File("home");
    const std::string strFixtures = JARVANE_BROWSER_FIXTURES "/home/.config/";
    const std::string strFirefox = strFixtures + "mozilla/firefox/jk45xpu8.work/cookies.sqlite";
    const std::string strChromium = strFixtures + "chromium/Default/Cookies";
    const std::string strXdg = f.dir.MakeDir("xdg");
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", strXdg.c_str(), 1), 0);
    Paths firefox;
    for (const std::string& strBase :
         {strHome + "/.config/mozilla/firefox", strXdg + "/mozilla/firefox",
          strHome + "/snap/firefox/common/.mozilla/firefox",
          strHome + "/.var/app/org.mozilla.firefox/.mozilla/firefox",
          strHome + "/.var/app/org.mozilla.firefox/config/mozilla/firefox"})
    {
        // Profiles 0 and 2 were removed; the numbers of the rest keep their gaps.
        std::filesystem::create_directories(strBase + "/a");
        std::filesystem::create_directories(strBase + "/b");
        f.dir.Write(strBase.substr(f.dir.Path().size() + 1) + "/profiles.ini",
                    "[General]\r\nVersion=2\r\n[Profile3]\r\nPath=b\r\n[Profile1]\r\nPath=a\r\n");
        std::filesystem::copy_file(strFirefox, strBase + "/a/cookies.sqlite");
        std::filesystem::copy_file(strFirefox, strBase + "/b/cookies.sqlite");
        firefox.push_back(strBase + "/a/cookies.sqlite");
        firefox.push_back(strBase + "/b/cookies.sqlite");
    }
    Paths chromium;
    for (const std::string& strUserData :
         {strXdg + "/google-chrome", strHome + "/.var/app/org.chromium.Chromium/config/chromium",
          strHome + "/.var/app/com.google.Chrome/config/google-chrome",
          strHome + "/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser",
          strHome + "/.var/app/com.microsoft.Edge/config/microsoft-edge",
          strHome + "/snap/chromium/common/chromium",
          strHome + "/snap/brave/current/.config/BraveSoftware/Brave-Browser"})
    {
        std::filesystem::create_directories(strUserData + "/Profile 4/Network");
        std::filesystem::copy_file(strChromium, strUserData + "/Profile 4/Network/Cookies");
        chromium.push_back(strUserData + "/Profile 4/Network/Cookies");
    }
    // With XDG_CONFIG_HOME set, the home's own .config is not a Chromium home.
    std::filesystem::create_directories(strHome + "/.config/chromium/Default");
    std::filesystem::copy_file(strChromium, strHome + "/.config/chromium/Default/Cookies");

    f.discovery.RunSearch();
    unsetenv("XDG_CONFIG_HOME");
    for (Paths* pPaths : {&firefox, &chromium})
        std::sort(pPaths->begin(), pPaths->end());
    Paths found = f.discovery.m_firefoxDatabases.GetItems();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, firefox);
    found = f.discovery.m_chromiumDatabases.GetItems();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, chromium);
}

TEST(SearchFolder, FindsDepthFirstWithEachFolderOwnCandidateFirst)
{
    CTempDir dir;
    const std::string strRoot = dir.MakeDir("root");
    dir.Write("root/a/deep/er/cookies.txt", "");
    dir.Write("root/b/cookies.txt", "");
    // A deep match in an earlier branch wins over a shallow one in a later branch.
    EXPECT_EQ(SearchFolder("cookies.txt", strRoot), strRoot + "/a/deep/er/cookies.txt");
    dir.Write("root/cookies.txt", "");
    EXPECT_EQ(SearchFolder("cookies.txt", strRoot), strRoot + "/cookies.txt");
    // A folder of that name counts, a differently cased name does not here.
    dir.MakeDir("other/x.dir/cookies.txt");
    dir.Write("other/COOKIES.TXT", "");
    EXPECT_EQ(SearchFolder("cookies.txt", dir.File("other")), dir.File("other/x.dir/cookies.txt"));
    EXPECT_EQ(SearchFolder("cookies.txt", dir.File("missing")), "");
    EXPECT_EQ(SearchFolder("cookies.txt", dir.Write("file", "")), "");
}

TEST(SearchFolder, NeverFollowsLinksToFoldersAndSkipsForeignFolders)
{
    CTempDir dir;
    const std::string strRoot = dir.MakeDir("root");
    dir.Write("outside/cookies.txt", "");
    dir.MakeDir("root/loop");
    ASSERT_EQ(symlink(strRoot.c_str(), dir.File("root/loop/back").c_str()), 0);
    ASSERT_EQ(symlink(dir.File("outside").c_str(), dir.File("root/link").c_str()), 0);
    EXPECT_EQ(SearchFolder("cookies.txt", strRoot), "");
    // A link named like the file is an entry all the same.
    ASSERT_EQ(symlink("/nowhere", dir.File("root/loop/cookies.txt").c_str()), 0);
    EXPECT_EQ(SearchFolder("cookies.txt", strRoot), dir.File("root/loop/cookies.txt"));

    dir.Write("mounted/inner/cookies.txt", "");
    EXPECT_EQ(SearchFolderWithin("cookies.txt", dir.File("mounted"), {dir.File("mounted/inner")}),
              "");
}

TEST(SearchFolder, AMatchBeyondThePathLimitYieldsNothing)
{
    CTempDir dir;
    char szOld[4096];
    ASSERT_NE(getcwd(szOld, sizeof szOld), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    // Built relative to the current folder, the tree goes deeper than a path can name.
    const std::string strPart(200, 'd');
    for (int i = 0; i < 25; ++i)
    {
        ASSERT_EQ(mkdir(strPart.c_str(), 0755), 0);
        ASSERT_EQ(chdir(strPart.c_str()), 0);
    }
    FILE* pFile = fopen("cookies.txt", "w");
    ASSERT_NE(pFile, nullptr);
    fclose(pFile);
    ASSERT_EQ(chdir(szOld), 0);
    EXPECT_EQ(SearchFolder("cookies.txt", dir.Path()), "");
    EXPECT_EQ(SearchFolder(std::string(300, 'n'), dir.Path()), "");
}
