#include "locations/background_search.h"
#include "locations/identify_store.h"
#include "locations/location_discovery.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sqlite3.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
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
// A drive holding a home with two tools' jars, and a decoy jar of another
// checkout that a search of the whole drive would find first.
struct CHomeDriveFixture
{
    CTempDir dir;
    CFakeRegistry registry;
    CFakeDrives drives;
    int nBeeps = 0;
    const std::string strDrive = dir.MakeDir("drive");
    const std::string strHome = dir.MakeDir("drive/home");
    const std::string strDecoy = dir.Write("drive/a-checkout/cookies.txt", "");
    const std::string strYtDlp = dir.Write("drive/home/.config/yt-dlp/cookies.txt", "");
    const std::string strDownloads = dir.Write("drive/home/Downloads/cookies.txt", "");
    CLocationDiscovery discovery{registry, drives, dir.File("windows"), [this] { ++nBeeps; },
                                 strHome};

    CHomeDriveFixture()
    {
        dir.MakeDir("drive/home/Music/cookies.txt"); // a folder of that name is no jar
        EXPECT_EQ(symlink(dir.File("drive/a-checkout").c_str(), (strHome + "/link").c_str()), 0);
        dir.Write("other/x/cookies.txt", "");
        dir.Write("other/y/cookies.txt", "");
        drives.m_drives = {{strDrive, EDriveType::Fixed}, {dir.File("other"), EDriveType::Fixed}};
        discovery.FillDriveList();
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
    // Appended paths keep their order; removing takes the exact path only.
    EXPECT_TRUE(list.Append("D"));
    EXPECT_FALSE(list.Append("a"));
    EXPECT_FALSE(list.Remove("d"));
    EXPECT_TRUE(list.Remove("C"));
    EXPECT_EQ(list.GetItems(), (Paths{"A", "/CAF\xc3\x89", "/Caf\xc3\xa9", "B", "D"}));
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
    EXPECT_EQ(f.discovery.Found(EBrowser::InternetExplorer).GetItems(), Paths{strRegistered});
    EXPECT_EQ(f.nBeeps, 1);

    // A registered folder that does not exist falls back to the Windows folder.
    f.SetExplorerValue(f.dir.File("gone"));
    f.discovery.RunSearch();
    EXPECT_TRUE(f.discovery.Found(EBrowser::InternetExplorer).GetItems().empty());
    const std::string strWindowsCookies = f.dir.MakeDir("windows/Cookies");
    f.discovery.RunSearch();
    EXPECT_EQ(f.discovery.Found(EBrowser::InternetExplorer).GetItems(), Paths{strWindowsCookies});
    f.SetExplorerValue("");
    f.discovery.FindExplorerLocation();
    EXPECT_EQ(f.discovery.Found(EBrowser::InternetExplorer).GetItems(), Paths{strWindowsCookies});
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
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetItems(), Paths{strRegistered});

    f.SetNetscapeValue(f.dir.File("ns/missing.txt"));
    f.discovery.FindNetscapeLocation();
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetItems(), Paths{strOnDrive});
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
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetItems(),
              Paths{strDrive + "/Users/cookies.txt"});

    // With a Netscape program folder, only its tree is searched.
    f.dir.MakeDir("drive/Program Files/Netscape/empty");
    f.discovery.Found(EBrowser::Netscape).Clear();
    EXPECT_FALSE(f.discovery.SearchDrive(strDrive));
    f.dir.Write("drive/Program Files/Netscape/Users/me/cookies.txt", "");
    EXPECT_TRUE(f.discovery.SearchDrive(strDrive));
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetItems(),
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
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetCount(), 0u);

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
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetCount(), 0u);
    f.discovery.m_driveChoice.m_nSelected = 1;
    f.discovery.RunSearch();
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetItems(), Paths{strSecond + "/cookies.txt"});
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
    EXPECT_EQ(f.discovery.Found(EBrowser::Firefox).GetItems(),
              Paths{strHome + "/.config/mozilla/firefox/jk45xpu8.work/cookies.sqlite"});
    Paths chromium = f.discovery.Found(EBrowser::Chromium).GetItems();
    std::sort(chromium.begin(), chromium.end());
    EXPECT_EQ(chromium, (Paths{strHome + "/.config/BraveSoftware/Brave-Browser/Profile 2/Cookies",
                               strHome + "/.config/chromium/Default/Cookies",
                               strHome + "/.config/chromium/Profile 1/Network/Cookies"}));
    EXPECT_EQ(f.nBeeps, 1);
}

TEST(Discovery, OnTheHomesDriveEveryJarOfTheHomeIsListedAndNothingOutsideIt)
{
    CHomeDriveFixture f;
    EXPECT_EQ(f.discovery.GetHomeDrive(), f.strDrive);
    f.discovery.RunSearch();
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetItems(),
              (Paths{f.strYtDlp, f.strDownloads}));
    // Any other drive is searched as before: the first match only. The home's
    // drive is the one chosen at first, also when it is not the first listed.
    CLocationDiscovery elsewhere{f.registry, f.drives, "", nullptr, f.dir.MakeDir("other/home")};
    elsewhere.FillDriveList();
    EXPECT_EQ(elsewhere.m_driveChoice.m_nSelected, 1);
    f.discovery.m_driveChoice.m_nSelected = 1;
    f.discovery.RunSearch();
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetItems(),
              Paths{f.dir.File("other/x/cookies.txt")});

    // A search stopped on the way keeps what it found so far.
    f.discovery.m_driveChoice.m_nSelected = 0;
    CSearchControl control;
    std::vector<std::string> folders;
    control.m_fnProgress = [&](const std::string& strFolder)
    {
        folders.push_back(strFolder);
        if (strFolder == f.strHome + "/.config/yt-dlp")
            control.m_bCancel = true;
    };
    f.discovery.FindAll(&control);
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetItems(), Paths{f.strYtDlp});
    EXPECT_EQ(folders, (Paths{f.strHome, f.strHome + "/.config", f.strHome + "/.config/yt-dlp"}));
    EXPECT_EQ(f.nBeeps, 2);
}

TEST(Discovery, ABackgroundSearchHandsOverWhatItFoundAndStopsWhenAsked)
{
    CHomeDriveFixture f;
    CBackgroundSearch search;
    std::atomic<int> nWakes{0};
    search.Start(
        f.discovery, [&] { ++nWakes; }, std::chrono::milliseconds(0));
    EXPECT_TRUE(search.IsRunning());
    CSearchProgress progress;
    for (int i = 0; i < 1000 && !progress.m_bDone; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        progress = search.TakeProgress();
    }
    ASSERT_TRUE(progress.m_bDone);
    EXPECT_EQ(progress.Found(EBrowser::Netscape).GetItems(), (Paths{f.strYtDlp, f.strDownloads}));
    EXPECT_GE(nWakes.load(), 1);
    f.discovery.Found(EBrowser::Netscape).Clear();
    search.Stop(&f.discovery);
    EXPECT_FALSE(search.IsRunning());
    EXPECT_EQ(f.discovery.Found(EBrowser::Netscape).GetItems(),
              (Paths{f.strYtDlp, f.strDownloads}));
    EXPECT_EQ(f.nBeeps, 0); // never from the search's thread

    // Stopped at once, it keeps a part of that at most.
    search.Start(f.discovery, nullptr);
    search.Stop(&f.discovery);
    EXPECT_LE(f.discovery.Found(EBrowser::Netscape).GetCount(), 2u);
}

TEST(StoreKind, TellsEachStoreFromItsContentAndRefusesTheRest)
{
    CTempDir dir;
    const std::string strJars = JARVANE_JARS_DIR;
    struct CCase
    {
        std::string strPath;
        EBrowser browser;
    };
    std::string strLines; // the curl jar without its header and comments
    std::istringstream curl(ReadWholeFile(strJars + "/curl.txt"));
    for (std::string strLine; std::getline(curl, strLine);)
        if (strLine.rfind("# ", 0) != 0)
            strLines += strLine + "\n";
    const CCase stores[] = {
        {strJars + "/curl.txt", EBrowser::Netscape},
        {strJars + "/wget.txt", EBrowser::Netscape},
        {strJars + "/python.txt", EBrowser::Netscape},
        {dir.Write("bare.txt", strLines), EBrowser::Netscape},
        {JARVANE_BROWSER_FIXTURES "/home/.config/mozilla/firefox/jk45xpu8.work/cookies.sqlite",
         EBrowser::Firefox},
        {JARVANE_BROWSER_FIXTURES "/home/.config/chromium/Default/Cookies", EBrowser::Chromium},
        {JARVANE_BROWSER_FIXTURES "/home/.local/share/epiphany/cookies.sqlite", EBrowser::Epiphany},
        {strJars + "/../../../samples/ie", EBrowser::InternetExplorer},
    };
    for (const CCase& store : stores)
    {
        EBrowser browser = EBrowser::InternetExplorer;
        std::string strWhyNot;
        EXPECT_TRUE(IdentifyCookieStore(store.strPath, browser, strWhyNot)) << store.strPath;
        EXPECT_EQ(browser, store.browser) << store.strPath;
    }

    const std::string strOtherDb = dir.File("other.sqlite");
    sqlite3* pDb = nullptr;
    ASSERT_EQ(sqlite3_open(strOtherDb.c_str(), &pDb), SQLITE_OK);
    sqlite3_exec(pDb, "CREATE TABLE cookies (name TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(pDb);
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    const std::pair<std::string, const char*> refused[] = {
        {strOtherDb, "a database without the cookie table"},
        {dir.Write("table.tsv", "name\tsize\nfile\t12\n"), "not a cookie file"},
        {dir.Write("empty.txt", ""), "not a cookie file"},
        {dir.Write("binary", std::string("\0\t\t\t\t\t\t", 7)), "not a cookie file"},
        {dir.File("fifo"), "neither a file nor a folder"},
        {dir.File("missing"), "does not exist"},
    };
    for (const auto& [strPath, pWhy] : refused)
    {
        EBrowser browser = EBrowser::InternetExplorer;
        std::string strWhyNot;
        EXPECT_FALSE(IdentifyCookieStore(strPath, browser, strWhyNot)) << strPath;
        EXPECT_NE(strWhyNot.find(pWhy), std::string::npos) << strPath << ": " << strWhyNot;
    }
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

    // GNOME Web: $XDG_DATA_HOME in place of ~/.local/share, and the Flatpak home.
    const std::string strXdgData = f.dir.MakeDir("xdg-data");
    ASSERT_EQ(setenv("XDG_DATA_HOME", strXdgData.c_str(), 1), 0);
    const Paths epiphany{strXdgData + "/epiphany/cookies.sqlite",
                         strHome + "/.var/app/org.gnome.Epiphany/data/epiphany/cookies.sqlite"};
    for (const std::string& strDatabase :
         {epiphany[0], epiphany[1], strHome + "/.local/share/epiphany/cookies.sqlite"})
    {
        std::filesystem::create_directories(std::filesystem::path(strDatabase).parent_path());
        std::filesystem::copy_file(strChromium, strDatabase);
    }

    f.discovery.RunSearch();
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(f.discovery.Found(EBrowser::Epiphany).GetItems(), epiphany);
    unsetenv("XDG_DATA_HOME");
    for (Paths* pPaths : {&firefox, &chromium})
        std::sort(pPaths->begin(), pPaths->end());
    Paths found = f.discovery.Found(EBrowser::Firefox).GetItems();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, firefox);
    found = f.discovery.Found(EBrowser::Chromium).GetItems();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, chromium);

    // Without XDG_DATA_HOME, GNOME Web's home is ~/.local/share.
    f.discovery.FindDatabaseLocations();
    EXPECT_EQ(f.discovery.Found(EBrowser::Epiphany).GetItems(),
              (Paths{strHome + "/.local/share/epiphany/cookies.sqlite", epiphany[1]}));
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
