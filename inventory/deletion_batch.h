#pragma once

#include "inventory/cookie_store.h"
#include "inventory/deletion_report.h"
#include "inventory/undo_journal.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

// One deletion batch of the inventory, from its start to its report: what it
// did so far and what it recorded to be put back. The inventory makes one at
// the start of each batch and drops it at the end, so that nothing of one
// batch reaches the next; only the inventory's own code sees this class.
class CDeletionBatch
{
public:
    // strUndoFile: the record of deletions; how: how the batch was started,
    // as the record names it.
    CDeletionBatch(std::string strUndoFile, EUndoHow how);
    CDeletionBatch(const CDeletionBatch&) = delete;
    CDeletionBatch& operator=(const CDeletionBatch&) = delete;

    // The counts of one browser so far.
    CDeletionReport::CCounts& Counts(EBrowser browser) { return m_report.Of(browser); }
    // A row of this browser stayed because a keep list that could protect it
    // cannot be read.
    void NoteKeptUnknown(EBrowser browser) { m_bKeptUnknown[BrowserIndex(browser)] = true; }
    // Counts a cookie that stayed although it was to go: its browser runs, or
    // its deletion did not reach the disk.
    void NoteStayed(const CCookie& cookie);

    // Records the doomed records of every store before anything is deleted;
    // a record that could not be copied leaves its batch and goes to kept.
    // False when the record could not be written: nothing may be deleted.
    bool Record(CCookieStore* const (&stores)[kBrowserCount],
                std::vector<CCookie*> (&batches)[kBrowserCount],
                std::unordered_set<const CCookie*>& kept);
    // Takes out of the record the cookies that stayed after all.
    void ForgetKept(const std::unordered_set<const CCookie*>& kept);
    // Takes out of the record the Netscape cookies whose files could not be
    // written: they stayed.
    void ForgetUnwrittenLines(const CCookieRecords& returned);

    // Why the batch deleted nothing: the record could not be written. Empty
    // when it was not refused.
    const std::string& UndoRefusal() const { return m_strUndoRefusal; }
    // By browser: a row of the batch was kept for an unreadable list.
    const std::array<bool, kBrowserCount>& KeptUnknown() const { return m_bKeptUnknown; }
    // What the batch did, each unwritten store named once.
    CDeletionReport Report() const;

private:
    std::string m_strUndoFile;
    EUndoHow m_undoHow;
    CDeletionReport m_report;
    std::array<bool, kBrowserCount> m_bKeptUnknown = {};
    std::string m_strUndoRefusal;
    std::int64_t m_nUndoBatch = 0; // the batch's record, 0 for none
    // The records of the batch's entries, by the entries' places in it.
    std::vector<const CCookie*> m_undoRecords;
    // What each record of the batch holds, kept whole until the Netscape
    // files are written: a cookie whose file could not be written is found
    // in it by its file and line.
    struct CRecorded
    {
        std::int64_t nBatch;
        std::vector<CUndoEntry> entries;
    };
    std::vector<CRecorded> m_recorded;
};
