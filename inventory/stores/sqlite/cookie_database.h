#pragma once

#include "inventory/cookie_details.h"

#include <cstdint>
#include <string>
#include <vector>

// The two cookie tables of the browser databases Jarvane manages.
enum class ECookieTable
{
    Moz,      // Firefox's moz_cookies, key id (also in GNOME Web's cookies.sqlite)
    Chromium, // Chromium's cookies, key the columns of cookies_unique_index
};

// The cookie table a database holds: Chromium's when it has a table "cookies",
// else Firefox's.
ECookieTable CookieTableOf(const std::string& strPath);

// One value of a row's key, with the type SQLite gave it.
struct CDatabaseValue
{
    int nType = 0; // SQLITE_INTEGER, SQLITE_TEXT, SQLITE_BLOB, SQLITE_FLOAT or SQLITE_NULL
    std::int64_t nInteger = 0;
    double dReal = 0;
    std::string strBytes; // text or blob

    bool operator==(const CDatabaseValue& other) const;
    bool operator<(const CDatabaseValue& other) const; // by type, then value
};

// One cookie row: the host the list shows, the key that finds the row again and
// what the row says of its cookie (its host left empty: it is strHost).
struct CDatabaseRow
{
    std::string strHost;
    std::vector<CDatabaseValue> key;
    CCookieFacts facts;
};

// Reads every cookie row. A database that a browser holds locked is read from a
// copy of it (with its -wal and -journal files) in a temporary folder, removed
// after. False, with no rows, for anything that is not a regular file holding
// a database of the kind's known schema.
// Whether the database's table of this kind has the column; false when the
// database or its table cannot be read.
bool CookieTableHasColumn(ECookieTable kind, const std::string& strPath,
                          const std::string& strColumn);

bool ReadCookieDatabase(ECookieTable kind, const std::string& strPath,
                        std::vector<CDatabaseRow>& rows);

// Deletes the rows with these keys in one transaction, waiting a while for a
// busy database. False when anything failed; then no row is deleted.
bool DeleteCookieRows(ECookieTable kind, const std::string& strPath,
                      const std::vector<const std::vector<CDatabaseValue>*>& keys);

// A whole row: every column's name and value, as read.
struct CDatabaseColumns
{
    std::vector<std::string> names;
    std::vector<CDatabaseValue> values;
};

struct sqlite3;

// What a pending deletion keeps of the rows it deletes, rows[i] for its keys[i]
// (empty when no row has that key). Either every row whole: strNames the
// table's column names and rows[i] the row's values in the whole-row format;
// or, cheaper when most of a table goes, strImage the whole database as it was
// before (see ReadImageRows), strTable its cookie table and rows[i] the row's
// id there, packed.
struct CDeletedRowCopies
{
    std::string strNames;
    std::string strImage;
    std::string strTable;
    std::vector<std::string> rows;
};

// A deletion of rows whose transaction stays open until Commit, so that what
// it deletes can be kept safe elsewhere before the deletion is made durable.
// Dropped uncommitted, it is rolled back: nothing is deleted.
class CPendingRowDeletion
{
public:
    CPendingRowDeletion() = default;
    CPendingRowDeletion(const CPendingRowDeletion&) = delete;
    CPendingRowDeletion& operator=(const CPendingRowDeletion&) = delete;
    ~CPendingRowDeletion() { Abandon(); }

    // Deletes the rows with these keys, keeping a copy of each as it goes (see
    // CDeletedRowCopies); with bImage the whole database as it was before
    // instead, unless it is too large. False when anything failed, a key
    // naming more than one row among it: then nothing is deleted.
    bool Begin(ECookieTable kind, const std::string& strPath,
               const std::vector<const std::vector<CDatabaseValue>*>& keys, bool bImage,
               CDeletedRowCopies& copies);
    // Makes the deletion durable; false when it could not be: then nothing is
    // deleted.
    bool Commit();
    void Abandon();

private:
    sqlite3* m_pDb = nullptr;
};

// The whole-row format, as bytes: the column names, then each column's type
// and value; a row is its names followed by its values.
std::string EncodeDatabaseNames(const std::vector<std::string>& names);
bool DecodeDatabaseColumns(const std::string& strData, std::vector<std::string>& names,
                           std::vector<CDatabaseValue>& values);

// The rows of a database image kept by BeginWithImage, in the whole-row
// format: strNames the table's column names, rows[i] the values of the row
// with id rowids[i] (empty when the image has no such row). False when the
// image cannot be read.
bool ReadImageRows(const std::string& strImage, const std::string& strTable,
                   const std::vector<std::int64_t>& rowids, std::string& strNames,
                   std::vector<std::string>& rows);

enum class EInsertOutcome
{
    Inserted,
    Exists, // a row with the same unique key is there
    Failed,
};

// Inserts whole rows in one transaction, each unless a row with the same
// unique key exists; a row whose own key (Firefox's id) was taken since gets a
// new one. Columns the table no longer has are left out. False when the
// transaction failed: then nothing is inserted.
bool InsertCookieRows(ECookieTable kind, const std::string& strPath,
                      const std::vector<CDatabaseColumns>& rows,
                      std::vector<EInsertOutcome>& outcomes);
