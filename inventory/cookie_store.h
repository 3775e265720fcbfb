#pragma once

#include "inventory/cookie.h"
#include "inventory/undo_journal.h"

#include <memory>
#include <string>
#include <vector>

// Records in inventory order; the vector owns them.
using CCookieRecords = std::vector<std::unique_ptr<CCookie>>;
// Records the list still shows, in display order; the list owns them.
using CShownRecords = std::vector<const CCookie*>;

// One kind of cookie store: where one browser keeps its cookies. The inventory
// drives every kind the same way and in a fixed order: it reads each kind's
// records, hands each kind the records a deletion batch dooms, and finishes the
// batch of each kind that lost a cookie.
class CCookieStore
{
public:
    explicit CCookieStore(EBrowser browser) : m_browser(browser) {}
    CCookieStore(const CCookieStore&) = delete;
    CCookieStore& operator=(const CCookieStore&) = delete;
    virtual ~CCookieStore() = default;

    EBrowser Browser() const { return m_browser; }
    // The bare file name of the store's protection list.
    const char* ProtectionFile() const { return KindOf(m_browser).pszProtectionFile; }
    // The folders or files the store reads, as listed.
    virtual void SetLocations(std::vector<std::string> locations) = 0;
    virtual const std::vector<std::string>& Locations() const = 0;

    // Appends one record per cookie of every location.
    virtual void ReadCookies(CCookieRecords& records) = 0;
    // Whether the protection list is written even when no location is listed.
    bool SavesProtectionWithoutLocations() const { return !KindOf(m_browser).bAdditive; }

    // Before a batch deletes anything: appends to entries what puts each
    // record's cookie back, one entry per record in batch order. A record
    // whose cookie cannot be copied is replaced by null and is not deleted.
    virtual void CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries) = 0;
    // The copies could not be kept: nothing CopyForUndo prepared is deleted.
    virtual void AbandonBatch() {}

    // A deletion batch: StartBatch, DeleteCookies once or more, FinishBatch.
    virtual void StartBatch() { m_bChanged = false; }
    // Deletes the cookies of the given records, all of this store. A record
    // whose cookie has to stay listed is replaced by null; every other record
    // is freed right after the call, so the store may take its contents.
    virtual void DeleteCookies(std::vector<CCookie*>& batch) = 0;
    // True when the batch so far deleted a cookie of this store.
    virtual bool Changed() const { return m_bChanged; }
    // Writes what the batch changed, after the doomed records have left the
    // list; shown holds the surviving records in display order. A deletion that
    // did not reach the disk must not look done: its record is made again into
    // returned.
    virtual void FinishBatch(const CShownRecords& shown, CCookieRecords& returned) = 0;

protected:
    bool m_bChanged = false;

private:
    EBrowser m_browser;
};
