#include "cli/cli_arguments.h"

#include "inventory/cookie_list_model.h"

#include <cstdlib>

const char CLI_HELP_TEXT[] =
    "Usage: jarvane-cli [-C DIR] COMMAND [ARGS]\n"
    "Lists and deletes browser cookies from the working folder Jarvane uses.\n"
    "\n"
    "Commands:\n"
    "  list [--sort cookie|state|browser] [--long]\n"
    "                   one line per cookie: cookie, state, browser (tab-separated);\n"
    "                   the count goes to standard error; --long adds file,\n"
    "                   profile, host, name, path, expiry, secure, httponly and\n"
    "                   value size (never the value)\n"
    "  delete-all       delete every unprotected cookie, as Delete All does (those\n"
    "                   of a running browser stay); prints how many\n"
    "                   were deleted per browser\n"
    "  protect NAME...  protect every cookie of each name (a Firefox, Chromium or\n"
    "                   GNOME Web cookie's name is its host)\n"
    "  unprotect NAME...\n"
    "                   remove the protection of every cookie of each name\n"
    "  sites            print the sites to keep, one a line\n"
    "  keep SITE... [--from FILE]\n"
    "                   keep every cookie of each site and its subdomains, in every\n"
    "                   browser; FILE holds one host a line, or a JSON array of\n"
    "                   host names (BleachBit's cookie_keep_list.json)\n"
    "  unkeep SITE...   stop keeping each site\n"
    "  locations        print the remembered cookie locations\n"
    "  undo [ID]        put back the cookies of the newest deletion not yet undone\n"
    "                   (or of batch ID); cookies already there are skipped\n"
    "  undo --list      list the deletions that can be put back: id, time, how\n"
    "                   (window, timer or command) and how many per browser\n"
    "  undo --forget    remove every kept copy of deleted cookies (UNDO.DB)\n"
    "  locations add PATH...\n"
    "                   remember each cookie folder, cookies.txt file or browser\n"
    "                   cookie database, its browser told from its content\n"
    "  locations remove PATH...\n"
    "                   forget each remembered location\n"
    "  find [--save]    search for the browsers' cookie locations (Internet\n"
    "                   Explorer, Netscape, and the browsers' cookie databases\n"
    "                   of the user's profiles) and print them;\n"
    "                   --save remembers them in the working folder\n"
    "\n"
    "Options:\n"
    "  -C DIR           use working folder DIR instead of $XDG_DATA_HOME/jarvane\n"
    "                   (~/.local/share/jarvane)\n"
    "  -h, --help       show this help\n"
    "\n"
    "Exit status: 0 success, 1 usage error, unknown cookie name, refused path or\n"
    "deletion id, 2 no Location.DAT in the working folder, 3 a file could not be\n"
    "written (or a running browser kept undo from putting its cookies back), 4 the\n"
    "working folder is in use by the Jarvane window.\n";

namespace
{
bool ParseSortColumn(const std::string& strValue, int& nColumn)
{
    if (strValue == "cookie")
        nColumn = COL_COOKIE;
    else if (strValue == "state")
        nColumn = COL_STATE;
    else if (strValue == "browser")
        nColumn = COL_BROWSER;
    else
        return false;
    return true;
}

// protect and unprotect take cookie names, keep and unkeep sites, locations
// add and remove paths.
bool TakesNames(const CCliArguments& parsed)
{
    return parsed.strCommand == "protect" || parsed.strCommand == "unprotect" ||
           parsed.strCommand == "keep" || parsed.strCommand == "unkeep" ||
           !parsed.strAction.empty();
}

bool IsCommand(const std::string& strCommand)
{
    for (const char* pszCommand : {"list", "delete-all", "protect", "unprotect", "sites", "keep",
                                   "unkeep", "locations", "find", "undo"})
        if (strCommand == pszCommand)
            return true;
    return false;
}
} // namespace

bool ParseCliArguments(const std::vector<std::string>& args, CCliArguments& parsed,
                       std::string& strError)
{
    bool bFolderGiven = false;
    size_t i = 0;
    for (; i < args.size(); ++i)
    {
        const std::string& strArg = args[i];
        if (strArg == "-h" || strArg == "--help")
        {
            parsed.bHelp = true;
            return true;
        }
        if (strArg == "-C")
        {
            if (i + 1 >= args.size() || args[i + 1].empty())
            {
                strError = "-C needs a folder";
                return false;
            }
            parsed.strFolder = args[++i];
            bFolderGiven = true;
        }
        else if (!strArg.empty() && strArg[0] == '-')
        {
            strError = "unknown option '" + strArg + "'";
            return false;
        }
        else
            break;
    }
    if (i >= args.size())
    {
        strError = "no command given";
        return false;
    }
    parsed.strCommand = args[i++];
    const std::string& strCommand = parsed.strCommand;
    if (!IsCommand(strCommand))
    {
        strError = "unknown command '" + strCommand + "'";
        return false;
    }
    bool bNamesOnly = false;
    for (; i < args.size(); ++i)
    {
        const std::string& strArg = args[i];
        const bool bOption = !bNamesOnly && strArg.size() > 1 && strArg[0] == '-';
        if (bOption && (strArg == "-h" || strArg == "--help"))
        {
            parsed.bHelp = true;
            return true;
        }
        if (strCommand == "list" && bOption && strArg.compare(0, 6, "--sort") == 0)
        {
            std::string strValue;
            if (strArg == "--sort" && i + 1 < args.size())
                strValue = args[++i];
            else if (strArg.compare(0, 7, "--sort=") == 0)
                strValue = strArg.substr(7);
            if (!ParseSortColumn(strValue, parsed.nSortColumn))
            {
                strError = "--sort takes cookie, state or browser";
                return false;
            }
        }
        else if (strCommand == "list" && strArg == "--long")
            parsed.bLong = true;
        else if (strCommand == "find" && strArg == "--save")
            parsed.bSave = true;
        else if (strCommand == "undo" && !parsed.bUndoForget && !parsed.bUndoList &&
                 parsed.nUndoBatch == 0 && (strArg == "--list" || strArg == "--forget"))
            (strArg == "--list" ? parsed.bUndoList : parsed.bUndoForget) = true;
        else if (strCommand == "undo" && !parsed.bUndoForget && !parsed.bUndoList &&
                 parsed.nUndoBatch == 0 && !strArg.empty() &&
                 strArg.find_first_not_of("0123456789") == std::string::npos &&
                 strArg.size() < 19 && std::stoll(strArg) > 0)
            parsed.nUndoBatch = std::stoll(strArg);
        else if (strCommand == "keep" && bOption && strArg.compare(0, 6, "--from") == 0)
        {
            if (strArg == "--from" && i + 1 < args.size())
                parsed.strFromFile = args[++i];
            else if (strArg.compare(0, 7, "--from=") == 0)
                parsed.strFromFile = strArg.substr(7);
            if (parsed.strFromFile.empty())
            {
                strError = "--from needs a file";
                return false;
            }
        }
        else if (strCommand == "locations" && parsed.strAction.empty() && !bOption &&
                 (strArg == "add" || strArg == "remove"))
            parsed.strAction = strArg;
        else if (TakesNames(parsed) && !bOption)
            parsed.names.push_back(strArg);
        else if (TakesNames(parsed) && strArg == "--")
            bNamesOnly = true;
        else
        {
            strError = "'" + strCommand + "' does not take '" + strArg + "'";
            return false;
        }
    }
    if ((strCommand == "protect" || strCommand == "unprotect") && parsed.names.empty())
    {
        strError = "'" + strCommand + "' needs at least one cookie name";
        return false;
    }
    if ((strCommand == "keep" || strCommand == "unkeep") && parsed.names.empty() &&
        parsed.strFromFile.empty())
    {
        strError = "'" + strCommand + "' needs at least one site";
        return false;
    }
    if (!parsed.strAction.empty() && parsed.names.empty())
    {
        strError = "'locations " + parsed.strAction + "' needs at least one path";
        return false;
    }
    if (!bFolderGiven)
        parsed.strFolder = DefaultWorkingFolder();
    if (parsed.strFolder.empty())
    {
        strError = "no working folder: HOME is not set; give one with -C";
        return false;
    }
    return true;
}

std::string DefaultWorkingFolder()
{
    const char* pszDataHome = std::getenv("XDG_DATA_HOME");
    if (pszDataHome && pszDataHome[0] == '/')
        return std::string(pszDataHome) + "/jarvane";
    const char* pszHome = std::getenv("HOME");
    if (pszHome && pszHome[0] != '\0')
        return std::string(pszHome) + "/.local/share/jarvane";
    return std::string();
}
