#pragma once

#include "inventory/cookie_database.h"
#include "inventory/cookie_store.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#define FF_PROTECTION_FILE "FFPROT.DAT"
#define CR_PROTECTION_FILE "CRPROT.DAT"

// The profile a browser database belongs to: the folder that holds it (for
// Chromium's "Network/Cookies", the folder above "Network").
std::string DatabaseProfileName(const std::string& strDatabase);

// One row of a Firefox or Chromium cookie database, named by its host.
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
    const std::string& StoreFile() const override { return *m_pDatabase; }
    // As the row read at the refresh said.
    CCookieDetails GetDetails() const override;

    std::shared_ptr<const std::string> m_pDatabase;
    std::vector<CDatabaseValue> m_key;
    CCookieFacts m_facts; // its host is m_strName
    bool m_bInUse;
};

// The cookie databases of Firefox or of the Chromium family: one record per
// row. A batch deletes the rows of each database in one transaction, unless the
// database's browser runs: then its records stay listed, "In use".
class CDatabaseStore : public CCookieStore
{
public:
    explicit CDatabaseStore(EDatabaseKind kind);

    void ReadCookies(CCookieRecords& records) override;
    void CopyForUndo(std::vector<CCookie*>& batch, std::vector<CUndoEntry>& entries) override;
    void AbandonBatch() override { m_pending.clear(); }
    void DeleteCookies(std::vector<CCookie*>& batch) override;
    void FinishBatch(const CCookieListModel&, CCookieRecords&) override {}
    // Without databases listed, its protection list is neither written nor read.
    bool SavesProtectionWithoutLocations() const override { return false; }

    // Whether the browser that owns the database runs now.
    bool IsDatabaseInUse(const std::string& strDatabase) const;

private:
    EDatabaseKind m_kind;
    // The deletions CopyForUndo began, by database, that DeleteCookies makes
    // durable once the copies are kept.
    std::map<std::string, CPendingRowDeletion> m_pending;
};
