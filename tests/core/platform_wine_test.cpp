#include "platform/registry.h"
#include "platform/system_folders.h"
#include "platform/wine_prefix.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{
const char* const kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1700000000\n"
    "#time=1d9a0b0c0d0e0f0\n"
    "\"AppData\"=\"C:\\\\users\\\\me\\\\AppData\\\\Roaming\"\n"
    "\"Cache\"=str(2):\"%USERPROFILE%\\\\Cache\"\n"
    "\"Cookies\"=\"C:\\\\USERS\\\\me\\\\cookies\"\n"
    "\n"
    "[Software\\\\Netscape\\\\Netscape Navigator\\\\Cookies] 1700000001\n"
    "\"Count\"=dword:00000001\n"
    "\"Blob\"=hex:00,01,\\\n"
    "  02,03\n"
    "\"cookie file\"=\"c:\\\\Program Files\\\\Netscape\\\\Users\\\\caf\\x00e9\\\\cookies.txt\"\n"
    "\"Quote\"=\"say \\\"hi\\\"\"\n";

// A Wine prefix with a C: drive holding the cookie stores.
struct CWineFixture
{
    CTempDir dir;
    std::string strPrefix = dir.MakeDir("prefix");
    std::string strDriveC = dir.MakeDir("prefix/drive_c");

    CWineFixture()
    {
        dir.MakeDir("prefix/dosdevices");
        EXPECT_EQ(symlink("../drive_c", (strPrefix + "/dosdevices/c:").c_str()), 0);
        dir.Write("prefix/user.reg", kUserReg);
    }
};
} // namespace

TEST(WineRegistryFile, ReadsStringValuesOnly)
{
    CWineFixture wine;
    const std::string strReg = wine.strPrefix + "/user.reg";
    std::string strValue;
    ASSERT_TRUE(ReadWineRegistryString(strReg, REGKEY_SHELL_FOLDERS, "COOKIES", strValue));
    EXPECT_EQ(strValue, "C:\\USERS\\me\\cookies");
    ASSERT_TRUE(ReadWineRegistryString(strReg, "software\\netscape\\netscape navigator\\cookies",
                                       REGVALUE_COOKIE_FILE, strValue));
    EXPECT_EQ(strValue, "c:\\Program Files\\Netscape\\Users\\caf\xc3\xa9\\cookies.txt");
    ASSERT_TRUE(ReadWineRegistryString(strReg, REGKEY_NETSCAPE_COOKIES, "Quote", strValue));
    EXPECT_EQ(strValue, "say \"hi\"");
    EXPECT_FALSE(ReadWineRegistryString(strReg, REGKEY_SHELL_FOLDERS, "Cache", strValue));
    EXPECT_FALSE(ReadWineRegistryString(strReg, REGKEY_NETSCAPE_COOKIES, "Count", strValue));
    EXPECT_FALSE(ReadWineRegistryString(strReg, REGKEY_NETSCAPE_COOKIES, "AppData", strValue));
    EXPECT_FALSE(ReadWineRegistryString(strReg, "Software", "Cookies", strValue));
    EXPECT_FALSE(ReadWineRegistryString(wine.dir.File("none.reg"), REGKEY_SHELL_FOLDERS, "Cookies",
                                        strValue));
}

TEST(WineRegistryFile, TruncatedOrMalformedFilesFindNothing)
{
    CTempDir dir;
    const std::string strFull = kUserReg;
    std::string strValue;
    // Cut inside the Cookies line: the value has no closing quote.
    const size_t nCut = strFull.find("\"Cookies\"") + 20;
    EXPECT_FALSE(ReadWineRegistryString(dir.Write("cut.reg", strFull.substr(0, nCut)),
                                        REGKEY_SHELL_FOLDERS, "Cookies", strValue));
    for (const char* pBad : {"[Software\\\\Netscape", "\"Cookie File\"=\"\\x\"", "\"Cookie File\"",
                             "\"Cookie File\"=", "\"Cookie File\"=\"\\xd800\""})
    {
        const std::string strText =
            std::string("[Software\\\\Netscape\\\\Netscape Navigator\\\\Cookies]\n") + pBad + "\n";
        EXPECT_FALSE(ReadWineRegistryString(dir.Write("bad.reg", strText), REGKEY_NETSCAPE_COOKIES,
                                            REGVALUE_COOKIE_FILE, strValue))
            << pBad;
    }
    std::string strBinary(100000, '\0');
    for (size_t i = 0; i < strBinary.size(); ++i)
        strBinary[i] = static_cast<char>("[\"\\=x\n"[i % 6] ^ (i % 7));
    EXPECT_FALSE(ReadWineRegistryString(dir.Write("binary.reg", strBinary), REGKEY_SHELL_FOLDERS,
                                        "Cookies", strValue));
}

TEST(WinePaths, MapThroughTheDosDevicesLinks)
{
    CWineFixture wine;
    wine.dir.MakeDir("prefix/drive_c/users/Me/Cookies");
    const std::string strCookies = wine.strDriveC + "/users/Me/Cookies";
    EXPECT_EQ(MapWinePath(wine.strPrefix, "C:\\users\\Me\\Cookies"), strCookies);
    EXPECT_EQ(MapWinePath(wine.strPrefix, "c:\\USERS\\me\\cookies\\"), strCookies);
    EXPECT_EQ(MapWinePath(wine.strPrefix, "C:/users/me/Cookies"), strCookies);
    // A part that does not exist is kept as written, and so is the rest.
    EXPECT_EQ(MapWinePath(wine.strPrefix, "C:\\users\\nobody\\Cookies"),
              wine.strDriveC + "/users/nobody/Cookies");
    EXPECT_EQ(MapWinePath(wine.strPrefix, "C:"), wine.strDriveC);
    EXPECT_EQ(MapWinePath(wine.strPrefix, "D:\\x"), "");
    EXPECT_EQ(MapWinePath(wine.strPrefix, "\\\\server\\share"), "");
    EXPECT_EQ(MapWinePath(wine.strPrefix, "relative\\path"), "");
    EXPECT_EQ(MapWinePath(wine.strPrefix, ""), "");
    EXPECT_EQ(MapWinePath(wine.dir.File("no-prefix"), "C:\\users"), "");
}

TEST(WineRegistry, GivesHostPathsOfExistingValues)
{
    CWineFixture wine;
    wine.dir.MakeDir("prefix/drive_c/users/me/Cookies");
    const CWineRegistry registry(wine.strPrefix);
    std::string strValue;
    ASSERT_TRUE(registry.ReadUserString(REGKEY_SHELL_FOLDERS, REGVALUE_COOKIES, strValue));
    EXPECT_EQ(strValue, wine.strDriveC + "/users/me/Cookies");
    EXPECT_FALSE(registry.ReadUserString(REGKEY_SHELL_FOLDERS, "Missing", strValue));
    EXPECT_FALSE(
        CWineRegistry("").ReadUserString(REGKEY_SHELL_FOLDERS, REGVALUE_COOKIES, strValue));

    // A value longer than a registry read takes counts as not found.
    wine.dir.Write("prefix/user.reg", "[Software\\\\Netscape\\\\Netscape Navigator\\\\Cookies]\n"
                                      "\"Cookie File\"=\"C:\\\\" +
                                          std::string(REGISTRY_VALUE_MAX - 3, 'x') + "\"\n");
    EXPECT_TRUE(registry.ReadUserString(REGKEY_NETSCAPE_COOKIES, REGVALUE_COOKIE_FILE, strValue));
    wine.dir.Write("prefix/user.reg", "[Software\\\\Netscape\\\\Netscape Navigator\\\\Cookies]\n"
                                      "\"Cookie File\"=\"C:\\\\" +
                                          std::string(REGISTRY_VALUE_MAX - 2, 'x') + "\"\n");
    EXPECT_FALSE(registry.ReadUserString(REGKEY_NETSCAPE_COOKIES, REGVALUE_COOKIE_FILE, strValue));
}

TEST(SystemFolders, WindowsFolderComesFromThePrefixNamedInTheEnvironment)
{
    CWineFixture wine;
    const char* pOld = std::getenv("WINEPREFIX");
    const std::string strOld = pOld ? pOld : "";
    std::string strFolder;

    setenv("WINEPREFIX", wine.strPrefix.c_str(), 1);
    EXPECT_EQ(FindWinePrefix(), wine.strPrefix);
    EXPECT_FALSE(GetWindowsFolder(strFolder)); // no C:\windows yet
    wine.dir.MakeDir("prefix/drive_c/Windows");
    ASSERT_TRUE(GetWindowsFolder(strFolder));
    EXPECT_EQ(strFolder, wine.strDriveC + "/Windows");

    setenv("WINEPREFIX", wine.dir.File("missing").c_str(), 1);
    EXPECT_EQ(FindWinePrefix(), "");
    EXPECT_FALSE(GetWindowsFolder(strFolder));
    std::string strValue;
    EXPECT_FALSE(
        GetSystemRegistry().ReadUserString(REGKEY_SHELL_FOLDERS, REGVALUE_COOKIES, strValue));

    if (pOld)
        setenv("WINEPREFIX", strOld.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
    EXPECT_TRUE(GetCurrentFolder(strFolder));
}
