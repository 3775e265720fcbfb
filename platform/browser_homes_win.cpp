#include "platform/browser_homes.h"

#include <cstdlib>

std::string GetHomeFolder()
{
    const char* pHome = std::getenv("USERPROFILE");
    return pHome ? pHome : "";
}

std::string XdgFolder(const char*, const std::string& strDefault)
{
    return strDefault;
}

std::vector<std::string> FirefoxProfileHomes(const std::string& strHome)
{
    return {strHome + "\\AppData\\Roaming\\Mozilla\\Firefox"};
}

std::vector<std::string> ChromiumUserDataFolders(const std::string& strHome)
{
    const std::string strLocal = strHome + "\\AppData\\Local\\";
    return {strLocal + "Chromium\\User Data", strLocal + "Google\\Chrome\\User Data",
            strLocal + "BraveSoftware\\Brave-Browser\\User Data",
            strLocal + "Microsoft\\Edge\\User Data", strLocal + "Vivaldi\\User Data"};
}
