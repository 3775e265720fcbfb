#pragma once

#include "inventory/cookie.h"
#include "inventory/cookie_list_model.h"
#include "platform/file_stamp.h"
#include "platform/text_file.h"

#include <map>
#include <string>
#include <vector>

#define IE_PROTECTION_FILE "IEPROT.DAT"
#define NS_PROTECTION_FILE "NSPROT.DAT"

// The cookie inventory of the main window: the records read from both
// browsers' stores, the list that shows them, the protection lists and
// deletion. It needs no window; the main window owns one and shows its list.
class CCookieInventory
{
public:
    // strDataFolder: the folder of the protection lists, without a trailing
    // separator; empty for the current folder.
    explicit CCookieInventory(std::string strDataFolder = std::string());
    CCookieInventory(const CCookieInventory&) = delete;
    CCookieInventory& operator=(const CCookieInventory&) = delete;
    ~CCookieInventory(); // frees the records without saving

    // The refresh: saves the marks and empties everything, reads both stores,
    // fills the list and sorts it by State. The caller then updates its controls.
    void RefreshCookies();

    // Writes both protection lists from the current records, frees every record
    // and empties the list. Does nothing when the inventory is empty.
    void SaveAndClearCookies();

    void ReadIECookies();
    void AddIECookie(const std::string& strPath);
    void ReadNSCookies();
    void AddNSCookie(const std::string& strLine, const std::string& strFile);
    // Rewrites the Netscape files from the surviving records, in list order, when
    // the batch deleted a Netscape cookie.
    void RewriteNSFiles();

    void LoadProtection(const std::string& strBrowser, const std::string& strFile);
    CCookie* FindCookie(const std::string& strName, const std::string& strBrowser) const;

    void FillCookieList();
    static int CompareCookies(std::intptr_t lParam1, std::intptr_t lParam2,
                              std::intptr_t lParamSort);
    // Sorts the list by a column (a column click).
    void SortByColumn(int nColumn);

    // Deletes the cookie of one row unless it is protected.
    void DeleteCookie(int nItem);
    // A whole batch over every row: deletes each unprotected cookie, rewrites the
    // Netscape files. The caller then updates its controls.
    void DeleteAllUnprotected();
    // The Delete command's batch steps: clears m_bNSChanged, deletes every
    // selected unprotected row and leaves protected ones selected. Returns the
    // index of the first row that was selected (-1 when none was).
    int DeleteSelected();
    // After DeleteSelected: selects and focuses row nFirst, or the last row when
    // nFirst is not below the row count; nothing when the list is empty.
    void SelectAfterDelete(int nFirst);
    // The Protect command: flips the mark of every selected row, updates its
    // image and State text, and leaves each selected and the last one focused.
    void ToggleSelectedProtection();

    std::vector<std::string> m_IELocations;
    std::vector<std::string> m_NSLocations;
    std::vector<CCookie*> m_Cookies; // owns the records
    CCookieListModel m_CookieList;
    int m_bNSChanged = 0;

private:
    std::string DataFilePath(const char* pszName) const;
    // The store side of deleting one record: nothing for a protected record,
    // otherwise notes a Netscape deletion and removes the cookie from its store.
    // True when the record is to leave the list and the inventory.
    bool DeleteFromStore(CCookie* pCookie);
    // Removes the flagged rows and frees their records, in one pass over the
    // list and one over m_Cookies.
    void RemoveRows(const std::vector<bool>& remove);
    void FreeAllRecords();
    void SaveProtectionList(const std::string& strPath, std::vector<std::string> names);

    std::string m_strDataFolder;
    CTextFileReader m_reader; // one reader for every store file: its buffer is made once
    // What the last refresh read of one Netscape file, so that a rewrite can
    // tell whether another program changed the file since and keep its additions.
    struct CNSFileSnapshot
    {
        bool bReadable = false;             // read whole; a rewrite leaves any other file alone
        CFileStamp stamp;                   // when the file was last read or written by us
        std::vector<size_t> baseLineHashes; // of the cookie lines it held then, trimmed
        // Cookie lines another program added since the refresh; no record has them.
        std::vector<std::string> extraLines;
        // Lines of records that another program has removed from the file since
        // the refresh; a rewrite leaves them out.
        std::vector<size_t> goneLineHashes;
    };
    // Takes in what another program did to the file since the snapshot's stamp.
    // False when it changed and cannot be read now.
    static bool TakeInOutsideChanges(const std::string& strFile, CNSFileSnapshot& snapshot);
    std::map<std::string, CNSFileSnapshot> m_nsSnapshots; // by path, as listed
    // Protection lists that could not be written, by path: the names they hold.
    std::map<std::string, std::vector<std::string>> m_unsavedMarks;
};
