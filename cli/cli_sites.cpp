#include "cli/cli_sites.h"

#include "cli/cli_arguments.h"
#include "cli/json_string_array.h"
#include "inventory/site_list.h"
#include "platform/path.h"
#include "platform/text_file.h"

#include <cstdio>

namespace
{
void Error(const std::string& strWhat, const std::string& strMessage)
{
    std::fprintf(stderr, "jarvane-cli: %s: %s\n", strWhat.c_str(), strMessage.c_str());
}

bool ReadSites(const std::string& strPath, CSiteList& sites)
{
    if (ReadSitesFile(strPath, sites) != EKeepListRead::Unreadable)
        return true;
    Error(strPath, "cannot be read; nothing was changed, and no cookie is deleted until it can");
    return false;
}

// The hosts of a keep list file: a JSON array of host names, or one host a
// line (blank lines and lines starting with '#' ignored).
bool ReadKeepListFile(const std::string& strPath, std::vector<std::string>& hosts)
{
    std::vector<std::string> lines;
    if (!ReadTextLines(strPath, lines))
    {
        Error(strPath, "cannot be read as a file");
        return false;
    }
    std::string strText;
    for (const std::string& strLine : lines)
        strText += strLine + "\n";
    if (strText.compare(0, 3, "\xEF\xBB\xBF") == 0) // a UTF-8 byte order mark
        strText.erase(0, 3);
    if (NormaliseSite(strText).compare(0, 1, "[") == 0)
    {
        if (ParseJsonStringArray(strText, hosts))
            return true;
        Error(strPath, "is not a JSON array of host names");
        return false;
    }
    for (const std::string& strLine : lines)
    {
        const std::string strHost = NormaliseSite(strLine);
        if (!strHost.empty() && strHost[0] != '#')
            hosts.push_back(strLine);
    }
    return true;
}
} // namespace

int ListKeptSites(const std::string& strFolder)
{
    CSiteList sites;
    if (!ReadSites(AppendPathPart(strFolder, SITES_FILE), sites))
        return CLI_NOT_WRITTEN;
    for (const std::string& strSite : sites.Sorted())
        std::printf("%s\n", strSite.c_str());
    return CLI_OK;
}

int ChangeKeptSites(const std::string& strFolder, const std::vector<std::string>& entries,
                    const std::string& strFromFile, bool bKeep)
{
    std::vector<std::string> wanted = entries;
    if (!strFromFile.empty() && !ReadKeepListFile(strFromFile, wanted))
        return CLI_USAGE;
    const std::string strPath = AppendPathPart(strFolder, SITES_FILE);
    CSiteList sites;
    if (!ReadSites(strPath, sites))
        return CLI_NOT_WRITTEN;
    const CSiteList before = sites;
    bool bRefused = false;
    for (const std::string& strEntry : wanted)
    {
        const std::string strSite = NormaliseSite(strEntry);
        const std::string strRefusal = SiteRefusal(strSite);
        if (bKeep && !strRefusal.empty())
            Error(strEntry, strRefusal + "; nothing was changed");
        else if (!bKeep && !before.Contains(strSite))
            Error(strEntry, "is not a site to keep; nothing was changed");
        else
        {
            if (bKeep)
                sites.Add(strSite);
            else
                sites.Remove(strSite);
            continue;
        }
        bRefused = true;
    }
    if (bRefused)
        return CLI_USAGE;
    if (sites == before)
        return CLI_OK;
    if (!WriteSitesFile(strPath, sites))
    {
        Error(strPath, "could not be written; the sites to keep are unchanged");
        return CLI_NOT_WRITTEN;
    }
    return CLI_OK;
}
