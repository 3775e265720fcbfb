#include "inventory/undo_journal.h"

#include "inventory/packed_values.h"
#include "platform/private_file.h"

#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sqlite3.h>

namespace fs = std::filesystem;

namespace
{
constexpr int kKeptBatches = 50;
constexpr std::int64_t kKeptSeconds = 7 * 24 * 60 * 60;

std::function<bool(const char*)>& FaultHook()
{
    static std::function<bool(const char*)> fnHook;
    return fnHook;
}

bool StepFails(const char* pszStep)
{
    return FaultHook() && FaultHook()(pszStep);
}

struct CFinalize
{
    void operator()(sqlite3_stmt* pStatement) const { sqlite3_finalize(pStatement); }
};
using CStatement = std::unique_ptr<sqlite3_stmt, CFinalize>;

CStatement Prepare(sqlite3* pDb, const char* pszSql)
{
    sqlite3_stmt* pStatement = nullptr;
    if (sqlite3_prepare_v2(pDb, pszSql, -1, &pStatement, nullptr) != SQLITE_OK)
        return CStatement();
    return CStatement(pStatement);
}

bool Execute(sqlite3* pDb, const char* pszSql)
{
    return sqlite3_exec(pDb, pszSql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string ColumnText(sqlite3_stmt* pStatement, int nColumn)
{
    const void* pData = sqlite3_column_blob(pStatement, nColumn);
    return pData ? std::string(static_cast<const char*>(pData),
                               static_cast<size_t>(sqlite3_column_bytes(pStatement, nColumn)))
                 : std::string();
}

const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS batches(id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " time INTEGER NOT NULL, how TEXT NOT NULL, undone INTEGER NOT NULL DEFAULT 0);"
    "CREATE TABLE IF NOT EXISTS chunks(batch INTEGER NOT NULL, first INTEGER NOT NULL,"
    " browser TEXT NOT NULL, store TEXT NOT NULL, count INTEGER NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY(batch, first));"
    "CREATE TABLE IF NOT EXISTS images(batch INTEGER NOT NULL, store TEXT NOT NULL,"
    " data BLOB NOT NULL, PRIMARY KEY(batch, store));";

// An image goes with the last entry that needs it.
const char kDropUnusedImages[] =
    "DELETE FROM images WHERE NOT EXISTS (SELECT 1 FROM chunks"
    " WHERE chunks.batch = images.batch AND chunks.store = images.store)";

const char kImageMark[] = "image";

// The table named by an image prefix; false for any other prefix.
bool ImageTableOf(const std::string& strPrefix, std::string& strTable)
{
    size_t nPos = 0;
    std::uint64_t nNames = 0;
    std::string strMark;
    return TakeNumber(strPrefix, nPos, nNames) && nNames == 0 &&
           TakeBytes(strPrefix, nPos, strMark) && strMark == kImageMark &&
           TakeBytes(strPrefix, nPos, strTable) && nPos == strPrefix.size();
}

bool WriteImage(sqlite3* pDb, std::int64_t nBatch, const CUndoEntry& entry)
{
    CStatement insert = Prepare(pDb, "INSERT INTO images VALUES(?, ?, ?)");
    sqlite3_stmt* p = insert.get();
    return p && sqlite3_bind_int64(p, 1, nBatch) == SQLITE_OK &&
           sqlite3_bind_text(p, 2, entry.Store().data(), static_cast<int>(entry.Store().size()),
                             SQLITE_STATIC) == SQLITE_OK &&
           sqlite3_bind_blob64(p, 3, entry.pImage->data(), entry.pImage->size(), SQLITE_STATIC) ==
               SQLITE_OK &&
           sqlite3_step(p) == SQLITE_DONE;
}

// Entries kept as row ids get their rows from the batch's image of their
// database, whole; a row the image lacks leaves its entry without data.
bool TakeRowsFromImage(sqlite3* pDb, std::int64_t nBatch, const std::string& strTable,
                       std::map<std::string, std::string>& images, CUndoEntry* pFirst,
                       CUndoEntry* pEnd)
{
    auto itImage = images.find(pFirst->Store());
    if (itImage == images.end())
    {
        CStatement select = Prepare(pDb, "SELECT data FROM images WHERE batch = ? AND store = ?");
        if (!select || sqlite3_bind_int64(select.get(), 1, nBatch) != SQLITE_OK ||
            sqlite3_bind_text(select.get(), 2, pFirst->Store().c_str(), -1, SQLITE_TRANSIENT) !=
                SQLITE_OK)
            return false;
        const int nResult = sqlite3_step(select.get());
        if (nResult != SQLITE_ROW && nResult != SQLITE_DONE)
            return false;
        itImage = images
                      .emplace(pFirst->Store(),
                               nResult == SQLITE_ROW ? ColumnText(select.get(), 0) : std::string())
                      .first;
    }
    std::vector<std::int64_t> rowids;
    for (CUndoEntry* p = pFirst; p != pEnd; ++p)
    {
        size_t nPos = 0;
        std::uint64_t nRowId = 0;
        rowids.push_back(TakeNumber(p->strData, nPos, nRowId) ? static_cast<std::int64_t>(nRowId)
                                                              : 0);
    }
    std::string strNames;
    std::vector<std::string> rows;
    if (itImage->second.empty() ||
        !ReadImageRows(itImage->second, strTable, rowids, strNames, rows))
        rows.assign(rowids.size(), std::string());
    for (CUndoEntry* p = pFirst; p != pEnd; ++p)
    {
        std::string& strRow = rows[static_cast<size_t>(p - pFirst)];
        p->strData = strRow.empty() ? std::string() : strNames + strRow;
    }
    return true;
}

// Entries are kept in chunks of one store, so that a batch of many cookies is
// written in few rows: each chunk's data holds the prefix its entries share,
// then each entry's place, name and own data.
constexpr size_t kChunkEntries = 1024;

const char kInsertChunk[] = "INSERT INTO chunks VALUES(?, ?, ?, ?, ?, ?)";

// One chunk row: entries of one store, from first to end.
bool WriteChunk(sqlite3_stmt* pInsert, std::int64_t nBatch,
                std::vector<CUndoEntry>::const_iterator first,
                std::vector<CUndoEntry>::const_iterator end)
{
    size_t nBytes = first->pPrefix ? first->pPrefix->size() : 0;
    for (auto it = first; it != end; ++it)
        nBytes += it->strName.size() + it->strData.size() + 30; // with their lengths
    std::string strData;
    strData.reserve(nBytes);
    AppendBytes(strData, first->pPrefix ? *first->pPrefix : std::string());
    for (auto it = first; it != end; ++it)
    {
        AppendNumber(strData, static_cast<std::uint64_t>(it->nSeq));
        AppendBytes(strData, it->strName);
        AppendBytes(strData, it->strData);
    }
    const std::string& strBrowser = BrowserName(first->browser);
    sqlite3_stmt* p = pInsert;
    const bool bDone =
        p && sqlite3_bind_int64(p, 1, nBatch) == SQLITE_OK &&
        sqlite3_bind_int64(p, 2, first->nSeq) == SQLITE_OK &&
        sqlite3_bind_text(p, 3, strBrowser.data(), static_cast<int>(strBrowser.size()),
                          SQLITE_STATIC) == SQLITE_OK &&
        sqlite3_bind_text(p, 4, first->Store().data(), static_cast<int>(first->Store().size()),
                          SQLITE_STATIC) == SQLITE_OK &&
        sqlite3_bind_int64(p, 5, end - first) == SQLITE_OK &&
        sqlite3_bind_blob(p, 6, strData.data(), static_cast<int>(strData.size()), SQLITE_STATIC) ==
            SQLITE_OK &&
        sqlite3_step(p) == SQLITE_DONE;
    sqlite3_reset(p);
    return bDone;
}

// The entries of a batch, in order; firsts gets each entry's chunk.
bool ReadChunks(sqlite3* pDb, std::int64_t nBatch, std::vector<CUndoEntry>& entries,
                std::vector<std::int64_t>* pFirsts)
{
    CStatement select = Prepare(pDb, "SELECT first, browser, store, data FROM chunks"
                                     " WHERE batch = ? ORDER BY first");
    if (!select || sqlite3_bind_int64(select.get(), 1, nBatch) != SQLITE_OK)
        return false;
    std::map<std::string, std::string> images; // by store, read once
    std::shared_ptr<const std::string> pStore;
    int nResult = sqlite3_step(select.get());
    for (; nResult == SQLITE_ROW; nResult = sqlite3_step(select.get()))
    {
        CUndoEntry entry;
        if (!BrowserOfName(ColumnText(select.get(), 1), entry.browser))
            continue;
        const std::string strStore = ColumnText(select.get(), 2);
        if (!pStore || *pStore != strStore)
            pStore = std::make_shared<const std::string>(strStore);
        entry.pStore = pStore;
        const std::string strData = ColumnText(select.get(), 3);
        std::string strPrefix, strOwn, strTable;
        size_t nPos = 0;
        if (!TakeBytes(strData, nPos, strPrefix))
            continue;
        const bool bImage = ImageTableOf(strPrefix, strTable);
        if (bImage)
            strPrefix.clear();
        const size_t nFirst = entries.size();
        while (nPos < strData.size())
        {
            std::uint64_t nSeq = 0;
            if (!TakeNumber(strData, nPos, nSeq) || !TakeBytes(strData, nPos, entry.strName) ||
                !TakeBytes(strData, nPos, strOwn))
                break; // a damaged chunk gives what it holds up to the damage
            entry.strData = strPrefix + strOwn;
            entry.nSeq = static_cast<std::int64_t>(nSeq);
            entries.push_back(entry);
            if (pFirsts)
                pFirsts->push_back(sqlite3_column_int64(select.get(), 0));
        }
        if (bImage && !TakeRowsFromImage(pDb, nBatch, strTable, images, entries.data() + nFirst,
                                         entries.data() + entries.size()))
            return false;
    }
    return nResult == SQLITE_DONE;
}

// Takes entries out of their chunks: a chunk is written again without them,
// or removed when none is left.
bool RemoveEntries(sqlite3* pDb, std::int64_t nBatch, const std::vector<std::int64_t>& seqs)
{
    if (seqs.empty())
        return true;
    std::vector<CUndoEntry> entries;
    std::vector<std::int64_t> firsts;
    if (!ReadChunks(pDb, nBatch, entries, &firsts))
        return false;
    const std::set<std::int64_t> gone(seqs.begin(), seqs.end());
    std::map<std::int64_t, std::vector<CUndoEntry>> changed; // by chunk: what stays
    for (size_t i = 0; i < entries.size(); ++i)
        if (gone.count(entries[i].nSeq) != 0)
            changed[firsts[i]];
    for (size_t i = 0; i < entries.size(); ++i)
    {
        const auto it = changed.find(firsts[i]);
        if (it != changed.end() && gone.count(entries[i].nSeq) == 0)
            it->second.push_back(std::move(entries[i]));
    }
    CStatement remove = Prepare(pDb, "DELETE FROM chunks WHERE batch = ? AND first = ?");
    CStatement insert = Prepare(pDb, kInsertChunk);
    bool bOk = remove && insert;
    for (auto it = changed.begin(); bOk && it != changed.end(); ++it)
    {
        bOk = sqlite3_bind_int64(remove.get(), 1, nBatch) == SQLITE_OK &&
              sqlite3_bind_int64(remove.get(), 2, it->first) == SQLITE_OK &&
              sqlite3_step(remove.get()) == SQLITE_DONE;
        sqlite3_reset(remove.get());
        if (bOk && !it->second.empty())
            bOk = WriteChunk(insert.get(), nBatch, it->second.begin(), it->second.end());
    }
    return bOk;
}
} // namespace

std::string UndoImagePrefix(const std::string& strTable)
{
    std::string strPrefix;
    AppendNumber(strPrefix, 0);
    AppendBytes(strPrefix, kImageMark);
    AppendBytes(strPrefix, strTable);
    return strPrefix;
}

const char* UndoHowName(EUndoHow how)
{
    switch (how)
    {
    case EUndoHow::Timer:
        return "timer";
    case EUndoHow::Command:
        return "command";
    default:
        return "window";
    }
}

std::string FormatUndoTime(std::int64_t nTime)
{
    const std::time_t time = static_cast<std::time_t>(nTime);
    const std::tm* pLocal = std::localtime(&time);
    char szText[32] = {};
    if (!pLocal || std::strftime(szText, sizeof szText, "%Y-%m-%d %H:%M:%S", pLocal) == 0)
        return std::to_string(nTime);
    return szText;
}

int CUndoBatch::Count() const
{
    int nCount = 0;
    for (int n : counts)
        nCount += n;
    return nCount;
}

struct CUndoJournal::CHandle
{
    sqlite3* pDb = nullptr;
    ~CHandle()
    {
        if (pDb)
            sqlite3_close(pDb);
    }
};

void CUndoJournal::SetFaultHook(std::function<bool(const char*)> fnHook)
{
    FaultHook() = std::move(fnHook);
}

// The journal beside the file is made by SQLite with the file's mode; a link
// planted at its name is removed, not followed. A file created here gets its
// tables from the writer's own transaction: made on their own, they would cost
// a durable commit more. A new file gets 16 KiB pages: a database kept whole
// is written in a quarter of the steps 4 KiB pages take, while a small batch
// still rewrites little.
bool CUndoJournal::Open(CHandle& handle, bool bCreate)
{
    m_strError.clear();
    std::error_code error;
    if (!bCreate && !fs::exists(fs::symlink_status(m_strPath, error)))
        return false;
    std::string strReason;
    if (StepFails("open"))
        strReason = "cannot be created";
    else if (PreparePrivateFile(m_strPath, strReason))
    {
        for (const char* pszSide : {"-journal", "-wal", "-shm"})
            if (fs::is_symlink(fs::symlink_status(m_strPath + pszSide, error)))
                fs::remove(m_strPath + pszSide, error);
        const int nResult = sqlite3_open_v2(m_strPath.c_str(), &handle.pDb,
                                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
        if (nResult == SQLITE_OK && Execute(handle.pDb, "PRAGMA page_size = 16384") &&
            Execute(handle.pDb, "PRAGMA secure_delete = ON") &&
            Execute(handle.pDb, "PRAGMA journal_mode = DELETE") &&
            Execute(handle.pDb, "PRAGMA synchronous = FULL") &&
            (bCreate || Execute(handle.pDb, kSchema)))
        {
            sqlite3_busy_timeout(handle.pDb, 5000);
            return true;
        }
        strReason = handle.pDb ? sqlite3_errmsg(handle.pDb) : "cannot be opened";
    }
    m_strError = m_strPath + ": " + strReason;
    return false;
}

bool CUndoJournal::Record(EUndoHow how, std::vector<CUndoEntry>& entries, std::int64_t& nBatch)
{
    nBatch = 0;
    if (entries.empty())
        return true;
    CHandle handle;
    if (!Open(handle, true))
        return false;
    sqlite3* pDb = handle.pDb;
    bool bOk = Execute(pDb, "BEGIN IMMEDIATE") && Execute(pDb, kSchema);
    const std::int64_t nNow = static_cast<std::int64_t>(std::time(nullptr));
    CStatement batch = Prepare(pDb, "INSERT INTO batches(time, how) VALUES(?, ?)");
    bOk = bOk && batch && sqlite3_bind_int64(batch.get(), 1, nNow) == SQLITE_OK &&
          sqlite3_bind_text(batch.get(), 2, UndoHowName(how), -1, SQLITE_STATIC) == SQLITE_OK &&
          sqlite3_step(batch.get()) == SQLITE_DONE;
    nBatch = sqlite3_last_insert_rowid(pDb);
    std::set<std::string> imaged;
    for (size_t i = 0; i < entries.size(); ++i)
    {
        entries[i].nSeq = static_cast<std::int64_t>(i);
        if (bOk && entries[i].pImage && imaged.insert(entries[i].Store()).second)
            bOk = !StepFails("insert") && WriteImage(pDb, nBatch, entries[i]);
    }
    CStatement insert = Prepare(pDb, kInsertChunk);
    bOk = bOk && insert;
    for (size_t nFirst = 0; bOk && nFirst < entries.size();)
    {
        size_t nEnd = nFirst + 1;
        while (nEnd < entries.size() && nEnd - nFirst < kChunkEntries &&
               entries[nEnd].browser == entries[nFirst].browser &&
               entries[nEnd].pPrefix == entries[nFirst].pPrefix &&
               entries[nEnd].pImage == entries[nFirst].pImage &&
               (entries[nEnd].pStore == entries[nFirst].pStore ||
                entries[nEnd].Store() == entries[nFirst].Store()))
            ++nEnd;
        bOk =
            !StepFails("insert") &&
            WriteChunk(insert.get(), nBatch, entries.begin() + static_cast<std::ptrdiff_t>(nFirst),
                       entries.begin() + static_cast<std::ptrdiff_t>(nEnd));
        nFirst = nEnd;
    }
    // The newest batches stay, none older than a week.
    CStatement prune = Prepare(pDb, "DELETE FROM batches WHERE time < ? OR id NOT IN"
                                    " (SELECT id FROM batches ORDER BY id DESC LIMIT ?)");
    bOk = bOk && prune && sqlite3_bind_int64(prune.get(), 1, nNow - kKeptSeconds) == SQLITE_OK &&
          sqlite3_bind_int(prune.get(), 2, kKeptBatches) == SQLITE_OK &&
          sqlite3_step(prune.get()) == SQLITE_DONE &&
          Execute(pDb, "DELETE FROM chunks WHERE batch NOT IN (SELECT id FROM batches)") &&
          Execute(pDb, kDropUnusedImages);
    bOk = bOk && !StepFails("commit") && Execute(pDb, "COMMIT");
    if (bOk)
        return true;
    m_strError = m_strPath + ": " + (pDb ? sqlite3_errmsg(pDb) : "cannot be written");
    Execute(pDb, "ROLLBACK");
    nBatch = 0;
    return false;
}

bool CUndoJournal::Forget(std::int64_t nBatch, const std::vector<std::int64_t>& seqs)
{
    if (seqs.empty())
        return true;
    return RemoveEntriesThen(nBatch, seqs,
                             "DELETE FROM batches WHERE id = ? AND NOT EXISTS"
                             " (SELECT 1 FROM chunks WHERE batch = ?)");
}

bool CUndoJournal::ListBatches(std::vector<CUndoBatch>& batches)
{
    batches.clear();
    CHandle handle;
    if (!Open(handle, false))
        return m_strError.empty();
    CStatement select = Prepare(handle.pDb, "SELECT id, time, how, undone FROM batches"
                                            " ORDER BY id DESC");
    CStatement count = Prepare(handle.pDb, "SELECT browser, sum(count) FROM chunks"
                                           " WHERE batch = ? GROUP BY browser");
    if (!select || !count)
        return false;
    while (sqlite3_step(select.get()) == SQLITE_ROW)
    {
        CUndoBatch batch;
        batch.nId = sqlite3_column_int64(select.get(), 0);
        batch.nTime = sqlite3_column_int64(select.get(), 1);
        batch.strHow = ColumnText(select.get(), 2);
        batch.bUndone = sqlite3_column_int(select.get(), 3) != 0;
        sqlite3_bind_int64(count.get(), 1, batch.nId);
        while (sqlite3_step(count.get()) == SQLITE_ROW)
        {
            EBrowser browser;
            if (BrowserOfName(ColumnText(count.get(), 0), browser))
                batch.counts[BrowserIndex(browser)] = sqlite3_column_int(count.get(), 1);
        }
        sqlite3_reset(count.get());
        batches.push_back(batch);
    }
    return true;
}

bool CUndoJournal::LoadEntries(std::int64_t nBatch, std::vector<CUndoEntry>& entries)
{
    entries.clear();
    CHandle handle;
    return Open(handle, false) && ReadChunks(handle.pDb, nBatch, entries, nullptr);
}

bool CUndoJournal::Restored(std::int64_t nBatch, const std::vector<std::int64_t>& seqs)
{
    return RemoveEntriesThen(nBatch, seqs,
                             "UPDATE batches SET undone = 1 WHERE id = ? AND NOT EXISTS"
                             " (SELECT 1 FROM chunks WHERE batch = ?)");
}

bool CUndoJournal::RemoveEntriesThen(std::int64_t nBatch, const std::vector<std::int64_t>& seqs,
                                     const char* pszBatchSql)
{
    CHandle handle;
    if (!Open(handle, false))
        return false;
    sqlite3* pDb = handle.pDb;
    bool bOk = Execute(pDb, "BEGIN IMMEDIATE") && RemoveEntries(pDb, nBatch, seqs) &&
               Execute(pDb, kDropUnusedImages);
    CStatement batch = Prepare(pDb, pszBatchSql);
    bOk = bOk && batch && sqlite3_bind_int64(batch.get(), 1, nBatch) == SQLITE_OK &&
          sqlite3_bind_int64(batch.get(), 2, nBatch) == SQLITE_OK &&
          sqlite3_step(batch.get()) == SQLITE_DONE && Execute(pDb, "COMMIT");
    if (!bOk)
    {
        m_strError = m_strPath + ": " + sqlite3_errmsg(pDb);
        Execute(pDb, "ROLLBACK");
    }
    return bOk;
}

bool CUndoJournal::RemoveFile()
{
    bool bOk = true;
    for (const char* pszSide : {"", "-journal", "-wal", "-shm"})
    {
        std::error_code error;
        fs::remove(m_strPath + pszSide, error);
        if (error)
        {
            m_strError = m_strPath + pszSide + ": " + error.message();
            bOk = false;
        }
    }
    return bOk;
}
