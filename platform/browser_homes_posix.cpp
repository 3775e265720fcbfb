#include "platform/browser_homes.h"

#include <algorithm>
#include <cstdlib>

namespace
{
std::string ConfigHome(const std::string& strHome)
{
    return XdgFolder("XDG_CONFIG_HOME", strHome + "/.config");
}

void AppendOnce(std::vector<std::string>& folders, std::string strFolder)
{
    if (std::find(folders.begin(), folders.end(), strFolder) == folders.end())
        folders.push_back(std::move(strFolder));
}
} // namespace

std::string XdgFolder(const char* pszVariable, const std::string& strDefault)
{
    const char* pValue = std::getenv(pszVariable);
    return pValue && pValue[0] == '/' ? pValue : strDefault;
}

std::string GetHomeFolder()
{
    const char* pHome = std::getenv("HOME");
    return pHome ? pHome : "";
}

std::vector<std::string> FirefoxProfileHomes(const std::string& strHome)
{
    // The classic home, the XDG ones of newer Firefox releases, snap, and the
    // older and newer flatpak homes.
    std::vector<std::string> homes{strHome + "/.mozilla/firefox",
                                   strHome + "/.config/mozilla/firefox"};
    AppendOnce(homes, ConfigHome(strHome) + "/mozilla/firefox");
    for (const char* pszBelowHome :
         {"/snap/firefox/common/.mozilla/firefox", "/.var/app/org.mozilla.firefox/.mozilla/firefox",
          "/.var/app/org.mozilla.firefox/config/mozilla/firefox"})
        homes.push_back(strHome + pszBelowHome);
    return homes;
}

std::vector<std::string> ChromiumUserDataFolders(const std::string& strHome)
{
    const std::string strConfig = ConfigHome(strHome) + "/";
    std::vector<std::string> folders{strConfig + "chromium", strConfig + "google-chrome",
                                     strConfig + "BraveSoftware/Brave-Browser",
                                     strConfig + "microsoft-edge", strConfig + "vivaldi"};
    // Flatpak and snap installs keep their own configuration below the home.
    for (const char* pszBelowHome :
         {"/.var/app/org.chromium.Chromium/config/chromium",
          "/.var/app/com.google.Chrome/config/google-chrome",
          "/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser",
          "/.var/app/com.microsoft.Edge/config/microsoft-edge", "/snap/chromium/common/chromium",
          "/snap/brave/current/.config/BraveSoftware/Brave-Browser"})
        folders.push_back(strHome + pszBelowHome);
    return folders;
}
