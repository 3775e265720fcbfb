#pragma once

#include "inventory/cookie.h"
#include "inventory/stores/sqlite/cookie_database.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#define UNDO_FILE_NAME "UNDO.DB"
#define UNDO_SECTION "Undo"
#define UNDO_KEY_KEEP "Keep"

// How a deletion batch was started.
enum class EUndoHow
{
    Window,  // Delete or Delete All
    Timer,   // the auto-delete timer
    Command, // jarvane-cli delete-all
};
const char* UndoHowName(EUndoHow how);

// A batch's time as the user reads it: local "YYYY-MM-DD HH:MM:SS".
std::string FormatUndoTime(std::int64_t nTime);

// What puts one deleted cookie back: for an Internet Explorer cookie its
// folder, file name and bytes; for a Netscape cookie its file, name and line as
// read; for a database cookie its database, host and whole row (see
// DecodeDatabaseColumns).
struct CUndoEntry
{
    EBrowser browser = EBrowser::InternetExplorer;
    // Its folder, file or database; the entries of one store share it.
    std::shared_ptr<const std::string> pStore = nullptr;
    std::string strName;
    std::string strData;
    std::int64_t nSeq = 0; // its place in its batch
    // When set, the entry's data is these bytes followed by strData; entries of
    // one store share them (a database's column names), kept once per chunk.
    std::shared_ptr<const std::string> pPrefix = nullptr;
    // When set, the entry's data is only its row's id in this image of its
    // database as it was before the batch, and its prefix is UndoImagePrefix;
    // the entries of one database share it, kept once per batch.
    std::shared_ptr<const std::string> pImage = nullptr;

    const std::string& Store() const
    {
        static const std::string strNone;
        return pStore ? *pStore : strNone;
    }
};

// The prefix of entries kept as row ids in an image of a database whose cookie
// table is strTable.
std::string UndoImagePrefix(const std::string& strTable);

struct CUndoBatch
{
    std::int64_t nId = 0;
    std::int64_t nTime = 0; // seconds since 1970
    std::string strHow;
    bool bUndone = false;
    int counts[kBrowserCount] = {}; // cookies still to put back, per browser

    int Count() const;
};

// The recovery file UNDO.DB: the cookies of the last deletion batches, kept so
// that they can be put back. It is as private as the stores it copies: mode
// 0600, never reached through a symbolic link, and deleted entries are
// overwritten. The newest 50 batches are kept, none older than 7 days.
class CUndoJournal
{
public:
    explicit CUndoJournal(std::string strPath) : m_strPath(std::move(strPath)) {}

    const std::string& Path() const { return m_strPath; }
    // The reason of the last failure, one line.
    const std::string& Error() const { return m_strError; }

    // Records a batch in one transaction, durable before it returns, and prunes
    // old batches. An empty batch records nothing. False when it could not be
    // written: then nothing of it is kept.
    bool Record(EUndoHow how, std::vector<CUndoEntry>& entries, std::int64_t& nBatch);
    // Removes entries of a batch (cookies that were not deleted after all);
    // a batch left without entries goes too.
    bool Forget(std::int64_t nBatch, const std::vector<std::int64_t>& seqs);

    // The batches, newest first. A missing file has none.
    bool ListBatches(std::vector<CUndoBatch>& batches);
    // The entries of a batch still to put back.
    bool LoadEntries(std::int64_t nBatch, std::vector<CUndoEntry>& entries);
    // Entries put back (or found there already) leave the batch; a batch
    // without entries left is marked undone.
    bool Restored(std::int64_t nBatch, const std::vector<std::int64_t>& seqs);

    // Removes the file and its journal: no cookie value remains.
    bool RemoveFile();

    // Fault injection for tests: while set, the hook is asked before each
    // write step ("open", "insert", "commit"); true makes that step fail.
    static void SetFaultHook(std::function<bool(const char* pszStep)> fnHook);

private:
    // In one transaction: removes the batch's entries seqs, then runs
    // pszBatchSql (binding the batch's id twice) on the batch.
    bool RemoveEntriesThen(std::int64_t nBatch, const std::vector<std::int64_t>& seqs,
                           const char* pszBatchSql);
    struct CHandle;
    bool Open(CHandle& handle, bool bCreate);

    std::string m_strPath;
    std::string m_strError;
};
