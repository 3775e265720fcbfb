#include "inventory/stores/sqlite/cookie_database.h"

#include "inventory/packed_values.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
// The copy kept for undo is taken as rows are deleted.
#define SQLITE_ENABLE_PREUPDATE_HOOK
#include <cctype>
#include <sqlite3.h>
#include <system_error>
#include <tuple>

namespace fs = std::filesystem;

namespace
{
struct CCloseDatabase
{
    void operator()(sqlite3* pDb) const { sqlite3_close(pDb); }
};
struct CFinalize
{
    void operator()(sqlite3_stmt* pStatement) const { sqlite3_finalize(pStatement); }
};
using CDatabase = std::unique_ptr<sqlite3, CCloseDatabase>;
using CStatement = std::unique_ptr<sqlite3_stmt, CFinalize>;

// Where a kind keeps its cookies: the table, the host column and the columns
// that find one row.
struct CCookieTable
{
    std::string strTable;
    std::string strHostColumn;
    std::vector<std::string> keyColumns;
};

CDatabase OpenDatabase(const std::string& strPath, int nFlags)
{
    sqlite3* pDb = nullptr;
    const int nResult = sqlite3_open_v2(strPath.c_str(), &pDb, nFlags, nullptr);
    CDatabase db(pDb);
    if (nResult != SQLITE_OK)
        db.reset();
    return db;
}

CStatement Prepare(sqlite3* pDb, const std::string& strSql)
{
    sqlite3_stmt* pStatement = nullptr;
    if (sqlite3_prepare_v2(pDb, strSql.c_str(), -1, &pStatement, nullptr) != SQLITE_OK)
        return CStatement();
    return CStatement(pStatement);
}

bool Execute(sqlite3* pDb, const char* pSql)
{
    return sqlite3_exec(pDb, pSql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string QuoteName(const std::string& strName)
{
    std::string strQuoted = "\"";
    for (char c : strName)
        strQuoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return strQuoted + "\"";
}

std::string ColumnText(sqlite3_stmt* pStatement, int nColumn)
{
    const unsigned char* pText = sqlite3_column_text(pStatement, nColumn);
    return pText ? std::string(reinterpret_cast<const char*>(pText),
                               static_cast<size_t>(sqlite3_column_bytes(pStatement, nColumn)))
                 : std::string();
}

bool HasColumn(sqlite3* pDb, const std::string& strTable, const std::string& strColumn)
{
    CStatement statement = Prepare(pDb, "PRAGMA table_info(" + QuoteName(strTable) + ")");
    if (!statement)
        return false;
    while (sqlite3_step(statement.get()) == SQLITE_ROW)
        if (ColumnText(statement.get(), 1) == strColumn)
            return true;
    return false;
}

// The kind's table as this database has it; false for an unknown schema.
// Chromium has changed the columns of its unique index between versions, so
// they are taken from the index itself.
bool DescribeTable(sqlite3* pDb, ECookieTable kind, CCookieTable& table)
{
    if (kind == ECookieTable::Moz)
        table = {"moz_cookies", "host", {"id"}};
    else
    {
        table = {"cookies", "host_key", {}};
        CStatement index = Prepare(pDb, "PRAGMA index_info(\"cookies_unique_index\")");
        if (!index)
            return false;
        while (sqlite3_step(index.get()) == SQLITE_ROW)
            table.keyColumns.push_back(ColumnText(index.get(), 2));
    }
    if (table.keyColumns.empty() || !HasColumn(pDb, table.strTable, table.strHostColumn))
        return false;
    for (const std::string& strColumn : table.keyColumns)
        if (!HasColumn(pDb, table.strTable, strColumn))
            return false;
    return true;
}

CDatabaseValue ReadValue(sqlite3_stmt* pStatement, int nColumn)
{
    CDatabaseValue value;
    value.nType = sqlite3_column_type(pStatement, nColumn);
    if (value.nType == SQLITE_INTEGER)
        value.nInteger = sqlite3_column_int64(pStatement, nColumn);
    else if (value.nType == SQLITE_FLOAT)
        value.dReal = sqlite3_column_double(pStatement, nColumn);
    else if (value.nType == SQLITE_TEXT)
        value.strBytes = ColumnText(pStatement, nColumn);
    else if (value.nType == SQLITE_BLOB)
    {
        const void* pBlob = sqlite3_column_blob(pStatement, nColumn);
        if (pBlob)
            value.strBytes.assign(static_cast<const char*>(pBlob),
                                  static_cast<size_t>(sqlite3_column_bytes(pStatement, nColumn)));
    }
    return value;
}

bool BindValue(sqlite3_stmt* pStatement, int nParameter, const CDatabaseValue& value)
{
    switch (value.nType)
    {
    case SQLITE_INTEGER:
        return sqlite3_bind_int64(pStatement, nParameter, value.nInteger) == SQLITE_OK;
    case SQLITE_FLOAT:
        return sqlite3_bind_double(pStatement, nParameter, value.dReal) == SQLITE_OK;
    case SQLITE_TEXT:
        return sqlite3_bind_text(pStatement, nParameter, value.strBytes.data(),
                                 static_cast<int>(value.strBytes.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    case SQLITE_BLOB:
        return sqlite3_bind_blob(pStatement, nParameter, value.strBytes.data(),
                                 static_cast<int>(value.strBytes.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    default:
        return sqlite3_bind_null(pStatement, nParameter) == SQLITE_OK;
    }
}

// The columns that describe a cookie, in the order of CDetailColumn; a column
// this database lacks reads as NULL.
enum CDetailColumn
{
    DETAIL_NAME,
    DETAIL_PATH,
    DETAIL_EXPIRY,
    DETAIL_SECURE,
    DETAIL_HTTPONLY,
    DETAIL_VALUE_BYTES,
    DETAIL_ENCRYPTED_BYTES,
    DETAIL_PERSISTENT,
    DETAIL_COLUMNS
};

std::string DetailColumnsSql(sqlite3* pDb, ECookieTable kind, const CCookieTable& table)
{
    static const char* const kFirefox[DETAIL_COLUMNS] = {
        "name", "path", "expiry", "isSecure", "isHttpOnly", "value", nullptr, nullptr};
    static const char* const kChromium[DETAIL_COLUMNS] = {
        "name",        "path",  "expires_utc",     "is_secure",
        "is_httponly", "value", "encrypted_value", "is_persistent"};
    const char* const* pColumns = kind == ECookieTable::Moz ? kFirefox : kChromium;
    std::string strSql;
    for (int i = 0; i < DETAIL_COLUMNS; ++i)
    {
        std::string strColumn = pColumns[i] && HasColumn(pDb, table.strTable, pColumns[i])
                                    ? QuoteName(pColumns[i])
                                    : std::string("NULL");
        // The size in bytes: length() of a text counts characters.
        if (i == DETAIL_VALUE_BYTES || i == DETAIL_ENCRYPTED_BYTES)
            strColumn = "length(CAST(" + strColumn + " AS BLOB))";
        strSql += ", " + strColumn;
    }
    return strSql;
}

CCookieFacts ReadFacts(sqlite3_stmt* pStatement, int nFirst, ECookieTable kind)
{
    auto integer = [&](int nColumn) { return sqlite3_column_int64(pStatement, nFirst + nColumn); };
    auto isNull = [&](int nColumn)
    { return sqlite3_column_type(pStatement, nFirst + nColumn) == SQLITE_NULL; };
    CCookieFacts facts;
    facts.strName = ColumnText(pStatement, nFirst + DETAIL_NAME);
    facts.strPath = ColumnText(pStatement, nFirst + DETAIL_PATH);
    const std::int64_t nExpiry = integer(DETAIL_EXPIRY);
    facts.bSession =
        nExpiry <= 0 || (!isNull(DETAIL_PERSISTENT) && integer(DETAIL_PERSISTENT) == 0);
    if (!facts.bSession)
        facts.nExpires = kind == ECookieTable::Moz ? FirefoxExpiryToUnixSeconds(nExpiry)
                                                   : ChromiumTimeToUnixSeconds(nExpiry);
    facts.bSecure = integer(DETAIL_SECURE) != 0;
    facts.bHttpOnly = integer(DETAIL_HTTPONLY) != 0;
    // Chromium keeps the value encrypted, and its plain column empty.
    facts.nValueBytes = static_cast<std::uint64_t>(integer(DETAIL_VALUE_BYTES));
    const std::int64_t nEncrypted = integer(DETAIL_ENCRYPTED_BYTES);
    if (facts.nValueBytes == 0 && nEncrypted > 0)
    {
        facts.nValueBytes = static_cast<std::uint64_t>(nEncrypted);
        facts.bValueEncrypted = true;
    }
    return facts;
}

// One read transaction, so that the schema and the rows are of one moment.
bool ReadRows(sqlite3* pDb, ECookieTable kind, std::vector<CDatabaseRow>& rows)
{
    rows.clear();
    if (!Execute(pDb, "BEGIN"))
        return false;
    CCookieTable table;
    bool bRead = DescribeTable(pDb, kind, table);
    if (bRead)
    {
        std::string strSql = "SELECT " + QuoteName(table.strHostColumn);
        for (const std::string& strColumn : table.keyColumns)
            strSql += ", " + QuoteName(strColumn);
        strSql += DetailColumnsSql(pDb, kind, table);
        CStatement select = Prepare(pDb, strSql + " FROM " + QuoteName(table.strTable));
        const int nKeys = static_cast<int>(table.keyColumns.size());
        int nResult = select ? sqlite3_step(select.get()) : SQLITE_ERROR;
        for (; nResult == SQLITE_ROW; nResult = sqlite3_step(select.get()))
        {
            CDatabaseRow row;
            row.strHost = ColumnText(select.get(), 0);
            row.key.reserve(static_cast<size_t>(nKeys));
            for (int nKey = 0; nKey < nKeys; ++nKey)
                row.key.push_back(ReadValue(select.get(), nKey + 1));
            row.facts = ReadFacts(select.get(), nKeys + 1, kind);
            rows.push_back(std::move(row));
        }
        bRead = nResult == SQLITE_DONE;
    }
    Execute(pDb, "COMMIT");
    if (!bRead)
        rows.clear();
    return bRead;
}

bool ReadDirectly(ECookieTable kind, const std::string& strPath, std::vector<CDatabaseRow>& rows)
{
    // Read-only and with the normal locking: a browser that holds the database
    // exclusively makes this fail at once (no busy wait), and the copy is read.
    CDatabase db = OpenDatabase(strPath, SQLITE_OPEN_READONLY);
    return db && ReadRows(db.get(), kind, rows);
}

// A private folder under the system's temporary folder, removed with its
// content when the object goes.
class CTempFolder
{
public:
    CTempFolder()
    {
        std::error_code error;
        const fs::path base = fs::temp_directory_path(error);
        if (error)
            return;
        for (unsigned nTry = 0; nTry < 100; ++nTry)
        {
            fs::path candidate = base / ("jarvane-db-" + std::to_string(std::random_device()()) +
                                         "-" + std::to_string(nTry));
            if (fs::create_directory(candidate, error) && !error)
            {
                fs::permissions(candidate, fs::perms::owner_all, error);
                m_path = candidate;
                return;
            }
        }
    }
    ~CTempFolder()
    {
        std::error_code error;
        if (!m_path.empty())
            fs::remove_all(m_path, error);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

bool ReadFromSnapshot(ECookieTable kind, const std::string& strPath,
                      std::vector<CDatabaseRow>& rows)
{
    CTempFolder folder;
    if (folder.Path().empty())
        return false;
    const fs::path copy = folder.Path() / "cookies.db";
    std::error_code error;
    if (!fs::copy_file(strPath, copy, error))
        return false;
    // The write-ahead log and a hot journal belong to the database's state:
    // opening the copy applies them as the browser would.
    for (const char* pSuffix : {"-wal", "-journal"})
    {
        const std::string strSide = strPath + pSuffix;
        if (fs::is_regular_file(strSide, error))
            fs::copy_file(strSide, copy.string() + pSuffix, error);
    }
    CDatabase db = OpenDatabase(copy.string(), SQLITE_OPEN_READWRITE);
    const bool bRead = db && ReadRows(db.get(), kind, rows);
    db.reset();
    return bRead;
}
// Whether the database keeps its text as UTF-8, the whole-row format's own.
bool StoresUtf8(sqlite3* pDb)
{
    CStatement encoding = Prepare(pDb, "PRAGMA encoding");
    return encoding && sqlite3_step(encoding.get()) == SQLITE_ROW &&
           ColumnText(encoding.get(), 0) == "UTF-8";
}

// The names of a statement's result columns, in order.
std::vector<std::string> ColumnNames(sqlite3_stmt* pStatement)
{
    std::vector<std::string> names;
    for (int nColumn = 0; nColumn < sqlite3_column_count(pStatement); ++nColumn)
        names.push_back(sqlite3_column_name(pStatement, nColumn));
    return names;
}

// One value in the whole-row format; the text of a UTF-8 database is taken
// as it is stored.
void AppendValue(std::string& strOut, sqlite3_value* pValue, bool bUtf8)
{
    const int nType = sqlite3_value_type(pValue);
    strOut += static_cast<char>(nType);
    if (nType == SQLITE_INTEGER)
        AppendNumber(strOut, static_cast<std::uint64_t>(sqlite3_value_int64(pValue)));
    else if (nType == SQLITE_FLOAT)
    {
        const double dValue = sqlite3_value_double(pValue);
        std::uint64_t nBits = 0;
        std::memcpy(&nBits, &dValue, sizeof nBits);
        AppendNumber(strOut, nBits);
    }
    else if (nType == SQLITE_TEXT || nType == SQLITE_BLOB)
    {
        const void* pData = nType == SQLITE_TEXT && !bUtf8
                                ? static_cast<const void*>(sqlite3_value_text(pValue))
                                : sqlite3_value_blob(pValue);
        AppendBytes(strOut,
                    std::string_view(static_cast<const char*>(pData),
                                     pData ? static_cast<size_t>(sqlite3_value_bytes(pValue)) : 0));
    }
}

// The rows a deletion takes, each copied whole (or only its row id) by SQLite's
// pre-update hook as it goes: (*pRows)[i] for keys[i], the key being deleted
// now or, for many integer keys in one statement, the one its key column names.
struct CDeletedRows
{
    std::string strTable;
    std::vector<std::string>* pRows = nullptr;
    bool bRowIds = false;
    size_t nCurrent = 0;
    int nKeyColumn = -1; // with byId
    bool bKeyIsRowId = false;
    // Ascending by id: the statements delete in that order, so the next row
    // is found where the last one was.
    std::vector<std::pair<sqlite3_int64, size_t>> byId;
    size_t nNextId = 0;

    // The place in the batch of the row with this id; false when none.
    bool FindId(sqlite3_int64 nId, size_t& nRow)
    {
        if (nNextId >= byId.size() || byId[nNextId].first != nId)
            nNextId = static_cast<size_t>(std::lower_bound(byId.begin(), byId.end(), nId,
                                                           [](const auto& id, sqlite3_int64 nValue)
                                                           { return id.first < nValue; }) -
                                          byId.begin());
        if (nNextId >= byId.size() || byId[nNextId].first != nId)
            return false;
        nRow = byId[nNextId++].second;
        return true;
    }
    int nColumns = 0; // as the copy's names say
    bool bUtf8 = false;
    size_t nLastSize = 0;
    bool bFailed = false;

    static void Copy(void* pThis, sqlite3* pDb, int nOperation, const char* pszDb,
                     const char* pszTable, sqlite3_int64 nRowId, sqlite3_int64)
    {
        auto& deleted = *static_cast<CDeletedRows*>(pThis);
        // Only rows of the cookie table leave, each once.
        deleted.bFailed = deleted.bFailed || nOperation != SQLITE_DELETE ||
                          std::strcmp(pszDb, "main") != 0 || deleted.strTable != pszTable;
        size_t nRow = deleted.nCurrent;
        sqlite3_value* pValue = nullptr;
        if (!deleted.bFailed && deleted.nKeyColumn >= 0)
        {
            // A key that is the row id needs no look at the row.
            const bool bHasId =
                deleted.bKeyIsRowId ||
                sqlite3_preupdate_old(pDb, deleted.nKeyColumn, &pValue) == SQLITE_OK;
            deleted.bFailed =
                !bHasId ||
                !deleted.FindId(deleted.bKeyIsRowId ? nRowId : sqlite3_value_int64(pValue), nRow);
        }
        if (deleted.bFailed || nRow >= deleted.pRows->size() || !(*deleted.pRows)[nRow].empty() ||
            sqlite3_preupdate_count(pDb) != deleted.nColumns)
        {
            deleted.bFailed = true;
            return;
        }
        std::string& strRow = (*deleted.pRows)[nRow];
        if (deleted.bRowIds)
        {
            AppendNumber(strRow, static_cast<std::uint64_t>(nRowId));
            return;
        }
        strRow.reserve(deleted.nLastSize + 16);
        for (int nColumn = 0; nColumn < deleted.nColumns; ++nColumn)
        {
            if (sqlite3_preupdate_old(pDb, nColumn, &pValue) != SQLITE_OK)
            {
                deleted.bFailed = true;
                return;
            }
            AppendValue(strRow, pValue, deleted.bUtf8);
        }
        deleted.nLastSize = strRow.size();
    }
};

// Whether the table's one key column is its row id (Firefox's id INTEGER
// PRIMARY KEY). Any doubt says no: a table without row ids, or a key declared
// descending, which SQLite does not take for the row id.
bool KeyIsRowId(sqlite3* pDb, const CCookieTable& table)
{
    CStatement info = Prepare(pDb, "PRAGMA table_info(" + QuoteName(table.strTable) + ")");
    int nKeys = 0;
    bool bKeyIsInteger = false;
    while (info && sqlite3_step(info.get()) == SQLITE_ROW)
    {
        if (sqlite3_column_int(info.get(), 5) == 0)
            continue;
        ++nKeys;
        std::string strType = ColumnText(info.get(), 2);
        for (char& c : strType)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        bKeyIsInteger =
            ColumnText(info.get(), 1) == table.keyColumns.front() && strType == "INTEGER";
    }
    CStatement schema = Prepare(pDb, "SELECT upper(sql) FROM sqlite_master WHERE type = 'table'"
                                     " AND name = ?");
    if (nKeys != 1 || !bKeyIsInteger || !schema ||
        sqlite3_bind_text(schema.get(), 1, table.strTable.c_str(), -1, SQLITE_TRANSIENT) !=
            SQLITE_OK ||
        sqlite3_step(schema.get()) != SQLITE_ROW)
        return false;
    const std::string strSql = ColumnText(schema.get(), 0);
    return strSql.find("DESC") == std::string::npos && strSql.find("WITHOUT") == std::string::npos;
}

// Integer keys of a one-column key (Firefox's id) go many to a statement:
// running a statement costs about as much as deleting a row with it. The keys
// of any other type are left in rest, to go one by one.
bool DeleteByIntegerKeys(sqlite3* pDb, const CCookieTable& table,
                         const std::vector<const std::vector<CDatabaseValue>*>& keys,
                         const std::vector<size_t>& order, std::vector<size_t>& rest,
                         CDeletedRows* pDeleted)
{
    constexpr size_t kPerStatement = 500;
    std::vector<size_t> integers;
    integers.reserve(order.size());
    for (size_t i : order)
        if (keys[i]->size() == 1 && keys[i]->front().nType == SQLITE_INTEGER)
            integers.push_back(i);
        else
            rest.push_back(i);
    if (pDeleted)
        for (size_t i : integers)
            pDeleted->byId.emplace_back(keys[i]->front().nInteger, i);
    const std::string strStart = "DELETE FROM " + QuoteName(table.strTable) + " WHERE " +
                                 QuoteName(table.keyColumns[0]) + " IN (?";
    CStatement full;
    for (size_t nDone = 0; nDone < integers.size();)
    {
        const size_t nCount = std::min(kPerStatement, integers.size() - nDone);
        CStatement partial;
        CStatement& remove = nCount == kPerStatement ? full : partial;
        if (!remove)
        {
            std::string strSql = strStart;
            for (size_t i = 1; i < nCount; ++i)
                strSql += ",?";
            remove = Prepare(pDb, strSql + ")");
            if (!remove)
                return false;
        }
        for (size_t i = 0; i < nCount; ++i)
            sqlite3_bind_int64(remove.get(), static_cast<int>(i + 1),
                               keys[integers[nDone++]]->front().nInteger);
        const bool bDone = sqlite3_step(remove.get()) == SQLITE_DONE;
        sqlite3_reset(remove.get());
        if (!bDone)
            return false;
    }
    return true;
}

// Deletes the rows with these keys in pDb's open transaction; with pRows, each
// row deleted is copied whole (with bRowIds only its row id), (*pRows)[i] for
// keys[i], and strNames gets the table's column names. A key that names more
// than one row fails it then.
bool DeleteRows(sqlite3* pDb, ECookieTable kind,
                const std::vector<const std::vector<CDatabaseValue>*>& keys, std::string* pNames,
                std::vector<std::string>* pRows, bool bRowIds = false)
{
    // In key order the deletions walk the key's index from one end to the other.
    std::vector<size_t> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t nFirst, size_t nSecond) { return *keys[nFirst] < *keys[nSecond]; });
    CCookieTable table;
    if (!DescribeTable(pDb, kind, table))
        return false;
    std::string strSql = "DELETE FROM " + QuoteName(table.strTable) + " WHERE ";
    for (size_t i = 0; i < table.keyColumns.size(); ++i)
        strSql += (i ? " AND " : "") + QuoteName(table.keyColumns[i]) + " IS ?";
    CStatement remove = Prepare(pDb, strSql);
    if (!remove)
        return false;
    std::unique_ptr<CDeletedRows> pDeleted;
    if (pRows)
    {
        pDeleted = std::make_unique<CDeletedRows>();
        pDeleted->strTable = table.strTable;
        pDeleted->pRows = pRows;
        pDeleted->bRowIds = bRowIds;
        pDeleted->bUtf8 = StoresUtf8(pDb);
        CStatement select = Prepare(pDb, "SELECT * FROM " + QuoteName(table.strTable));
        if (!select)
            return false;
        const std::vector<std::string> names = ColumnNames(select.get());
        *pNames = EncodeDatabaseNames(names);
        pDeleted->nColumns = static_cast<int>(names.size());
        const auto itKey = std::find(names.begin(), names.end(), table.keyColumns.front());
        if (table.keyColumns.size() == 1 && itKey != names.end())
        {
            pDeleted->nKeyColumn = static_cast<int>(itKey - names.begin());
            pDeleted->bKeyIsRowId = KeyIsRowId(pDb, table);
        }
        sqlite3_preupdate_hook(pDb, &CDeletedRows::Copy, pDeleted.get());
    }
    std::vector<size_t> rest;
    bool bDone = true;
    if (pDeleted && pDeleted->nKeyColumn >= 0)
        bDone = DeleteByIntegerKeys(pDb, table, keys, order, rest, pDeleted.get());
    else if (!pDeleted && table.keyColumns.size() == 1)
        bDone = DeleteByIntegerKeys(pDb, table, keys, order, rest, nullptr);
    else
        rest = order;
    if (pDeleted)
        pDeleted->nKeyColumn = -1;
    for (auto it = rest.begin(); bDone && it != rest.end(); ++it)
    {
        const std::vector<CDatabaseValue>& key = *keys[*it];
        // A key read under another schema cannot name a row of this one.
        bDone = key.size() == table.keyColumns.size();
        for (size_t i = 0; bDone && i < key.size(); ++i)
            bDone = BindValue(remove.get(), static_cast<int>(i + 1), key[i]);
        if (pDeleted)
            pDeleted->nCurrent = *it;
        bDone = bDone && sqlite3_step(remove.get()) == SQLITE_DONE;
        sqlite3_reset(remove.get());
    }
    if (pDeleted)
    {
        sqlite3_preupdate_hook(pDb, nullptr, nullptr);
        bDone = bDone && !pDeleted->bFailed;
        // A cookie listed twice names one row: both copies hold it.
        for (size_t n = 1; bDone && n < order.size(); ++n)
            if ((*pRows)[order[n]].empty() && *keys[order[n]] == *keys[order[n - 1]])
                (*pRows)[order[n]] = (*pRows)[order[n - 1]];
    }
    return bDone;
}

// The largest database kept whole for undo: SQLite keeps no larger value.
constexpr sqlite3_int64 kLargestImage = 512 << 20;

// The database whole, marked for the rollback journal so that it opens in
// memory. False when it cannot be copied or is too large. Read through a
// connection of its own (SQLite copies no database that its connection is
// writing), while the caller's write transaction keeps other writers out.
bool CopyImage(const std::string& strPath, std::string& strImage)
{
    CDatabase source = OpenDatabase(strPath, SQLITE_OPEN_READONLY);
    if (!source)
        return false;
    sqlite3* pDb = source.get();
    CStatement size = Prepare(pDb, "SELECT page_count, page_size FROM pragma_page_count(),"
                                   " pragma_page_size()");
    if (!size || sqlite3_step(size.get()) != SQLITE_ROW ||
        sqlite3_column_int64(size.get(), 0) * sqlite3_column_int64(size.get(), 1) > kLargestImage)
        return false;
    CDatabase copy = OpenDatabase(":memory:", SQLITE_OPEN_READWRITE);
    if (!copy ||
        !Execute(
            copy.get(),
            ("PRAGMA page_size = " + std::to_string(sqlite3_column_int64(size.get(), 1))).c_str()))
        return false;
    sqlite3_backup* pBackup = sqlite3_backup_init(copy.get(), "main", pDb, "main");
    const bool bCopied = pBackup && sqlite3_backup_step(pBackup, -1) == SQLITE_DONE;
    if (sqlite3_backup_finish(pBackup) != SQLITE_OK || !bCopied)
        return false;
    sqlite3_int64 nSize = 0;
    unsigned char* pBytes = sqlite3_serialize(copy.get(), "main", &nSize, 0);
    if (!pBytes)
        return false;
    strImage.assign(reinterpret_cast<const char*>(pBytes), static_cast<size_t>(nSize));
    sqlite3_free(pBytes);
    // The file format's write and read versions: 1 is the rollback journal.
    if (strImage.size() > 19)
        strImage[18] = strImage[19] = 1;
    return true;
}

// An existing database file, opened and in a transaction begun with pszBegin,
// waiting up to two seconds for a busy one; null when any of it fails.
CDatabase OpenInTransaction(const std::string& strPath, int nFlags, const char* pszBegin)
{
    std::error_code error;
    if (!fs::is_regular_file(strPath, error))
        return CDatabase();
    CDatabase db = OpenDatabase(strPath, nFlags);
    if (!db)
        return db;
    sqlite3_busy_timeout(db.get(), 2000);
    if (!Execute(db.get(), pszBegin))
        return CDatabase();
    return db;
}

// A database opened for deletions, in a transaction that waits up to two
// seconds for a busy database; null when any of it fails.
CDatabase BeginDeletion(const std::string& strPath)
{
    CDatabase db = OpenInTransaction(strPath, SQLITE_OPEN_READWRITE, "BEGIN IMMEDIATE");
    // Rows go in list order, scattered over the tables and indexes: a cache
    // that holds them saves reading pages again (Firefox uses 32 KiB pages).
    if (db)
        Execute(db.get(), "PRAGMA cache_size = -65536");
    return db;
}
} // namespace

bool CDatabaseValue::operator<(const CDatabaseValue& other) const
{
    return std::tie(nType, nInteger, dReal, strBytes) <
           std::tie(other.nType, other.nInteger, other.dReal, other.strBytes);
}

bool CDatabaseValue::operator==(const CDatabaseValue& other) const
{
    return nType == other.nType && nInteger == other.nInteger && dReal == other.dReal &&
           strBytes == other.strBytes;
}

ECookieTable CookieTableOf(const std::string& strPath)
{
    CDatabase db = OpenDatabase(strPath, SQLITE_OPEN_READONLY);
    CStatement statement =
        db ? Prepare(db.get(), "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = "
                               "'cookies'")
           : CStatement();
    return statement && sqlite3_step(statement.get()) == SQLITE_ROW ? ECookieTable::Chromium
                                                                    : ECookieTable::Moz;
}

bool ReadCookieDatabase(ECookieTable kind, const std::string& strPath,
                        std::vector<CDatabaseRow>& rows)
{
    rows.clear();
    // Never hand SQLite a FIFO or a folder: opening a FIFO would block.
    std::error_code error;
    if (!fs::is_regular_file(strPath, error))
        return false;
    return ReadDirectly(kind, strPath, rows) || ReadFromSnapshot(kind, strPath, rows);
}

bool DeleteCookieRows(ECookieTable kind, const std::string& strPath,
                      const std::vector<const std::vector<CDatabaseValue>*>& keys)
{
    if (keys.empty())
        return true;
    CDatabase db = BeginDeletion(strPath);
    if (!db)
        return false;
    if (DeleteRows(db.get(), kind, keys, nullptr, nullptr) && Execute(db.get(), "COMMIT"))
        return true;
    Execute(db.get(), "ROLLBACK");
    return false;
}

bool CPendingRowDeletion::Begin(ECookieTable kind, const std::string& strPath,
                                const std::vector<const std::vector<CDatabaseValue>*>& keys,
                                bool bImage, CDeletedRowCopies& copies)
{
    Abandon();
    copies = CDeletedRowCopies();
    copies.rows.assign(keys.size(), std::string());
    if (keys.empty())
        return true;
    CDatabase db = BeginDeletion(strPath);
    if (!db)
        return false;
    CCookieTable table;
    // Taken before the first row goes, while this transaction keeps writers out.
    if (bImage && DescribeTable(db.get(), kind, table) && CopyImage(strPath, copies.strImage))
        copies.strTable = table.strTable;
    else
        copies.strImage.clear();
    if (!DeleteRows(db.get(), kind, keys, &copies.strNames, &copies.rows, !copies.strImage.empty()))
    {
        Execute(db.get(), "ROLLBACK");
        copies = CDeletedRowCopies();
        copies.rows.assign(keys.size(), std::string());
        return false;
    }
    m_pDb = db.release();
    return true;
}

bool CPendingRowDeletion::Commit()
{
    if (!m_pDb)
        return true;
    const bool bDone = Execute(m_pDb, "COMMIT");
    if (!bDone)
        Execute(m_pDb, "ROLLBACK");
    sqlite3_close(m_pDb);
    m_pDb = nullptr;
    return bDone;
}

void CPendingRowDeletion::Abandon()
{
    if (!m_pDb)
        return;
    Execute(m_pDb, "ROLLBACK");
    sqlite3_close(m_pDb);
    m_pDb = nullptr;
}

namespace
{
// The column sets of the table's unique indexes (its constraints among them).
std::vector<std::vector<std::string>> UniqueKeys(sqlite3* pDb, const std::string& strTable)
{
    std::vector<std::vector<std::string>> keys;
    CStatement list = Prepare(pDb, "PRAGMA index_list(" + QuoteName(strTable) + ")");
    while (list && sqlite3_step(list.get()) == SQLITE_ROW)
    {
        if (sqlite3_column_int(list.get(), 2) == 0)
            continue;
        std::vector<std::string> columns;
        CStatement info =
            Prepare(pDb, "PRAGMA index_info(" + QuoteName(ColumnText(list.get(), 1)) + ")");
        while (info && sqlite3_step(info.get()) == SQLITE_ROW)
            columns.push_back(ColumnText(info.get(), 2));
        if (!columns.empty())
            keys.push_back(columns);
    }
    return keys;
}

bool RowExists(sqlite3* pDb, const std::string& strTable, const std::vector<std::string>& columns,
               const CDatabaseColumns& row)
{
    std::string strSql = "SELECT 1 FROM " + QuoteName(strTable) + " WHERE ";
    std::vector<const CDatabaseValue*> values;
    for (const std::string& strColumn : columns)
    {
        const auto it = std::find(row.names.begin(), row.names.end(), strColumn);
        if (it == row.names.end())
            return false; // the row has no value for this key
        strSql += (values.empty() ? "" : " AND ") + QuoteName(strColumn) + " IS ?";
        values.push_back(&row.values[static_cast<size_t>(it - row.names.begin())]);
    }
    CStatement select = Prepare(pDb, strSql);
    for (size_t i = 0; select && i < values.size(); ++i)
        BindValue(select.get(), static_cast<int>(i + 1), *values[i]);
    return select && sqlite3_step(select.get()) == SQLITE_ROW;
}
} // namespace

bool InsertCookieRows(ECookieTable kind, const std::string& strPath,
                      const std::vector<CDatabaseColumns>& rows,
                      std::vector<EInsertOutcome>& outcomes)
{
    outcomes.assign(rows.size(), EInsertOutcome::Failed);
    CDatabase db = OpenInTransaction(strPath, SQLITE_OPEN_READWRITE, "BEGIN IMMEDIATE");
    if (!db)
        return false;
    CCookieTable table;
    bool bDone = DescribeTable(db.get(), kind, table);
    // Firefox's id names one row and is not the cookie: one taken since is
    // given up for a new one. The other unique keys say the cookie is there.
    const std::string strOwnKey = kind == ECookieTable::Moz ? "id" : "";
    std::vector<std::vector<std::string>> uniqueKeys;
    if (bDone)
        for (auto& columns : UniqueKeys(db.get(), table.strTable))
            if (columns != std::vector<std::string>{strOwnKey})
                uniqueKeys.push_back(columns);
    for (size_t nRow = 0; bDone && nRow < rows.size(); ++nRow)
    {
        const CDatabaseColumns& row = rows[nRow];
        bool bExists = false;
        for (const auto& columns : uniqueKeys)
            bExists = bExists || RowExists(db.get(), table.strTable, columns, row);
        if (bExists)
        {
            outcomes[nRow] = EInsertOutcome::Exists;
            continue;
        }
        const bool bOwnKeyTaken =
            !strOwnKey.empty() && RowExists(db.get(), table.strTable, {strOwnKey}, row);
        std::string strColumns, strValues;
        std::vector<const CDatabaseValue*> values;
        for (size_t i = 0; i < row.names.size(); ++i)
        {
            if ((bOwnKeyTaken && row.names[i] == strOwnKey) ||
                !HasColumn(db.get(), table.strTable, row.names[i]))
                continue;
            strColumns += (values.empty() ? "" : ", ") + QuoteName(row.names[i]);
            strValues += values.empty() ? "?" : ", ?";
            values.push_back(&row.values[i]);
        }
        CStatement insert = Prepare(db.get(), "INSERT INTO " + QuoteName(table.strTable) + " (" +
                                                  strColumns + ") VALUES (" + strValues + ")");
        bool bInserted = insert && !values.empty();
        for (size_t i = 0; bInserted && i < values.size(); ++i)
            bInserted = BindValue(insert.get(), static_cast<int>(i + 1), *values[i]);
        bInserted = bInserted && sqlite3_step(insert.get()) == SQLITE_DONE;
        outcomes[nRow] = bInserted ? EInsertOutcome::Inserted : EInsertOutcome::Failed;
    }
    if (bDone && Execute(db.get(), "COMMIT"))
        return true;
    Execute(db.get(), "ROLLBACK");
    outcomes.assign(rows.size(), EInsertOutcome::Failed);
    return false;
}

std::string EncodeDatabaseNames(const std::vector<std::string>& names)
{
    std::string strOut;
    AppendNumber(strOut, names.size());
    for (const std::string& strName : names)
        AppendBytes(strOut, strName);
    return strOut;
}

bool DecodeDatabaseColumns(const std::string& strData, std::vector<std::string>& names,
                           std::vector<CDatabaseValue>& values)
{
    names.clear();
    values.clear();
    size_t nPos = 0;
    std::uint64_t nCount = 0;
    if (!TakeNumber(strData, nPos, nCount) || nCount > strData.size())
        return false;
    names.resize(static_cast<size_t>(nCount));
    for (std::string& strName : names)
        if (!TakeBytes(strData, nPos, strName))
            return false;
    while (nPos < strData.size() && values.size() < names.size())
    {
        CDatabaseValue value;
        value.nType = static_cast<unsigned char>(strData[nPos++]);
        std::uint64_t nBits = 0;
        bool bOk = true;
        if (value.nType == SQLITE_INTEGER && (bOk = TakeNumber(strData, nPos, nBits)))
            value.nInteger = static_cast<std::int64_t>(nBits);
        else if (value.nType == SQLITE_FLOAT && (bOk = TakeNumber(strData, nPos, nBits)))
            std::memcpy(&value.dReal, &nBits, sizeof nBits);
        else if (value.nType == SQLITE_TEXT || value.nType == SQLITE_BLOB)
            bOk = TakeBytes(strData, nPos, value.strBytes);
        else if (value.nType != SQLITE_NULL)
            bOk = false;
        if (!bOk)
            return false;
        values.push_back(std::move(value));
    }
    return nPos == strData.size() && values.size() == names.size();
}

bool ReadImageRows(const std::string& strImage, const std::string& strTable,
                   const std::vector<std::int64_t>& rowids, std::string& strNames,
                   std::vector<std::string>& rows)
{
    rows.assign(rowids.size(), std::string());
    CDatabase db = OpenDatabase(":memory:", SQLITE_OPEN_READWRITE);
    // Opened read-only in place: SQLite never writes to nor frees the bytes.
    auto* pBytes = reinterpret_cast<unsigned char*>(const_cast<char*>(strImage.data()));
    const auto nSize = static_cast<sqlite3_int64>(strImage.size());
    if (!db || sqlite3_deserialize(db.get(), "main", pBytes, nSize, nSize,
                                   SQLITE_DESERIALIZE_READONLY) != SQLITE_OK)
        return false;
    CStatement select =
        Prepare(db.get(), "SELECT * FROM " + QuoteName(strTable) + " WHERE rowid = ?");
    if (!select)
        return false;
    const bool bUtf8 = StoresUtf8(db.get());
    const int nColumns = sqlite3_column_count(select.get());
    strNames = EncodeDatabaseNames(ColumnNames(select.get()));
    for (size_t i = 0; i < rowids.size(); ++i)
    {
        sqlite3_bind_int64(select.get(), 1, rowids[i]);
        int nResult = sqlite3_step(select.get());
        for (int nColumn = 0; nResult == SQLITE_ROW && nColumn < nColumns; ++nColumn)
            AppendValue(rows[i], sqlite3_column_value(select.get(), nColumn), bUtf8);
        if (nResult == SQLITE_ROW)
            nResult = sqlite3_step(select.get());
        sqlite3_reset(select.get());
        if (nResult != SQLITE_DONE)
            return false;
    }
    return true;
}

bool CookieTableHasColumn(ECookieTable kind, const std::string& strPath,
                          const std::string& strColumn)
{
    CDatabase db = OpenDatabase(strPath, SQLITE_OPEN_READONLY);
    CCookieTable table;
    return db && DescribeTable(db.get(), kind, table) &&
           HasColumn(db.get(), table.strTable, strColumn);
}
