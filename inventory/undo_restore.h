#pragma once

#include "inventory/undo_journal.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What putting a batch back did.
struct CUndoResult
{
    std::int64_t nBatch = 0; // 0 when there was nothing to put back
    std::int64_t nTime = 0;
    int nRestored = 0;
    int nSkipped = 0;
    // Why cookies were skipped: a reason and how many, in the order met.
    std::vector<std::pair<std::string, int>> reasons;
    // Some cookies can still be put back later (a browser ran, a write failed).
    bool bPending = false;
    std::string strError; // the record could not be read or updated
};

// The newest batch that still has cookies to put back; false when none has.
bool FindUndoableBatch(CUndoJournal& journal, CUndoBatch& batch);

// Puts the cookies of a batch back into their stores: an Internet Explorer
// file unless a file of its name exists; a Netscape line unless its file has a
// cookie of the same domain, path and name; database rows unless a row with
// the same unique key exists, and not while the database's browser runs. A
// missing cookie file is made again; a missing database is not. Cookies put
// back or found there leave the record; a batch left without any is undone.
CUndoResult RestoreBatch(CUndoJournal& journal, std::int64_t nBatch);
