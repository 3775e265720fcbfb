#include "platform/browser_homes.h"

#include <cstdlib>

std::string GetHomeFolder()
{
    const char* pHome = std::getenv("HOME");
    return pHome ? pHome : "";
}

std::vector<std::string> FirefoxProfileHomes(const std::string& strHome)
{
    // The classic home, the XDG one of newer Firefox releases, snap and flatpak.
    return {strHome + "/.mozilla/firefox", strHome + "/.config/mozilla/firefox",
            strHome + "/snap/firefox/common/.mozilla/firefox",
            strHome + "/.var/app/org.mozilla.firefox/.mozilla/firefox"};
}

std::vector<std::string> ChromiumUserDataFolders(const std::string& strHome)
{
    const std::string strConfig = strHome + "/.config/";
    return {strConfig + "chromium", strConfig + "google-chrome",
            strConfig + "BraveSoftware/Brave-Browser", strConfig + "microsoft-edge",
            strConfig + "vivaldi"};
}
