#pragma once

#include "inventory/cookie_store.h"
#include "inventory/stores/sqlite/cookie_database.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// The profile a browser database belongs to: the folder that holds it (for
// Chromium's "Network/Cookies", the folder above "Network").
std::string DatabaseProfileName(const std::string& strDatabase);

// One row of a browser's cookie database, named by its host.
class CDatabaseCookie : public CCookie
{
public:
    // The rows of one database share one copy of its path.
    CDatabaseCookie(EBrowser browser, CDatabaseRow row,
                    std::shared_ptr<const std::string> pDatabase, bool bInUse)
        : CCookie(browser, std::move(row.strHost)), m_pDatabase(std::move(pDatabase)),
          m_key(std::move(row.key)), m_facts(std::move(row.facts)), m_bInUse(bInUse)
    {
    }

    // Rows leave their database in batches; see CDatabaseStore.
    bool Delete() override { return false; }
    bool IsInUse() const override { return m_bInUse; }
    void SetInUse(bool bInUse) override { m_bInUse = bInUse; }
    const std::vector<CDatabaseValue>* RowKey() const override { return &m_key; }
    const std::string& StoreFile() const override { return *m_pDatabase; }
    // As the row read at the refresh said.
    CCookieDetails GetDetails() const override;

    std::shared_ptr<const std::string> m_pDatabase;
    std::vector<CDatabaseValue> m_key;
    CCookieFacts m_facts; // its host is m_strName
    bool m_bInUse;
};

// The cookie databases of one browser kind: one record per row. A batch
// deletes the rows of each database in one transaction, unless the database's
// browser runs (its kind's "In use" check): then its records stay listed.
class CDatabaseStore : public CCookieStore
{
public:
    CDatabaseStore(EBrowser browser, ECookieTable table);

    void SetLocations(std::vector<std::string> locations) override
    {
        m_databases = std::move(locations);
    }
    const std::vector<std::string>& Locations() const override { return m_databases; }

    void ReadCookies(CCookieRecords& records) override;
    void CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries) override;
    void AbandonBatch() override { m_pending.clear(); }
    void DeleteCookies(std::vector<CCookie*>& batch) override;
    void FinishBatch(const CShownRecords&, CCookieRecords&) override {}
    // Whether the browser that owns the database runs now.
    bool IsDatabaseInUse(const std::string& strDatabase) const;

private:
    bool KeepsImage(const std::string& strDatabase, size_t nDoomed) const;
    void CommitPending(std::vector<CCookie*>& batch);

    std::vector<std::string> m_databases;     // as listed
    std::map<std::string, size_t> m_rowsRead; // by database, at the last refresh
    ECookieTable m_table;
    // The deletions CopyForUndo began, by database, that DeleteCookies makes
    // durable once the copies are kept.
    struct CPendingBatch
    {
        CPendingRowDeletion deletion;
        std::vector<CCookie*> records; // the records whose rows it deletes
    };
    std::map<std::string, CPendingBatch> m_pending;
};
