#pragma once

#include "inventory/cookie.h"
#include "inventory/cookie_list_model.h"
#include "inventory/cookie_store.h"
#include "inventory/deletion_report.h"
#include "inventory/keep_list.h"
#include "inventory/site_list.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CDeletionBatch;
class CInventoryTestAccess;

// The cookie inventory of the main window: the records read from every
// browser's store, the list that shows them, the protection lists and
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

    // The folders or files of one browser's store, as listed.
    void SetLocations(EBrowser browser, std::vector<std::string> locations);
    const std::vector<std::string>& Locations(EBrowser browser) const;

    // The records in inventory order, and the list that shows them.
    const CCookieRecords& Cookies() const { return m_Cookies; }
    CCookieListModel& CookieList() { return m_CookieList; }
    const CCookieListModel& CookieList() const { return m_CookieList; }

    // The refresh: saves the marks and empties everything, reads every store,
    // fills the list and sorts it by State. The caller then updates its controls.
    void RefreshCookies();

    // Writes the protection lists from the current records (a database store's only
    // when it lists databases or records), frees every record
    // and empties the list. Does nothing when the inventory is empty.
    void SaveAndClearCookies();

    // Whether deletion batches first record what they delete in UNDO.DB of the
    // data folder, so that it can be put back (bKeep), or record nothing and
    // remove that file. Until this is called nothing is recorded.
    void SetUndoRecording(bool bKeep);
    // How the next batches are started, as the record names it.
    void SetDeletionSource(EUndoHow how) { m_undoHow = how; }
    // Why the last batch deleted nothing: the recovery file could not be
    // written. Empty when it was not refused.
    const std::string& UndoRefusal() const { return m_strUndoRefusal; }
    std::string UndoFilePath() const { return DataFilePath(UNDO_FILE_NAME); }

    // The protection lists (SITES.DAT among them) whose last writing failed,
    // or that could not be read and so were not written: their marks are kept
    // in memory only.
    std::vector<std::string> UnsavedProtectionLists() const;

    struct CUnreadableList
    {
        std::string strPath;
        std::vector<EBrowser> browsers; // whose cookies it could protect
    };
    // The keep lists that could not be read at their last reading.
    const std::vector<CUnreadableList>& UnreadableLists() const { return m_unreadableLists; }
    // True when at least one row is neither protected nor kept for an unreadable list.
    bool HasDeletableRows() const;
    // The unreadable lists that kept a row of the last deletion batch.
    std::vector<CUnreadableList> ListsThatKeptRows() const;

    // The sites to keep, as last read from SITES.DAT at a refresh or set.
    const CSiteList& Sites() const { return m_sites; }
    // Makes these the sites to keep: SITES.DAT is written at once when they
    // differ, and the listed rows show whether a site keeps them. False when
    // SITES.DAT cannot be read (nothing then changes) or written (the sites then
    // keep their cookies from memory until a later writing succeeds).
    bool SetSites(const CSiteList& sites);
    // Reads SITES.DAT again, as a refresh does, and shows in the rows what it
    // keeps: a change made by hand since the refresh is not lost to SetSites.
    void ReloadSites();
    // SITES.DAT exists but could not be read at its last reading: no cookie of
    // any browser is deleted until it reads again, and it is never overwritten.
    bool SitesUnreadable() const { return IsKeepListUnreadable(SitesFilePath()); }
    std::string SitesFilePath() const { return DataFilePath(SITES_FILE); }

    // Sorts the list by a column (a column click).
    void SortByColumn(int nColumn);

    // A whole batch over every row: deletes each unprotected cookie, rewrites the
    // Netscape files. The caller then updates its controls.
    CDeletionReport DeleteAllUnprotected();
    // The Delete command's batch: deletes every selected unprotected row and
    // leaves protected ones selected; fnRowsGone runs once the rows have gone;
    // then the row that was first selected (or the last row, when that is past
    // the end) is selected and focused, and the stores write what they lost.
    CDeletionReport DeleteSelected(const std::function<void()>& fnRowsGone = nullptr);
    // The Protect command: ToggleSelectedProtection, then the lists of the
    // browsers whose marks changed are written at once.
    void ProtectSelected();
    // Sets (bProtect) or clears the mark of every record called by one of the
    // names, matched as a protection line matches, of every browser or of the
    // one given, and shows it in its rows; the lists of the browsers whose
    // marks changed are written at once. Returns how many records changed.
    int SetProtectionByName(const std::vector<std::string>& names, bool bProtect,
                            std::optional<EBrowser> browser = std::nullopt);

private:
    // The tests and the benchmark reach the reading steps one by one.
    friend class CInventoryTestAccess;

    // The reading steps of a refresh, one store or one record at a time.
    void ReadIECookies();
    void AddIECookie(const std::string& strPath);
    void ReadNSCookies();
    void AddNSCookie(const std::string& strLine, const std::string& strFile);
    // Appends a record made elsewhere; it is listed at the next FillCookieList.
    void AppendCookie(std::unique_ptr<CCookie> pCookie);
    void LoadProtection(const std::string& strBrowser, const std::string& strFile);
    CCookie* FindCookie(const std::string& strName, const std::string& strBrowser) const;
    void FillCookieList();
    static int CompareCookies(std::intptr_t lParam1, std::intptr_t lParam2,
                              std::intptr_t lParamSort);

    // Writes at once the protection lists of the browsers flagged, from the
    // current records, as a refresh does.
    void WriteProtectionLists(const std::array<bool, kBrowserCount>& browsers);
    // Reads a keep list that could protect cookies of the given browsers. When
    // it exists but cannot be read whole, every record of those browsers is
    // kept from deletion (m_bMarkUnknown) until a later reading of the list
    // succeeds, and the list is never written meanwhile. A missing list reads as
    // empty. A list of another kind plugs in with one call after the stores
    // are read.
    EKeepListRead LoadKeepList(const std::string& strPath, const std::vector<EBrowser>& browsers,
                               std::vector<std::string>& lines);
    // True when the keep list could not be read at its last reading: whatever
    // writes it must not take the records' marks for all it holds.
    bool IsKeepListUnreadable(const std::string& strPath) const;
    // True when a keep list that could protect this browser's cookies cannot be read.
    bool IsBlocked(EBrowser browser) const { return m_bBlocked[BrowserIndex(browser)]; }
    // Flips the mark of every selected row, updates its image and State text,
    // and leaves each selected and the last one focused. Returns the browsers
    // whose marks changed.
    std::array<bool, kBrowserCount> ToggleSelectedProtection();
    CCookieStore& Store(EBrowser browser) const { return *m_stores[BrowserIndex(browser)]; }
    // Reads one store's records and applies its protection list.
    void ReadStore(CCookieStore& store);
    std::string DataFilePath(const char* pszName) const;
    // A deletion batch: StartBatch, then DeleteRows (or DeleteCookie) and
    // RewriteNSFiles with the batch it made, then EndBatch, which keeps what
    // UndoRefusal and ListsThatKeptRows answer about it and gives its report.
    CDeletionBatch StartBatch();
    CDeletionReport EndBatch(const CDeletionBatch& deletion);
    // Deletes the cookie of one row unless it is protected.
    void DeleteCookie(CDeletionBatch& deletion, int nItem);
    // Selects and focuses row nFirst, or the last row when nFirst is not below
    // the row count; nothing when nFirst is -1 or the list is empty.
    void SelectAfterDelete(int nFirst);
    // Ends a deletion batch: each store that lost a cookie in it writes what is
    // left. This is where the Netscape files are rewritten, from the surviving
    // records in list order. A cookie whose file could not be written is
    // listed again at once.
    void RewriteNSFiles(CDeletionBatch& deletion);
    // 1 when the current batch deleted a Netscape cookie, else 0.
    int NSChanged() const { return Store(EBrowser::Netscape).Changed() ? 1 : 0; }
    // Records the doomed records of every store before anything is deleted,
    // when deletions are to be recorded (see CDeletionBatch::Record).
    bool RecordBatch(CDeletionBatch& deletion, std::vector<CCookie*> (&batches)[kBrowserCount],
                     std::unordered_set<const CCookie*>& kept);
    // Deletes the cookies of the flagged rows' unprotected records, store by
    // store, then removes the rows whose cookies went and frees their records.
    void DeleteRows(CDeletionBatch& deletion, std::vector<bool>& remove);
    // Removes the flagged rows and frees their records, in one pass over the
    // list and one over m_Cookies.
    void RemoveRows(const std::vector<bool>& remove);
    void FreeAllRecords();
    // List rows for the records from index nFirst on.
    std::vector<CCookieRow> RowsOf(size_t nFirst) const;
    void SaveProtectionList(const std::string& strPath, std::vector<std::string> names);
    // Reads SITES.DAT, or writes it first when an earlier writing failed.
    void LoadSites();
    // Sets each record's m_bKept from the sites, from index nFirst on.
    void ApplySites(size_t nFirst);
    // The same for the listed rows, with their State text.
    void ApplySitesToRows();

    std::string m_strDataFolder;
    std::array<std::unique_ptr<CCookieStore>, kBrowserCount> m_storeObjects; // one per kind
    CCookieStore* m_stores[kBrowserCount]; // by browser, in reading order
    CCookieRecords m_Cookies;
    CCookieListModel m_CookieList; // its rows point at m_Cookies' records
    // The marks of a protection list that could not be written, or not read.
    struct CHeldMarks
    {
        std::vector<std::string> names;
        // The list could not be read: the names are only the marks set since,
        // to be added to what the list holds once it reads again.
        bool bAddToList = false;
    };
    // By path.
    std::map<std::string, CHeldMarks> m_unsavedMarks;
    std::vector<CUnreadableList> m_unreadableLists;
    std::array<bool, kBrowserCount> m_bBlocked = {}; // by browser: see IsBlocked
    // By browser: a row of the last deletion batch was kept for an unreadable list.
    std::array<bool, kBrowserCount> m_bKeptUnknown = {};
    // A deletion took the last record since the lists were last written: the
    // lists may still hold marks cleared since, so the next save writes them.
    bool m_bEmptiedByDeletion = false;
    CSiteList m_sites;
    bool m_bSitesUnsaved = false; // the last writing of SITES.DAT failed

    enum class EUndoMode
    {
        Unset,
        Keep,
        DontKeep,
    };
    EUndoMode m_undoMode = EUndoMode::Unset;
    EUndoHow m_undoHow = EUndoHow::Window;
    std::string m_strUndoRefusal; // the last deletion batch's
};
