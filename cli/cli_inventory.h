#pragma once

#include "inventory/cookie_details.h"

#include <string>
#include <utility>
#include <vector>

// The command-line tool's whole use of the cookie inventory: each call reads
// the working folder's remembered locations and the browsers' stores, as the
// main window's refresh does, acts as one of the window's commands, and writes
// the protection lists as the window does when it closes.

// One row of the cookie list: the texts of its Cookie, State and Browser columns.
struct CCliRow
{
    std::string strCookie;
    std::string strState;
    std::string strBrowser;
    CCookieDetails details; // only when asked for
};

// The rows in list order, or sorted by a column (nSortColumn, COL_COOKIE...) as
// a click on its header sorts them; -1 keeps the order of a fresh listing.
// bDetails adds each cookie's details. Writes nothing.
std::vector<CCliRow> ListCookies(const std::string& strFolder, int nSortColumn, bool bDetails);

struct CDeleteAllResult
{
    struct CBrowserCount
    {
        std::string strBrowser;
        int nDeleted = 0; // gone from the disk
        int nInUse = 0;   // left because the browser runs
    };
    // Per browser with remembered locations, in reading order.
    std::vector<CBrowserCount> deleted;
    // Stores that still hold cookies the batch deleted, each named once.
    std::vector<std::string> unwrittenStores;
    // Protection lists that could not be written.
    std::vector<std::string> unwrittenLists;
    // Keep lists that exist but could not be read, each with the names of the
    // browsers whose cookies it kept: none of them was deleted.
    std::vector<std::pair<std::string, std::vector<std::string>>> unreadableLists;
    // Why nothing was deleted: the copy of the cookies could not be kept.
    std::string strUndoRefusal;
};

// Delete All after its confirmation: every unprotected cookie is deleted but
// those of a running browser, the Netscape files are rewritten and the
// protection lists written. A cookie is counted as deleted only when its
// deletion reached the disk.
CDeleteAllResult DeleteAllCookies(const std::string& strFolder);

struct CMarkResult
{
    std::vector<std::string> unknownNames; // no record has them; nothing was changed
    std::vector<std::string> unwrittenLists;
    // Keep lists that cannot be read and could protect a cookie of one of the
    // names: their marks were not changed. They are not in unwrittenLists.
    std::vector<std::string> unreadableLists;
    int nChanged = 0; // records whose mark changed
};

// Sets (bProtect) or clears the mark of every record called by one of the names,
// as the Protect command does for the rows selected, and writes the protection
// lists. A name matches as a protection line does: ignoring the ASCII case of a
// host name, exactly for an Internet Explorer name.
CMarkResult SetProtection(const std::string& strFolder, const std::vector<std::string>& names,
                          bool bProtect);
