#pragma once

#include <string>
#include <vector>

// The exit statuses of jarvane-cli.
enum ECliStatus
{
    CLI_OK = 0,
    CLI_USAGE = 1,         // a usage error or an unknown cookie name
    CLI_NO_LOCATIONS = 2,  // the working folder has no Location.DAT
    CLI_NOT_WRITTEN = 3,   // a cookie store, a protection list or Location.DAT could not be written
    CLI_FOLDER_IN_USE = 4, // the window program (or another command) is using the working folder
};

struct CCliArguments
{
    bool bHelp = false;
    std::string strFolder; // -C DIR, or the launcher's working folder
    std::string strCommand;
    // The cookie names of protect and unprotect, the sites of keep and unkeep,
    // the paths of locations add and remove.
    std::vector<std::string> names;
    std::string strFromFile;  // keep --from FILE
    std::string strAction;    // locations add or remove; "" to print them
    int nSortColumn = -1;     // list --sort; -1 for the list's own order
    bool bLong = false;       // list --long
    bool bSave = false;       // find --save
    bool bUndoList = false;   // undo --list
    bool bUndoForget = false; // undo --forget
    long long nUndoBatch = 0; // undo ID; 0 for the newest batch
};

// Reads the command line. False with a one-line reason in strError on a usage error.
bool ParseCliArguments(const std::vector<std::string>& args, CCliArguments& parsed,
                       std::string& strError);

// The folder the installed launcher starts the window program in:
// $XDG_DATA_HOME/jarvane, or ~/.local/share/jarvane; "" when neither is set.
std::string DefaultWorkingFolder();

extern const char CLI_HELP_TEXT[];
